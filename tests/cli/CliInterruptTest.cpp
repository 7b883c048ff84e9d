// SIGINT and SIGTERM: the operation under way finishes, the run stops, the
// summary is printed for what was done, then "Interrupted"; status 130.
#include "tests/cli/CliProcess.h"
#include "tests/support/TempDir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <string>
#include <unistd.h>
#include <utility>

namespace quarvel::test {
namespace {

// More files than two jobs rename ahead of the log, plus what the pipe
// and the output buffer hold: long folder names make each log line about
// 1.5 KB.
constexpr int kFiles = 1500;
const std::string kLevel = std::string(250, 'd') + "/";
const std::string kFolder = "src/" + kLevel + kLevel + kLevel;

std::string upperName(int i)
{
    return "FILE" + std::to_string(100000 + i) + ".TXT";
}

void writeManyFiles(const TempDir& dir)
{
    dir.makeDir(kFolder);
    for (int i = 0; i < kFiles; ++i) {
        const int fd =
            ::open((dir / (kFolder + upperName(i))).c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        ASSERT_GE(fd, 0);
        ::close(fd);
    }
}

int countPrefix(const std::vector<std::string>& lines, const std::string& prefix)
{
    int count = 0;
    for (const std::string& line : lines)
        count += line.rfind(prefix, 0) == 0 ? 1 : 0;
    return count;
}

// A signal, and the number of jobs.
class CliInterrupt : public ::testing::TestWithParam<std::pair<int, const char*>>
{
};

TEST_P(CliInterrupt, StopsAfterTheCurrentOperationWithTheSummary)
{
    TempDir dir;
    writeManyFiles(dir);
    // While the test reads nothing, the run cannot get to its end.
    const auto [signal, jobs] = GetParam();
    CliProcess process({"--names", "--lower-file", "--in-place", "--jobs", jobs, dir / kFolder});
    ASSERT_TRUE(process.readUntil([](auto& out, auto&) { return !out.empty(); }));
    process.sendSignal(signal);
    const CliResult result = process.finish();

    EXPECT_EQ(result.status, 130) << result.err;
    const std::vector<std::string> lines = result.outLines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines.back(), "Interrupted");
    const int renamed = countPrefix(lines, "Renamed ");
    EXPECT_LT(renamed, kFiles);
    EXPECT_EQ(lines[lines.size() - 2], "Morphed " + std::to_string(renamed) + " unique files.");
    EXPECT_EQ(lines[lines.size() - 3].rfind("Processed ", 0), 0u);
    EXPECT_EQ(static_cast<int>(lines.size()), renamed + 3);

    // No file lost or doubled, no temporary file left.
    const std::vector<std::string> names = dir.list(kFolder);
    EXPECT_EQ(static_cast<int>(names.size()), kFiles);
    int lower = 0;
    for (const std::string& name : names) {
        EXPECT_NE(name.front(), '.') << name;
        lower += name.rfind("file", 0) == 0 ? 1 : 0;
    }
    EXPECT_EQ(lower, renamed);
}

INSTANTIATE_TEST_SUITE_P(Signals, CliInterrupt,
                         ::testing::Values(std::pair{SIGINT, "1"}, std::pair{SIGTERM, "1"},
                                           std::pair{SIGINT, "2"}));

TEST(CliInterruptAtPrompt, RefusesTheOperationAskedAndStops)
{
    TempDir dir;
    dir.write("src/d/first.txt", "cat");
    dir.write("src/second.txt", "cat");
    const std::string src = dir / "src/";
    CliProcess process({"--data", "--pattern", "cat", "--rep", "dog", "--in-place", "--recurse",
                        "--interactive", src});
    ASSERT_TRUE(process.readUntil(
        [](auto&, auto& err) { return err.find("[c]ancel all? ") != std::string::npos; }));
    // Standard input stays open: the prompt must not wait for it.
    process.sendSignal(SIGINT);
    ASSERT_TRUE(process.readUntil(
        [](auto& out, auto&) { return out.find("Interrupted\n") != std::string::npos; }));
    const CliResult result = process.finish();
    EXPECT_EQ(result.status, 130);
    EXPECT_EQ(result.outLines(), (std::vector<std::string>{
                                     "User cancelled file morph --> " + src + "d/first.txt",
                                     "Processed 1 files (*.*).",
                                     "Morphed 0 unique files.",
                                     "Interrupted",
                                 }));
    EXPECT_EQ(dir.read("src/d/first.txt"), "cat");
}

} // namespace
} // namespace quarvel::test
