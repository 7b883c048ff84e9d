#include "engine/OccurrenceMatcher.h"

#include <cstring>

namespace quarvel {

namespace {

constexpr unsigned char kCr = 0x0D;
constexpr unsigned char kLf = 0x0A;
constexpr unsigned char kSpace = 0x20;

// Folds A to Z onto a to z; every other byte, 0x80 to 0xFF included, stays.
unsigned char FoldLetter(unsigned char byte)
{
    return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte + 0x20) : byte;
}

} // namespace

OccurrenceMatcher::OccurrenceMatcher(const unsigned char* content, std::int64_t length,
                                     const unsigned char* search, std::int64_t searchLength,
                                     MatchOptions options, bool complete)
    : m_content(content), m_length(length), m_search(search), m_searchLength(searchLength),
      m_options(options), m_complete(complete)
{
    // A space after the first search byte is what lets a CR LF pair stand in;
    // the first byte itself is never matched through the CR/LF rules.
    const bool pairable =
        options.crLfAsSpace && searchLength > 1 &&
        std::memchr(search + 1, kSpace, static_cast<std::size_t>(searchLength - 1)) != nullptr;
    m_fixedSpan = !options.ignoreCrLf && !pairable;
}

bool OccurrenceMatcher::Same(unsigned char a, unsigned char b) const
{
    return a == b || (!m_options.matchCase && FoldLetter(a) == FoldLetter(b));
}

std::int64_t OccurrenceMatcher::SpanAt(std::int64_t start) const
{
    if (!Same(m_content[start], m_search[0]))
        return 0;
    if (m_options.wholeWord && !WordStartAt(start))
        return 0;
    const std::int64_t span = m_fixedSpan ? FixedRest(start) : FlexibleRest(start);
    if (span <= 0 || !m_options.wholeWord)
        return span;
    // Behind the occurrence, the end of the content is a boundary too.
    const std::int64_t end = start + span;
    if (end == m_length)
        return m_complete ? span : kUndecided;
    return IsWordEnd(m_content[end]) ? span : 0;
}

// Without CR/LF rules every search byte pairs with one content byte.
std::int64_t OccurrenceMatcher::FixedRest(std::int64_t start) const
{
    const unsigned char* data = m_content + start;
    if (m_options.matchCase && m_searchLength > 16) {
        const auto rest = static_cast<std::size_t>(m_searchLength - 1);
        return std::memcmp(data + 1, m_search + 1, rest) == 0 ? m_searchLength : 0;
    }
    for (std::int64_t i = 1; i < m_searchLength; ++i) {
        if (!Same(data[i], m_search[i]))
            return 0;
    }
    return m_searchLength;
}

std::int64_t OccurrenceMatcher::FlexibleRest(std::int64_t start) const
{
    SpanProgress progress;
    return ContinueSpan(progress, m_content + start + 1, m_length - start - 1, m_complete);
}

// The rules in their order: end of content, equality, a CR LF pair for a
// space, a passed-over CR or LF.
std::int64_t OccurrenceMatcher::ContinueSpan(SpanProgress& progress, const unsigned char* at,
                                             std::int64_t available, bool complete) const
{
    std::int64_t i = progress.searched;
    std::int64_t k = 0;
    while (i < m_searchLength) {
        // At the last byte, whether a CR pairs for a space depends on the
        // byte behind it.
        if (k + 1 >= available && (k == available || (!complete && m_options.crLfAsSpace &&
                                                      m_search[i] == kSpace && at[k] == kCr))) {
            progress = {i, progress.spanned + k};
            return complete ? 0 : kUndecided;
        }
        const unsigned char byte = at[k];
        if (Same(byte, m_search[i])) {
            ++i;
            ++k;
        } else if (m_options.crLfAsSpace && m_search[i] == kSpace && byte == kCr &&
                   k + 1 < available && at[k + 1] == kLf) {
            ++i;
            k += 2;
        } else if (m_options.ignoreCrLf && (byte == kCr || byte == kLf)) {
            ++k;
        } else {
            return 0;
        }
    }
    progress = {i, progress.spanned + k};
    return progress.spanned;
}

// A 0x00 byte in front of an occurrence is not a boundary.
bool OccurrenceMatcher::WordStartAt(std::int64_t start) const
{
    return start == 0 || IsWhiteSpace(m_content[start - 1]);
}

} // namespace quarvel
