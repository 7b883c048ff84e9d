#include "tests/engine/FileNameModeFixture.h"

#include <string>
#include <vector>

namespace quarvel::test {
namespace {

using Lines = std::vector<std::string>;

class InteractiveFileNames : public FileNameModeTest
{
protected:
    InteractiveFileNames()
    {
        f.settings.Interactive = 1;
        f.settings.LowerFile = 1;
        f.settings.Rename = 1;
    }
    std::string morphQuestion(const std::string& from, const std::string& to) const
    {
        return "Morph file\r\n" + src(from) + " to \r\n" + src(to);
    }
};

TEST_F(InteractiveFileNames, YesNoThenYesAllGoesAheadSilently)
{
    for (const char* name : {"A.TXT", "B.TXT", "C.TXT", "D.TXT"})
        f.dir.write(std::string("src/") + name, name);
    f.window.answers = {ConfirmResult::Yes, ConfirmResult::No, ConfirmResult::YesAll};
    run();

    EXPECT_EQ(f.window.questions,
              (Lines{morphQuestion("A.TXT", "a.txt"), morphQuestion("B.TXT", "b.txt"),
                     morphQuestion("C.TXT", "c.txt")}));
    EXPECT_EQ(f.operationLines(), (Lines{"Renamed " + src("A.TXT") + " --> " + src("a.txt"),
                                         "User cancelled file morph --> " + src("B.TXT"),
                                         "User confirmed all operations",
                                         "Renamed " + src("C.TXT") + " --> " + src("c.txt"),
                                         "Renamed " + src("D.TXT") + " --> " + src("d.txt")}));
    EXPECT_EQ(f.settings.Interactive, 0);
    EXPECT_EQ(f.window.writeControlsCalls, 1);
    EXPECT_EQ(summaryLine(0), "Morphed 3 unique files.");
}

TEST_F(InteractiveFileNames, CancelAllMidFolderRefusesEveryLaterRenameAndCopy)
{
    for (const char* name : {"A.TXT", "B.TXT", "C.TXT"})
        f.dir.write(std::string("src/") + name, name);
    f.dir.makeDir("out");
    f.settings.Copy = 1;
    f.window.answers = {ConfirmResult::Yes, ConfirmResult::Yes, ConfirmResult::CancelAll};
    run();

    EXPECT_EQ(f.window.questions,
              (Lines{morphQuestion("A.TXT", "a.txt"), "Create file\r\n" + out("a.txt"),
                     morphQuestion("B.TXT", "b.txt")}));
    EXPECT_EQ(f.operationLines(), (Lines{"Renamed " + src("A.TXT") + " --> " + src("a.txt"),
                                         "Copied " + src("a.txt") + " --> " + out("a.txt"),
                                         "User cancelled all operations",
                                         "User cancelled file morph --> " + src("B.TXT"),
                                         "User cancelled file creation --> " + out("b.txt"),
                                         "User cancelled file morph --> " + src("C.TXT"),
                                         "User cancelled file creation --> " + out("c.txt")}));
    EXPECT_EQ(f.dir.list("src"), (Lines{"B.TXT", "C.TXT", "a.txt"}));
    EXPECT_EQ(summaryLine(0), "Morphed 1 unique file.");
}

TEST_F(InteractiveFileNames, RefusedOutputFolderSkipsTheCopySilentlyAndAsksAgain)
{
    f.dir.write("src/ax", "1");
    f.dir.write("src/bx", "2");
    f.settings.Rename = 0;
    f.settings.Copy = 1;
    f.settings.Pattern = "x";
    f.settings.Replace = 1;
    f.window.answers = {ConfirmResult::No, ConfirmResult::Yes, ConfirmResult::No};
    run();

    EXPECT_EQ(f.window.questions,
              (Lines{"Create Directory\r\n" + out(), "Create Directory\r\n" + out(),
                     "Create file\r\n" + out("b")}));
    EXPECT_EQ(f.operationLines(),
              (Lines{"Created directory " + out(), "User cancelled file create --> " + out("b")}));
    EXPECT_EQ(summaryLine(0), "Morphed 0 unique files.");
}

TEST_F(InteractiveFileNames, AfterCancelAllCopiesIntoMissingFoldersAreSkippedSilently)
{
    f.dir.write("src/A.TXT", "");
    f.dir.write("src/B.TXT", "");
    f.settings.Rename = 0;
    f.settings.Copy = 1;
    f.window.answers = {ConfirmResult::CancelAll};
    run();

    EXPECT_EQ(f.window.questions, (Lines{"Create Directory\r\n" + out()}));
    EXPECT_EQ(f.operationLines(), (Lines{"User cancelled all operations"}));
    EXPECT_FALSE(f.dir.exists("out"));
}

} // namespace
} // namespace quarvel::test
