// --jobs: the log and the JSON records of a run over several jobs are those
// of a run over one, byte for byte, failures included. (The trees the two
// leave are compared in the engine's tests.)
#include "tests/cli/CliProcess.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace quarvel::test {
namespace {

// Output of a run over a fresh tree: changed and unchanged files, names
// that clash once lower-cased, a dangling link (a read failure), a FIFO.
// The temporary folder's name is taken out. With `regex` the same change is
// asked for by an expression with a group.
CliResult runWithJobs(const char* jobs, bool json, bool regex)
{
    TempDir dir;
    for (int folder = 0; folder < 4; ++folder) {
        const std::string base = "src/d" + std::to_string(folder) + "/";
        for (int i = 0; i < 24; ++i)
            dir.write(base + "F" + std::to_string(i) + ".txt", i % 4 == 0 ? "plain" : "the cat");
        dir.write(base + "f1.txt", "the lower one");
    }
    EXPECT_EQ(::symlink((dir / "nowhere").c_str(), (dir / "src/d2/gone").c_str()), 0);
    EXPECT_EQ(::mkfifo((dir / "src/d3/fifo").c_str(), 0644), 0);
    dir.makeDir("out");
    CliProcess cli({json ? "--json" : "--recurse", regex ? "--regex" : "--recurse", "--data",
                    "--pattern", regex ? "t(h)e" : "the", "--rep", regex ? "T${1}E" : "THE",
                    "--replace", "--in-place", "--lower-file", "--recurse", "--copy-to",
                    dir / "out", "--no-journal", "--jobs", jobs, dir / "src"});
    CliResult result = cli.finish();
    std::string& out = result.out;
    for (std::size_t at = out.find(dir.path()); at != std::string::npos; at = out.find(dir.path()))
        out.replace(at, dir.path().size(), "<tmp>/");
    return result;
}

// Parameters: JSON records, search by expression.
class CliJobs : public ::testing::TestWithParam<std::tuple<bool, bool>>
{
};

TEST_P(CliJobs, FourJobsWriteTheOutputOfOne)
{
    const auto [json, regex] = GetParam();
    const CliResult serial = runWithJobs("1", json, regex);
    const CliResult parallel = runWithJobs("4", json, regex);
    EXPECT_EQ(serial.status, 1) << serial.err; // the dangling link fails
    EXPECT_EQ(parallel.status, serial.status);
    EXPECT_EQ(parallel.out, serial.out);
}

INSTANTIATE_TEST_SUITE_P(LogJsonAndExpression, CliJobs,
                         ::testing::Combine(::testing::Bool(), ::testing::Bool()));

} // namespace
} // namespace quarvel::test
