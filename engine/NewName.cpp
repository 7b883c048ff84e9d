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

NameRule::NameRule(const RunOptions& options, const RegexMatcher* regex)
    : m_replacing(replacesInNames(options)), m_matchCase(options.pattern.match.matchCase),
      m_lowerName(options.nameCase.lowerName), m_lowerExtension(options.nameCase.lowerExtension),
      m_unicodeMatch(options.pattern.unicodeCase), m_unicodeLower(options.nameCase.unicode),
      m_regex(regex != nullptr ? std::make_unique<RegexMatcher>(*regex) : nullptr),
      m_pattern(m_matchCase ? options.pattern.text
                            : lowerText(options.pattern.text, m_unicodeMatch)),
      m_replacement(options.pattern.replacement)
{
}

std::string NameRule::newName(std::string_view name, Status* failure) const
{
    return m_replacing ? replacedName(name, failure) : lowerCasedName(name);
}

std::string NameRule::replacedName(std::string_view name, Status* failure) const
{
    std::string working;
    if (m_regex) {
        working = regexReplaced(name, failure);
        if (failure != nullptr && !*failure)
            return std::string(name);
    } else {
        working = m_matchCase ? std::string(name) : lowerText(name, m_unicodeMatch);
        const std::size_t at = findFirstOccurrence(working, m_pattern);
        if (at != std::string::npos)
            working.replace(at, m_pattern.size(), m_replacement);
    }
    if (!m_lowerName && !m_lowerExtension)
        return working;
    return lowerNameParts(working, m_lowerName, m_lowerExtension, m_unicodeLower);
}

std::string NameRule::regexReplaced(std::string_view name, Status* failure) const
{
    const auto length = static_cast<std::int64_t>(name.size());
    const RegexFind found = m_regex->Find(name.data(), length, 0, false, false, false);
    if (found == RegexFind::Failed && failure != nullptr)
        *failure = m_regex->failure();
    if (found != RegexFind::Match)
        return std::string(name);
    const RegexSpan span = m_regex->span();
    std::string out(name.substr(0, static_cast<std::size_t>(span.start)));
    m_regex->AppendReplacement(name.data(), out);
    out += name.substr(static_cast<std::size_t>(span.end));
    return out;
}

std::string NameRule::lowerCasedName(std::string_view name) const
{
    if (m_lowerName)
        return lowerText(name, m_unicodeLower);
    if (m_lowerExtension)
        return lowerNameParts(name, false, true, m_unicodeLower);
    return std::string(name);
}

} // namespace quarvel
