#include "engine/PatternRegex.h"

#include "engine/UnicodeCase.h"

namespace quarvel {

namespace {

bool isAsciiAlnum(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool unicodeLiteral(const PatternOptions& pattern)
{
    return !pattern.regex && pattern.unicodeCase && !pattern.match.matchCase &&
           !pattern.text.empty() && isValidUtf8(pattern.text);
}

} // namespace

std::optional<std::string> patternConflict(const PatternOptions& pattern, RunMode mode)
{
    const MatchOptions& match = pattern.match;
    if (pattern.regex) {
        if (match.wholeWord)
            return "--regex cannot be used with --whole-word (write \\b or a look-around)";
        if (match.ignoreCrLf || match.crLfAsSpace)
            return "--regex cannot be used with --ignore-crlf or --crlf-as-space (write [\\r\\n]* "
                   "or \\s+)";
        return std::nullopt;
    }
    if (mode == RunMode::Data && unicodeLiteral(pattern) && (match.ignoreCrLf || match.crLfAsSpace))
        return "--unicode-case without --match-case cannot be used with --ignore-crlf or "
               "--crlf-as-space";
    return std::nullopt;
}

bool searchesByRegex(const PatternOptions& pattern, RunMode mode)
{
    // An empty pattern searches nothing, as a literal one does.
    return !pattern.text.empty() &&
           (pattern.regex || (mode == RunMode::Data && unicodeLiteral(pattern)));
}

std::string literalExpression(std::string_view text, bool wholeWord)
{
    // A word starts at the content's start or behind white space (tab, LF,
    // VT, FF, CR, space: PCRE2's \\v would take in more), and ends at its
    // end or before white space or a NUL byte.
    std::string expression = wholeWord ? "(?:\\A|(?<=[\\x{09}-\\x{0d} ]))" : "";
    static const char kHex[] = "0123456789abcdef";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 || isAsciiAlnum(byte)) {
            expression += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            expression += "\\x{";
            expression += kHex[byte >> 4];
            expression += kHex[byte & 0xF];
            expression += '}';
        } else {
            expression += '\\';
            expression += c;
        }
    }
    if (wholeWord)
        expression += "(?=[\\x{00}\\x{09}-\\x{0d} ]|\\z)";
    return expression;
}

std::unique_ptr<RegexMatcher> compilePattern(const PatternOptions& pattern, std::string& error)
{
    RegexFlags flags{!pattern.match.matchCase, pattern.unicodeCase, !pattern.regex};
    const std::string expression =
        pattern.regex ? pattern.text : literalExpression(pattern.text, pattern.match.wholeWord);
    return RegexMatcher::Compile(expression, pattern.replacement, flags, error);
}

} // namespace quarvel
