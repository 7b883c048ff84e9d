#pragma once

#include "engine/MatchOptions.h"

#include <cstdint>

namespace quarvel {

// White space for word boundaries: tab, LF, VT, FF, CR and space.
inline bool IsWhiteSpace(unsigned char byte)
{
    return byte == 0x20 || (byte >= 0x09 && byte <= 0x0D);
}

// Behind an occurrence, 0x00 is a word boundary too (in front of one it is not).
inline bool IsWordEnd(unsigned char byte)
{
    return IsWhiteSpace(byte) || byte == 0;
}

// How far a match of the search text has got: the search bytes used and the
// content bytes covered, both counted from the occurrence's first byte.
struct SpanProgress
{
    std::int64_t searched = 1;
    std::int64_t spanned = 1;
};

// Decides whether an occurrence of the search text begins at a given content
// position, under the exact rules: first byte by plain comparison, optional
// word start, the remaining bytes with the CR/LF rules, optional word end.
// Every read stays within the content.
//
// The content may be a window of a longer stream: with `complete` false the
// content goes on behind `length`, and an occurrence that cannot be decided
// without those further bytes gives kUndecided instead of failing.
class OccurrenceMatcher
{
public:
    static constexpr std::int64_t kUndecided = -1;

    OccurrenceMatcher(const unsigned char* content, std::int64_t length,
                      const unsigned char* search, std::int64_t searchLength, MatchOptions options,
                      bool complete = true);

    // True when every occurrence covers exactly searchLength content bytes,
    // i.e. no CR/LF rule can ever apply.
    bool fixedSpan() const { return m_fixedSpan; }

    // The span of the occurrence beginning at `start`, or 0 when there is
    // none (kUndecided, see above). `start` must leave room for the whole
    // search text.
    std::int64_t SpanAt(std::int64_t start) const;

    // Goes on with a match under the CR/LF rules over `available` further
    // content bytes, `at` being the byte at offset progress.spanned of the
    // occurrence; `complete` says whether the content ends behind them.
    // Returns the span once every search byte is used, 0 when the match
    // fails, kUndecided when the bytes ran out first (progress then says
    // where to go on). The word rules are the caller's.
    std::int64_t ContinueSpan(SpanProgress& progress, const unsigned char* at,
                              std::int64_t available, bool complete) const;

private:
    bool Same(unsigned char a, unsigned char b) const;
    std::int64_t FixedRest(std::int64_t start) const;
    std::int64_t FlexibleRest(std::int64_t start) const;
    bool WordStartAt(std::int64_t start) const;

    const unsigned char* m_content;
    std::int64_t m_length;
    const unsigned char* m_search;
    std::int64_t m_searchLength;
    MatchOptions m_options;
    bool m_fixedSpan;
    bool m_complete;
};

} // namespace quarvel
