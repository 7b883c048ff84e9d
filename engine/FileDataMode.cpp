#include "engine/FileDataMode.h"

#include "engine/ByteBuffer.h"
#include "engine/ContentMorph.h"
#include "engine/NameCase.h"

#include <vector>

namespace quarvel {

namespace {

// One folder of file-data mode: the paths its files share, the content
// rules, and the content buffer that every file of the folder reuses.
class FolderMorph
{
public:
    FolderMorph(RunContext& run, const std::string& relative)
        : m_run(run), m_relative(relative),
          m_sourceFolder(run.options.selection.startFolder + relative),
          m_rules(ContentRules::From(run.options))
    {
    }

    // Processes every mask-selected entry; returns the number of files
    // written at least once.
    int Run();

private:
    void ProcessFile(const DirEntry& entry);
    bool LoadFile(const DirEntry& entry, const std::string& source, std::int64_t& changes);
    bool WriteInPlace(const std::string& source, const std::string& target, std::int64_t changes);
    bool WriteCopy(const std::string& source, const std::string& outputName, std::int64_t changes);

    RunContext& m_run;
    const std::string& m_relative;
    const std::string m_sourceFolder;
    const ContentRules m_rules;
    ByteBuffer m_content;
    int m_written = 0;
};

int FolderMorph::Run()
{
    m_run.StepProgress();
    std::vector<DirEntry> entries;
    if (!m_run.fs.listFolder(m_sourceFolder, m_run.options.selection.mask, entries))
        return 0;
    for (const DirEntry& entry : entries) {
        if (m_run.StopRequested())
            break;
        m_run.StepProgress();
        if (!entry.isDirectory())
            ProcessFile(entry);
    }
    return m_written;
}

void FolderMorph::ProcessFile(const DirEntry& entry)
{
    m_run.CountFile();
    const std::string source = m_sourceFolder + entry.name;
    std::int64_t changes = 0;
    if (!LoadFile(entry, source, changes))
        return;

    const NameCaseOptions& nameCase = m_run.options.nameCase;
    const std::string outputName =
        lowerNameParts(entry.name, nameCase.lowerName, nameCase.lowerExtension);
    // Where the file now is: the copy takes its permission bits from there.
    std::string current = source;
    bool written = false;
    if (m_run.options.outputs.inPlace) {
        const std::string target = m_sourceFolder + outputName;
        if (entry.type == EntryType::Symlink) {
            // Rewriting would put a regular file in the link's place.
            m_run.record(OperationKind::SkipSymlink, source);
        } else if (WriteInPlace(source, target, changes)) {
            current = target;
            written = true;
        }
    }
    if (m_run.options.outputs.copyFolder && WriteCopy(current, outputName, changes))
        written = true;
    if (written)
        ++m_written;
}

// Reads the file and applies the content rules; false when there is nothing
// to write (what went wrong is logged).
bool FolderMorph::LoadFile(const DirEntry& entry, const std::string& source, std::int64_t& changes)
{
    // FIFOs and devices are never opened: a FIFO blocks, a device can be
    // endless.
    if (entry.type == EntryType::Special) {
        m_run.record(OperationKind::SkipSpecial, source);
        return false;
    }
    // A selected link stands for the file it points to; anything else is
    // read only if it is still not a link when it is opened.
    const bool followLink = entry.type == EntryType::Symlink;
    const LoadedContent loaded =
        LoadMorphedContent(m_run.fs, m_rules, source, followLink, m_content);
    switch (loaded.outcome) {
    case LoadOutcome::Changed:
        changes = loaded.changes;
        return true;
    case LoadOutcome::Unchanged:
        return false;
    case LoadOutcome::NotRegular:
        m_run.record(OperationKind::SkipSpecial, source);
        return false;
    case LoadOutcome::Failed:
        m_run.record(OperationKind::ReadFile, source, {}, OperationStatus::failed(loaded.status));
        return false;
    }
    return false;
}

bool FolderMorph::WriteInPlace(const std::string& source, const std::string& target,
                               std::int64_t changes)
{
    if (!m_run.confirm({"Morph file", target, std::nullopt})) {
        m_run.record(OperationKind::RewriteInPlace, source, target, OperationStatus::refused());
        return false;
    }
    const Status status = m_run.fs.rewriteFile(source, target, m_content.view());
    if (!status) {
        m_run.record(OperationKind::RewriteInPlace, source, target,
                     OperationStatus::failed(status));
        return false;
    }
    m_run.record(OperationKind::RewriteInPlace, source, target, OperationStatus::done(), changes);
    return true;
}

bool FolderMorph::WriteCopy(const std::string& source, const std::string& outputName,
                            std::int64_t changes)
{
    const std::string& copyFolder = *m_run.options.outputs.copyFolder;
    if (!m_run.EnsureFolder(copyFolder, m_relative))
        return false;
    const std::string copyPath = copyFolder + m_relative + outputName;
    if (!m_run.confirm({"Create file", copyPath, std::nullopt})) {
        m_run.record(OperationKind::WriteCopy, source, copyPath, OperationStatus::refused());
        return false;
    }
    const Status status = m_run.fs.writeCopy(source, copyPath, m_content.view());
    if (!status) {
        m_run.record(OperationKind::WriteCopy, source, copyPath, OperationStatus::failed(status));
        return false;
    }
    m_run.record(OperationKind::WriteCopy, source, copyPath, OperationStatus::done(), changes);
    return true;
}

} // namespace

int MorphFileData(RunContext& run, const std::string& relativePath)
{
    FolderMorph folder(run, relativePath);
    return folder.Run();
}

} // namespace quarvel
