#include "engine/FileNameMode.h"

#include "engine/NewName.h"
#include "report/LogEntry.h"

#include <cerrno>
#include <string_view>
#include <vector>

namespace quarvel {

namespace {

// One selected file on its way through the rename step and the copy step.
struct NameJob
{
    const std::string& relative; // relative folder path
    const DirEntry& entry;
    std::string newName;
    std::string source; // where the file is now: its new path once renamed
    bool changed = false;
};

// The platform would take a name holding the separator as a path into
// another folder; such a name is refused like an invalid argument.
Status checkedName(const std::string& name)
{
    return isPlainName(name) ? Status::ok() : Status::error(EINVAL);
}

void renameStep(RunContext& run, NameJob& job)
{
    const std::string target = run.settings.StartDir + job.relative + job.newName;
    Status moved = checkedName(job.newName);
    if (moved) {
        if (run.confirm("Morph file", &job.source, &target) == 0) {
            AddLogEntry(run.log, LogEntryKind::Pair, "User cancelled file morph", job.source);
            return;
        }
        // The listing saw a file; a folder put in its place since then is
        // not this run's to rename. (A listed link is renamed whatever it
        // points to.)
        if (job.entry.type != EntryType::Symlink && run.fs.folderExists(job.source))
            moved = Status::error(EISDIR);
        else
            moved = run.fs.moveNoReplace(job.source, target);
    }
    if (!moved) {
        AddFailure(run.log, "rename", job.source, target, moved.message());
        return;
    }
    AddLogEntry(run.log, LogEntryKind::Renamed, job.source, target);
    // The copy step reads the file under the name it has now.
    job.source = target;
    job.changed = true;
}

void logSkippedSpecial(RunContext& run, const NameJob& job)
{
    AddLogEntry(run.log, LogEntryKind::Plain, "Skipped special file " + job.source);
}

void copyStep(RunContext& run, NameJob& job, std::string_view refusal)
{
    // A FIFO or a device is never opened: reading it may block for ever or
    // never end. Only its name could be changed.
    if (job.entry.type == EntryType::Special) {
        logSkippedSpecial(run, job);
        return;
    }
    const std::string copyPath = run.settings.CopyDir + job.relative + job.newName;
    Status copied = checkedName(job.newName);
    if (copied) {
        if (run.EnsureFolder(run.settings.CopyDir, job.relative) == 0)
            return;
        if (run.confirm("Create file", &copyPath) == 0) {
            AddLogEntry(run.log, LogEntryKind::Pair, refusal, copyPath);
            return;
        }
        copied = run.fs.copyFileNoReplace(job.source, copyPath);
    }
    if (copied.code() == Status::kNotRegularFile) {
        // Swapped for a FIFO or a device since the listing: skipped, as if
        // it had been listed as one.
        logSkippedSpecial(run, job);
        return;
    }
    if (!copied) {
        AddFailure(run.log, "copy", job.source, copyPath, copied.message());
        return;
    }
    AddLogEntry(run.log, LogEntryKind::Copied, job.source, copyPath);
    job.changed = true;
}

// Renames and/or copies one selected file; true when either was carried out.
bool morphName(RunContext& run, const NameRule& rule, const std::string& relative,
               const DirEntry& entry)
{
    NameJob job{relative, entry, rule.newName(entry.name),
                run.settings.StartDir + relative + entry.name};
    const bool nameChanges = job.newName != entry.name;
    // The lower-case path does nothing for a name it leaves as it is; the
    // replacement path still copies it.
    if (!rule.replacing() && !nameChanges)
        return false;
    if (run.settings.Rename != 0 && nameChanges)
        renameStep(run, job);
    if (run.settings.Copy != 0) {
        copyStep(run, job,
                 rule.replacing() ? "User cancelled file create" : "User cancelled file creation");
    }
    return job.changed;
}

} // namespace

int MorphFileNames(RunContext& run, const std::string& relativePath)
{
    run.StepProgress();
    std::vector<DirEntry> entries;
    if (!run.fs.listFolder(run.settings.StartDir + relativePath, run.settings.Mask, entries))
        return 0;
    const NameRule rule(run.settings);
    int changed = 0;
    for (const DirEntry& entry : entries) {
        if (run.window.stopRequested())
            break;
        run.StepProgress();
        if (entry.isDirectory())
            continue;
        ++run.state.filesProcessed;
        if (morphName(run, rule, relativePath, entry))
            ++changed;
    }
    return changed;
}

} // namespace quarvel
