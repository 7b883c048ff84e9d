#include "engine/BufferSink.h"

#include <limits>

namespace quarvel {

bool BufferSink::reserve(std::uint64_t size)
{
    constexpr auto kLargest = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    const auto already = static_cast<std::uint64_t>(m_buffer.length() + m_headroom);
    if (size > kLargest - already)
        return false;
    return m_buffer.ReserveStorage(static_cast<std::int64_t>(already + size));
}

bool BufferSink::append(const char* data, std::size_t size)
{
    if (size > static_cast<std::size_t>(std::numeric_limits<std::int64_t>::max()))
        return false;
    return m_buffer.AppendBytes(data, static_cast<std::int64_t>(size));
}

char* BufferSink::room(std::size_t& size)
{
    std::int64_t free = 0;
    char* start = m_buffer.FreeRoom(free);
    size = static_cast<std::size_t>(free);
    return start;
}

void BufferSink::commit(std::size_t size)
{
    m_buffer.CommitRoom(static_cast<std::int64_t>(size));
}

} // namespace quarvel
