#include "ui/WindowRun.h"

#include "engine/MorphJob.h"
#include "platform/OnlineCpus.h"
#include "report/ConfirmMessage.h"

#include <QMetaObject>
#include <QObject>

namespace quarvel {

WindowRun::WindowRun(QObject& guiContext, Host& host, OperationLog& log)
    : m_context(guiContext), m_host(host), m_logWriter(log)
{
}

WindowRun::~WindowRun()
{
    requestStop();
    joinWorker();
}

void WindowRun::start(RunOptions options, FileSystem& fs)
{
    joinWorker();
    m_stop = false;
    // A run that asks nothing keeps every processor busy; the questions of
    // an interactive one come one at a time in walk order.
    options.jobs = options.interactive ? 1 : onlineCpuCount();
    m_worker = std::thread(
        [this, options = std::move(options), &fs]() mutable { work(std::move(options), fs); });
}

void WindowRun::requestStop()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_answered.notify_all();
}

void WindowRun::joinWorker()
{
    if (m_worker.joinable())
        m_worker.join();
}

void WindowRun::work(RunOptions options, FileSystem& fs)
{
    const RunSummary summary =
        RunMorphJob(std::move(options), fs, *this, *this, [this] { return m_stop.load(); });
    // The host joins this thread in runEnded; the queued call runs once the
    // GUI thread gets to it, after everything posted before.
    QMetaObject::invokeMethod(
        &m_context,
        [this, summary] {
            joinWorker();
            m_host.runEnded(summary);
        },
        Qt::QueuedConnection);
}

ConfirmResult WindowRun::confirm(const ConfirmationQuestion& question)
{
    std::unique_lock lock(m_mutex);
    if (m_stop)
        return ConfirmResult::No;
    const std::uint64_t number = ++m_question;
    m_answer.reset();
    lock.unlock();
    QMetaObject::invokeMethod(
        &m_context,
        [this, number, position = m_position, message = ConfirmMessage(question)] {
            m_host.showRunProgress(position);
            answer(number, m_stop ? ConfirmResult::No : m_host.askOnGuiThread(message));
        },
        Qt::QueuedConnection);
    lock.lock();
    m_answered.wait(lock, [this] { return m_answer.has_value() || m_stop.load(); });
    return m_answer.value_or(ConfirmResult::No);
}

void WindowRun::answer(std::uint64_t question, ConfirmResult result)
{
    {
        const std::lock_guard lock(m_mutex);
        if (question != m_question)
            return; // the run stopped waiting for it
        m_answer = result;
    }
    m_answered.notify_all();
}

void WindowRun::runStarted(const RunOptions& options)
{
    m_position = 0;
    m_lastProgress = std::chrono::steady_clock::now();
    m_logWriter.runStarted(options);
}

void WindowRun::progressed(int position, std::int32_t)
{
    m_position = position;
    const auto now = std::chrono::steady_clock::now();
    if (now - m_lastProgress < kProgressInterval)
        return;
    m_lastProgress = now;
    QMetaObject::invokeMethod(
        &m_context, [this, position] { m_host.showRunProgress(position); }, Qt::QueuedConnection);
}

void WindowRun::operationDone(const Operation& operation)
{
    m_logWriter.operationDone(operation);
    if (operation.kind == OperationKind::ConfirmAll) {
        QMetaObject::invokeMethod(
            &m_context, [this] { m_host.confirmedAll(); }, Qt::QueuedConnection);
    }
}

void WindowRun::runFinished(const RunSummary& summary)
{
    m_logWriter.runFinished(summary);
}

} // namespace quarvel
