// Runs with --regex and --unicode-case: names, contents, failures.
#include "tests/engine/FileDataModeFixture.h"
#include "tests/engine/FileNameModeFixture.h"

#include <gtest/gtest.h>

namespace quarvel::test {
namespace {

using Lines = std::vector<std::string>;

struct NameCase
{
    const char* name;
    const char* pattern; // empty: lower-casing only
    const char* rep;
    int regex, unicode, matchCase, lowerFile, lowerExt;
    const char* expected;
};

void PrintTo(const NameCase& c, std::ostream* out)
{
    *out << c.name << " /" << c.pattern << "/ -> " << c.expected;
}

class RegexNames : public FileNameModeTest, public ::testing::WithParamInterface<NameCase>
{
};

// The first match only; groups; case rules; Unicode lower-casing with the
// bytes that are not UTF-8 kept.
TEST_P(RegexNames, NewName)
{
    const NameCase& c = GetParam();
    f.dir.write(std::string("src/") + c.name, "x");
    f.settings.Pattern = c.pattern;
    f.settings.RepPattern = c.rep;
    f.settings.Replace = c.pattern[0] != '\0';
    f.settings.Regex = c.regex;
    f.settings.UnicodeCase = c.unicode;
    f.settings.PatternCase = c.matchCase;
    f.settings.LowerFile = c.lowerFile;
    f.settings.LowerExt = c.lowerExt;
    f.settings.Rename = 1;
    run();
    EXPECT_EQ(f.dir.list("src"), Lines{c.expected});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegexNames,
    ::testing::Values(NameCase{"a1b22c333.txt", "\\d+", "#", 1, 0, 1, 0, 0, "a#b22c333.txt"},
                      NameCase{"IMG_0042.JPG", "IMG_(\\d+)", "photo-${1}-$$", 1, 0, 1, 0, 1,
                               "photo-0042-$.jpg"},
                      NameCase{"Report.TXT", "report", "r", 1, 0, 0, 0, 0, "r.TXT"},
                      NameCase{"ÄRGER.TXT", "", "", 0, 1, 0, 1, 1, "ärger.txt"},
                      NameCase{"ÄRGER.TXT", "", "", 0, 0, 0, 1, 1, "Ärger.txt"},
                      NameCase{"AB\xff\xc3.TXT", "", "", 0, 1, 0, 1, 1, "ab\xff\xc3.txt"},
                      NameCase{"ÉCOLE.TXT", "école", "x", 0, 1, 0, 0, 0, "x.txt"},
                      NameCase{"ÉCOLE.TXT", "(?<w>é)cole", "${w}", 1, 1, 0, 0, 0, "É.TXT"}));

TEST_F(FileNameModeTest, ANameWhoseSearchHitsALimitIsLeftWithAFailureLine)
{
    const std::string name = std::string(200, 'a') + "b";
    f.dir.write("src/" + name, "x");
    f.dir.write("src/aa", "y");
    f.settings.Regex = 1;
    f.settings.Replace = 1;
    f.settings.Pattern = "(a+)+$";
    f.settings.RepPattern = "z";
    f.settings.Rename = 1;
    run();
    EXPECT_EQ(f.operationLines(), (Lines{"Renamed " + src("aa") + " --> " + src("z"),
                                         "Failed to search file " + src(name) +
                                             ": The regular expression hit its match limit"}));
    EXPECT_EQ(f.dir.list("src"), (Lines{name, "z"}));
}

TEST_F(FileDataTest, RegexReplacesEveryMatchWithItsGroups)
{
    settings.Regex = 1;
    settings.Pattern = "(\\w+)@(\\w+)";
    settings.RepPattern = "$2:$1 $$";
    dir.write("src/a.txt", "ann@x, bob@y");
    run();
    EXPECT_EQ(dir.read("src/a.txt"), "x:ann $, y:bob $");
    EXPECT_EQ(operationLines(), Lines{"Updated file " + src("a.txt") + " (2 changes)"});
}

TEST_F(FileDataTest, AnExpressionThatHitsALimitLeavesTheFileAndTheRunGoesOn)
{
    settings.Regex = 1;
    settings.Pattern = "(a+)+$";
    settings.RepPattern = "X";
    const std::string line = std::string(200000, 'a') + "b\n";
    dir.write("src/1.txt", line);
    dir.write("src/2.txt", "aaa");
    runSorted();
    EXPECT_EQ(operationLines(), (Lines{"Failed to search file " + src("1.txt") +
                                           ": The regular expression hit its match limit",
                                       "Updated file " + src("2.txt") + " (1 changes)"}));
    EXPECT_EQ(dir.read("src/1.txt"), line);
    EXPECT_EQ(dir.list("src"), (Lines{"1.txt", "2.txt"})) << "no temporary file is left";
}

// A literal matched case-blind by Unicode rules keeps the whole-word rule.
TEST_F(FileDataTest, UnicodeCaseBlindLiteralMatchesAccentedCapitals)
{
    settings.UnicodeCase = 1;
    settings.Pattern = "école";
    settings.RepPattern = "$1";
    dir.write("src/a.txt", "ÉCOLE École écoles école\n");
    run();
    EXPECT_EQ(dir.read("src/a.txt"), "$1 $1 $1s $1\n");
    settings.WholeWord = 1;
    // U+2028 is no white space to the literal rules.
    dir.write("src/a.txt", "ÉCOLE écoles\xff\n\u2028école\tÉcole");
    run();
    EXPECT_EQ(dir.read("src/a.txt"), "$1 écoles\xff\n\u2028école\t$1");
}

// File-data mode names its results by the same Unicode rule.
TEST_F(FileDataTest, UnicodeCaseNamesTheRewrittenFile)
{
    settings.UnicodeCase = 1;
    settings.LowerFile = settings.LowerExt = 1;
    dir.write("src/ÄRGER.TXT", "a cat");
    run();
    EXPECT_EQ(dir.list("src"), Lines{"ärger.txt"});
    EXPECT_EQ(dir.read("src/ärger.txt"), "a dog");
}

} // namespace
} // namespace quarvel::test
