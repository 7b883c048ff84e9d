#include "engine/MorphJob.h"

#include "engine/DirectoryWalk.h"
#include "engine/FileDataMode.h"
#include "engine/FileNameMode.h"
#include "engine/ParallelRenames.h"
#include "engine/PatternRegex.h"
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

// Walks the tree handing each folder to `mode` (an object whose work may
// still be under way after its MorphFolder), then lets it finish.
template <typename Mode>
int walkWith(RunContext& run, Mode& mode)
{
    const ListedFolderStep step = [&mode](const std::string& relative,
                                          std::vector<DirEntry>* listing) {
        mode.MorphFolder(relative, listing);
        return 0;
    };
    WalkDirectory(run.fs, walkOptionsFor(run.options), step,
                  [&run] { return run.StopRequested(); });
    return mode.Finish();
}

int walkTree(RunContext& run)
{
    // An expression is compiled once for the run (the front ends have
    // checked it before the run began).
    std::unique_ptr<RegexMatcher> regex;
    if (searchesByRegex(run.options.pattern, run.options.mode)) {
        std::string error;
        regex = compilePattern(run.options.pattern, error);
    }
    if (run.options.mode == RunMode::Data) {
        FileDataMode dataMode(run, regex.get());
        return walkWith(run, dataMode);
    }
    if (ParallelRenames::suits(run)) {
        ParallelRenames renames(run, regex.get());
        return walkWith(run, renames);
    }
    const ListedFolderStep step = [&run, &regex](const std::string& relative,
                                                 std::vector<DirEntry>* listing) {
        run.FolderStarted(relative);
        return MorphFileNames(run, relative, listing, regex.get());
    };
    return WalkDirectory(run.fs, walkOptionsFor(run.options), step,
                         [&run] { return run.StopRequested(); });
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
