#include "engine/FileDataMode.h"

#include "engine/DirectoryWalk.h"
#include "engine/NameCase.h"
#include "engine/PatternRegex.h"
#include "engine/StagedOutput.h"

#include <memory>
#include <optional>
#include <vector>

namespace quarvel {

namespace {

// One selected file: where it is, where its results go, and what the first
// pass over its content staged.
struct DataJob
{
    const DirEntry& entry;
    const std::string& relative; // its folder, relative to the start folder
    std::string source;
    std::string inPlaceTarget;              // the source's folder, the output name
    std::string copyPath;                   // empty without copies
    std::string current;                    // where the file is now
    std::unique_ptr<StagedContent> inPlace; // the staged rewrite, if any
    std::unique_ptr<StagedContent> copy;    // the copy staged directly, if any
    bool stagedInPlace = false;             // the first change went to the rewrite
    bool written = false;
};

DataJob jobFor(const RunOptions& options, const DirEntry& entry, const std::string& relative)
{
    const NameCaseOptions& nameCase = options.nameCase;
    const std::string outputName =
        lowerNameParts(entry.name, nameCase.lowerName, nameCase.lowerExtension, nameCase.unicode);
    const std::string folder = options.selection.startFolder + relative;
    const auto& copyFolder = options.outputs.copyFolder;
    std::string source = folder + entry.name;
    return DataJob{entry,
                   relative,
                   source,
                   folder + outputName,
                   copyFolder ? *copyFolder + relative + outputName : std::string(),
                   source,
                   {},
                   {}};
}

StreamRules rulesFor(const RunOptions& options)
{
    // The replacements are made whatever "Replace pattern with" says; it
    // decides only whether text is put in front or behind.
    const bool around = !options.edit.replace;
    return {options.pattern.text, options.pattern.replacement, options.pattern.match,
            around && options.edit.prepend, around && options.edit.append};
}

// The work on one file: Prepare reads it and stages its new content,
// Commit puts the results in place. On a worker thread (`held` given)
// Prepare hands no record on but keeps them in `held` for the commit, and
// never creates the copy's folder: a file that needs it is left to the
// run's thread (deferred()).
class FileMorph
{
public:
    FileMorph(RunContext& run, const StreamRules& rules, ContentSearch& search, DataJob& job,
              std::vector<Operation>* held = nullptr)
        : m_run(run), m_rules(rules), m_search(search), m_job(job), m_held(held)
    {
    }

    // True when there are changes staged (`changes` of them).
    bool Prepare(std::int64_t& changes);
    void Commit(std::int64_t changes);
    bool deferred() const { return m_deferred; }

private:
    void Note(OperationKind kind, std::string source, std::string target, OperationStatus status);
    bool Open(std::unique_ptr<OpenedContent>& opened);
    bool Stream(const OpenedContent& opened, bool copyOnly, std::int64_t& changes);
    Status StageFirst(bool copyOnly, std::unique_ptr<StagedContent>& staged);
    bool StageCopy(std::unique_ptr<StagedContent>& staged);
    bool CopyFolderReady();
    void CommitInPlace(std::int64_t changes);
    void CommitCopy(std::int64_t changes);

    RunContext& m_run;
    const StreamRules& m_rules;
    ContentSearch& m_search;
    DataJob& m_job;
    std::vector<Operation>* m_held;
    bool m_deferred = false;
};

void FileMorph::Note(OperationKind kind, std::string source, std::string target,
                     OperationStatus status)
{
    if (m_held == nullptr)
        m_run.record(kind, std::move(source), std::move(target), std::move(status));
    else
        m_held->push_back({kind, std::move(source), std::move(target), 0, std::move(status)});
}

bool FileMorph::Prepare(std::int64_t& changes)
{
    std::unique_ptr<OpenedContent> opened;
    return Open(opened) && Stream(*opened, false, changes);
}

void FileMorph::Commit(std::int64_t changes)
{
    if (m_job.inPlace)
        CommitInPlace(changes);
    if (!m_job.copyPath.empty())
        CommitCopy(changes);
}

// False when there is nothing to read (what went wrong is recorded).
bool FileMorph::Open(std::unique_ptr<OpenedContent>& opened)
{
    // FIFOs and devices are never opened: a FIFO blocks, a device can be
    // endless.
    if (m_job.entry.type == EntryType::Special) {
        Note(OperationKind::SkipSpecial, m_job.source, {}, OperationStatus::done());
        return false;
    }
    // A selected link stands for the file it points to; anything else is
    // read only if it is still not a link when it is opened.
    const bool followLink = m_job.entry.type == EntryType::Symlink;
    const Status status = m_run.fs.openContent(m_job.source, followLink, opened);
    if (status.code() == Status::kNotRegularFile)
        Note(OperationKind::SkipSpecial, m_job.source, {}, OperationStatus::done());
    else if (!status)
        Note(OperationKind::ReadFile, m_job.source, {}, OperationStatus::failed(status));
    return status.isOk();
}

// Streams the content to where StageFirst puts it; true when there are
// changes staged. A rewrite in place that cannot be staged or written is a
// failure of its own, and the copy is then made by a second pass.
bool FileMorph::Stream(const OpenedContent& opened, bool copyOnly, std::int64_t& changes)
{
    OpenedContentSource source(opened);
    StagedOutput output(opened, [&](std::unique_ptr<StagedContent>& staged) {
        return StageFirst(copyOnly, staged);
    });
    const StreamOutcome outcome = m_search.Run(source, m_rules, output);
    changes = outcome.changes;
    if (outcome.status) {
        (m_job.stagedInPlace ? m_job.inPlace : m_job.copy) = std::move(output.staged());
        return changes > 0;
    }
    if (!outcome.outputFailed) {
        Note(isSearchFailure(outcome.status) ? OperationKind::SearchFile : OperationKind::ReadFile,
             m_job.source, {}, OperationStatus::failed(outcome.status));
        return false;
    }
    if (outcome.status.code() == StagedOutput::kDeclined)
        return false;
    const bool wasInPlace = m_job.stagedInPlace;
    m_job.stagedInPlace = false;
    Note(wasInPlace ? OperationKind::RewriteInPlace : OperationKind::WriteCopy, m_job.source,
         wasInPlace ? m_job.inPlaceTarget : m_job.copyPath,
         OperationStatus::failed(outcome.status));
    return wasInPlace && !m_job.copyPath.empty() && Stream(opened, true, changes);
}

// At the first change: a rewrite in place where one is asked for, else the
// copy straight away. Nothing staged (and an ok status) ends the stream.
Status FileMorph::StageFirst(bool copyOnly, std::unique_ptr<StagedContent>& staged)
{
    if (!copyOnly && m_run.options.outputs.inPlace) {
        if (m_job.entry.type == EntryType::Symlink) {
            // Rewriting would put a regular file in the link's place.
            Note(OperationKind::SkipSymlink, m_job.source, {}, OperationStatus::done());
        } else if (const Status status =
                       m_run.fs.stageRewrite(m_job.source, m_job.inPlaceTarget, staged);
                   status) {
            m_job.stagedInPlace = true;
            return Status::ok();
        } else {
            Note(OperationKind::RewriteInPlace, m_job.source, m_job.inPlaceTarget,
                 OperationStatus::failed(status));
        }
    }
    if (m_job.copyPath.empty() || !StageCopy(staged))
        staged.reset();
    return Status::ok();
}

// The copy's output folder is there, or was made now; on a worker thread a
// missing one defers the file to the run's thread, where the folder's
// creation is asked about and recorded in walk order.
bool FileMorph::CopyFolderReady()
{
    const std::string& copyFolder = *m_run.options.outputs.copyFolder;
    if (m_held == nullptr)
        return m_run.EnsureFolder(copyFolder, m_job.relative);
    m_deferred = !m_run.fs.folderExists(copyFolder + m_job.relative);
    return !m_deferred;
}

// The copy's output folder and its staged content; false when either could
// not be had (recorded) or was refused.
bool FileMorph::StageCopy(std::unique_ptr<StagedContent>& staged)
{
    if (!CopyFolderReady()) {
        m_job.copyPath.clear();
        return false;
    }
    const Status status = m_run.fs.stageCopy(m_job.current, m_job.copyPath, staged);
    if (!status) {
        Note(OperationKind::WriteCopy, m_job.current, m_job.copyPath,
             OperationStatus::failed(status));
        m_job.copyPath.clear();
        return false;
    }
    return true;
}

void FileMorph::CommitInPlace(std::int64_t changes)
{
    const std::string& target = m_job.inPlaceTarget;
    if (!m_run.confirm({"Morph file", target, std::nullopt})) {
        m_run.record(OperationKind::RewriteInPlace, m_job.source, target,
                     OperationStatus::refused());
        return;
    }
    if (const Status status = m_job.inPlace->commit(); !status) {
        m_run.record(OperationKind::RewriteInPlace, m_job.source, target,
                     OperationStatus::failed(status));
        return;
    }
    m_run.record(OperationKind::RewriteInPlace, m_job.source, target, OperationStatus::done(),
                 changes);
    // Where the file now is: the copy takes its permission bits from there.
    m_job.current = target;
    m_job.written = true;
}

// The copy: staged at the first change when nothing was rewritten in place,
// otherwise made now from the completed content of the rewrite.
void FileMorph::CommitCopy(std::int64_t changes)
{
    if (!m_job.copy) {
        if (!StageCopy(m_job.copy))
            return;
        if (const Status status = m_job.copy->copyContentOf(*m_job.inPlace); !status) {
            m_run.record(OperationKind::WriteCopy, m_job.current, m_job.copyPath,
                         OperationStatus::failed(status));
            return;
        }
    }
    if (!m_run.confirm({"Create file", m_job.copyPath, std::nullopt})) {
        m_run.record(OperationKind::WriteCopy, m_job.current, m_job.copyPath,
                     OperationStatus::refused());
        return;
    }
    const Status status = m_job.copy->commit();
    m_run.record(OperationKind::WriteCopy, m_job.current, m_job.copyPath,
                 status ? OperationStatus::done() : OperationStatus::failed(status),
                 status ? changes : 0);
    m_job.written = m_job.written || status.isOk();
}

// Files whose content may depend on what earlier files' commits did are
// read on the run's thread, in walk order: a link may point at one of
// them. Special files need no reading at all.
bool preparedOnWorker(const DirEntry& entry)
{
    return entry.type == EntryType::Regular;
}

// Work in flight per worker: enough to keep the workers busy while the
// run's thread commits, little enough to bound open files and memory.
constexpr std::size_t kTasksPerWorker = 16;

} // namespace

// One file on its way through the pipeline: prepared on a worker (or not
// at all, then on the run's thread at its commit).
struct FileDataMode::FileTask
{
    DirEntry entry;
    std::string relative;
    std::optional<DataJob> job;
    std::vector<Operation> held; // the records of the preparation
    std::int64_t changes = 0;
    bool ready = false;    // changes are staged
    bool prepared = false; // the preparation is done and stands
};

FileDataMode::FileDataMode(RunContext& run, const RegexMatcher* regex)
    : m_run(run), m_rules(rulesFor(run.options)),
      m_byRegex(searchesByRegex(run.options.pattern, run.options.mode)), m_regex(regex),
      m_search(m_byRegex, regex)
{
    const int jobs = run.options.jobs;
    if (jobs <= 1 || run.options.interactive || !run.fs.concurrentStaging())
        return;
    // The run's thread is one of the jobs: it prepares files too while it
    // waits for the oldest (one thread fewer to share the cores with).
    // One search per worker, and one for the run's thread when it helps.
    for (int worker = 0; worker < jobs; ++worker)
        m_workerSearches.push_back(std::make_unique<ContentSearch>(m_byRegex, m_regex));
    m_pipeline = std::make_unique<OrderedPipeline>(jobs - 1, kTasksPerWorker * jobs,
                                                   [&run] { return run.StopRequested(); });
}

FileDataMode::~FileDataMode() = default;

void FileDataMode::InOrder(OrderedPipeline::Commit step)
{
    if (m_pipeline)
        m_pipeline->add({}, std::move(step));
    else
        step();
}

void FileDataMode::MorphFolder(const std::string& relativePath, std::vector<DirEntry>* listing)
{
    InOrder([this, relativePath] {
        m_run.FolderStarted(relativePath);
        m_run.StepProgress();
    });
    std::vector<DirEntry> entries;
    const std::string folder = m_run.options.selection.startFolder + relativePath;
    if (!SelectedEntries(m_run.fs, folder, m_run.options.selection.mask, listing, entries))
        return;
    for (DirEntry& entry : entries) {
        if (m_run.StopRequested())
            break;
        if (entry.isDirectory()) {
            InOrder([this] { m_run.StepProgress(); });
            continue;
        }
        auto task = std::make_shared<FileTask>();
        task->entry = std::move(entry);
        task->relative = relativePath;
        Submit(std::move(task));
    }
}

void FileDataMode::Submit(std::shared_ptr<FileTask> task)
{
    if (!m_pipeline) {
        CommitTask(*task);
        return;
    }
    OrderedPipeline::Work work;
    if (preparedOnWorker(task->entry)) {
        work = [this, task](int worker) {
            task->job.emplace(jobFor(m_run.options, task->entry, task->relative));
            FileMorph morph(m_run, m_rules, *m_workerSearches[worker], *task->job, &task->held);
            task->ready = morph.Prepare(task->changes);
            task->prepared = !morph.deferred();
        };
    }
    m_pipeline->add(std::move(work), [this, task] { CommitTask(*task); });
}

void FileDataMode::CommitTask(FileTask& task)
{
    m_run.StepProgress();
    m_run.CountFile();
    if (task.prepared) {
        for (Operation& operation : task.held)
            m_run.record(std::move(operation));
    } else {
        // Not prepared, or prepared up to a point that needs this thread:
        // what it staged goes, and the file is done again from the start.
        task.job.reset();
        task.job.emplace(jobFor(m_run.options, task.entry, task.relative));
        FileMorph morph(m_run, m_rules, m_search, *task.job);
        task.ready = morph.Prepare(task.changes);
    }
    if (task.ready)
        FileMorph(m_run, m_rules, m_search, *task.job).Commit(task.changes);
    if (task.job->written)
        ++m_written;
}

int FileDataMode::Finish()
{
    if (m_pipeline)
        m_pipeline->drain();
    return m_written;
}

} // namespace quarvel
