#include "engine/ReadAhead.h"

#include "engine/StreamReplace.h"

#include <system_error>

namespace quarvel {

void ReadWhole(StreamSource& source, SourceRead& read)
{
    while (read.got < read.size) {
        std::int64_t got = 0;
        read.status =
            source.ReadAt(read.offset + read.got, read.into + read.got, read.size - read.got, got);
        if (!read.status)
            return;
        if (got == 0) {
            read.end = true;
            return;
        }
        read.got += got;
    }
}

ReadAhead::~ReadAhead()
{
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

bool ReadAhead::Start(StreamSource& source, const SourceRead& read)
{
    if (m_failedToStart)
        return false;
    if (!m_thread.joinable()) {
        try {
            m_thread = std::thread([this] { Serve(); });
        } catch (const std::system_error&) {
            m_failedToStart = true;
            return false;
        }
    }
    {
        std::lock_guard lock(m_mutex);
        m_source = &source;
        m_read = read;
        m_requested = true;
        m_finished = false;
    }
    m_wake.notify_one();
    m_pending = true;
    return true;
}

SourceRead ReadAhead::Wait()
{
    std::unique_lock lock(m_mutex);
    m_done.wait(lock, [this] { return m_finished; });
    m_pending = false;
    m_finished = false;
    return m_read;
}

void ReadAhead::Serve()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_quit || m_requested; });
        if (m_quit)
            return;
        m_requested = false;
        SourceRead read = m_read;
        StreamSource* source = m_source;
        lock.unlock();
        ReadWhole(*source, read);
        lock.lock();
        m_read = read;
        m_finished = true;
        m_done.notify_one();
    }
}

} // namespace quarvel
