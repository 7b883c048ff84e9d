#include "engine/FileNameMode.h"

#include "engine/DirectoryWalk.h"
#include "engine/NewName.h"

#include <cerrno>
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

void renameStep(RunContext& run, NameJob& job)
{
    const std::string target = run.options.selection.startFolder + job.relative + job.newName;
    Status moved = checkedName(job.newName);
    if (moved) {
        if (!run.confirm({"Morph file", job.source, target})) {
            run.record(OperationKind::Rename, job.source, target, OperationStatus::refused());
            return;
        }
        moved = MoveListedFile(run.fs, job.source, target);
    }
    if (!moved) {
        run.record(OperationKind::Rename, job.source, target, OperationStatus::failed(moved));
        return;
    }
    run.record(OperationKind::Rename, job.source, target);
    // The copy step reads the file under the name it has now.
    job.source = target;
    job.changed = true;
}

void copyStep(RunContext& run, NameJob& job)
{
    // A FIFO or a device is never opened: reading it may block for ever or
    // never end. Only its name could be changed.
    if (job.entry.type == EntryType::Special) {
        run.record(OperationKind::SkipSpecial, job.source);
        return;
    }
    const std::string& copyFolder = *run.options.outputs.copyFolder;
    const std::string copyPath = copyFolder + job.relative + job.newName;
    Status copied = checkedName(job.newName);
    if (copied) {
        if (!run.EnsureFolder(copyFolder, job.relative))
            return;
        if (!run.confirm({"Create file", copyPath, std::nullopt})) {
            run.record(OperationKind::Copy, job.source, copyPath, OperationStatus::refused());
            return;
        }
        copied = run.fs.copyFileNoReplace(job.source, copyPath);
    }
    if (copied.code() == Status::kNotRegularFile) {
        // Swapped for a FIFO or a device since the listing: skipped, as if
        // it had been listed as one.
        run.record(OperationKind::SkipSpecial, job.source);
        return;
    }
    if (!copied) {
        run.record(OperationKind::Copy, job.source, copyPath, OperationStatus::failed(copied));
        return;
    }
    run.record(OperationKind::Copy, job.source, copyPath);
    job.changed = true;
}

// Renames and/or copies one selected file; true when either was carried out.
bool morphName(RunContext& run, const NameRule& rule, const std::string& relative,
               const DirEntry& entry)
{
    Status searched;
    NameJob job{relative, entry, rule.newName(entry.name, &searched),
                run.options.selection.startFolder + relative + entry.name};
    if (!searched) {
        // The name is neither renamed nor copied under a name half decided.
        run.record(OperationKind::SearchFile, job.source, {}, OperationStatus::failed(searched));
        return false;
    }
    const bool nameChanges = job.newName != entry.name;
    // The lower-case path does nothing for a name it leaves as it is; the
    // replacement path still copies it.
    if (!rule.replacing() && !nameChanges)
        return false;
    if (run.options.outputs.inPlace && nameChanges)
        renameStep(run, job);
    if (run.options.outputs.copyFolder)
        copyStep(run, job);
    return job.changed;
}

} // namespace

Status checkedName(const std::string& name)
{
    return isPlainName(name) ? Status::ok() : Status::error(EINVAL);
}

Status MoveListedFile(FileSystem& fs, const std::string& source, const std::string& target)
{
    // The listing saw a file; a folder put in its place since then is not
    // this run's to rename. (A link is renamed whatever it points to.) The
    // state examined is the one the move leaves.
    const FileState examined = fs.entryState(source);
    if (examined.isFolder())
        return Status::error(EISDIR);
    return fs.moveExamined(source, target, examined);
}

int MorphFileNames(RunContext& run, const std::string& relativePath, std::vector<DirEntry>* listing,
                   const RegexMatcher* regex)
{
    run.StepProgress();
    std::vector<DirEntry> entries;
    const FileSelection& selection = run.options.selection;
    if (!SelectedEntries(run.fs, selection.startFolder + relativePath, selection.mask, listing,
                         entries))
        return 0;
    const NameRule rule(run.options, regex);
    int changed = 0;
    for (const DirEntry& entry : entries) {
        if (run.StopRequested())
            break;
        run.StepProgress();
        if (entry.isDirectory())
            continue;
        run.CountFile();
        if (morphName(run, rule, relativePath, entry))
            ++changed;
    }
    return changed;
}

} // namespace quarvel
