#pragma once

#include "engine/OccurrenceMatcher.h"

#include <cstdint>

namespace quarvel {

// One byte test of the candidate filter: a byte passes when (byte | mask)
// equals value, or when it equals one of the two alternatives. With mask 0x20
// and a lower-case letter as value this accepts exactly both cases of it.
struct ByteTest
{
    unsigned char mask = 0;
    unsigned char value = 0;
    unsigned char alternative1 = 0;
    unsigned char alternative2 = 0;
};

// A cheap necessary condition for an occurrence at position j: `lead` holds
// for content[j] and `probe` for content[j + probeOffset]. With a fixed span
// the probe is the last search byte; otherwise it is the second one, which
// may also be met by a passed-over or paired CR/LF.
struct CandidateFilter
{
    ByteTest lead;
    ByteTest probe;
    std::int64_t probeOffset = 0;
    bool probeHasAlternatives = false;
};

CandidateFilter MakeCandidateFilter(const unsigned char* search, std::int64_t searchLength,
                                    MatchOptions options, bool fixedSpan);

// Returns the first j in [from, last] that passes the filter, or -1. The
// caller guarantees that last + probeOffset is inside the content.
using CandidateFinder = std::int64_t (*)(const unsigned char* content, std::int64_t from,
                                         std::int64_t last, const CandidateFilter& filter);

enum class FinderKind
{
    Scalar,
    Sse2,
    Avx2,
};

// The finder of a given kind, or nullptr when this processor lacks it.
CandidateFinder CandidateFinderFor(FinderKind kind);
// The fastest finder this processor supports.
CandidateFinder BestCandidateFinder();

} // namespace quarvel
