#include "engine/MorphJob.h"

#include "engine/DirectoryWalk.h"
#include "engine/FileDataMode.h"
#include "engine/FileNameMode.h"
#include "platform/Path.h"

namespace quarvel {

namespace {

WalkOptions walkOptionsFor(const RunOptions& options)
{
    WalkOptions walk;
    walk.startDir = options.selection.startFolder;
    walk.recurse = options.selection.recurse;
    // A run never processes its own copies: an output folder inside the
    // start tree is not walked while copies are being written.
    const auto& copyFolder = options.outputs.copyFolder;
    if (copyFolder && isStrictlyInside(*copyFolder, walk.startDir)) {
        walk.excludedRelative =
            normalizedFolder(*copyFolder).substr(normalizedFolder(walk.startDir).size());
    }
    return walk;
}

int walkTree(RunContext& run)
{
    const auto stop = [&run] { return run.StopRequested(); };
    if (run.options.mode == RunMode::Names) {
        const FolderStep step = [&run](const std::string& relative) {
            run.FolderStarted(relative);
            return MorphFileNames(run, relative);
        };
        return WalkDirectory(run.fs, walkOptionsFor(run.options), step, stop);
    }
    FileDataMode dataMode(run);
    const FolderStep step = [&dataMode](const std::string& relative) {
        dataMode.MorphFolder(relative);
        return 0;
    };
    WalkDirectory(run.fs, walkOptionsFor(run.options), step, stop);
    return dataMode.Finish();
}

} // namespace

RunSummary RunMorphJob(RunOptions options, FileSystem& fs, Confirmer& confirmer,
                       RunObserver& observer, const StopRequest& stop)
{
    ensureTrailingSeparator(options.selection.startFolder);
    if (options.outputs.copyFolder)
        ensureTrailingSeparator(*options.outputs.copyFolder);
    observer.runStarted(options);
    observer.progressed(0, 0);

    RunContext run(options, fs, confirmer, observer, stop);
    RunSummary summary;
    summary.filesMorphed = walkTree(run);
    summary.filesProcessed = run.filesProcessed();
    summary.failures = run.failures();
    summary.interrupted = run.stopped();
    summary.cancelledAll = run.cancelledAll();
    fs.syncWritten();
    observer.runFinished(summary);
    return summary;
}

} // namespace quarvel
