#include "engine/RunContext.h"
#include "platform/PosixFileSystem.h"
#include "report/LogWriter.h"
#include "tests/support/ScriptedWindow.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <memory>

namespace quarvel {
namespace {

struct OutputFolderTest : ::testing::Test
{
    OutputFolderTest() { dir.makeDir("out"); }

    int ensure(const std::string& relative, const std::string& base = "")
    {
        return run().EnsureFolder(base.empty() ? dir / "out/" : base, relative) ? 1 : 0;
    }
    // Made at first use, after the test has set the options.
    RunContext& run()
    {
        if (!context)
            context = std::make_unique<RunContext>(options, fs, window, logWriter);
        return *context;
    }
    std::vector<std::string> lines() const
    {
        std::vector<std::string> out;
        for (std::size_t i = 0; i < log.size(); ++i)
            out.emplace_back(log.line(i));
        return out;
    }

    test::TempDir dir;
    RunOptions options;
    OperationLog log;
    LogWriter logWriter{log};
    test::ScriptedWindow window;
    PosixFileSystem fs;
    std::unique_ptr<RunContext> context;
};

TEST_F(OutputFolderTest, AnExistingFolderIsAcceptedWithoutQuestionOrLog)
{
    options.interactive = true;
    EXPECT_NE(ensure(""), 0);
    EXPECT_TRUE(window.questions.empty());
    EXPECT_TRUE(log.empty());
}

TEST_F(OutputFolderTest, AMissingFolderWithItsParentIsCreatedInOneStep)
{
    EXPECT_NE(ensure("a/"), 0);
    EXPECT_TRUE(dir.exists("out/a"));
    EXPECT_EQ(lines(), std::vector<std::string>{"Created directory " + dir / "out/a/"});
}

TEST_F(OutputFolderTest, MissingLevelsAreCreatedOutsideInWithOneLogLine)
{
    EXPECT_NE(ensure("a/b/c/"), 0);
    EXPECT_TRUE(dir.exists("out/a/b/c"));
    EXPECT_EQ(lines(), std::vector<std::string>{"Created directory " + dir / "out/a/b/c/"});
}

TEST_F(OutputFolderTest, AMissingCopyDirWithItsParentIsCreated)
{
    EXPECT_NE(ensure("", dir / "fresh/"), 0);
    EXPECT_TRUE(dir.exists("fresh"));
    EXPECT_EQ(lines(), std::vector<std::string>{"Created directory " + dir / "fresh/"});
}

TEST_F(OutputFolderTest, AFolderThatCannotBeCreatedIsAFailureNotASuccess)
{
    // The base folder is never created here, so nothing below a missing
    // base can be made: the run logs a failure and skips the copy.
    EXPECT_EQ(ensure("a/", dir / "missing/base/"), 0);
    EXPECT_FALSE(dir.exists("missing"));
    EXPECT_EQ(lines(),
              std::vector<std::string>{"Failed to create directory " + dir / "missing/base/a/" +
                                       ": No such file or directory"});
    EXPECT_EQ(log.failureCount(), 1);
}

TEST_F(OutputFolderTest, InteractiveAsksEveryTimeAndNoCreatesNothing)
{
    options.interactive = true;
    window.answers = {ConfirmResult::No, ConfirmResult::No, ConfirmResult::Yes};
    EXPECT_EQ(ensure("a/"), 0);
    EXPECT_EQ(ensure("a/"), 0);
    EXPECT_FALSE(dir.exists("out/a"));
    EXPECT_TRUE(log.empty());
    EXPECT_NE(ensure("a/"), 0);
    ASSERT_EQ(window.questions.size(), 3u);
    EXPECT_EQ(window.questions[0], "Create Directory\r\n" + dir / "out/a/");
    EXPECT_TRUE(dir.exists("out/a"));
}

TEST_F(OutputFolderTest, AfterCancelAllExistingIsFineAndMissingIsRefusedSilently)
{
    options.interactive = true;
    window.answers = {ConfirmResult::CancelAll};
    EXPECT_FALSE(run().confirm({"Morph file", std::nullopt, std::nullopt}));
    log.clear();
    EXPECT_NE(ensure(""), 0);
    EXPECT_EQ(ensure("a/"), 0);
    EXPECT_FALSE(dir.exists("out/a"));
    EXPECT_TRUE(log.empty());
}

TEST(Progress, CyclesInStepsOfThreeAndNeverPassesTheTop)
{
    Progress progress;
    std::vector<int> seen;
    for (int i = 0; i < 80; ++i)
        seen.push_back(progress.step());
    EXPECT_EQ(seen[0], 3);
    for (int position : seen) {
        EXPECT_GE(position, 0);
        EXPECT_LE(position, 100);
    }
    EXPECT_EQ(seen[32], 99);
    EXPECT_EQ(seen[33], 0); // 102 would pass the top: start again at 0
}

TEST(Progress, AStepFromExactlyOneHundredLeavesZero)
{
    Progress progress;
    progress.setPosition(100);
    EXPECT_EQ(progress.step(), 0);
    progress.setPosition(97);
    EXPECT_EQ(progress.step(), 100);
    EXPECT_EQ(progress.step(), 0);
}

} // namespace
} // namespace quarvel
