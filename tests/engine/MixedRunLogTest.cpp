// The text log of mixed runs, byte for byte: both modes, in place and as
// copies, new output folders, refusals, failures and skipped entries.

#include "tests/support/EngineFixture.h"
#include "tests/support/FaultFileSystem.h"
#include "tests/support/SortedListingFileSystem.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace quarvel::test {
namespace {

using Lines = std::vector<std::string>;

struct MixedRunLogTest : ::testing::Test
{
    MixedRunLogTest()
    {
        f.settings.Interactive = 1;
        f.settings.Copy = 1;
        f.settings.Rename = 1;
    }
    std::string src(const std::string& name) const { return f.dir / ("src/" + name); }
    std::string out(const std::string& name) const { return f.dir / ("out/" + name); }

    EngineFixture f;
    SortedListingFileSystem sorted{f.fs};
    FaultFileSystem faulty{sorted};
};

TEST_F(MixedRunLogTest, FileDataRun)
{
    f.dir.write("src/sub/Deep.TXT", "cat");
    f.dir.write("src/a.txt", "cat cat");
    f.dir.write("src/b.txt", "cat");
    f.dir.write("src/c.txt", "no match");
    f.dir.write("src/d.txt", "cat");
    ASSERT_EQ(::mkfifo(src("e.fifo").c_str(), 0644), 0);
    f.settings.SearchMode = 0;
    f.settings.LowerFile = 1;
    f.settings.LowerExt = 1;
    f.dir.makeDir("out");
    f.settings.Pattern = "cat";
    f.settings.RepPattern = "dog";
    // Deep.TXT: both, creating out/sub/; a.txt: both; b.txt: the rewrite
    // refused, the copy fails; d.txt: the read fails.
    f.window.answers = {ConfirmResult::Yes, ConfirmResult::Yes, ConfirmResult::Yes,
                        ConfirmResult::Yes, ConfirmResult::Yes, ConfirmResult::No,
                        ConfirmResult::Yes};
    faulty.failWhen = [this](FsOperation op, const std::string& path) {
        if (op == FsOperation::WriteCopy && path == out("b.txt"))
            return Status::error(ENOSPC);
        if (op == FsOperation::Read && path == src("d.txt"))
            return Status::error(EACCES);
        return Status::ok();
    };
    f.run(faulty);
    EXPECT_EQ(f.logLines(),
              (Lines{
                  "Updated file " + src("sub/deep.txt") + " (1 changes)",
                  "Created directory " + out("sub/"),
                  "Created file " + out("sub/deep.txt") + " (1 changes)",
                  "Updated file " + src("a.txt") + " (2 changes)",
                  "Created file " + out("a.txt") + " (2 changes)",
                  "User cancelled file morph --> " + src("b.txt"),
                  "Failed to create file " + out("b.txt") + ": No space left on device",
                  "Failed to read file " + src("d.txt") + ": Permission denied",
                  "Skipped special file " + src("e.fifo"),
                  "Processed 6 files (*.*).",
                  "Morphed 2 unique files.",
              }));
    EXPECT_EQ(f.log.failureCount(), 2);
}

TEST_F(MixedRunLogTest, FileNameRun)
{
    f.dir.write("src/A.txt", "1");
    f.dir.write("src/B.txt", "2");
    f.dir.write("src/C.txt", "3");
    f.dir.write("src/c.txt", "taken");
    f.dir.write("src/D.txt", "4");
    f.dir.write("out/d.txt", "an earlier copy");
    f.settings.SearchMode = 1;
    f.settings.LowerFile = 1;
    // A.txt: renamed and copied (out/ exists); B.txt: the rename refused, then
    // Yes All; C.txt: the rename fails (c.txt is taken), its copy goes ahead;
    // D.txt: the copy finds an earlier one.
    f.window.answers = {ConfirmResult::Yes, ConfirmResult::Yes, ConfirmResult::No,
                        ConfirmResult::YesAll};
    f.run(sorted);
    EXPECT_EQ(f.logLines(),
              (Lines{
                  "Renamed " + src("A.txt") + " --> " + src("a.txt"),
                  "Copied " + src("a.txt") + " --> " + out("a.txt"),
                  "User cancelled file morph --> " + src("B.txt"),
                  "User confirmed all operations",
                  "Copied " + src("B.txt") + " --> " + out("b.txt"),
                  "Failed to rename " + src("C.txt") + " --> " + src("c.txt") + ": File exists",
                  "Copied " + src("C.txt") + " --> " + out("c.txt"),
                  "Renamed " + src("D.txt") + " --> " + src("d.txt"),
                  "Failed to copy " + src("d.txt") + " --> " + out("d.txt") + ": File exists",
                  "Processed 5 files (*.*).",
                  "Morphed 4 unique files.",
              }));
    EXPECT_EQ(f.settings.Interactive, 0);
}

} // namespace
} // namespace quarvel::test
