#include "engine/ByteBuffer.h"

#include <gtest/gtest.h>
#include <string>
#include <string_view>

namespace quarvel {
namespace {

enum Flag
{
    kWholeWord = 1,
    kMatchCase = 2,
    kIgnoreCrLf = 4,
    kCrLfAsSpace = 8,
};

struct Outcome
{
    std::int64_t count;
    std::string content;
};

Outcome Replace(std::string_view content, std::string_view search, std::string_view replacement,
                int flags = 0)
{
    ByteBuffer buffer;
    EXPECT_TRUE(buffer.AppendBytes(content.data(), static_cast<std::int64_t>(content.size())));
    const std::int64_t count = ReplaceAll(
        buffer, search.data(), static_cast<std::int64_t>(search.size()), replacement.data(),
        static_cast<std::int64_t>(replacement.size()), flags & kWholeWord, flags & kMatchCase,
        flags & kIgnoreCrLf, flags & kCrLfAsSpace);
    return {count, std::string(buffer.view())};
}

void ExpectResult(const Outcome& outcome, std::int64_t count, std::string_view content)
{
    EXPECT_EQ(outcome.count, count);
    EXPECT_EQ(outcome.content, content);
}

TEST(ReplaceAllEdgeCases, OccurrenceEndingWithTheContentIsReplaced)
{
    ExpectResult(Replace("a cat", "cat", "dog", kWholeWord | kMatchCase), 1, "a dog");
    ExpectResult(Replace("cat", "cat", "dog"), 1, "dog");
}

TEST(ReplaceAllEdgeCases, TooShortContentOrEmptySearchLeavesBufferUntouched)
{
    ByteBuffer buffer;
    ASSERT_TRUE(buffer.AppendText("ca"));
    const char* storage = buffer.data();
    EXPECT_EQ(ReplaceAll(buffer, "cat", "dog", 0, 0, 0, 0), 0);
    EXPECT_EQ(ReplaceAll(buffer, "", "dog", 0, 0, 0, 0), 0);
    EXPECT_EQ(buffer.data(), storage);
    EXPECT_EQ(buffer.view(), "ca");

    ByteBuffer empty;
    EXPECT_EQ(ReplaceAll(empty, "a", "b", 0, 0, 0, 0), 0);
    EXPECT_FALSE(empty.hasStorage());
}

TEST(ReplaceAllEdgeCases, OccurrencesNeverOverlap)
{
    ExpectResult(Replace("aaaa", "aa", "b"), 2, "bb");
    ExpectResult(Replace("aaa", "aa", "b"), 1, "ba");
}

TEST(ReplaceAllEdgeCases, WholeWordNeedsWhiteSpaceOrContentEnds)
{
    const int flags = kWholeWord | kMatchCase;
    ExpectResult(Replace("cat dog", "cat", "X", flags), 1, "X dog");
    ExpectResult(Replace("dog\tcat", "cat", "X", flags), 1, "dog\tX");
    ExpectResult(Replace("cat", "cat", "X", flags), 1, "X");
    ExpectResult(Replace("cat\r\nx\vcat\f", "cat", "X", flags), 2, "X\r\nx\vX\f");
    for (const char* content : {"cat,", "(cat)", "concat", "cats"})
        ExpectResult(Replace(content, "cat", "X", flags), 0, content);
}

TEST(ReplaceAllEdgeCases, WordStartIsJudgedOnTheOriginalContent)
{
    // The second occurrence's word start is the first one's last byte, a
    // space that the replacement overwrites; it still counts as white space,
    // whether the replacement is as long as the search text, shorter or longer.
    ExpectResult(Replace(" a  a ", " a ", "bcd", kWholeWord), 2, "bcdbcd");
    ExpectResult(Replace(" a  a ", " a ", "b", kWholeWord), 2, "bb");
    ExpectResult(Replace(" a  a ", " a ", "", kWholeWord), 2, "");
    ExpectResult(Replace(" a  a ", " a ", "bcde", kWholeWord), 2, "bcdebcde");
    // And a replacement ending in white space does not make a word start of
    // the byte it overwrote.
    ExpectResult(Replace(" X X", " X", "  ", kWholeWord), 1, "   X");
    ExpectResult(Replace(" X X", " X", " ", kWholeWord), 1, "  X");
}

TEST(ReplaceAllEdgeCases, ZeroByteIsBoundaryBehindButNotInFront)
{
    using namespace std::string_literals;
    ExpectResult(Replace("cat\0dog"s, "cat", "X", kWholeWord), 1, "X\0dog"s);
    ExpectResult(Replace("dog\0cat"s, "cat", "X", kWholeWord), 0, "dog\0cat"s);
}

TEST(ReplaceAllEdgeCases, IgnoringCaseFoldsOnlyAsciiLetters)
{
    ExpectResult(Replace("a CAT", "cat", "dog"), 1, "a dog");
    ExpectResult(Replace("a CAT", "cat", "dog", kMatchCase), 0, "a CAT");
    ExpectResult(Replace("\xC9t\xE9", "\xE9T\xE9", "x"), 0, "\xC9t\xE9");
    // '@' and '`' differ in the case bit only; neither is a letter.
    ExpectResult(Replace("`x", "@x", "y"), 0, "`x");
}

TEST(ReplaceAllEdgeCases, IgnoredLineBreaksInsideVanishWithTheReplacement)
{
    ExpectResult(Replace("hel\r\nlo", "hello", "bye", kIgnoreCrLf), 1, "bye");
    ExpectResult(Replace("\r\nhello\r\n", "hello", "bye", kIgnoreCrLf), 1, "\r\nbye\r\n");
    ExpectResult(Replace("h\ne\rl\nl\r\no!", "hello", "X", kIgnoreCrLf), 1, "X!");
}

TEST(ReplaceAllEdgeCases, FirstByteIsNeverPassedOver)
{
    // Search bytes that are CR or LF themselves match like any byte.
    ExpectResult(Replace("a\r\nb", "\r\nb", "X", kIgnoreCrLf), 1, "aX");
    ExpectResult(Replace("a\nb", "\nb", "X"), 1, "aX");
}

TEST(ReplaceAllEdgeCases, SpaceStandsForExactlyOneCrLfPair)
{
    ExpectResult(Replace("hello\r\nworld", "hello world", "X", kCrLfAsSpace), 1, "X");
    ExpectResult(Replace("hello world", "hello world", "X", kCrLfAsSpace), 1, "X");
    ExpectResult(Replace("hello\nworld", "hello world", "X", kCrLfAsSpace | kIgnoreCrLf), 0,
                 "hello\nworld");
    ExpectResult(Replace("hello\rworld", "hello world", "X", kCrLfAsSpace), 0, "hello\rworld");
    ExpectResult(Replace("hello\r\n\r\nworld", "hello world", "X", kCrLfAsSpace), 0,
                 "hello\r\n\r\nworld");
    // With both options, a lone line break is passed over and the space must
    // still be met later.
    ExpectResult(Replace("hello\n world", "hello world", "X", kCrLfAsSpace | kIgnoreCrLf), 1, "X");
    ExpectResult(Replace("hello\n\r\nworld", "hello world", "X", kCrLfAsSpace | kIgnoreCrLf), 1,
                 "X");
}

TEST(ReplaceAllEdgeCases, EqualityIsTriedBeforeLineBreakRules)
{
    // The CR in the search text takes the content's CR by equality; the LF is
    // then passed over rather than the pair standing for anything.
    ExpectResult(Replace("a\r\nb", "a\rb", "X", kIgnoreCrLf), 1, "X");
    // Without ignore CR/LF a second LF is not passed over.
    ExpectResult(Replace("a\n\nb", "a\nb", "X"), 0, "a\n\nb");
    ExpectResult(Replace("a\n\nb", "a\nb", "X", kIgnoreCrLf), 1, "X");
}

TEST(ReplaceAllEdgeCases, NothingBeyondTheContentIsRead)
{
    ExpectResult(Replace("hell\r\n", "hello", "X", kIgnoreCrLf), 0, "hell\r\n");
    ExpectResult(Replace("hello\r", "hello w", "X", kCrLfAsSpace | kIgnoreCrLf), 0, "hello\r");
    ExpectResult(Replace("ab\r\n\r\n", "ab\r\n\r\n", "X", kIgnoreCrLf), 1, "X");
}

TEST(ReplaceAllEdgeCases, TextFormUsesTheTextLengths)
{
    ByteBuffer buffer;
    ASSERT_TRUE(buffer.AppendText("one two one"));
    EXPECT_EQ(ReplaceAll(buffer, "one", "three", 1, 1, 0, 0), 2);
    EXPECT_EQ(buffer.view(), "three two three");
}

TEST(ReplaceAllEdgeCases, ReplacedBufferHasTheResultsCapacity)
{
    ByteBuffer buffer;
    ASSERT_TRUE(buffer.AppendBytes(std::string(25000, 'a').data(), 25000));
    ASSERT_TRUE(buffer.AppendText("dog"));
    EXPECT_EQ(buffer.capacity(), 30000);
    EXPECT_EQ(ReplaceAll(buffer, "a", "", 0, 0, 0, 0), 25000);
    EXPECT_EQ(buffer.view(), "dog");
    EXPECT_EQ(buffer.capacity(), 10000);

    // A result with no content leaves no storage.
    EXPECT_EQ(ReplaceAll(buffer, "dog", "", 0, 0, 0, 0), 1);
    EXPECT_EQ(buffer.length(), 0);
    EXPECT_EQ(buffer.capacity(), 0);
    EXPECT_FALSE(buffer.hasStorage());
}

TEST(ReplaceAllEdgeCases, ReplacementTakenFromTheContentItselfIsUsedAsItWas)
{
    ByteBuffer buffer;
    ASSERT_TRUE(buffer.AppendText("abcQR abc abc"));
    // The replacement "QR" lies in the content, where the shortened result
    // moves other bytes over it after the first occurrence.
    const char* qr = buffer.data() + 3;
    EXPECT_EQ(ReplaceAll(buffer, "abc", 3, qr, 2, 0, 0, 0, 0), 3);
    EXPECT_EQ(buffer.view(), "QRQR QR QR");
}

TEST(ReplaceAllEdgeCases, ResultThatCannotBeStoredIsReportedAndBufferKept)
{
    ByteBuffer buffer;
    ASSERT_TRUE(buffer.AppendText("cat cat"));
    const char* replacement = "x";
    // The replacement's length is never reached: the first append of it
    // asks for more storage than exists and is refused.
    EXPECT_EQ(ReplaceAll(buffer, "cat", 3, replacement, std::int64_t{1} << 50, 0, 0, 0, 0), -1);
    EXPECT_EQ(buffer.view(), "cat cat");
}

} // namespace
} // namespace quarvel
