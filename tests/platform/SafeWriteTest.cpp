#include "platform/PosixFileSystem.h"
#include "platform/TemporaryName.h"
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

// Every case runs with O_TMPFILE temporary files and with named ones.
class SafeWrite : public ::testing::TestWithParam<bool>
{
protected:
    SafeWrite() { fs.setAnonymousTemporaryFiles(GetParam()); }

    // Makes every call at `point` fail with ENOSPC.
    void failAt(FaultPoint failing)
    {
        fs.setFaultHook([failing](FaultPoint point, const std::string&) {
            return point == failing ? Status::error(ENOSPC) : Status::ok();
        });
    }

    test::ScopedUmask umask{022};
    TempDir dir;
    PosixFileSystem fs;
};

INSTANTIATE_TEST_SUITE_P(TemporaryFiles, SafeWrite, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Anonymous" : "Named"; });

TEST_P(SafeWrite, RewriteInPlaceKeepsModeAndLeavesOnlyTheFile)
{
    for (const unsigned mode : {0600u, 0755u, 0444u, 0640u}) {
        dir.write("f.txt", "old content", mode);
        ASSERT_TRUE(fs.rewriteFile(dir / "f.txt", dir / "f.txt", "new")) << std::oct << mode;
        EXPECT_EQ(dir.read("f.txt"), "new");
        EXPECT_EQ(dir.mode("f.txt"), mode);
        EXPECT_EQ(dir.list(), Names{"f.txt"});
    }
    fs.syncWritten();
}

TEST_P(SafeWrite, RewriteKeepsOwnerAndThenSetIdBits)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "changing a file's owner needs root";
    dir.write("tool", "old", 0644);
    ASSERT_EQ(::chown((dir / "tool").c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chmod((dir / "tool").c_str(), 06755), 0);
    ASSERT_TRUE(fs.rewriteFile(dir / "tool", dir / "tool", "new"));
    struct stat st;
    ASSERT_EQ(::stat((dir / "tool").c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
    EXPECT_EQ(st.st_mode & 07777, 06755u); // chown before chmod kept the set-ID bits
}

TEST_P(SafeWrite, InjectedFailureLeavesTheOriginalAndNoTemporaryFile)
{
    for (const FaultPoint point : {FaultPoint::Write, FaultPoint::Place}) {
        dir.write("f.txt", "original", 0600);
        failAt(point);
        EXPECT_EQ(fs.rewriteFile(dir / "f.txt", dir / "f.txt", "replacement").code(), ENOSPC);
        EXPECT_EQ(fs.rewriteFile(dir / "f.txt", dir / "g.txt", "replacement").code(), ENOSPC);
        EXPECT_EQ(fs.writeCopy(dir / "f.txt", dir / "f.txt", "replacement").code(), ENOSPC);
        EXPECT_EQ(dir.read("f.txt"), "original");
        EXPECT_EQ(dir.mode("f.txt"), 0600u);
        EXPECT_EQ(dir.list(), Names{"f.txt"});
    }
}

TEST_P(SafeWrite, SourceThatCannotGoTakesTheNewFileAway)
{
    dir.write("NOTES.TXT", "original");
    failAt(FaultPoint::RemoveSource);
    EXPECT_EQ(fs.rewriteFile(dir / "NOTES.TXT", dir / "notes.txt", "new").code(), ENOSPC);
    EXPECT_EQ(dir.list(), Names{"NOTES.TXT"});
    EXPECT_EQ(dir.read("NOTES.TXT"), "original");
}

TEST_P(SafeWrite, RewriteUnderNewNameLeavesOneFile)
{
    dir.write("NOTES.TXT", "original", 0750);
    ASSERT_TRUE(fs.rewriteFile(dir / "NOTES.TXT", dir / "notes.txt", "new"));
    EXPECT_EQ(dir.list(), Names{"notes.txt"});
    EXPECT_EQ(dir.read("notes.txt"), "new");
    EXPECT_EQ(dir.mode("notes.txt"), 0750u);
}

TEST_P(SafeWrite, RewriteNeverReplacesAnotherFileOfTheNewName)
{
    dir.write("NOTES.TXT", "source");
    dir.write("notes.txt", "someone else's");
    EXPECT_EQ(fs.rewriteFile(dir / "NOTES.TXT", dir / "notes.txt", "new").code(), EEXIST);
    EXPECT_EQ(dir.read("NOTES.TXT"), "source");
    EXPECT_EQ(dir.read("notes.txt"), "someone else's");
    EXPECT_EQ(dir.list(), (Names{"NOTES.TXT", "notes.txt"}));
}

TEST_P(SafeWrite, RewriteRefusesWhatIsNotARegularFile)
{
    dir.write("target", "content");
    ASSERT_EQ(::symlink("target", (dir / "link").c_str()), 0);
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
    EXPECT_EQ(fs.rewriteFile(dir / "link", dir / "link", "new").code(), Status::kIsSymbolicLink);
    EXPECT_EQ(fs.rewriteFile(dir / "fifo", dir / "fifo", "new").code(), Status::kNotRegularFile);
    EXPECT_EQ(fs.rewriteFile(dir / "gone", dir / "gone", "new").code(), ENOENT);
    EXPECT_EQ(dir.read("link"), "content");
    EXPECT_EQ(dir.list(), (Names{"fifo", "link", "target"}));
}

TEST_P(SafeWrite, HardLinkedNameGetsTheNewContentAlone)
{
    dir.write("a", "old");
    ASSERT_EQ(::link((dir / "a").c_str(), (dir / "b").c_str()), 0);
    ASSERT_TRUE(fs.rewriteFile(dir / "a", dir / "a", "new"));
    EXPECT_EQ(dir.read("a"), "new");
    EXPECT_EQ(dir.read("b"), "old");
}

TEST_P(SafeWrite, CopyIsNeverWiderThanItsSource)
{
    struct Case
    {
        unsigned source, copy;
    };
    // The umask is 022; set-ID bits never pass to a copy, which we own.
    for (const Case c : {Case{0600, 0600}, Case{0755, 0755}, Case{0666, 0644}, Case{04755, 0755},
                         Case{0400, 0400}}) {
        dir.write("src", "x", c.source);
        dir.write("out", "previous copy", 0666); // replaced, its bits not kept
        ASSERT_TRUE(fs.writeCopy(dir / "src", dir / "out", "copy")) << std::oct << c.source;
        EXPECT_EQ(dir.read("out"), "copy");
        EXPECT_EQ(dir.mode("out"), c.copy) << std::oct << c.source;
        ASSERT_TRUE(fs.writeCopy(dir / "src", dir / "fresh", "copy"));
        EXPECT_EQ(dir.mode("fresh"), c.copy) << std::oct << c.source;
        ::unlink((dir / "fresh").c_str());
    }
    // A source that cannot be examined gives an ordinary new file.
    ASSERT_TRUE(fs.writeCopy(dir / "missing", dir / "lost", "copy"));
    EXPECT_EQ(dir.mode("lost"), 0644u);
}

TEST_P(SafeWrite, CopyNeverReplacesALinkOrAFolder)
{
    dir.write("src", "x");
    dir.write("elsewhere", "kept");
    ASSERT_EQ(::symlink("elsewhere", (dir / "link").c_str()), 0);
    dir.makeDir("folder");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
    EXPECT_EQ(fs.writeCopy(dir / "src", dir / "link", "new").code(), Status::kIsSymbolicLink);
    EXPECT_EQ(fs.writeCopy(dir / "src", dir / "folder", "new").code(), EISDIR);
    EXPECT_EQ(fs.writeCopy(dir / "src", dir / "fifo", "new").code(), Status::kNotRegularFile);
    char target[64] = {};
    ASSERT_GT(::readlink((dir / "link").c_str(), target, sizeof target - 1), 0);
    EXPECT_STREQ(target, "elsewhere");
    EXPECT_EQ(dir.read("elsewhere"), "kept");
    EXPECT_EQ(dir.list(), (Names{"elsewhere", "fifo", "folder", "link", "src"}));
}

TEST_P(SafeWrite, NameLongerThan255BytesIsTooLong)
{
    dir.write("src", "original");
    const std::string longName(256, 'n');
    const Status rewritten = fs.rewriteFile(dir / "src", dir / longName, "new");
    EXPECT_EQ(rewritten.code(), ENAMETOOLONG);
    EXPECT_EQ(rewritten.message(), "File name too long");
    EXPECT_EQ(fs.writeCopy(dir / "src", dir / longName, "new").code(), ENAMETOOLONG);
    EXPECT_EQ(dir.list(), Names{"src"});
    EXPECT_EQ(dir.read("src"), "original");

    ASSERT_TRUE(fs.rewriteFile(dir / "src", dir / std::string(255, 'n'), "new"));
    EXPECT_EQ(dir.list(), Names{std::string(255, 'n')});
}

TEST_P(SafeWrite, TemporaryFileIsHiddenFromListingsWhileWritten)
{
    dir.write("f.txt", "original");
    Names seenRaw;
    std::vector<DirEntry> listed;
    fs.setFaultHook([&](FaultPoint point, const std::string&) {
        if (point == FaultPoint::Place) {
            seenRaw = dir.list();
            fs.listFolder(dir.path(), "*", listed);
        }
        return Status::ok();
    });
    ASSERT_TRUE(fs.rewriteFile(dir / "f.txt", dir / "f.txt", "new"));
    // A named temporary file is there (an anonymous one has no name yet),
    // but listings never show it.
    ASSERT_EQ(seenRaw.size(), GetParam() ? 1u : 2u);
    if (!GetParam()) {
        EXPECT_TRUE(isTemporaryName(seenRaw[0])) << seenRaw[0];
    }
    EXPECT_EQ(listed.size(), 3u); // ".", "..", "f.txt"
}

TEST_P(SafeWrite, FullFileSystemLeavesTheOriginal)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "mounting a tmpfs needs root";
    dir.makeDir("small");
    test::SmallTmpfs tmpfs(dir / "small");
    if (!tmpfs.mounted())
        GTEST_SKIP() << "cannot mount a tmpfs here";
    const std::string original(700 * 1024, 'o');
    dir.write("small/big", original, 0600);
    const std::string replacement(700 * 1024, 'r');

    EXPECT_EQ(fs.rewriteFile(dir / "small/big", dir / "small/big", replacement).code(), ENOSPC);
    EXPECT_EQ(fs.writeCopy(dir / "small/big", dir / "small/copy", replacement).code(), ENOSPC);
    EXPECT_EQ(dir.read("small/big"), original);
    EXPECT_EQ(dir.mode("small/big"), 0600u);
    EXPECT_EQ(dir.list("small"), Names{"big"});
}

} // namespace
} // namespace quarvel
