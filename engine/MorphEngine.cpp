#include "engine/MorphEngine.h"

#include "engine/DirectoryWalk.h"
#include "engine/FileDataMode.h"
#include "engine/FileNameMode.h"
#include "engine/RunContext.h"
#include "platform/Path.h"
#include "report/LogEntry.h"

#include <string>

namespace quarvel {

namespace {

WalkOptions walkOptionsFor(const MorphSettings& settings)
{
    WalkOptions options;
    options.startDir = settings.StartDir;
    options.recurse = settings.Recurse != 0;
    // A run never processes its own copies: an output folder inside the
    // start tree is not walked while copies are being written.
    if (settings.Copy != 0 && isStrictlyInside(settings.CopyDir, settings.StartDir)) {
        options.excludedRelative =
            normalizedFolder(settings.CopyDir).substr(normalizedFolder(settings.StartDir).size());
    }
    return options;
}

int walkTree(RunContext& run)
{
    const WalkOptions options = walkOptionsFor(run.settings);
    const FolderStep step = [&run](const std::string& relative) {
        run.window.folderStarted(relative);
        return run.settings.SearchMode != 0 ? MorphFileNames(run, relative)
                                            : MorphFileData(run, relative);
    };
    return WalkDirectory(run.fs, options, step, [&run] { return run.window.stopRequested(); });
}

} // namespace

std::string SummaryText(const std::string& processedLine, const std::string& morphedLine,
                        int failures)
{
    std::string text = processedLine + "\r\n" + morphedLine;
    if (failures > 0) {
        text += "\r\n" + std::to_string(failures) + " operation" + (failures == 1 ? "" : "s") +
                " failed; see the log.";
    }
    return text;
}

void MorphFiles(EngineParts parts)
{
    parts.state.cancelAll = 0;
    parts.state.filesProcessed = 0;
    parts.window.setProgressPosition(0);
    parts.window.setProgressVisible(true);
    parts.window.readControls();
    ensureTrailingSeparator(parts.settings.StartDir);
    ensureTrailingSeparator(parts.settings.CopyDir);
    parts.log.clear();

    RunContext run(parts.settings, parts.state, parts.log, parts.window, parts.fs);
    const int morphed = walkTree(run);

    const std::string processedLine = "Processed " + std::to_string(parts.state.filesProcessed) +
                                      " files (" + parts.settings.Mask + ").";
    const std::string morphedLine =
        "Morphed " + std::to_string(morphed) + " unique file" + (morphed == 1 ? "." : "s.");
    AddLogEntry(parts.log, LogEntryKind::Plain, processedLine);
    AddLogEntry(parts.log, LogEntryKind::Plain, morphedLine);
    NoteHistory(parts.maskHistory, parts.maskList, parts.settings.Mask);
    NoteHistory(parts.patternHistory, parts.patternList, parts.settings.Pattern);
    // One flush per written file system, so "Operation Complete" means the
    // results are on disk.
    parts.fs.syncWritten();
    parts.window.setProgressVisible(false);
    parts.window.showSummary(SummaryText(processedLine, morphedLine, parts.log.failureCount()));
}

} // namespace quarvel
