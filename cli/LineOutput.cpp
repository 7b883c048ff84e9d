#include "cli/LineOutput.h"

#include "platform/StopSignal.h"
#include "platform/WriteAll.h"

#include <cerrno>
#include <unistd.h>

namespace quarvel::cli {

LineOutput::LineOutput(int fd, bool immediate) : m_fd(fd), m_immediate(immediate)
{
    m_pending.reserve(kBlockSize + 4096);
    if (!m_immediate)
        m_flusher = std::thread([this] { flushLoop(); });
}

LineOutput::~LineOutput()
{
    close();
}

void LineOutput::writeLine(std::string_view line)
{
    std::lock_guard lock(m_mutex);
    if (m_error != 0)
        return;
    m_pending.append(line);
    m_pending.push_back('\n');
    if (m_immediate || m_pending.size() >= kBlockSize)
        writePendingLocked();
}

void LineOutput::flush()
{
    std::lock_guard lock(m_mutex);
    writePendingLocked();
}

void LineOutput::close()
{
    {
        std::lock_guard lock(m_mutex);
        m_closing = true;
        m_immediate = true;
        writePendingLocked();
    }
    m_wake.notify_all();
    if (m_flusher.joinable())
        m_flusher.join();
}

int LineOutput::error() const
{
    std::lock_guard lock(m_mutex);
    return m_error;
}

void LineOutput::writePendingLocked()
{
    if (m_error == 0) {
        if (const Status status = writeAll(m_fd, m_pending); !status)
            m_error = status.code();
    }
    m_pending.clear();
}

void LineOutput::flushLoop()
{
    blockStopSignalsInThisThread();
    std::unique_lock lock(m_mutex);
    while (!m_closing) {
        m_wake.wait_for(lock, kFlushInterval);
        if (!m_pending.empty())
            writePendingLocked();
    }
}

} // namespace quarvel::cli
