// What quarvel-cli says before a run: a missing output folder stops it,
// a run that cannot change anything says which option is missing.
#include "tests/cli/CliProcess.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace quarvel::test {
namespace {

TEST(CliRunChecks, AMissingOutputFolderStopsTheRunAndTheDryRun)
{
    TempDir dir;
    dir.write("src/Cat.TXT", "cat");
    const std::string out = dir / "out/a/b";
    for (const bool dryRun : {false, true}) {
        std::vector<std::string> args = {"--names", "--lower-file", "--copy-to", out, dir / "src"};
        if (dryRun)
            args.insert(args.begin(), "--dry-run");
        const CliResult result = runCli(args);
        EXPECT_EQ(result.status, 2) << dryRun;
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "quarvel-cli: the output folder '" + out +
                                  "/' (--copy-to) does not exist; create it first\n");
    }
    EXPECT_EQ(dir.list(), std::vector<std::string>{"src"});
    EXPECT_EQ(dir.list("src"), std::vector<std::string>{"Cat.TXT"});
}

struct NoChangeCase
{
    std::vector<std::string> options;
    std::string missing; // the line on standard error, empty when none
};

class CliNothingWillChange : public ::testing::TestWithParam<NoChangeCase>
{
};

TEST_P(CliNothingWillChange, SaysWhichOptionIsMissingAndStillRuns)
{
    TempDir dir;
    dir.write("src/Cat.TXT", "cat");
    std::vector<std::string> args = GetParam().options;
    args.push_back(dir / "src");
    const CliResult result = runCli(args);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, GetParam().missing.empty()
                              ? std::string()
                              : "quarvel-cli: nothing will change: " + GetParam().missing + "\n");
    EXPECT_EQ(result.outLines().back(),
              "Morphed " +
                  std::string(GetParam().missing.empty() ? "1 unique file." : "0 unique files."));
}

INSTANTIATE_TEST_SUITE_P(
    Options, CliNothingWillChange,
    ::testing::Values(
        NoChangeCase{{"--names", "--lower-file"}, "neither --in-place nor --copy-to is given"},
        NoChangeCase{{"--data", "--pattern", "cat", "--rep", "dog"},
                     "neither --in-place nor --copy-to is given"},
        NoChangeCase{{"--names", "--in-place", "--replace", "--rep", "x"},
                     "file-name mode without --replace (with a --pattern), --lower-file or "
                     "--lower-ext"},
        NoChangeCase{{"--data", "--in-place", "--rep", "x"},
                     "file-data mode without --pattern, --prepend or --append"},
        NoChangeCase{{"--data", "--in-place", "--replace", "--append", "--rep", "x"},
                     "file-data mode without --pattern (--prepend and --append add nothing with "
                     "--replace)"},
        NoChangeCase{{"--names", "--in-place", "--lower-ext"}, ""},
        NoChangeCase{{"--data", "--in-place", "--append", "--rep", "x"}, ""},
        NoChangeCase{{"--data", "--in-place", "--pattern", "cat", "--rep", "dog"}, ""}));

} // namespace
} // namespace quarvel::test

namespace quarvel::test {
namespace {

// An expression PCRE2 refuses, or a literal rule beside --regex, stops the
// run (and the dry run) before any file is touched.
TEST(CliRunChecks, ABadExpressionOrALiteralRuleStopsTheRun)
{
    TempDir dir;
    dir.write("src/a.txt", "cat");
    const struct
    {
        std::vector<std::string> options;
        std::string error;
    } cases[] = {
        {{"--pattern", "ca(t"},
         "bad regular expression in --pattern or --rep: missing closing parenthesis at offset 4"},
        {{"--pattern", "(c)at", "--rep", "$2"},
         "bad regular expression in --pattern or --rep: the replacement refers to group '2', "
         "which the expression does not have"},
        {{"--pattern", "cat", "--whole-word"},
         "--regex cannot be used with --whole-word (write \\b or a look-around)"},
        {{"--pattern", "cat", "--ignore-crlf"},
         "--regex cannot be used with --ignore-crlf or --crlf-as-space (write [\\r\\n]* or \\s+)"},
    };
    for (const auto& c : cases) {
        for (const char* dryRun : {"--in-place", "--dry-run"}) {
            std::vector<std::string> args = {"--data", "--regex", "--in-place", dryRun};
            args.insert(args.end(), c.options.begin(), c.options.end());
            args.push_back(dir / "src");
            const CliResult result = runCli(args);
            EXPECT_EQ(result.status, 2);
            EXPECT_EQ(result.err, "quarvel-cli: " + c.error + "\n");
        }
    }
    const CliResult crlf = runCli({"--data", "--unicode-case", "--crlf-as-space", "--pattern", "é",
                                   "--in-place", dir / "src"});
    EXPECT_EQ(crlf.status, 2);
    EXPECT_EQ(dir.read("src/a.txt"), "cat");
}

} // namespace
} // namespace quarvel::test
