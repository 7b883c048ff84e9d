#include "report/LogWriter.h"
#include "tests/support/EngineFixture.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace quarvel {
namespace {

// Runs in file-name mode, lower-casing names in place: each file whose name
// holds a capital is one morphed file.
struct MorphFilesTest : ::testing::Test, test::EngineFixture
{
    MorphFilesTest()
    {
        settings.SearchMode = 1;
        settings.LowerFile = 1;
        settings.Rename = 1;
    }
    std::vector<std::string> lastTwo() const
    {
        auto lines = logLines();
        return {lines.end() - 2, lines.end()};
    }
};

TEST_F(MorphFilesTest, SummaryLinesFollowTheSingularRuleOnlyForMorphedFiles)
{
    run();
    EXPECT_EQ(lastTwo(),
              (std::vector<std::string>{"Processed 0 files (*.*).", "Morphed 0 unique files."}));
    dir.write("src/One.txt", "");
    run();
    EXPECT_EQ(lastTwo(),
              (std::vector<std::string>{"Processed 1 files (*.*).", "Morphed 1 unique file."}));
    dir.write("src/Two.txt", "");
    dir.write("src/three.txt", "");
    run();
    EXPECT_EQ(lastTwo(),
              (std::vector<std::string>{"Processed 3 files (*.*).", "Morphed 1 unique file."}));
    dir.write("src/Four.txt", "");
    dir.write("src/Five.txt", "");
    run();
    EXPECT_EQ(lastTwo().back(), "Morphed 2 unique files.");
    ASSERT_EQ(window.summaries.size(), 4u);
    EXPECT_EQ(window.summaries.back(), "Processed 5 files (*.*).\r\nMorphed 2 unique files.");
}

TEST_F(MorphFilesTest, ASecondRunStartsWithAnEmptyLog)
{
    dir.write("src/A.txt", "");
    run();
    ASSERT_EQ(logLines().size(), 3u);
    run();
    EXPECT_EQ(logLines(),
              (std::vector<std::string>{"Processed 1 files (*.*).", "Morphed 0 unique files."}));
}

TEST_F(MorphFilesTest, ReadsTheControlsShowsProgressAndEndsBothFoldersWithASeparator)
{
    settings.StartDir = dir / "src";
    settings.CopyDir = "";
    window.onReadControls = [this] { settings.Mask = "*.md"; };
    dir.write("src/A.md", "");
    run();
    EXPECT_EQ(settings.StartDir, dir / "src/");
    EXPECT_EQ(settings.CopyDir, "/");
    EXPECT_TRUE(dir.exists("src/a.md"));
    EXPECT_EQ(lastTwo().front(), "Processed 1 files (*.md).");
    ASSERT_FALSE(window.positions.empty());
    EXPECT_EQ(window.positions.front(), 0);
    EXPECT_EQ(window.visibility, (std::vector<bool>{true, false}));
}

TEST_F(MorphFilesTest, MaskAndPatternAreNotedInTheirHistories)
{
    settings.Mask = "*.txt";
    settings.Pattern = "";
    run();
    run();
    EXPECT_EQ(maskHistory.entries(), std::vector<std::string>{"*.txt"});
    EXPECT_EQ(patternHistory.entries(), std::vector<std::string>{""});
    EXPECT_EQ(maskList.count(), 1);
}

TEST_F(MorphFilesTest, YesAllLastsIntoTheNextRunButCancelAllDoesNot)
{
    settings.Interactive = 1;
    dir.write("src/A.txt", "");
    dir.write("src/B.txt", "");
    window.answers = {ConfirmResult::CancelAll};
    run();
    EXPECT_EQ(window.questions.size(), 1u);
    EXPECT_EQ(state.cancelAll, 1);
    EXPECT_EQ(lastTwo().back(), "Morphed 0 unique files.");

    window.answers = {ConfirmResult::YesAll};
    run();
    EXPECT_EQ(state.cancelAll, 0);
    EXPECT_EQ(window.questions.size(), 2u);
    EXPECT_EQ(settings.Interactive, 0);
    EXPECT_EQ(lastTwo().back(), "Morphed 2 unique files.");

    dir.write("src/C.txt", "");
    run();
    EXPECT_EQ(window.questions.size(), 2u);
}

TEST_F(MorphFilesTest, FailuresAddAThirdLineToTheSummaryBoxOnly)
{
    dir.write("src/A.txt", "");
    dir.write("src/a.txt", ""); // the rename target exists: the rename fails
    run();
    EXPECT_EQ(log.failureCount(), 1);
    EXPECT_EQ(lastTwo().back(), "Morphed 0 unique files.");
    EXPECT_EQ(window.summaries.back(), "Processed 2 files (*.*).\r\nMorphed 0 unique files.\r\n"
                                       "1 operation failed; see the log.");
    EXPECT_EQ(SummaryText("p", "m", 2), "p\r\nm\r\n2 operations failed; see the log.");
}

TEST_F(MorphFilesTest, CopiesIntoAnOutputFolderInsideTheStartTreeAreNotProcessedAgain)
{
    settings.Rename = 0;
    settings.Copy = 1;
    settings.CopyDir = dir / "src/out";
    dir.write("src/A.txt", "");
    dir.write("src/sub/B.txt", "");
    dir.makeDir("src/out");
    run();
    EXPECT_TRUE(dir.exists("src/out/a.txt"));
    EXPECT_TRUE(dir.exists("src/out/sub/b.txt"));
    EXPECT_EQ(lastTwo().front(), "Processed 2 files (*.*).");
    run(); // the second run still skips the output folder
    EXPECT_EQ(lastTwo().front(), "Processed 2 files (*.*).");
}

} // namespace
} // namespace quarvel
