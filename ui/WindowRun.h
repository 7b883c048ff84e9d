#pragma once

#include "engine/Confirmation.h"
#include "engine/RunObserver.h"
#include "engine/RunOptions.h"
#include "report/LogWriter.h"
#include "report/OperationLog.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

class QObject;

namespace quarvel {

class FileSystem;

// A run started from the window: the job runs on a worker thread while the
// window goes on painting. The records become the window's log on the worker;
// what the window shows (progress, questions, "Yes All", the end of the run)
// is handed to the host on the GUI thread, through the event loop of
// `guiContext`.
class WindowRun : public Confirmer, public RunObserver
{
public:
    // The window's side; every call comes on the GUI thread.
    class Host
    {
    public:
        virtual ~Host() = default;
        virtual void showRunProgress(int position) = 0;
        // The question's answer; the run waits for it.
        virtual ConfirmResult askOnGuiThread(const std::string& message) = 0;
        // "Yes All" was answered: the settings and controls show it.
        virtual void confirmedAll() = 0;
        // The job is over (its thread has ended).
        virtual void runEnded(const RunSummary& summary) = 0;
    };

    // How often at most the progress bar is told of a new position.
    static constexpr std::chrono::milliseconds kProgressInterval{50};

    WindowRun(QObject& guiContext, Host& host, OperationLog& log);
    // Stops a run still under way and waits for its thread.
    ~WindowRun() override;
    WindowRun(const WindowRun&) = delete;
    WindowRun& operator=(const WindowRun&) = delete;

    // GUI thread: starts the job, with as many jobs as processors online
    // unless it is interactive; `fs` must outlive it.
    void start(RunOptions options, FileSystem& fs);
    // GUI thread: the job stops after the operation under way, and a
    // question waiting for its answer is answered No.
    void requestStop();
    bool stopRequested() const { return m_stop.load(); }

    // The job's side, on the worker thread.
    ConfirmResult confirm(const ConfirmationQuestion& question) override;
    void runStarted(const RunOptions& options) override;
    void progressed(int position, std::int32_t filesProcessed) override;
    void operationDone(const Operation& operation) override;
    void runFinished(const RunSummary& summary) override;

private:
    void work(RunOptions options, FileSystem& fs);
    void answer(std::uint64_t question, ConfirmResult result);
    void joinWorker();

    QObject& m_context;
    Host& m_host;
    LogWriter m_logWriter;
    std::thread m_worker;
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::condition_variable m_answered;
    std::uint64_t m_question = 0; // the number of the question waiting, under m_mutex
    std::optional<ConfirmResult> m_answer;
    int m_position = 0;
    std::chrono::steady_clock::time_point m_lastProgress;
};

} // namespace quarvel
