#include "platform/MaskMatch.h"

#include <cstddef>

namespace quarvel {

namespace {

bool isContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

// Length of the character that starts at `pos`: the length of a well-formed
// UTF-8 sequence there, otherwise 1 (a stray or malformed byte is a character
// of its own, so names that are not UTF-8 still match byte by byte).
std::size_t charLength(std::string_view s, std::size_t pos)
{
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(s[pos + i]); };
    const unsigned char lead = at(0);
    std::size_t length = 1;
    unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF; // nothing above U+10FFFF
    }
    if (length == 1 || pos + length > s.size() || at(1) < low || at(1) > high)
        return 1;
    for (std::size_t i = 2; i < length; ++i) {
        if (!isContinuation(at(i)))
            return 1;
    }
    return length;
}

char foldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether the literal character of `mask` at `m` (of `length` bytes) equals
// the name's character at `n`.
bool sameChar(std::string_view mask, std::size_t m, std::size_t length, std::string_view name,
              std::size_t n)
{
    if (charLength(name, n) != length)
        return false;
    for (std::size_t i = 0; i < length; ++i) {
        if (foldAscii(mask[m + i]) != foldAscii(name[n + i]))
            return false;
    }
    return true;
}

// Wildcard matching that backtracks only to the last `*` seen: when a later
// part fails, that star takes one more character and matching resumes. Earlier
// stars never need to be revisited, so the cost stays O(mask * name).
bool wildcardMatch(std::string_view mask, std::string_view name)
{
    constexpr std::size_t kNoStar = std::string_view::npos;
    std::size_t m = 0, n = 0;
    std::size_t starMask = kNoStar, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == '*') {
            starMask = ++m;
            starName = n;
            continue;
        }
        if (m < mask.size() && mask[m] == '?') {
            ++m;
            n += charLength(name, n);
            continue;
        }
        if (m < mask.size()) {
            const std::size_t length = charLength(mask, m);
            if (sameChar(mask, m, length, name, n)) {
                m += length;
                n += length;
                continue;
            }
        }
        if (starMask == kNoStar)
            return false;
        starName += charLength(name, starName);
        n = starName;
        m = starMask;
    }
    while (m < mask.size() && mask[m] == '*')
        ++m;
    return m == mask.size();
}

} // namespace

bool maskMatches(std::string_view mask, std::string_view name)
{
    // The masks that select every name, asked for every entry of a walk.
    if (mask == "*" || mask == "*.*")
        return true;
    if (wildcardMatch(mask, name))
        return true;
    // "x.*" also selects the names without any extension, as "x" would.
    if (mask.ends_with(".*") && name.find('.') == std::string_view::npos)
        return wildcardMatch(mask.substr(0, mask.size() - 2), name);
    return false;
}

} // namespace quarvel
