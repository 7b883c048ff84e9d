#include "engine/CandidateFinder.h"

#include <gtest/gtest.h>
#include <random>
#include <string>

namespace quarvel {
namespace {

// Every vector finder must report exactly the positions the scalar one does,
// whatever the block alignment of the start, the end and the hits.
TEST(CandidateFinder, VectorFindersAgreeWithScalar)
{
    const CandidateFinder scalar = CandidateFinderFor(FinderKind::Scalar);
    std::mt19937_64 random(99);
    const std::string alphabet("aAbB\r\n \0\xE9\xC9", 10);
    for (FinderKind kind : {FinderKind::Sse2, FinderKind::Avx2}) {
        const CandidateFinder vector = CandidateFinderFor(kind);
        if (vector == nullptr)
            continue;
        for (int round = 0; round < 3000; ++round) {
            std::string content(1 + random() % 300, 'z');
            for (char& byte : content)
                byte = random() % 4 == 0 ? alphabet[random() % alphabet.size()] : 'z';
            std::string search(1 + random() % std::min<std::size_t>(content.size(), 9), 'a');
            for (char& byte : search)
                byte = alphabet[random() % alphabet.size()];
            const auto bits = random() % 16;
            const MatchOptions options{(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0,
                                       (bits & 8) != 0};
            const auto* bytes = reinterpret_cast<const unsigned char*>(content.data());
            const auto* pattern = reinterpret_cast<const unsigned char*>(search.data());
            const CandidateFilter filter = MakeCandidateFilter(pattern, std::int64_t(search.size()),
                                                               options, random() % 2 == 0);
            const std::int64_t last = std::int64_t(content.size() - search.size());
            for (std::int64_t from = random() % 40; from <= last + 1;) {
                const std::int64_t expected = scalar(bytes, from, last, filter);
                ASSERT_EQ(vector(bytes, from, last, filter), expected)
                    << "round " << round << " from " << from;
                if (expected < 0)
                    break;
                from = expected + 1;
            }
        }
    }
}

} // namespace
} // namespace quarvel
