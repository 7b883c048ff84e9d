// Usage errors, --help and --version, and how option values are taken.
#include "tests/cli/CliProcess.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace quarvel::test {
namespace {

constexpr char kUsageLine[] = "Usage: quarvel-cli [OPTIONS] START_DIR\n";

struct UsageCase
{
    std::vector<std::string> args;
    std::string message;
};

TEST(CliUsage, ErrorsExitWithTwoAndChangeNothing)
{
    TempDir dir;
    dir.write("src/Upper.TXT", "cat");
    const std::string src = dir / "src";
    const std::vector<UsageCase> cases = {
        {{}, "one of --names or --data is required"},
        {{"--names", "--lower-file", "--in-place"}, "missing START_DIR"},
        {{"--lower-file", "--in-place", src}, "one of --names or --data is required"},
        {{"--names", "--data", "--lower-file", "--in-place", src}, "cannot be used together"},
        {{"--names", "--lower-file", "--in-place", "--bogus", src}, "unknown option --bogus"},
        {{"--names", "--lower-file", "--in-place", src, "--mask"}, "--mask needs a value"},
        {{"--names", "--in-place=1", src}, "--in-place takes no value"},
        {{"--names", "--lower-file", "--in-place", src, src}, "unexpected argument"},
        {{"--names", "--lower-file", "--in-place", dir / "missing"}, "is not an existing folder"},
        {{"--names", "--lower-file", "--in-place", dir / "src/Upper.TXT"},
         "is not an existing folder"},
        {{"--names", "--lower-file", "--in-place", ""}, "is not an existing folder"},
        {{"--data", "--in-place", "--jobs", "0", src}, "--jobs takes a whole number"},
        {{"--data", "--in-place", "--jobs=4x", src}, "not '4x'"},
        {{"--data", "--in-place", "--jobs", "257", src}, "from 1 to 256"},
        {{"--undo", "--jobs", "2"}, "--undo takes no other option"},
    };
    for (const UsageCase& c : cases) {
        SCOPED_TRACE(c.message);
        const CliResult result = runCli(c.args);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find("quarvel-cli: "), std::string::npos) << result.err;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_NE(result.err.find(kUsageLine), std::string::npos) << result.err;
    }
    EXPECT_EQ(dir.list("src"), std::vector<std::string>{"Upper.TXT"});
}

TEST(CliUsage, HelpAndVersionGoToStandardOutput)
{
    const CliResult help = runCli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind(kUsageLine, 0), 0u) << help.out;
    for (const char* option :
         {"--names",       "--data",          "--mask",        "--pattern",    "--rep",
          "--replace",     "--prepend",       "--append",      "--match-case", "--whole-word",
          "--ignore-crlf", "--crlf-as-space", "--lower-file",  "--lower-ext",  "--recurse",
          "--in-place",    "--copy-to",       "--interactive", "--saved",      "--dry-run",
          "--no-journal",  "--undo",          "--version"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    EXPECT_EQ(help.err, "");

    // --help ends the reading: what follows is not checked.
    EXPECT_EQ(runCli({"--data", "--help", "--bogus"}).status, 0);

    const CliResult version = runCli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "quarvel-cli 1.0.0\n");
}

TEST(CliUsage, OptionValuesAreTakenByteForByte)
{
    TempDir dir;
    dir.write("src/a.txt", "-x-\r\n");
    // A value that looks like an option is still the value; "=" takes the
    // rest of the argument, CR LF included.
    const CliResult result =
        runCli({"--data", "--in-place", "--pattern", "-x-", "--rep=a=\r\nb", dir / "src"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(dir.read("src/a.txt"), "a=\r\nb\r\n");
}

} // namespace
} // namespace quarvel::test
