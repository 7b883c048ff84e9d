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
    if (m_pending)
        Wait();
    m_state.store(Quit, std::memory_order_release);
    m_state.notify_one();
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
    m_source = &source;
    m_read = read;
    m_state.store(Requested, std::memory_order_release);
    m_state.notify_one();
    m_pending = true;
    return true;
}

SourceRead ReadAhead::Wait()
{
    AwaitEither(Finished, Finished);
    m_pending = false;
    SourceRead read = m_read;
    m_state.store(Idle, std::memory_order_relaxed);
    return read;
}

namespace {

void pauseBriefly()
{
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

} // namespace

ReadAhead::State ReadAhead::AwaitEither(State a, State b)
{
    // About a tenth of a millisecond of spinning, then sleep.
    for (int spin = 0; spin < 4000; ++spin) {
        const int state = m_state.load(std::memory_order_acquire);
        if (state == a || state == b)
            return static_cast<State>(state);
        pauseBriefly();
    }
    for (;;) {
        const int state = m_state.load(std::memory_order_acquire);
        if (state == a || state == b)
            return static_cast<State>(state);
        m_state.wait(state, std::memory_order_acquire);
    }
}

void ReadAhead::Serve()
{
    while (AwaitEither(Requested, Quit) == Requested) {
        ReadWhole(*m_source, m_read);
        m_state.store(Finished, std::memory_order_release);
        m_state.notify_one();
    }
}

} // namespace quarvel
