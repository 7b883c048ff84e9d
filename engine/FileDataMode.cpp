#include "engine/FileDataMode.h"

#include "engine/NameCase.h"
#include "engine/StagedOutput.h"

#include <memory>
#include <vector>

namespace quarvel {

namespace {

// One selected file: where it is, where its results go, and what the first
// pass over its content staged.
struct DataJob
{
    const DirEntry& entry;
    std::string source;
    std::string inPlaceTarget;              // the source's folder, the output name
    std::string copyPath;                   // empty without copies
    std::string current;                    // where the file is now
    std::unique_ptr<StagedContent> inPlace; // the staged rewrite, if any
    std::unique_ptr<StagedContent> copy;    // the copy staged directly, if any
    bool stagedInPlace = false;             // the first change went to the rewrite
    bool written = false;
};

// The expression search of a run under --regex (or a Unicode case-blind
// literal): `byRegex` with the matcher, null when it could not be compiled.
struct RegexSearch
{
    bool byRegex = false;
    RegexMatcher* matcher = nullptr;
    RegexStreamReplacer* replacer = nullptr;
};

// One folder of file-data mode: the paths its files share and the rules.
class FolderMorph
{
public:
    FolderMorph(RunContext& run, StreamReplacer& replacer, RegexSearch regex,
                const std::string& relative)
        : m_run(run), m_replacer(replacer), m_regex(regex), m_relative(relative),
          m_sourceFolder(run.options.selection.startFolder + relative),
          m_rules(rulesFor(run.options))
    {
    }

    int Run();

private:
    static StreamRules rulesFor(const RunOptions& options);
    void ProcessFile(const DirEntry& entry);
    bool Open(DataJob& job, std::unique_ptr<OpenedContent>& opened);
    StreamOutcome RunReplacer(StreamSource& source, StreamOutput& output);
    bool Stream(DataJob& job, const OpenedContent& opened, bool copyOnly, std::int64_t& changes);
    Status StageFirst(DataJob& job, bool copyOnly, std::unique_ptr<StagedContent>& staged);
    bool StageCopy(DataJob& job, std::unique_ptr<StagedContent>& staged);
    void CommitInPlace(DataJob& job, std::int64_t changes);
    void CommitCopy(DataJob& job, std::int64_t changes);

    RunContext& m_run;
    StreamReplacer& m_replacer;
    RegexSearch m_regex;
    const std::string& m_relative;
    const std::string m_sourceFolder;
    const StreamRules m_rules;
    int m_written = 0;
};

StreamRules FolderMorph::rulesFor(const RunOptions& options)
{
    // The replacements are made whatever "Replace pattern with" says; it
    // decides only whether text is put in front or behind.
    const bool around = !options.edit.replace;
    return {options.pattern.text, options.pattern.replacement, options.pattern.match,
            around && options.edit.prepend, around && options.edit.append};
}

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
    const NameCaseOptions& nameCase = m_run.options.nameCase;
    const std::string outputName =
        lowerNameParts(entry.name, nameCase.lowerName, nameCase.lowerExtension, nameCase.unicode);
    const auto& copyFolder = m_run.options.outputs.copyFolder;
    const std::string source = m_sourceFolder + entry.name;
    DataJob job{entry,
                source,
                m_sourceFolder + outputName,
                copyFolder ? *copyFolder + m_relative + outputName : std::string(),
                source,
                {},
                {}};
    std::unique_ptr<OpenedContent> opened;
    std::int64_t changes = 0;
    if (!Open(job, opened) || !Stream(job, *opened, false, changes))
        return;
    if (job.inPlace)
        CommitInPlace(job, changes);
    if (!job.copyPath.empty())
        CommitCopy(job, changes);
    if (job.written)
        ++m_written;
}

// False when there is nothing to read (what went wrong is recorded).
bool FolderMorph::Open(DataJob& job, std::unique_ptr<OpenedContent>& opened)
{
    // FIFOs and devices are never opened: a FIFO blocks, a device can be
    // endless.
    if (job.entry.type == EntryType::Special) {
        m_run.record(OperationKind::SkipSpecial, job.source);
        return false;
    }
    // A selected link stands for the file it points to; anything else is
    // read only if it is still not a link when it is opened.
    const bool followLink = job.entry.type == EntryType::Symlink;
    const Status status = m_run.fs.openContent(job.source, followLink, opened);
    if (status.code() == Status::kNotRegularFile)
        m_run.record(OperationKind::SkipSpecial, job.source);
    else if (!status)
        m_run.record(OperationKind::ReadFile, job.source, {}, OperationStatus::failed(status));
    return status.isOk();
}

// Streams the content to where StageFirst puts it; true when there are
// changes staged. A rewrite in place that cannot be staged or written is a
// failure of its own, and the copy is then made by a second pass.
bool FolderMorph::Stream(DataJob& job, const OpenedContent& opened, bool copyOnly,
                         std::int64_t& changes)
{
    OpenedContentSource source(opened);
    StagedOutput output(opened, [&](std::unique_ptr<StagedContent>& staged) {
        return StageFirst(job, copyOnly, staged);
    });
    const StreamOutcome outcome = RunReplacer(source, output);
    changes = outcome.changes;
    if (outcome.status) {
        (job.stagedInPlace ? job.inPlace : job.copy) = std::move(output.staged());
        return changes > 0;
    }
    if (!outcome.outputFailed) {
        m_run.record(isSearchFailure(outcome.status) ? OperationKind::SearchFile
                                                     : OperationKind::ReadFile,
                     job.source, {}, OperationStatus::failed(outcome.status));
        return false;
    }
    if (outcome.status.code() == StagedOutput::kDeclined)
        return false;
    const bool wasInPlace = job.stagedInPlace;
    job.stagedInPlace = false;
    m_run.record(wasInPlace ? OperationKind::RewriteInPlace : OperationKind::WriteCopy, job.source,
                 wasInPlace ? job.inPlaceTarget : job.copyPath,
                 OperationStatus::failed(outcome.status));
    return wasInPlace && !job.copyPath.empty() && Stream(job, opened, true, changes);
}

StreamOutcome FolderMorph::RunReplacer(StreamSource& source, StreamOutput& output)
{
    if (!m_regex.byRegex)
        return m_replacer.Run(source, m_rules, output);
    if (m_regex.matcher == nullptr)
        return {0, Status::error(Status::kRegexFailed), false};
    return m_regex.replacer->Run(source, *m_regex.matcher, m_rules, output);
}

// At the first change: a rewrite in place where one is asked for, else the
// copy straight away. Nothing staged (and an ok status) ends the stream.
Status FolderMorph::StageFirst(DataJob& job, bool copyOnly, std::unique_ptr<StagedContent>& staged)
{
    if (!copyOnly && m_run.options.outputs.inPlace) {
        if (job.entry.type == EntryType::Symlink) {
            // Rewriting would put a regular file in the link's place.
            m_run.record(OperationKind::SkipSymlink, job.source);
        } else if (const Status status =
                       m_run.fs.stageRewrite(job.source, job.inPlaceTarget, staged);
                   status) {
            job.stagedInPlace = true;
            return Status::ok();
        } else {
            m_run.record(OperationKind::RewriteInPlace, job.source, job.inPlaceTarget,
                         OperationStatus::failed(status));
        }
    }
    if (job.copyPath.empty() || !StageCopy(job, staged))
        staged.reset();
    return Status::ok();
}

// The copy's output folder and its staged content; false when either could
// not be had (recorded) or was refused.
bool FolderMorph::StageCopy(DataJob& job, std::unique_ptr<StagedContent>& staged)
{
    if (!m_run.EnsureFolder(*m_run.options.outputs.copyFolder, m_relative)) {
        job.copyPath.clear();
        return false;
    }
    const Status status = m_run.fs.stageCopy(job.current, job.copyPath, staged);
    if (!status) {
        m_run.record(OperationKind::WriteCopy, job.current, job.copyPath,
                     OperationStatus::failed(status));
        job.copyPath.clear();
        return false;
    }
    return true;
}

void FolderMorph::CommitInPlace(DataJob& job, std::int64_t changes)
{
    const std::string& target = job.inPlaceTarget;
    if (!m_run.confirm({"Morph file", target, std::nullopt})) {
        m_run.record(OperationKind::RewriteInPlace, job.source, target, OperationStatus::refused());
        return;
    }
    if (const Status status = job.inPlace->commit(); !status) {
        m_run.record(OperationKind::RewriteInPlace, job.source, target,
                     OperationStatus::failed(status));
        return;
    }
    m_run.record(OperationKind::RewriteInPlace, job.source, target, OperationStatus::done(),
                 changes);
    // Where the file now is: the copy takes its permission bits from there.
    job.current = target;
    job.written = true;
}

// The copy: staged at the first change when nothing was rewritten in place,
// otherwise made now from the completed content of the rewrite.
void FolderMorph::CommitCopy(DataJob& job, std::int64_t changes)
{
    if (!job.copy) {
        if (!StageCopy(job, job.copy))
            return;
        if (const Status status = job.copy->copyContentOf(*job.inPlace); !status) {
            m_run.record(OperationKind::WriteCopy, job.current, job.copyPath,
                         OperationStatus::failed(status));
            return;
        }
    }
    if (!m_run.confirm({"Create file", job.copyPath, std::nullopt})) {
        m_run.record(OperationKind::WriteCopy, job.current, job.copyPath,
                     OperationStatus::refused());
        return;
    }
    const Status status = job.copy->commit();
    m_run.record(OperationKind::WriteCopy, job.current, job.copyPath,
                 status ? OperationStatus::done() : OperationStatus::failed(status),
                 status ? changes : 0);
    job.written = job.written || status.isOk();
}

} // namespace

FileDataMode::FileDataMode(bool byRegex, const RegexMatcher* regex)
    : m_byRegex(byRegex),
      m_regex(regex != nullptr ? std::make_unique<RegexMatcher>(*regex) : nullptr)
{
}

int FileDataMode::MorphFolder(RunContext& run, const std::string& relativePath)
{
    FolderMorph folder(run, m_replacer, {m_byRegex, m_regex.get(), &m_regexReplacer}, relativePath);
    return folder.Run();
}

} // namespace quarvel
