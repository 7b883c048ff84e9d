// Whole runs of the executable: the exact log on standard output, the
// files afterwards, and the exit status.
#include "tests/cli/CliProcess.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace quarvel::test {
namespace {

using Lines = std::vector<std::string>;

TEST(CliRun, FileDataRunPrintsTheLogAndRewritesTheFiles)
{
    TempDir dir;
    dir.write("src/notes.txt", "the cat sat\r\non the Cat mat");
    dir.write("src/skip.bin", "cat");
    dir.write("src/sub/nothing.txt", "dog");
    dir.write("src/sub/deep/Story.TXT", "cat");
    dir.makeDir("out");
    const std::string src = dir / "src/";
    const std::string out = dir / "out/";

    const CliResult result =
        runCli({"--data", "--mask", "*.txt", "--pattern", "cat", "--rep", "dog", "--replace",
                "--recurse", "--in-place", "--copy-to", dir / "out", "--lower-ext", dir / "src"});

    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.outLines(), (Lines{
                                     "Updated file " + src + "sub/deep/Story.txt (1 changes)",
                                     "Created directory " + out + "sub/deep/",
                                     "Created file " + out + "sub/deep/Story.txt (1 changes)",
                                     "Updated file " + src + "notes.txt (2 changes)",
                                     "Created file " + out + "notes.txt (2 changes)",
                                     "Processed 3 files (*.txt).",
                                     "Morphed 2 unique files.",
                                 }));
    EXPECT_EQ(result.out.back(), '\n');
    EXPECT_EQ(dir.read("src/notes.txt"), "the dog sat\r\non the dog mat");
    EXPECT_EQ(dir.read("out/notes.txt"), "the dog sat\r\non the dog mat");
    EXPECT_EQ(dir.list("src/sub/deep"), Lines{"Story.txt"});
    EXPECT_EQ(dir.read("out/sub/deep/Story.txt"), "dog");
    EXPECT_EQ(dir.read("src/skip.bin"), "cat");
    EXPECT_EQ(dir.read("src/sub/nothing.txt"), "dog");
}

TEST(CliRun, FileNameRunPrintsTheLogAndRenamesAndCopies)
{
    TempDir dir;
    dir.write("src/Photo One.JPG", "p1");
    dir.write("src/keep.png", "k");
    dir.write("src/sub/IMG_Cat.Jpeg", "p2");
    dir.makeDir("out");
    const std::string src = dir / "src/";
    const std::string out = dir / "out/";

    const CliResult result =
        runCli({"--names", "--mask", "*.j*", "--pattern", "one", "--rep", "1", "--replace",
                "--lower-ext", "--recurse", "--in-place", "--copy-to", out, src});

    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.outLines(),
              (Lines{
                  "Renamed " + src + "sub/IMG_Cat.Jpeg --> " + src + "sub/img_cat.jpeg",
                  "Created directory " + out + "sub/",
                  "Copied " + src + "sub/img_cat.jpeg --> " + out + "sub/img_cat.jpeg",
                  "Renamed " + src + "Photo One.JPG --> " + src + "photo 1.jpg",
                  "Copied " + src + "photo 1.jpg --> " + out + "photo 1.jpg",
                  "Processed 2 files (*.j*).",
                  "Morphed 2 unique files.",
              }));
    EXPECT_EQ(dir.list("src"), (Lines{"keep.png", "photo 1.jpg", "sub"}));
    EXPECT_EQ(dir.read("out/photo 1.jpg"), "p1");
    EXPECT_EQ(dir.read("out/sub/img_cat.jpeg"), "p2");
}

TEST(CliRun, AFailedOperationGivesExitStatusOne)
{
    TempDir dir;
    dir.write("src/A.txt", "upper");
    dir.write("src/a.txt", "lower");
    const std::string src = dir / "src/";

    const CliResult result = runCli({"--names", "--lower-file", "--in-place", src});

    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.outLines(),
              (Lines{
                  "Failed to rename " + src + "A.txt --> " + src + "a.txt: File exists",
                  "Processed 2 files (*.*).",
                  "Morphed 0 unique files.",
              }));
    EXPECT_EQ(dir.read("src/A.txt"), "upper");
    EXPECT_EQ(dir.read("src/a.txt"), "lower");
}

TEST(CliRun, EverySettingStartsOff)
{
    // Without --recurse the subfolder is not entered; without --lower-file,
    // --in-place or --copy-to a file-name run changes nothing.
    TempDir dir;
    dir.write("src/UP.TXT", "");
    dir.write("src/sub/DOWN.TXT", "");
    const CliResult result = runCli({"--names", dir / "src"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.outLines(), (Lines{"Processed 1 files (*.*).", "Morphed 0 unique files."}));
    EXPECT_EQ(dir.list("src"), (Lines{"UP.TXT", "sub"}));
}

} // namespace
} // namespace quarvel::test
