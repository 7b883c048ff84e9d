#pragma once

#include "engine/MatchOptions.h"

#include <cstdint>

namespace quarvel {

// White space for word boundaries: tab, LF, VT, FF, CR and space.
inline bool IsWhiteSpace(unsigned char byte)
{
    return byte == 0x20 || (byte >= 0x09 && byte <= 0x0D);
}

// Decides whether an occurrence of the search text begins at a given content
// position, under the exact rules: first byte by plain comparison, optional
// word start, the remaining bytes with the CR/LF rules, optional word end.
// Every read stays within the content.
class OccurrenceMatcher
{
public:
    OccurrenceMatcher(const unsigned char* content, std::int64_t length,
                      const unsigned char* search, std::int64_t searchLength, MatchOptions options);

    // True when every occurrence covers exactly searchLength content bytes,
    // i.e. no CR/LF rule can ever apply.
    bool fixedSpan() const { return m_fixedSpan; }

    // The span of the occurrence beginning at `start`, or 0 when there is
    // none. `start` must leave room for the whole search text.
    std::int64_t SpanAt(std::int64_t start) const;

private:
    bool Same(unsigned char a, unsigned char b) const;
    std::int64_t FixedRest(std::int64_t start) const;
    std::int64_t FlexibleRest(std::int64_t start) const;
    bool WordStartAt(std::int64_t start) const;
    bool WordEndAt(std::int64_t end) const;

    const unsigned char* m_content;
    std::int64_t m_length;
    const unsigned char* m_search;
    std::int64_t m_searchLength;
    MatchOptions m_options;
    bool m_fixedSpan;
};

} // namespace quarvel
