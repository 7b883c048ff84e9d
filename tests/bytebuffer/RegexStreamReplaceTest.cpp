#include "engine/RegexStreamReplace.h"

#include "tests/bytebuffer/StringStreams.h"

#include <gtest/gtest.h>
#include <random>
#include <string>

namespace quarvel {
namespace {

using test::StringOutput;
using test::StringSource;

struct Streamed
{
    std::string result; // the content when nothing was written
    StreamOutcome outcome;
};

Streamed Stream(const std::string& content, const std::string& pattern, const std::string& rep,
                std::int64_t chunk, RegexFlags flags = {}, std::int64_t maxMatch = 1 << 20)
{
    std::string error;
    auto matcher = RegexMatcher::Compile(pattern, rep, flags, error);
    EXPECT_TRUE(matcher) << error;
    StringSource source(content);
    StringOutput output(source);
    RegexStreamReplacer replacer(chunk, maxMatch);
    Streamed s;
    s.outcome = replacer.Run(source, *matcher, {{}, rep, {}}, output);
    s.result = output.opened > 0 ? output.result : content;
    return s;
}

struct Case
{
    const char* content;
    const char* pattern;
    const char* rep;
    const char* expected;
    std::int64_t changes;
};

// Captures, $$, empty matches (perl's rule: none right behind another empty
// one), anchors and look-behind, each at every chunk size so that matches
// and their context straddle chunk ends.
TEST(RegexStreamReplace, ReplacementsAtEveryChunkSize)
{
    const Case cases[] = {
        {"on 2024-12-10.", "(\\d+)-(\\d+)-(\\d+)", "$3.$2.${1}", "on 10.12.2024.", 1},
        {"ann@x bob@y", "(?<user>\\w+)@(\\w)", "${user} at $2", "ann at x bob at y", 2},
        {"cost 5", "(\\d)", "$$$1 $$1 $", "cost $5 $1 $", 1},
        {"abc", "x*", "-", "-a-b-c-", 4},
        {"abc", "b*", "-", "-a--c-", 4},
        {"l1\nl2\nl3", "(?m)^l", "L", "L1\nL2\nL3", 3},
        {"l1\nl2", "^l", "L", "L1\nl2", 1},
        {"ab ab", "(?<=a)b", "B", "aB aB", 2},
        {"one two", "\\btwo$", "2", "one 2", 1},
        {"no match", "zzz", "y", "no match", 0},
    };
    for (const Case& c : cases) {
        for (const std::int64_t chunk : {1, 2, 3, 5, 64}) {
            SCOPED_TRACE(std::string(c.pattern) + " chunk " + std::to_string(chunk));
            const Streamed s = Stream(c.content, c.pattern, c.rep, chunk);
            EXPECT_TRUE(s.outcome.status);
            EXPECT_EQ(s.result, c.expected);
            EXPECT_EQ(s.outcome.changes, c.changes);
        }
    }
}

// Any chunk size gives what one window over the whole content gives.
TEST(RegexStreamReplace, ChunkedEqualsWhole)
{
    std::mt19937 random(21);
    const char* patterns[] = {"a[bc]*d", "(?m)^c+$", "\\bab\\b", "(a|ab)(c|bcd)", "d?"};
    for (int round = 0; round < 200; ++round) {
        std::string content(random() % 300, ' ');
        for (char& c : content)
            c = "abcd \n"[random() % 6];
        const char* pattern = patterns[round % 5];
        const Streamed whole = Stream(content, pattern, "<$0>", 1 << 20);
        const Streamed chunked = Stream(content, pattern, "<$0>", 1 + round % 13);
        ASSERT_EQ(chunked.result, whole.result) << pattern << " in '" << content << "'";
        ASSERT_EQ(chunked.outcome.changes, whole.outcome.changes);
    }
}

TEST(RegexStreamReplace, AMatchLongerThanTheLimitFailsTheStream)
{
    const std::string content = "x" + std::string(100, 'a') + "y";
    const Streamed fits = Stream(content, "a+", "A", 8, {}, 128);
    EXPECT_EQ(fits.result, "xAy");
    const Streamed tooLong = Stream(content, "a+", "A", 8, {}, 64);
    EXPECT_EQ(tooLong.outcome.status.code(), Status::kRegexTooLong);
    EXPECT_FALSE(tooLong.outcome.outputFailed);
    EXPECT_TRUE(isSearchFailure(tooLong.outcome.status));
}

TEST(RegexStreamReplace, UnicodeCaseBlindMatchesAndPassesInvalidBytes)
{
    const RegexFlags unicode{true, true, false};
    EXPECT_EQ(Stream("ÉCOLE école", "école", "x", 3, unicode).result, "x x");
    EXPECT_EQ(Stream("\xff"
                     "ÉCOLE\xfe",
                     "é.ole", "x", 2, unicode)
                  .result,
              "\xff"
              "x\xfe");
    // Without Unicode rules only ASCII letters have a case.
    EXPECT_EQ(Stream("ÉCOLE école", "école", "x", 3, {true, false, false}).result, "ÉCOLE x");
}

TEST(RegexMatcher, BadExpressionsAndReferencesAreRefusedWithAReason)
{
    const struct
    {
        const char* pattern;
        const char* rep;
        const char* error;
    } cases[] = {
        {"a(b", "", "missing closing parenthesis at offset 3"},
        {"a[", "", "missing terminating ] for character class at offset 2"},
        {"(a)", "$2", "the replacement refers to group '2', which the expression does not have"},
        {"(?<n>a)", "${m}", "the replacement refers to group 'm'"},
        {"a", "${1", "unterminated ${ in the replacement at offset 0"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(RegexMatcher::Compile(c.pattern, c.rep, {}, error));
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
    }
}

TEST(RegexMatcher, APathologicalExpressionHitsTheMatchLimit)
{
    std::string error;
    auto matcher = RegexMatcher::Compile("(a+)+$", "", {}, error);
    const std::string line = std::string(100000, 'a') + "b";
    EXPECT_EQ(matcher->Find(line.data(), std::int64_t(line.size()), 0, false, false, false),
              RegexFind::Failed);
    EXPECT_EQ(matcher->failure().code(), Status::kRegexMatchLimit);
}

} // namespace
} // namespace quarvel
