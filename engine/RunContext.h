#pragma once

#include "app/MorphSettings.h"
#include "engine/Progress.h"
#include "engine/RunState.h"
#include "engine/RunWindow.h"
#include "platform/FileSystem.h"
#include "report/OperationLog.h"

#include <string>
#include <string_view>

namespace quarvel {

// What the per-folder steps work with during a run: the settings, the run
// state, the log, the window and the file system, plus the shared services
// (confirmation, output folders, progress).
class RunContext
{
public:
    RunContext(MorphSettings& settings, RunState& state, OperationLog& log, RunWindow& window,
               FileSystem& fs)
        : settings(settings), state(state), log(log), window(window), fs(fs)
    {
    }

    // 1 to go ahead, 0 not to (see ConfirmOperation).
    int confirm(std::string_view action, const std::string* subject,
                const std::string* target = nullptr);

    // Makes sure base + relative exists, creating it after confirmation;
    // 0 when it was refused or could not be created (a failure line is then
    // already logged).
    int EnsureFolder(const std::string& base, const std::string& relative);

    // One step of the progress bar.
    void StepProgress();

    MorphSettings& settings;
    RunState& state;
    OperationLog& log;
    RunWindow& window;
    FileSystem& fs;
    Progress progress;
};

} // namespace quarvel
