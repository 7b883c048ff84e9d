#include "engine/NewName.h"

#include "app/RunOptionsFromSettings.h"

#include <gtest/gtest.h>
#include <string>

namespace quarvel {
namespace {

struct RuleCase
{
    const char* label;
    std::string pattern;
    std::string replacement;
    int patternCase;
    int lowerFile;
    int lowerExt;
    std::string name;
    std::string expected;
};

MorphSettings settingsFor(const RuleCase& c)
{
    MorphSettings settings;
    settings.Pattern = c.pattern;
    settings.RepPattern = c.replacement;
    settings.Replace = 1;
    settings.PatternCase = c.patternCase;
    settings.LowerFile = c.lowerFile;
    settings.LowerExt = c.lowerExt;
    return settings;
}

TEST(NameRule, ReplacementPath)
{
    const RuleCase cases[] = {
        {"first occurrence only", "b", "X", 1, 0, 0, "abcabc.b", "aXcabc.b"},
        {"case ignored, name lower-cased", "ME", "You", 0, 0, 0, "ReadMe.TXT", "readYou.txt"},
        {"no match, still lower-cased", "zz", "y", 0, 0, 0, "ABC.TXT", "abc.txt"},
        {"exact case does not match", "me", "X", 1, 0, 0, "ReadMe", "ReadMe"},
        {"exact case matches", "Me", "X", 1, 0, 0, "ReadMe", "ReadX"},
        {"empty replacement deletes", "old-", "", 1, 0, 0, "old-old-a", "old-a"},
        {"replacement lower-cased with LowerFile", "a", "BIG", 1, 1, 0, "a.TXT", "big.TXT"},
        {"replacement kept as typed otherwise", "a", "BIG", 0, 0, 0, "A.TXT", "BIG.txt"},
        {"several dots: last one splits", "zz", "", 1, 0, 1, "A.B.TXT", "A.B.txt"},
        {"several dots: name part", "zz", "", 1, 1, 0, "A.B.TXT", "a.b.TXT"},
        {"leading dot only: all extension", "zz", "", 1, 1, 0, ".BASHRC", ".BASHRC"},
        {"leading dot only: extension lowered", "zz", "", 1, 0, 1, ".BASHRC", ".bashrc"},
        {"no dot: all name part", "zz", "", 1, 0, 1, "README", "README"},
        {"two-byte letters kept beside the dot", "zz", "", 1, 1, 1, "\xC3\x89T\xC3\x89.\xC3\x84Z",
         "\xC3\x89t\xC3\x89.\xC3\x84z"},
        {"multi-byte letters are not case-folded", "\xC3\x89", "E", 0, 0, 0, "\xC3\xA9t\xC3\xA9",
         "\xC3\xA9t\xC3\xA9"},
        {"no match inside a sequence", "\xA9", "X", 1, 0, 0, "\xC3\xA9\xA9", "\xC3\xA9X"},
        {"invalid UTF-8 kept byte for byte", "zz", "", 0, 0, 0, "BAD\xFF\xC3.TXT",
         "bad\xFF\xC3.txt"},
    };
    for (const RuleCase& c : cases) {
        const NameRule rule(RunOptionsFrom(settingsFor(c)));
        EXPECT_TRUE(rule.replacing());
        EXPECT_EQ(rule.newName(c.name), c.expected) << c.label;
    }
}

TEST(NameRule, LowerCasePath)
{
    MorphSettings settings;
    settings.Pattern = "x";
    settings.Replace = 0; // a pattern without "Replace" is no replacement
    settings.LowerFile = 1;
    settings.LowerExt = 0;
    EXPECT_FALSE(NameRule(RunOptionsFrom(settings)).replacing());
    // LowerFile lower-cases the extension too, whatever LowerExt says.
    EXPECT_EQ(NameRule(RunOptionsFrom(settings)).newName("Read.ME.TXT"), "read.me.txt");
    EXPECT_EQ(NameRule(RunOptionsFrom(settings)).newName("X\xC3\x89.\xFF"), "x\xC3\x89.\xFF");

    settings.LowerFile = 0;
    settings.LowerExt = 1;
    EXPECT_EQ(NameRule(RunOptionsFrom(settings)).newName("Photo.A.JPG"), "Photo.A.jpg");
    EXPECT_EQ(NameRule(RunOptionsFrom(settings)).newName("README"), "README");

    settings.LowerExt = 0;
    EXPECT_EQ(NameRule(RunOptionsFrom(settings)).newName("ABC.TXT"), "ABC.TXT");

    settings.Replace = 1;
    settings.Pattern.clear(); // an empty pattern is no replacement either
    EXPECT_FALSE(NameRule(RunOptionsFrom(settings)).replacing());
}

TEST(FindFirstOccurrence, SkipsStartsInsideSequences)
{
    EXPECT_EQ(findFirstOccurrence("abab", "ab"), 0u);
    EXPECT_EQ(findFirstOccurrence("xabab", "ab"), 1u);
    EXPECT_EQ(findFirstOccurrence("abc", "abcd"), std::string::npos);
    // 0xA9 continues the two-byte é first; the lone one after it is a match.
    EXPECT_EQ(findFirstOccurrence("\xC3\xA9\xA9", "\xA9"), 2u);
    EXPECT_EQ(findFirstOccurrence("\xE2\x82\xAC", "\x82\xAC"), std::string::npos);
    EXPECT_EQ(findFirstOccurrence("a\x82\xAC", "\x82\xAC"), 1u);
}

TEST(IsPlainName, RefusesNamesThatLeaveTheFolder)
{
    using namespace std::string_literals;
    for (const std::string& bad : {""s, "."s, ".."s, "a/b"s, "/"s, "a\0b"s})
        EXPECT_FALSE(isPlainName(bad)) << bad;
    for (const std::string& good : {"..."s, ".x"s, "a b"s, "\xFF"s, "a\\b"s})
        EXPECT_TRUE(isPlainName(good)) << good;
}

} // namespace
} // namespace quarvel
