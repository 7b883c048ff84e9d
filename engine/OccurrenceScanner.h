#pragma once

#include "engine/CandidateFinder.h"
#include "engine/OccurrenceMatcher.h"

#include <cstdint>

namespace quarvel {

// Finds occurrences left to right: the candidate finder skips ahead block by
// block, and the matcher decides every candidate of a block exactly.
//
// On a window of a stream (`complete` false) only starts that leave room
// for the search text and one byte behind it are looked at, so that the
// window's last bytes are left for the next window; a candidate that still
// needs bytes beyond the window is reported with span kUndecided.
class OccurrenceScanner
{
public:
    static constexpr std::int64_t kBlock = 64;

    OccurrenceScanner(const unsigned char* content, std::int64_t length,
                      const unsigned char* search, std::int64_t searchLength, MatchOptions options,
                      bool complete = true)
        : m_content(content), m_last(length - searchLength - (complete ? 0 : 1)),
          m_matcher(content, length, search, searchLength, options, complete),
          m_filter(MakeCandidateFilter(search, searchLength, options, m_matcher.fixedSpan())),
          m_find(BestCandidateFinder())
    {
    }

    // The last start looked at (below 0 when there is none).
    std::int64_t last() const { return m_last; }
    const OccurrenceMatcher& matcher() const { return m_matcher; }

    // The first occurrence at or after `from`, which never goes back: its
    // start, and its span in `span`; -1 when there is none.
    std::int64_t Next(std::int64_t from, std::int64_t& span)
    {
        for (;;) {
            if (m_bits != 0 && from < m_base + kBlock) {
                if (from > m_base)
                    m_bits &= ~std::uint64_t{0} << (from - m_base);
                while (m_bits != 0) {
                    const std::int64_t start = m_base + __builtin_ctzll(m_bits);
                    m_bits &= m_bits - 1;
                    span = m_matcher.SpanAt(start);
                    if (span != 0)
                        return start;
                }
                from = m_base + kBlock;
            }
            if (from > m_last)
                return -1;
            m_base = m_find(m_content, from, m_last, m_filter, m_bits);
            if (m_base < 0)
                return -1;
        }
    }

private:
    const unsigned char* m_content;
    std::int64_t m_last; // the last start at which the search text still fits
    OccurrenceMatcher m_matcher;
    CandidateFilter m_filter;
    CandidateFinder m_find;
    std::int64_t m_base = 0; // the block whose candidates are in m_bits
    std::uint64_t m_bits = 0;
};

} // namespace quarvel
