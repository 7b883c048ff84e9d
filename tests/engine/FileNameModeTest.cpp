#include "tests/engine/FileNameModeFixture.h"

#include <string>
#include <vector>

namespace quarvel::test {
namespace {

using Lines = std::vector<std::string>;

TEST_F(FileNameModeTest, RenamesInPlaceDeepestFolderFirstWithExactLogLines)
{
    f.dir.write("src/README.TXT", "r");
    f.dir.write("src/keep.txt", "k");
    f.dir.write("src/sub/Deep.TXT", "d");
    f.settings.LowerFile = 1;
    f.settings.Rename = 1;
    run();

    EXPECT_EQ(f.logLines(), (Lines{"Renamed " + src("sub/Deep.TXT") + " --> " + src("sub/deep.txt"),
                                   "Renamed " + src("README.TXT") + " --> " + src("readme.txt"),
                                   "Processed 3 files (*.*).", "Morphed 2 unique files."}));
    EXPECT_EQ(f.dir.list("src"), (Lines{"keep.txt", "readme.txt", "sub"}));
    EXPECT_EQ(f.dir.read("src/readme.txt"), "r");
    EXPECT_EQ(f.dir.read("src/sub/deep.txt"), "d");
    EXPECT_EQ(f.window.summaries, (Lines{"Processed 3 files (*.*).\r\nMorphed 2 unique files."}));
}

TEST_F(FileNameModeTest, FoldersAreStepsButNeverFiles)
{
    f.dir.write("src/a.TXT", "");
    f.dir.write("src/b.txt", "");
    f.dir.write("src/c.dat", "");
    f.dir.makeDir("src/DIR.TXT");
    f.settings.Mask = "*.TXT";
    f.settings.LowerFile = 1;
    f.settings.Rename = 1;
    run();

    // The driver's reset, then one step for each folder (DIR.TXT/ selects
    // nothing) and one for each selected entry of src/: a.TXT, b.txt, DIR.TXT.
    EXPECT_EQ(f.window.positions, (std::vector<int>{0, 3, 6, 9, 12, 15}));
    EXPECT_EQ(f.state.filesProcessed, 2);
    EXPECT_EQ(f.dir.list("src"), (Lines{"DIR.TXT", "a.txt", "b.txt", "c.dat"}));
}

TEST_F(FileNameModeTest, ReplacementPathCopiesEveryFileChangedOrNot)
{
    f.dir.write("src/aq.txt", "1");
    f.dir.write("src/b.txt", "2");
    f.dir.write("src/sub/c.txt", "3");
    f.dir.makeDir("out");
    f.settings.Pattern = "q";
    f.settings.Replace = 1;
    f.settings.PatternCase = 1;
    f.settings.Rename = 1;
    f.settings.Copy = 1;
    run();

    // The copy of a renamed file reads it under its new name.
    EXPECT_EQ(f.operationLines(), (Lines{"Created directory " + out("sub/"),
                                         "Copied " + src("sub/c.txt") + " --> " + out("sub/c.txt"),
                                         "Renamed " + src("aq.txt") + " --> " + src("a.txt"),
                                         "Copied " + src("a.txt") + " --> " + out("a.txt"),
                                         "Copied " + src("b.txt") + " --> " + out("b.txt")}));
    EXPECT_EQ(summaryLine(0), "Morphed 3 unique files.");
    EXPECT_EQ(f.dir.read("out/a.txt"), "1");
    EXPECT_EQ(f.dir.read("out/sub/c.txt"), "3");
}

TEST_F(FileNameModeTest, LowerCasePathCopiesOnlyChangedNames)
{
    f.dir.write("src/A.TXT", "a");
    f.dir.write("src/b.txt", "b");
    f.settings.LowerFile = 1;
    f.settings.Copy = 1;
    f.settings.Interactive = 1; // an unchanged name asks nothing either
    f.window.answers = {ConfirmResult::Yes, ConfirmResult::Yes};
    run();

    EXPECT_EQ(f.operationLines(), (Lines{"Created directory " + out(),
                                         "Copied " + src("A.TXT") + " --> " + out("a.txt")}));
    EXPECT_EQ(f.window.questions.size(), 2u);
    EXPECT_EQ(f.dir.list("src"), (Lines{"A.TXT", "b.txt"}));
    EXPECT_EQ(f.dir.list("out"), (Lines{"a.txt"}));
    EXPECT_EQ(summaryLine(1), "Processed 2 files (*.*).");
    EXPECT_EQ(summaryLine(0), "Morphed 1 unique file.");
}

TEST_F(FileNameModeTest, RenamedAndCopiedFileCountsOnce)
{
    f.dir.write("src/A.TXT", "data");
    f.dir.makeDir("out");
    f.settings.LowerFile = 1;
    f.settings.Rename = 1;
    f.settings.Copy = 1;
    run();

    EXPECT_EQ(f.operationLines(), (Lines{"Renamed " + src("A.TXT") + " --> " + src("a.txt"),
                                         "Copied " + src("a.txt") + " --> " + out("a.txt")}));
    EXPECT_EQ(f.dir.read("out/a.txt"), "data");
    EXPECT_EQ(summaryLine(0), "Morphed 1 unique file.");
}

TEST_F(FileNameModeTest, LowerExtAloneLowersTheExtensionOnTheLowerCasePath)
{
    f.dir.write("src/Photo.Trip.JPG", "");
    f.dir.write("src/README", "");
    f.dir.write("src/.PROFILE", "");
    f.settings.LowerExt = 1;
    f.settings.Rename = 1;
    run();

    EXPECT_EQ(f.operationLines(),
              (Lines{"Renamed " + src(".PROFILE") + " --> " + src(".profile"),
                     "Renamed " + src("Photo.Trip.JPG") + " --> " + src("Photo.Trip.jpg")}));
}

TEST_F(FileNameModeTest, NothingToDoStillCountsEverySelectedFile)
{
    f.dir.write("src/A.TXT", "");
    f.dir.write("src/sub/B.TXT", "");
    f.settings.Rename = 1;
    f.settings.Copy = 1;
    run();

    EXPECT_EQ(f.operationLines(), Lines{});
    EXPECT_EQ(f.state.filesProcessed, 2);
    EXPECT_FALSE(f.dir.exists("out"));
}

TEST_F(FileNameModeTest, CaseIgnoredPatternLowerCasesTheWholeName)
{
    f.dir.write("src/xFooFOO.TXT", "");
    f.dir.write("src/Plain.TXT", "");
    f.settings.Pattern = "FOO";
    f.settings.RepPattern = "Bar";
    f.settings.Replace = 1;
    f.settings.Rename = 1;
    run();

    EXPECT_EQ(f.operationLines(),
              (Lines{"Renamed " + src("Plain.TXT") + " --> " + src("plain.txt"),
                     "Renamed " + src("xFooFOO.TXT") + " --> " + src("xBarfoo.txt")}));
}

TEST_F(FileNameModeTest, MultiByteAndInvalidNamesAreRenamedByteForByte)
{
    f.dir.write("src/BAD\xFF.TXT", "1");
    f.dir.write("src/\xC3\x89T\xC3\x89.TXT", "2");
    f.dir.write("src/NO\xC3\xA9.\xC3\xA9X", "3");
    f.settings.LowerFile = 1;
    f.settings.Rename = 1;
    run();

    EXPECT_EQ(f.dir.list("src"),
              (Lines{"bad\xFF.txt", "no\xC3\xA9.\xC3\xA9x", "\xC3\x89t\xC3\x89.txt"}));
    EXPECT_EQ(f.dir.read("src/bad\xFF.txt"), "1");
    EXPECT_EQ(summaryLine(0), "Morphed 3 unique files.");
}

TEST_F(FileNameModeTest, StopRequestEndsTheFolderAfterTheCurrentFile)
{
    struct StoppingWindow : ScriptedWindow
    {
        const OperationLog* log = nullptr;
        bool stopRequested() override { return log->size() > 0; }
    } window;
    window.log = &f.log;
    f.dir.write("src/A.TXT", "");
    f.dir.write("src/B.TXT", "");
    f.settings.LowerFile = 1;
    f.settings.Rename = 1;
    f.run(sorted, window);

    EXPECT_EQ(f.dir.list("src"), (Lines{"B.TXT", "a.txt"}));
    EXPECT_EQ(f.state.filesProcessed, 1);
}

} // namespace
} // namespace quarvel::test
