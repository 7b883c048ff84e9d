#include "engine/NewName.h"

#include "engine/NameCase.h"
#include "platform/Path.h"

namespace quarvel {

std::size_t findFirstOccurrence(std::string_view text, std::string_view pattern)
{
    for (std::size_t at = text.find(pattern); at != std::string_view::npos;
         at = text.find(pattern, at + 1)) {
        if (!isInsideSequence(text, at))
            return at;
    }
    return std::string_view::npos;
}

bool isPlainName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." &&
           name.find(kSeparator) == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

NameRule::NameRule(const RunOptions& options)
    : m_replacing(replacesInNames(options)), m_matchCase(options.pattern.match.matchCase),
      m_lowerName(options.nameCase.lowerName), m_lowerExtension(options.nameCase.lowerExtension),
      m_pattern(m_matchCase ? options.pattern.text : lowerAscii(options.pattern.text)),
      m_replacement(options.pattern.replacement)
{
}

std::string NameRule::newName(std::string_view name) const
{
    return m_replacing ? replacedName(name) : lowerCasedName(name);
}

std::string NameRule::replacedName(std::string_view name) const
{
    std::string working = m_matchCase ? std::string(name) : lowerAscii(name);
    const std::size_t at = findFirstOccurrence(working, m_pattern);
    if (at != std::string::npos)
        working.replace(at, m_pattern.size(), m_replacement);
    if (!m_lowerName && !m_lowerExtension)
        return working;
    return lowerNameParts(working, m_lowerName, m_lowerExtension);
}

std::string NameRule::lowerCasedName(std::string_view name) const
{
    if (m_lowerName)
        return lowerAscii(name);
    if (m_lowerExtension)
        return lowerNameParts(name, false, true);
    return std::string(name);
}

} // namespace quarvel
