#include "engine/CandidateFinder.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace quarvel {
namespace {

// Every candidate position in [from, last], block by block.
std::vector<std::int64_t> Candidates(CandidateFinder find, const std::string& content,
                                     std::int64_t from, std::int64_t last,
                                     const CandidateFilter& filter)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(content.data());
    std::vector<std::int64_t> found;
    std::uint64_t bits = 0;
    while (from <= last) {
        const std::int64_t base = find(bytes, from, last, filter, bits);
        if (base < 0)
            break;
        EXPECT_GE(base, from);
        for (int i = 0; i < 64; ++i) {
            if ((bits >> i) & 1)
                found.push_back(base + i);
        }
        from = base + 64;
    }
    return found;
}

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
            std::string content(1 + random() % 400, 'z');
            for (char& byte : content)
                byte = random() % 4 == 0 ? alphabet[random() % alphabet.size()] : 'z';
            std::string search(1 + random() % std::min<std::size_t>(content.size(), 9), 'a');
            for (char& byte : search)
                byte = random() % 3 == 0 ? 'z' : alphabet[random() % alphabet.size()];
            const auto bits = random() % 16;
            const MatchOptions options{(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0,
                                       (bits & 8) != 0};
            const CandidateFilter filter =
                MakeCandidateFilter(reinterpret_cast<const unsigned char*>(search.data()),
                                    std::int64_t(search.size()), options, random() % 2 == 0);
            const std::int64_t last = std::int64_t(content.size() - search.size());
            const std::int64_t from = std::int64_t(random() % 70);
            ASSERT_EQ(Candidates(vector, content, from, last, filter),
                      Candidates(scalar, content, from, last, filter))
                << "round " << round;
        }
    }
}

} // namespace
} // namespace quarvel
