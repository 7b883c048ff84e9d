#include "engine/ResultWriter.h"

#include <cstdlib>
#include <limits>
#include <utility>

namespace quarvel {

ResultWriter::~ResultWriter()
{
    std::free(m_data);
}

bool ResultWriter::Reserve(std::int64_t total)
{
    if (total <= m_size)
        return true;
    void* grown = nullptr;
    if (m_used == 0) {
        // Nothing written yet: fresh storage saves copying the old bytes.
        grown = std::malloc(static_cast<std::size_t>(total));
        if (grown == nullptr)
            return false;
        std::free(m_data);
    } else {
        grown = std::realloc(m_data, static_cast<std::size_t>(total));
        if (grown == nullptr)
            return false;
    }
    m_data = static_cast<char*>(grown);
    m_size = total;
    return true;
}

// Geometric growth, so a result far larger than planned still costs O(n).
bool ResultWriter::Grow(std::int64_t n)
{
    constexpr std::int64_t kLimit = std::numeric_limits<std::int64_t>::max() / 4;
    if (n < 0 || n > kLimit - m_used)
        return false;
    const std::int64_t needed = m_used + n;
    const std::int64_t doubled = m_size < kLimit / 2 ? 2 * m_size : kLimit;
    return Reserve(needed > doubled ? needed : doubled);
}

char* ResultWriter::Release(std::int64_t& size)
{
    size = std::exchange(m_size, 0);
    m_used = 0;
    return std::exchange(m_data, nullptr);
}

} // namespace quarvel
