#pragma once

#include "engine/DryRunFileSystem.h"
#include "report/OperationLog.h"
#include "ui/WindowRun.h"

#include <functional>
#include <optional>

namespace quarvel {

// "Preview": the current settings run as a dry run on a worker thread, its
// log kept apart from the last real run's. Nothing is asked (the preview
// shows every operation as if it were confirmed) and nothing is journaled.
class PreviewRun : private WindowRun::Host
{
public:
    // `progress` and `ended` are called on the GUI thread.
    PreviewRun(QObject& guiContext, FileSystem& fs, std::function<void(int)> progress,
               std::function<void()> ended);

    void start(RunOptions options);
    void requestStop() { m_run.requestStop(); }
    // What the preview shows: a first line saying that nothing was done,
    // then the log the run would write.
    const OperationLog& log() const { return m_shown; }

private:
    void showRunProgress(int position) override { m_progress(position); }
    ConfirmResult askOnGuiThread(const std::string&) override { return ConfirmResult::Yes; }
    void confirmedAll() override {}
    void runEnded(const RunSummary&) override;

    FileSystem& m_fs;
    std::optional<DryRunFileSystem> m_dryRun; // a fresh one for each preview
    OperationLog m_log;
    OperationLog m_shown;
    std::function<void(int)> m_progress;
    std::function<void()> m_ended;
    WindowRun m_run;
};

} // namespace quarvel
