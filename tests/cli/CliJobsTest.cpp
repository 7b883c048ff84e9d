// --jobs: the output and the tree of a run over several jobs are those of
// a run over one, byte for byte, failures included.
#include "tests/cli/CliProcess.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quarvel::test {
namespace {

// Changed and unchanged files in a few folders, names that clash once
// lower-cased, a dangling link (a read failure) and a FIFO.
void makeTree(const TempDir& dir)
{
    for (int folder = 0; folder < 4; ++folder) {
        const std::string base = "src/d" + std::to_string(folder) + "/";
        for (int i = 0; i < 24; ++i)
            dir.write(base + "F" + std::to_string(i) + (i % 3 == 0 ? ".TXT" : ".txt"),
                      i % 4 == 0 ? "plain" : "the cat and the dog " + std::to_string(i));
        dir.write(base + "f1.txt", "the lower one");
    }
    ASSERT_EQ(::symlink((dir / "nowhere").c_str(), (dir / "src/d2/gone").c_str()), 0);
    ASSERT_EQ(::mkfifo((dir / "src/d3/fifo").c_str(), 0644), 0);
    dir.makeDir("out");
}

// Every file below `relative` with its content, in name order.
std::vector<std::string> treeOf(const TempDir& dir, const std::string& relative)
{
    std::vector<std::string> entries;
    for (const std::string& name : dir.list(relative)) {
        const std::string path = relative + "/" + name;
        struct stat st;
        ::lstat((dir / path).c_str(), &st);
        if (S_ISDIR(st.st_mode)) {
            for (std::string& entry : treeOf(dir, path))
                entries.push_back(std::move(entry));
        } else {
            entries.push_back(path + (S_ISREG(st.st_mode) ? ": " + dir.read(path) : ""));
        }
    }
    return entries;
}

struct JobsRun
{
    CliResult result;
    std::vector<std::string> tree;
};

JobsRun runWithJobs(const TempDir& dir, const char* jobs, bool json)
{
    std::vector<std::string> args{"--data",    "--pattern", "the",        "--rep",
                                  "THE",       "--replace", "--in-place", "--lower-file",
                                  "--recurse", "--copy-to", dir / "out",  "--no-journal",
                                  "--jobs",    jobs,        dir / "src"};
    if (json)
        args.insert(args.begin(), "--json");
    CliProcess cli(args);
    JobsRun run{cli.finish(), {}};
    // The runs differ only in the temporary folder's name.
    std::string& out = run.result.out;
    for (std::size_t at = out.find(dir.path()); at != std::string::npos; at = out.find(dir.path()))
        out.replace(at, dir.path().size(), "<tmp>/");
    run.tree = treeOf(dir, "src");
    for (std::string& entry : treeOf(dir, "out"))
        run.tree.push_back(std::move(entry));
    return run;
}

class CliJobs : public ::testing::TestWithParam<bool>
{
};

TEST_P(CliJobs, FourJobsWriteTheOutputAndTreeOfOne)
{
    const bool json = GetParam();
    JobsRun serial;
    {
        TempDir dir;
        makeTree(dir);
        serial = runWithJobs(dir, "1", json);
    }
    TempDir dir;
    makeTree(dir);
    const JobsRun parallel = runWithJobs(dir, "4", json);
    EXPECT_EQ(serial.result.status, 1) << serial.result.err; // the dangling link fails
    EXPECT_EQ(parallel.result.status, serial.result.status);
    EXPECT_EQ(parallel.result.out, serial.result.out);
    EXPECT_EQ(parallel.tree, serial.tree);
}

INSTANTIATE_TEST_SUITE_P(LogAndJson, CliJobs, ::testing::Bool());

} // namespace
} // namespace quarvel::test
