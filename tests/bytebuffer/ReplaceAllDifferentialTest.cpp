#include "engine/ByteBuffer.h"
#include "tests/bytebuffer/RandomCases.h"
#include "tests/bytebuffer/ReferenceReplaceAll.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <string_view>

namespace quarvel {
namespace {

using test::Escaped;
using test::Generator;
using test::kAlphabets;

struct Case
{
    std::string previous; // held and reset before the content is loaded
    std::string content;
    std::string search;
    std::string replacement;
    std::uint64_t chunk = 1;
};

// Loads the case into both buffers the same way: previous content, Reset,
// then the content in chunks.
void Load(const Case& c, ByteBuffer& buffer, reference::Buffer& expected)
{
    if (!c.previous.empty()) {
        ASSERT_TRUE(buffer.AppendBytes(c.previous.data(), std::int64_t(c.previous.size())));
        expected.Append(c.previous);
        buffer.Reset();
        expected.content.clear();
    }
    for (std::size_t at = 0; at < c.content.size(); at += c.chunk) {
        const std::string_view piece = std::string_view(c.content).substr(at, c.chunk);
        ASSERT_TRUE(buffer.AppendBytes(piece.data(), std::int64_t(piece.size())));
        expected.Append(piece);
    }
}

// One call on both sides; false (with a failure) when they differ.
bool SameOutcome(ByteBuffer& buffer, reference::Buffer& expected, const std::string& search,
                 const std::string& replacement, int flags, const Case& c)
{
    const reference::Flags f{(flags & 1) != 0, (flags & 2) != 0, (flags & 4) != 0,
                             (flags & 8) != 0};
    reference::Outcome outcome = reference::ReplaceAll(expected, search, replacement, f);
    const std::int64_t count =
        ReplaceAll(buffer, search.data(), std::int64_t(search.size()), replacement.data(),
                   std::int64_t(replacement.size()), flags & 1, flags & 2, flags & 4, flags & 8);
    expected = std::move(outcome.buffer);
    if (count == outcome.count && buffer.view() == expected.content &&
        buffer.capacity() == expected.capacity && buffer.hasStorage() == expected.storage)
        return true;
    ADD_FAILURE() << "flags " << flags << " search \"" << Escaped(search) << "\" replacement \""
                  << Escaped(replacement) << "\" content of " << c.content.size() << " bytes"
                  << (c.content.size() <= 400 ? " \"" + Escaped(c.content) + "\"" : "")
                  << ": count " << count << " (expected " << outcome.count << "), capacity "
                  << buffer.capacity() << " (expected " << expected.capacity << ")";
    return false;
}

// Each flag combination on a fresh load, then (if asked) a second rewrite
// of the result, replacement back to search text, which builds in the
// storage that the first one gave up.
void CheckAllFlags(const Case& c, bool rewriteTwice)
{
    for (int flags = 0; flags < 16; ++flags) {
        ByteBuffer buffer;
        reference::Buffer expected;
        Load(c, buffer, expected);
        if (!SameOutcome(buffer, expected, c.search, c.replacement, flags, c))
            return;
        const std::string& back = c.replacement.empty() ? c.search : c.replacement;
        if (rewriteTwice && !SameOutcome(buffer, expected, back, c.search, flags, c))
            return;
    }
}

Case SmallCase(Generator& random)
{
    const std::string_view alphabet = kAlphabets[random.Below(std::size(kAlphabets))];
    Case c;
    c.content = random.Text(alphabet, random.Below(320));
    c.search = random.Pattern(alphabet, c.content);
    c.replacement = random.Text(alphabet, random.Below(7));
    c.chunk = 1 + random.Below(random.Below(2) == 0 ? 8 : 400);
    if (random.Below(8) == 0)
        c.previous = random.Text(alphabet, random.Below(30000));
    return c;
}

TEST(ReplaceAllDifferential, SmallRandomCasesMatchTheLiteralRules)
{
    Generator random(20240611);
    for (int round = 0; round < 4000; ++round) {
        const Case c = SmallCase(random);
        SCOPED_TRACE("round " + std::to_string(round));
        CheckAllFlags(c, true);
        if (HasFailure())
            return;
    }
}

// Several MiB of sparse text: rare candidates far apart, long unchanged
// stretches, and capacities of hundreds of steps.
TEST(ReplaceAllDifferential, LargeRandomCasesMatchTheLiteralRules)
{
    Generator random(7);
    for (std::uint64_t mebibytes : {2, 3}) {
        Case c;
        c.content = random.Text("abcdefghij      ", mebibytes << 20);
        for (int insert = 0; insert < 2000; ++insert) {
            using namespace std::string_view_literals;
            const std::string_view pieces[] = {"Cat"sv,   "ca\r\nt"sv, "c\rat"sv,
                                               "cat\0"sv, "\tcat "sv,  "ca t"sv};
            c.content.insert(random.Below(c.content.size()), pieces[random.Below(6)]);
        }
        c.search = mebibytes == 3 ? "ca t" : "cat";
        c.replacement = mebibytes == 3 ? "a longer replacement" : "";
        c.chunk = 1 << 16;
        SCOPED_TRACE(std::to_string(mebibytes) + " MiB");
        CheckAllFlags(c, false);
    }
}

} // namespace
} // namespace quarvel
