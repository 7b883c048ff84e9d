#include "platform/MaskMatch.h"

#include <gtest/gtest.h>
#include <string>

namespace quarvel {
namespace {

struct MaskCase
{
    const char* mask;
    std::string name;
    bool matches;
};

const MaskCase kCases[] = {
    // "*.*" is "*": every name, with or without a dot, "." and ".." too.
    {"*.*", "README", true},
    {"*.*", "notes.txt", true},
    {"*.*", ".", true},
    {"*.*", "..", true},
    {"*.*", ".hidden", true},
    {"*", "README", true},
    // A mask ending in ".*" also takes dotless names, but only those.
    {"READ*.*", "README", true},
    {"a.*", "a", true},
    {"a.*", "ab", false},
    {"a.*", "b.txt", false},
    // ASCII letters ignore case, other bytes compare exactly.
    {"*.TXT", "a.txt", true},
    {"*.txt", "A.TXT", true},
    {"*.txt", "a.txt.bak", false},
    {"\xC3\x89*", "\xC3\xA9t\xC3\xA9", false}, // É vs é: not folded
    // "?" is one whole character.
    {"?", "\xC3\xA9", true}, // é, two bytes
    {"??", "\xC3\xA9", false},
    {"a?c",
     "a\xE2\x82\xAC"
     "c",
     true},                          // €, three bytes
    {"?", "\xF0\x9F\x98\x80", true}, // four bytes
    {"?", "", false},
    {"a?", "a", false},
    // Several stars, backtracking over the last one.
    {"a*b*c", "abc", true},
    {"a*b*c", "aXbYc", true},
    {"a*b*c", "abcbc", true},
    {"a*b*c", "acb", false},
    {"a*b*c", "abcd", false},
    {"*a*", "bab", true},
    {"**", "x", true},
    {"*x", "x", true},
    // No wildcard: the whole name, case aside.
    {"notes.txt", "notes.txt", true},
    {"notes.txt", "NOTES.TXT", true},
    {"notes.txt", "notes.tx", false},
    {"notes.txt", "notes.txt2", false},
    {".", ".", true},
    {".", "..", false},
    {"..", "..", true},
    // Bytes that are not UTF-8 are characters of their own.
    {"?", "\xFF", true},
    {"??", "\xC3", false},
    {"?", "\xC3(", false}, // a broken pair is two characters
    {"a\xFF*", "A\xFF\xFE.bin", true},
    {"*\xE9*", "caf\xE9", true},
    {"?", "\xE0\x80", false}, // overlong form: two characters
    // A star never stops inside a character: "*\xA9" cannot end within é.
    {"*\xA9", "\xC3\xA9", false},
};

TEST(MaskMatch, Table)
{
    for (const MaskCase& c : kCases)
        EXPECT_EQ(maskMatches(c.mask, c.name), c.matches)
            << "mask '" << c.mask << "' name '" << c.name << "'";
}

TEST(MaskMatch, ManyStarsDoNotTakeExponentialTime)
{
    const std::string name(10000, 'a');
    EXPECT_FALSE(maskMatches("*a*a*a*a*a*a*a*a*a*a*b", name));
    EXPECT_TRUE(maskMatches("*a*a*a*a*a*a*a*a*a*a*", name));
}

} // namespace
} // namespace quarvel
