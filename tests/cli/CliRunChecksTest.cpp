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
