#include "engine/ResultWriter.h"

#include "engine/StorageGrowth.h"

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
    return growStorage(m_data, m_size, m_used, total);
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
