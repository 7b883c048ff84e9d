#include "report/OperationLog.h"

namespace quarvel {

void OperationLog::clear()
{
    m_text.clear();
    m_ends.clear();
    m_failures = 0;
}

void OperationLog::append(std::string_view line)
{
    if (m_keepsLines) {
        m_text.append(line);
        m_ends.push_back(m_text.size());
    }
    if (m_listener != nullptr)
        m_listener->lineAdded(line);
}

void OperationLog::appendFailure(std::string_view line)
{
    ++m_failures;
    append(line);
}

std::string_view OperationLog::line(std::size_t index) const
{
    const std::size_t begin = index == 0 ? 0 : m_ends[index - 1];
    return std::string_view(m_text).substr(begin, m_ends[index] - begin);
}

} // namespace quarvel
