#include "engine/CandidateFinder.h"

#include <cstring>
#include <initializer_list>

#if defined(__x86_64__)
#include <immintrin.h>
#define QUARVEL_AVX2 __attribute__((target("avx2")))
#endif

namespace quarvel {

namespace {

constexpr unsigned char kCr = 0x0D;
constexpr unsigned char kLf = 0x0A;
constexpr std::int64_t kBlock = 64;

bool IsLetter(unsigned char byte)
{
    return (byte | 0x20) >= 'a' && (byte | 0x20) <= 'z';
}

ByteTest TestFor(unsigned char searchByte, bool matchCase)
{
    ByteTest test;
    if (!matchCase && IsLetter(searchByte)) {
        test.mask = 0x20;
        test.value = static_cast<unsigned char>(searchByte | 0x20);
    } else {
        test.value = searchByte;
    }
    // Repeating the value makes the alternatives harmless when unused.
    test.alternative1 = test.value;
    test.alternative2 = test.value;
    return test;
}

// How often a byte turns up in ordinary text, roughly, in parts per thousand.
// Only used to pick a selective middle byte for the filter.
int Commonness(unsigned char byte, bool matchCase)
{
    static const char kByFrequency[] = "etaoinshrdlcumwfgypbvkjxqz";
    if (byte == ' ')
        return 180;
    if (byte == kLf || byte == kCr || byte == ',' || byte == '.')
        return 15;
    if (!IsLetter(byte))
        return 1;
    if (matchCase && byte < 'a')
        return 2; // capitals are rare in running text
    const char* found = std::strchr(kByFrequency, byte | 0x20);
    return 130 - 5 * static_cast<int>(found - kByFrequency);
}

std::int64_t RarestMiddle(const unsigned char* search, std::int64_t searchLength, bool matchCase)
{
    std::int64_t best = searchLength - 1;
    int bestScore = 1000;
    for (std::int64_t i = 1; i + 1 < searchLength; ++i) {
        const int score = Commonness(search[i], matchCase);
        if (score < bestScore) {
            best = i;
            bestScore = score;
        }
    }
    return best;
}

bool Passes(const ByteTest& test, unsigned char byte)
{
    return (byte | test.mask) == test.value || byte == test.alternative1 ||
           byte == test.alternative2;
}

bool PassesAt(const unsigned char* content, std::int64_t j, const CandidateFilter& filter)
{
    return Passes(filter.lead, content[j]) &&
           Passes(filter.probe, content[j + filter.probeOffset]) &&
           Passes(filter.extra, content[j + filter.extraOffset]);
}

// The bits of the block that starts at j, positions past `last` left out.
std::uint64_t ScalarBits(const unsigned char* content, std::int64_t j, std::int64_t last,
                         const CandidateFilter& filter)
{
    std::uint64_t bits = 0;
    const std::int64_t end = last - j < kBlock ? last - j + 1 : kBlock;
    for (std::int64_t i = 0; i < end; ++i) {
        if (PassesAt(content, j + i, filter))
            bits |= std::uint64_t{1} << i;
    }
    return bits;
}

std::int64_t TailBlock(const unsigned char* content, std::int64_t j, std::int64_t last,
                       const CandidateFilter& filter, std::uint64_t& bits)
{
    if (j > last)
        return -1;
    bits = ScalarBits(content, j, last, filter);
    return bits != 0 ? j : -1;
}

std::int64_t FindScalar(const unsigned char* content, std::int64_t from, std::int64_t last,
                        const CandidateFilter& filter, std::uint64_t& bits)
{
    for (std::int64_t j = from; j <= last; j += kBlock) {
        if (filter.lead.mask == 0) {
            // An exact first byte: let memchr skip to it.
            const void* hit =
                std::memchr(content + j, filter.lead.value, static_cast<std::size_t>(last - j + 1));
            if (hit == nullptr)
                return -1;
            j = static_cast<const unsigned char*>(hit) - content;
        }
        bits = ScalarBits(content, j, last, filter);
        if (bits != 0)
            return j;
    }
    return -1;
}

#if defined(__x86_64__)

struct Sse2Test
{
    __m128i mask;
    __m128i value;
    __m128i alternative1;
    __m128i alternative2;
};

Sse2Test Sse2TestFor(const ByteTest& test)
{
    return {_mm_set1_epi8(static_cast<char>(test.mask)),
            _mm_set1_epi8(static_cast<char>(test.value)),
            _mm_set1_epi8(static_cast<char>(test.alternative1)),
            _mm_set1_epi8(static_cast<char>(test.alternative2))};
}

template <bool kAlternatives>
inline __m128i Sse2Hits(const Sse2Test& test, const unsigned char* at)
{
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    __m128i hits = _mm_cmpeq_epi8(_mm_or_si128(bytes, test.mask), test.value);
    if constexpr (kAlternatives) {
        hits = _mm_or_si128(hits, _mm_or_si128(_mm_cmpeq_epi8(bytes, test.alternative1),
                                               _mm_cmpeq_epi8(bytes, test.alternative2)));
    }
    return hits;
}

template <bool kAlternatives>
std::int64_t FindSse2(const unsigned char* content, std::int64_t from, std::int64_t last,
                      const CandidateFilter& filter, std::uint64_t& bits)
{
    const Sse2Test lead = Sse2TestFor(filter.lead);
    const Sse2Test probe = Sse2TestFor(filter.probe);
    const Sse2Test extra = Sse2TestFor(filter.extra);
    const unsigned char* probeBytes = content + filter.probeOffset;
    const unsigned char* extraBytes = content + filter.extraOffset;
    std::int64_t j = from;
    for (; j + kBlock - 1 <= last; j += kBlock) {
        std::uint64_t found = 0;
        for (int part = 0; part < 4; ++part) {
            const std::int64_t at = j + 16 * part;
            const __m128i hits =
                _mm_and_si128(_mm_and_si128(Sse2Hits<false>(lead, content + at),
                                            Sse2Hits<kAlternatives>(probe, probeBytes + at)),
                              Sse2Hits<false>(extra, extraBytes + at));
            found |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(hits)))
                     << (16 * part);
        }
        if (found != 0) {
            bits = found;
            return j;
        }
    }
    return TailBlock(content, j, last, filter, bits);
}

struct Avx2Test
{
    __m256i mask;
    __m256i value;
    __m256i alternative1;
    __m256i alternative2;
};

QUARVEL_AVX2 inline Avx2Test Avx2TestFor(const ByteTest& test)
{
    return {_mm256_set1_epi8(static_cast<char>(test.mask)),
            _mm256_set1_epi8(static_cast<char>(test.value)),
            _mm256_set1_epi8(static_cast<char>(test.alternative1)),
            _mm256_set1_epi8(static_cast<char>(test.alternative2))};
}

template <bool kAlternatives>
QUARVEL_AVX2 inline __m256i Avx2Hits(const Avx2Test& test, const unsigned char* at)
{
    const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
    __m256i hits = _mm256_cmpeq_epi8(_mm256_or_si256(bytes, test.mask), test.value);
    if constexpr (kAlternatives) {
        hits = _mm256_or_si256(hits, _mm256_or_si256(_mm256_cmpeq_epi8(bytes, test.alternative1),
                                                     _mm256_cmpeq_epi8(bytes, test.alternative2)));
    }
    return hits;
}

template <bool kAlternatives>
QUARVEL_AVX2 std::int64_t FindAvx2(const unsigned char* content, std::int64_t from,
                                   std::int64_t last, const CandidateFilter& filter,
                                   std::uint64_t& bits)
{
    const Avx2Test lead = Avx2TestFor(filter.lead);
    const Avx2Test probe = Avx2TestFor(filter.probe);
    const Avx2Test extra = Avx2TestFor(filter.extra);
    const unsigned char* probeBytes = content + filter.probeOffset;
    const unsigned char* extraBytes = content + filter.extraOffset;
    std::int64_t j = from;
    for (; j + kBlock - 1 <= last; j += kBlock) {
        const __m256i low =
            _mm256_and_si256(_mm256_and_si256(Avx2Hits<false>(lead, content + j),
                                              Avx2Hits<kAlternatives>(probe, probeBytes + j)),
                             Avx2Hits<false>(extra, extraBytes + j));
        const __m256i high =
            _mm256_and_si256(_mm256_and_si256(Avx2Hits<false>(lead, content + j + 32),
                                              Avx2Hits<kAlternatives>(probe, probeBytes + j + 32)),
                             Avx2Hits<false>(extra, extraBytes + j + 32));
        // One test per block keeps the loop short when candidates are rare.
        if (_mm256_testz_si256(_mm256_or_si256(low, high), _mm256_or_si256(low, high)) == 0) {
            bits = static_cast<unsigned>(_mm256_movemask_epi8(low)) |
                   (static_cast<std::uint64_t>(static_cast<unsigned>(_mm256_movemask_epi8(high)))
                    << 32);
            return j;
        }
    }
    return TailBlock(content, j, last, filter, bits);
}

std::int64_t FindWithSse2(const unsigned char* content, std::int64_t from, std::int64_t last,
                          const CandidateFilter& filter, std::uint64_t& bits)
{
    return filter.probeHasAlternatives ? FindSse2<true>(content, from, last, filter, bits)
                                       : FindSse2<false>(content, from, last, filter, bits);
}

std::int64_t FindWithAvx2(const unsigned char* content, std::int64_t from, std::int64_t last,
                          const CandidateFilter& filter, std::uint64_t& bits)
{
    return filter.probeHasAlternatives ? FindAvx2<true>(content, from, last, filter, bits)
                                       : FindAvx2<false>(content, from, last, filter, bits);
}

#endif

} // namespace

CandidateFilter MakeCandidateFilter(const unsigned char* search, std::int64_t searchLength,
                                    MatchOptions options, bool fixedSpan)
{
    CandidateFilter filter;
    filter.lead = TestFor(search[0], options.matchCase);
    filter.probe = filter.lead;
    filter.extra = filter.lead;
    if (searchLength == 1)
        return filter;
    if (fixedSpan) {
        filter.probeOffset = searchLength - 1;
        filter.probe = TestFor(search[searchLength - 1], options.matchCase);
        filter.extraOffset = RarestMiddle(search, searchLength, options.matchCase);
        filter.extra = TestFor(search[filter.extraOffset], options.matchCase);
        return filter;
    }
    // The second search byte meets the byte after the first, unless that
    // byte is passed over (CR or LF) or starts a CR LF pair for a space.
    filter.probeOffset = 1;
    filter.probe = TestFor(search[1], options.matchCase);
    if (options.ignoreCrLf) {
        filter.probe.alternative1 = kCr;
        filter.probe.alternative2 = kLf;
        filter.probeHasAlternatives = true;
    } else if (options.crLfAsSpace && search[1] == ' ') {
        filter.probe.alternative1 = kCr;
        filter.probeHasAlternatives = true;
    }
    // Further bytes have no fixed place; the extra test repeats the lead.
    return filter;
}

CandidateFinder CandidateFinderFor(FinderKind kind)
{
    switch (kind) {
    case FinderKind::Scalar:
        return FindScalar;
#if defined(__x86_64__)
    case FinderKind::Sse2:
        return FindWithSse2;
    case FinderKind::Avx2:
        return __builtin_cpu_supports("avx2") ? FindWithAvx2 : nullptr;
#else
    case FinderKind::Sse2:
    case FinderKind::Avx2:
        return nullptr;
#endif
    }
    return nullptr;
}

CandidateFinder BestCandidateFinder()
{
    static const CandidateFinder best = [] {
        for (FinderKind kind : {FinderKind::Avx2, FinderKind::Sse2}) {
            if (CandidateFinder finder = CandidateFinderFor(kind))
                return finder;
        }
        return CandidateFinderFor(FinderKind::Scalar);
    }();
    return best;
}

} // namespace quarvel
