#include "tests/engine/FileDataModeFixture.h"

#include <gtest/gtest.h>

namespace quarvel::test {
namespace {

using Lines = std::vector<std::string>;

struct FileDataInteractive : FileDataTest
{
    FileDataInteractive()
    {
        settings.Interactive = 1;
        settings.Copy = 1;
    }
};

TEST_F(FileDataInteractive, RefusedUpdateIsStillFollowedByTheCopy)
{
    dir.makeDir("out");
    dir.write("src/a.txt", "cat");
    window.answers = {ConfirmResult::No, ConfirmResult::Yes};
    run();
    EXPECT_EQ(window.questions,
              (Lines{"Morph file\r\n" + src("a.txt"), "Create file\r\n" + out("a.txt")}));
    EXPECT_EQ(logLines(), (Lines{"User cancelled file morph --> " + src("a.txt"),
                                 "Created file " + out("a.txt") + " (1 changes)",
                                 "Processed 1 files (*.*).", "Morphed 1 unique file."}));
    EXPECT_EQ(dir.read("src/a.txt"), "cat");
    EXPECT_EQ(dir.read("out/a.txt"), "dog");
}

TEST_F(FileDataInteractive, CancelAllRefusesEveryLaterWriteWithoutAsking)
{
    for (const char* name : {"a", "b", "c"})
        dir.write(std::string("src/") + name, "cat");
    dir.write("src/d", "no match");
    window.answers = {ConfirmResult::Yes, ConfirmResult::Yes, ConfirmResult::Yes,
                      ConfirmResult::CancelAll};
    runSorted();
    EXPECT_EQ(window.questions.size(), 4u);
    EXPECT_EQ(window.questions[1], "Create Directory\r\n" + out(""));
    EXPECT_EQ(logLines(),
              (Lines{"Updated file " + src("a") + " (1 changes)", "Created directory " + out(""),
                     "Created file " + out("a") + " (1 changes)", "User cancelled all operations",
                     "User cancelled file morph --> " + src("b"),
                     "User cancelled file creation --> " + out("b"),
                     "User cancelled file morph --> " + src("c"),
                     "User cancelled file creation --> " + out("c"), "Processed 4 files (*.*).",
                     "Morphed 1 unique file."}));
    EXPECT_EQ(dir.read("src/b"), "cat");
    EXPECT_EQ(dir.list("out"), Lines{"a"});
}

TEST_F(FileDataInteractive, RefusedOutputFolderDropsTheCopySilently)
{
    settings.Rename = 0;
    dir.write("src/a", "cat");
    dir.write("src/b", "cat");
    window.answers = {ConfirmResult::No, ConfirmResult::Yes, ConfirmResult::No};
    runSorted();
    // The missing folder is asked about again for the second file.
    EXPECT_EQ(window.questions,
              (Lines{"Create Directory\r\n" + out(""), "Create Directory\r\n" + out(""),
                     "Create file\r\n" + out("b")}));
    EXPECT_EQ(operationLines(), (Lines{"Created directory " + out(""),
                                       "User cancelled file creation --> " + out("b")}));
}

TEST_F(FileDataInteractive, YesAllStopsAskingAndGoesAhead)
{
    settings.Copy = 0;
    dir.write("src/a", "cat");
    dir.write("src/b", "cat");
    window.answers = {ConfirmResult::YesAll};
    runSorted();
    EXPECT_EQ(window.questions.size(), 1u);
    EXPECT_EQ(settings.Interactive, 0);
    EXPECT_EQ(operationLines(),
              (Lines{"User confirmed all operations", "Updated file " + src("a") + " (1 changes)",
                     "Updated file " + src("b") + " (1 changes)"}));
}

} // namespace
} // namespace quarvel::test
