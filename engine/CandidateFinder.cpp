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

ByteTest TestFor(unsigned char searchByte, bool matchCase)
{
    ByteTest test;
    const bool letter = (searchByte | 0x20) >= 'a' && (searchByte | 0x20) <= 'z';
    if (!matchCase && letter) {
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

bool Passes(const ByteTest& test, unsigned char byte)
{
    return (byte | test.mask) == test.value || byte == test.alternative1 ||
           byte == test.alternative2;
}

std::int64_t FindScalar(const unsigned char* content, std::int64_t from, std::int64_t last,
                        const CandidateFilter& filter)
{
    const unsigned char* probe = content + filter.probeOffset;
    for (std::int64_t j = from; j <= last; ++j) {
        if (filter.lead.mask == 0) {
            // An exact first byte: let memchr skip to it.
            const void* hit =
                std::memchr(content + j, filter.lead.value, static_cast<std::size_t>(last - j + 1));
            if (hit == nullptr)
                return -1;
            j = static_cast<const unsigned char*>(hit) - content;
        } else if (!Passes(filter.lead, content[j])) {
            continue;
        }
        if (Passes(filter.probe, probe[j]))
            return j;
    }
    return -1;
}

#if defined(__x86_64__)

template <bool kAlternatives>
std::int64_t FindSse2(const unsigned char* content, std::int64_t from, std::int64_t last,
                      const CandidateFilter& filter)
{
    const __m128i leadMask = _mm_set1_epi8(static_cast<char>(filter.lead.mask));
    const __m128i leadValue = _mm_set1_epi8(static_cast<char>(filter.lead.value));
    const __m128i probeMask = _mm_set1_epi8(static_cast<char>(filter.probe.mask));
    const __m128i probeValue = _mm_set1_epi8(static_cast<char>(filter.probe.value));
    const __m128i alternative1 = _mm_set1_epi8(static_cast<char>(filter.probe.alternative1));
    const __m128i alternative2 = _mm_set1_epi8(static_cast<char>(filter.probe.alternative2));
    const unsigned char* probe = content + filter.probeOffset;
    std::int64_t j = from;
    for (; j + 15 <= last; j += 16) {
        const __m128i lead = _mm_loadu_si128(reinterpret_cast<const __m128i*>(content + j));
        const __m128i other = _mm_loadu_si128(reinterpret_cast<const __m128i*>(probe + j));
        __m128i probeHit = _mm_cmpeq_epi8(_mm_or_si128(other, probeMask), probeValue);
        if constexpr (kAlternatives) {
            probeHit = _mm_or_si128(probeHit, _mm_or_si128(_mm_cmpeq_epi8(other, alternative1),
                                                           _mm_cmpeq_epi8(other, alternative2)));
        }
        const __m128i leadHit = _mm_cmpeq_epi8(_mm_or_si128(lead, leadMask), leadValue);
        const auto bits =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(leadHit, probeHit)));
        if (bits != 0)
            return j + __builtin_ctz(bits);
    }
    return FindScalar(content, j, last, filter);
}

struct Avx2Filter
{
    __m256i leadMask;
    __m256i leadValue;
    __m256i probeMask;
    __m256i probeValue;
    __m256i alternative1;
    __m256i alternative2;
};

template <bool kAlternatives>
QUARVEL_AVX2 inline unsigned Avx2Bits(const Avx2Filter& f, const unsigned char* leadBytes,
                                      const unsigned char* probeBytes)
{
    const __m256i lead = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(leadBytes));
    const __m256i other = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(probeBytes));
    __m256i probeHit = _mm256_cmpeq_epi8(_mm256_or_si256(other, f.probeMask), f.probeValue);
    if constexpr (kAlternatives) {
        probeHit =
            _mm256_or_si256(probeHit, _mm256_or_si256(_mm256_cmpeq_epi8(other, f.alternative1),
                                                      _mm256_cmpeq_epi8(other, f.alternative2)));
    }
    const __m256i leadHit = _mm256_cmpeq_epi8(_mm256_or_si256(lead, f.leadMask), f.leadValue);
    return static_cast<unsigned>(_mm256_movemask_epi8(_mm256_and_si256(leadHit, probeHit)));
}

template <bool kAlternatives>
QUARVEL_AVX2 std::int64_t FindAvx2(const unsigned char* content, std::int64_t from,
                                   std::int64_t last, const CandidateFilter& filter)
{
    const Avx2Filter f{_mm256_set1_epi8(static_cast<char>(filter.lead.mask)),
                       _mm256_set1_epi8(static_cast<char>(filter.lead.value)),
                       _mm256_set1_epi8(static_cast<char>(filter.probe.mask)),
                       _mm256_set1_epi8(static_cast<char>(filter.probe.value)),
                       _mm256_set1_epi8(static_cast<char>(filter.probe.alternative1)),
                       _mm256_set1_epi8(static_cast<char>(filter.probe.alternative2))};
    const unsigned char* probe = content + filter.probeOffset;
    std::int64_t j = from;
    // Two blocks per round keep the loop branch off the critical path when
    // candidates are rare.
    for (; j + 63 <= last; j += 64) {
        const unsigned low = Avx2Bits<kAlternatives>(f, content + j, probe + j);
        const unsigned high = Avx2Bits<kAlternatives>(f, content + j + 32, probe + j + 32);
        if ((low | high) != 0) {
            const std::uint64_t bits = low | (static_cast<std::uint64_t>(high) << 32);
            return j + __builtin_ctzll(bits);
        }
    }
    for (; j + 31 <= last; j += 32) {
        const unsigned bits = Avx2Bits<kAlternatives>(f, content + j, probe + j);
        if (bits != 0)
            return j + __builtin_ctz(bits);
    }
    return FindScalar(content, j, last, filter);
}

std::int64_t FindWithSse2(const unsigned char* content, std::int64_t from, std::int64_t last,
                          const CandidateFilter& filter)
{
    return filter.probeHasAlternatives ? FindSse2<true>(content, from, last, filter)
                                       : FindSse2<false>(content, from, last, filter);
}

std::int64_t FindWithAvx2(const unsigned char* content, std::int64_t from, std::int64_t last,
                          const CandidateFilter& filter)
{
    return filter.probeHasAlternatives ? FindAvx2<true>(content, from, last, filter)
                                       : FindAvx2<false>(content, from, last, filter);
}

#endif

} // namespace

CandidateFilter MakeCandidateFilter(const unsigned char* search, std::int64_t searchLength,
                                    MatchOptions options, bool fixedSpan)
{
    CandidateFilter filter;
    filter.lead = TestFor(search[0], options.matchCase);
    if (searchLength == 1) {
        filter.probe = filter.lead;
        return filter;
    }
    if (fixedSpan) {
        filter.probeOffset = searchLength - 1;
        filter.probe = TestFor(search[searchLength - 1], options.matchCase);
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
