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
// for content[j], `probe` for content[j + probeOffset] and `extra` for
// content[j + extraOffset]. With a fixed span the probe is the last search
// byte and the extra one a rare middle byte; otherwise the probe is the
// second search byte, which may also be met by a passed-over or paired CR/LF,
// and the extra test repeats the probe.
struct CandidateFilter
{
    ByteTest lead;
    ByteTest probe;
    ByteTest extra;
    std::int64_t probeOffset = 0;
    std::int64_t extraOffset = 0;
    bool probeHasAlternatives = false;
};

CandidateFilter MakeCandidateFilter(const unsigned char* search, std::int64_t searchLength,
                                    MatchOptions options, bool fixedSpan);

// Looks for candidates block by block from `from` on. Returns the start b of
// the first block that holds one, with bit i of `bits` set when b + i passes
// the filter (only positions up to `last` are reported), or -1 when no
// position in [from, last] passes. The caller guarantees that last plus
// either offset is inside the content.
using CandidateFinder = std::int64_t (*)(const unsigned char* content, std::int64_t from,
                                         std::int64_t last, const CandidateFilter& filter,
                                         std::uint64_t& bits);

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
