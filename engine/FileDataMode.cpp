#include "engine/FileDataMode.h"

#include "engine/ByteBuffer.h"
#include "engine/ContentMorph.h"
#include "engine/NameCase.h"
#include "report/LogEntry.h"

#include <vector>

namespace quarvel {

namespace {

// One folder of file-data mode: the paths its files share, the content
// rules, and the content buffer that every file of the folder reuses.
class FolderMorph
{
public:
    FolderMorph(RunContext& run, const std::string& relative)
        : m_run(run), m_relative(relative), m_sourceFolder(run.settings.StartDir + relative),
          m_rules(ContentRules::From(run.settings))
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
    void LogSkip(const char* what, const std::string& path);

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
    if (!m_run.fs.listFolder(m_sourceFolder, m_run.settings.Mask, entries))
        return 0;
    for (const DirEntry& entry : entries) {
        if (m_run.window.stopRequested())
            break;
        m_run.StepProgress();
        if (!entry.isDirectory())
            ProcessFile(entry);
    }
    return m_written;
}

void FolderMorph::ProcessFile(const DirEntry& entry)
{
    ++m_run.state.filesProcessed;
    const std::string source = m_sourceFolder + entry.name;
    std::int64_t changes = 0;
    if (!LoadFile(entry, source, changes))
        return;

    const std::string outputName =
        lowerNameParts(entry.name, m_run.settings.LowerFile != 0, m_run.settings.LowerExt != 0);
    // Where the file now is: the copy takes its permission bits from there.
    std::string current = source;
    bool written = false;
    if (m_run.settings.Rename != 0) {
        const std::string target = m_sourceFolder + outputName;
        if (entry.type == EntryType::Symlink) {
            // Rewriting would put a regular file in the link's place.
            LogSkip("Skipped symbolic link ", source);
        } else if (WriteInPlace(source, target, changes)) {
            current = target;
            written = true;
        }
    }
    if (m_run.settings.Copy != 0 && WriteCopy(current, outputName, changes))
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
        LogSkip("Skipped special file ", source);
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
        LogSkip("Skipped special file ", source);
        return false;
    case LoadOutcome::Failed:
        AddFailure(m_run.log, "read file", source, loaded.status.message());
        return false;
    }
    return false;
}

bool FolderMorph::WriteInPlace(const std::string& source, const std::string& target,
                               std::int64_t changes)
{
    if (m_run.confirm("Morph file", &target) == 0) {
        AddLogEntry(m_run.log, LogEntryKind::Pair, "User cancelled file morph", target);
        return false;
    }
    const Status status = m_run.fs.rewriteFile(source, target, m_content.view());
    if (!status) {
        AddFailure(m_run.log, "update file", target, status.message());
        return false;
    }
    AddLogEntry(m_run.log, LogEntryKind::UpdatedFile, target, changes);
    return true;
}

bool FolderMorph::WriteCopy(const std::string& source, const std::string& outputName,
                            std::int64_t changes)
{
    if (m_run.EnsureFolder(m_run.settings.CopyDir, m_relative) == 0)
        return false;
    const std::string copyPath = m_run.settings.CopyDir + m_relative + outputName;
    if (m_run.confirm("Create file", &copyPath) == 0) {
        AddLogEntry(m_run.log, LogEntryKind::Pair, "User cancelled file creation", copyPath);
        return false;
    }
    const Status status = m_run.fs.writeCopy(source, copyPath, m_content.view());
    if (!status) {
        AddFailure(m_run.log, "create file", copyPath, status.message());
        return false;
    }
    AddLogEntry(m_run.log, LogEntryKind::CreatedFile, copyPath, changes);
    return true;
}

void FolderMorph::LogSkip(const char* what, const std::string& path)
{
    AddLogEntry(m_run.log, LogEntryKind::Plain, what + path);
}

} // namespace

int MorphFileData(RunContext& run, const std::string& relativePath)
{
    FolderMorph folder(run, relativePath);
    return folder.Run();
}

} // namespace quarvel
