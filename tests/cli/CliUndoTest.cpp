// quarvel-cli --undo over the journal the command line writes: a run
// stopped half-way by SIGINT is undone for what it did; a file changed since
// gives a failure line and exit 1; --no-journal leaves nothing to undo.
#include "tests/cli/CliProcess.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <signal.h>

namespace quarvel::test {
namespace {

// Lines of about 1.5 KB: the log is far larger than a pipe holds, and the
// renames of two jobs run only a bounded stretch ahead of the log, so a run
// whose output is not read cannot get to its end.
constexpr int kFiles = 1500;
const std::string kLevel = std::string(250, 'd') + "/";
const std::string kFolder = "src/" + kLevel + kLevel + kLevel;

std::string name(int i)
{
    return "FILE" + std::to_string(1000 + i) + ".TXT";
}

class CliUndoTest : public ::testing::Test
{
protected:
    CliProcess::Env env() const { return {{"XDG_STATE_HOME", state.path()}}; }
    CliResult undo(std::vector<std::string> extra = {}) const
    {
        extra.insert(extra.begin(), "--undo");
        return runCli(extra, {}, env());
    }

    TempDir dir;
    TempDir state;
};

TEST_F(CliUndoTest, RunStoppedHalfWayIsUndoneForWhatItDid)
{
    for (int i = 0; i < kFiles; ++i)
        dir.write(kFolder + name(i), "x");
    CliProcess process(
        {"--names", "--lower-file", "--in-place", "--recurse", "--jobs", "2", dir / "src"}, env());
    ASSERT_TRUE(process.readUntil([](auto& out, auto&) { return !out.empty(); }));
    process.sendSignal(SIGINT);
    EXPECT_EQ(process.finish().status, 130);
    ASSERT_LT(dir.list(kFolder).front(), "a"); // some names are still upper-case
    ASSERT_GT(dir.list(kFolder).back(), "a");  // and some lower-case

    const CliResult dry = undo({"--dry-run"});
    EXPECT_EQ(dry.status, 0) << dry.err;
    const CliResult done = undo();
    EXPECT_EQ(done.status, 0) << done.err;
    EXPECT_EQ(done.out, dry.out);
    std::vector<std::string> expected;
    for (int i = 0; i < kFiles; ++i)
        expected.push_back(name(i));
    EXPECT_EQ(dir.list(kFolder), expected);
    EXPECT_EQ(undo().status, 1); // nothing left to undo
}

TEST_F(CliUndoTest, ChangedFileFailsTheRestGoesOnAndNoJournalMeansNoUndo)
{
    dir.write("src/a.txt", "one alpha\n");
    dir.write("src/b.txt", "two alpha\n");
    const std::vector<std::string> run = {"--data", "--pattern", "alpha",      "--rep",
                                          "beta",   "--replace", "--in-place", dir / "src"};
    ASSERT_EQ(runCli(run, {}, env()).status, 0);
    dir.write("src/b.txt", "edited\n");
    const CliResult result = undo();
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.out.find("Failed to restore file " + dir / "src/b.txt" +
                              ": changed since the run\n"),
              std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("Restored file " + dir / "src/a.txt\n"), std::string::npos);
    EXPECT_NE(result.out.find("Undid 1 of 2 operations.\n"), std::string::npos);
    EXPECT_EQ(dir.read("src/a.txt"), "one alpha\n");
    EXPECT_EQ(dir.read("src/b.txt"), "edited\n");

    std::vector<std::string> unjournaled = run;
    unjournaled.insert(unjournaled.begin(), "--no-journal");
    ::unlink((dir / "src/b.txt").c_str());
    const CliResult again = runCli(unjournaled, {}, env());
    ASSERT_EQ(again.status, 0);
    EXPECT_EQ(dir.read("src/a.txt"), "one beta\n");
    // The journal left is the earlier run's, with just b.txt: its name is free now.
    const CliResult last = undo();
    EXPECT_EQ(last.status, 0) << last.out;
    EXPECT_EQ(dir.read("src/b.txt"), "two alpha\n");
    EXPECT_EQ(dir.read("src/a.txt"), "one beta\n");
    EXPECT_EQ(undo({"--dry-run", "--json"}).status, 2);
}

} // namespace
} // namespace quarvel::test
