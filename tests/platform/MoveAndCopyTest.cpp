#include "platform/PosixFileSystem.h"
#include "tests/platform/PlatformTestSupport.h"
#include "tests/support/TempDir.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quarvel {
namespace {

using test::TempDir;
using Names = std::vector<std::string>;

TEST(MoveNoReplace, MovesAndNeverReplaces)
{
    TempDir dir;
    dir.write("a", "A");
    dir.write("b", "B");
    PosixFileSystem fs;
    EXPECT_EQ(fs.moveNoReplace(dir / "a", dir / "b").code(), EEXIST);
    EXPECT_EQ(dir.read("a"), "A");
    EXPECT_EQ(dir.read("b"), "B");

    ASSERT_TRUE(fs.moveNoReplace(dir / "a", dir / "c"));
    EXPECT_EQ(dir.list(), (Names{"b", "c"}));
    EXPECT_EQ(dir.read("c"), "A");

    EXPECT_EQ(fs.moveNoReplace(dir / "missing", dir / "d").code(), ENOENT);
    const Status tooLong = fs.moveNoReplace(dir / "c", dir / std::string(256, 'x'));
    EXPECT_EQ(tooLong.message(), "File name too long");
    EXPECT_EQ(dir.list(), (Names{"b", "c"}));
}

TEST(MoveNoReplace, AnExaminedMoveWorksInTheFolderListedLastUntilTheRunEnds)
{
    TempDir dir;
    dir.write("listed/a", "listed");
    PosixFileSystem fs;
    std::vector<DirEntry> entries;
    ASSERT_TRUE(fs.listFolder(dir / "listed/", "*", entries));
    // The folder is swapped for another of the same name after the listing:
    // the move still renames the entry that was listed.
    ASSERT_EQ(::rename((dir / "listed").c_str(), (dir / "moved").c_str()), 0);
    dir.write("listed/a", "newcomer");
    ASSERT_TRUE(fs.moveExamined(dir / "listed/a", dir / "listed/b", fileStateOf(dir / "listed/a")));
    EXPECT_EQ(dir.list("moved"), Names{"b"});
    EXPECT_EQ(fs.moveExamined(dir / "listed/a", dir / "listed/z", {}).code(), ENOENT);
    EXPECT_EQ(dir.list("listed"), Names{"a"});

    // Once the run is over (or elsewhere), paths name what they name now.
    fs.syncWritten();
    ASSERT_TRUE(fs.moveExamined(dir / "listed/a", dir / "listed/c", {}));
    EXPECT_EQ(dir.list("listed"), Names{"c"});
    ASSERT_TRUE(fs.listFolder(dir / "moved/", "*", entries));
    ASSERT_TRUE(fs.moveExamined(dir / "listed/c", dir / "moved/c", {}));
    EXPECT_EQ(dir.list("moved"), (Names{"b", "c"}));
}

TEST(MoveNoReplace, RefusesAnExistingLinkOrFolderToo)
{
    TempDir dir;
    dir.write("a", "A");
    ASSERT_EQ(::symlink("nowhere", (dir / "dangling").c_str()), 0);
    dir.makeDir("folder");
    PosixFileSystem fs;
    EXPECT_EQ(fs.moveNoReplace(dir / "a", dir / "dangling").code(), EEXIST);
    EXPECT_EQ(fs.moveNoReplace(dir / "a", dir / "folder").code(), EEXIST);
    EXPECT_EQ(dir.list(), (Names{"a", "dangling", "folder"}));
}

TEST(CopyFileNoReplace, CopiesContentAndNeverOverwrites)
{
    test::ScopedUmask umask(022);
    TempDir dir;
    std::string content(2 * 1024 * 1024 + 3, 'c'); // more than one copy chunk
    content[12345] = '\0';
    dir.write("src", content, 0750);
    dir.write("taken", "keep me");
    PosixFileSystem fs;

    EXPECT_EQ(fs.copyFileNoReplace(dir / "src", dir / "taken").code(), EEXIST);
    EXPECT_EQ(dir.read("taken"), "keep me");

    ASSERT_TRUE(fs.copyFileNoReplace(dir / "src", dir / "copy"));
    EXPECT_EQ(dir.read("copy"), content);
    EXPECT_EQ(dir.mode("copy"), 0750u);
    EXPECT_EQ(dir.read("src"), content);
}

TEST(CopyFileNoReplace, FailureRemovesOnlyThePartialCopy)
{
    TempDir dir;
    dir.write("src", "data");
    PosixFileSystem fs;
    fs.setFaultHook([](FaultPoint point, const std::string&) {
        return point == FaultPoint::Write ? Status::error(EIO) : Status::ok();
    });
    EXPECT_EQ(fs.copyFileNoReplace(dir / "src", dir / "copy").code(), EIO);
    EXPECT_EQ(dir.list(), Names{"src"});
}

TEST(CopyFileNoReplace, SpecialSourceIsNotOpenedForCopying)
{
    TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
    PosixFileSystem fs;
    EXPECT_EQ(fs.copyFileNoReplace(dir / "fifo", dir / "copy").code(), Status::kNotRegularFile);
    EXPECT_EQ(fs.copyFileNoReplace("/dev/zero", dir / "copy").code(), Status::kNotRegularFile);
    EXPECT_EQ(dir.list(), Names{"fifo"});
}

TEST(RemoveFile, RemovesFilesAndReportsWhy)
{
    TempDir dir;
    dir.write("f", "");
    dir.makeDir("folder");
    PosixFileSystem fs;
    ASSERT_TRUE(fs.removeFile(dir / "f"));
    EXPECT_EQ(fs.removeFile(dir / "f").code(), ENOENT);
    EXPECT_EQ(fs.removeFile(dir / "folder").code(), EISDIR);
    EXPECT_EQ(dir.list(), Names{"folder"});
}

} // namespace
} // namespace quarvel
