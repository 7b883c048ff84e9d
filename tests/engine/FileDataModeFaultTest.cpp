#include "tests/engine/FileDataModeFixture.h"
#include "tests/support/FaultFileSystem.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

namespace quarvel::test {
namespace {

using Lines = std::vector<std::string>;

// Sets or clears the immutable attribute (chattr +i); false when the file
// system or the user's rights do not allow it.
bool setImmutable(const std::string& path, bool on)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

// A tmpfs of `size` mounted over a folder for the life of the object.
struct SmallTmpfs
{
    SmallTmpfs(const std::string& folder, const char* size) : folder(folder)
    {
        mounted = ::mount("tmpfs", folder.c_str(), "tmpfs", 0, size) == 0;
    }
    ~SmallTmpfs()
    {
        if (mounted)
            ::umount2(folder.c_str(), MNT_DETACH);
    }
    std::string folder;
    bool mounted = false;
};

TEST_F(FileDataTest, WriteFailureMidwayDoesNotStopTheFolder)
{
    for (const char* name : {"a", "b", "c", "d"})
        dir.write(std::string("src/") + name, "cat");
    FaultFileSystem faulty(fs);
    faulty.failNth(FsOperation::Rewrite, 2, EIO);
    runSorted(faulty);
    EXPECT_EQ(operationLines(), (Lines{"Updated file " + src("a") + " (1 changes)",
                                       "Failed to update file " + src("b") + ": Input/output error",
                                       "Updated file " + src("c") + " (1 changes)",
                                       "Updated file " + src("d") + " (1 changes)"}));
    EXPECT_EQ(dir.read("src/b"), "cat");
    EXPECT_EQ(dir.read("src/d"), "dog");
    EXPECT_EQ(summaryMorphed(), "Morphed 3 unique files.");
    EXPECT_EQ(log.failureCount(), 1);
}

TEST_F(FileDataTest, ImmutableFileStaysAsItWasAndItsCopyIsWritten)
{
    settings.Copy = 1;
    dir.makeDir("out");
    dir.write("src/ro.txt", "cat");
    if (!setImmutable(src("ro.txt"), true))
        GTEST_SKIP() << "chattr +i not possible here";
    run();
    setImmutable(src("ro.txt"), false);
    EXPECT_EQ(dir.read("src/ro.txt"), "cat");
    EXPECT_EQ(dir.read("out/ro.txt"), "dog");
    EXPECT_EQ(operationLines(),
              (Lines{"Failed to update file " + src("ro.txt") + ": Operation not permitted",
                     "Created file " + out("ro.txt") + " (1 changes)"}));
    EXPECT_EQ(dir.list("src"), Lines{"ro.txt"}) << "temporary file left behind";
    EXPECT_EQ(summaryMorphed(), "Morphed 1 unique file.");
}

TEST_F(FileDataTest, FailedCopyIsLoggedAndNotCounted)
{
    settings.Copy = 1;
    dir.makeDir("out");
    dir.write("src/a", "cat");
    FaultFileSystem faulty(fs);
    faulty.failWhen = [](FsOperation op, const std::string&) {
        return op == FsOperation::Rewrite || op == FsOperation::WriteCopy ? Status::error(ENOSPC)
                                                                          : Status::ok();
    };
    run(faulty);
    EXPECT_EQ(operationLines(),
              (Lines{"Failed to update file " + src("a") + ": No space left on device",
                     "Failed to create file " + out("a") + ": No space left on device"}));
    EXPECT_EQ(summaryMorphed(), "Morphed 0 unique files.");
    EXPECT_EQ(dir.list("out"), Lines{});
}

TEST_F(FileDataTest, FullFileSystemKeepsEveryOriginal)
{
    SmallTmpfs tmpfs(src(""), "size=1m");
    if (!tmpfs.mounted)
        GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
    // Three large files leave too little room for a second copy of any of
    // them; the small one still fits.
    std::string large(300 * 1024, 'x');
    large.replace(1000, 3, "cat");
    for (const char* name : {"l1", "l2", "l3"})
        dir.write(std::string("src/") + name, large);
    dir.write("src/small", "cat");
    runSorted();
    Lines expected;
    for (const char* name : {"l1", "l2", "l3"}) {
        EXPECT_TRUE(dir.read(std::string("src/") + name) == large) << name;
        expected.push_back("Failed to update file " + src(name) + ": No space left on device");
    }
    expected.push_back("Updated file " + src("small") + " (1 changes)");
    EXPECT_EQ(operationLines(), expected);
    EXPECT_EQ(dir.read("src/small"), "dog");
    EXPECT_EQ(dir.list("src"), (Lines{"l1", "l2", "l3", "small"}));
    EXPECT_EQ(log.failureCount(), 3);
}

TEST_F(FileDataTest, UnreadableFileIsAFailureLine)
{
    dir.write("src/a", "cat");
    dir.write("src/b", "cat");
    FaultFileSystem faulty(fs);
    faulty.failNth(FsOperation::Read, 1, EACCES);
    runSorted(faulty);
    EXPECT_EQ(operationLines(), (Lines{"Failed to read file " + src("a") + ": Permission denied",
                                       "Updated file " + src("b") + " (1 changes)"}));
    EXPECT_EQ(state.filesProcessed, 2);
}

TEST_F(FileDataTest, SpecialFilesAreCountedButNeverOpened)
{
    ASSERT_EQ(::mkfifo(src("fifo").c_str(), 0644), 0);
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, src("sock").c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const bool device = ::mknod(src("zero").c_str(), S_IFCHR | 0644, makedev(1, 5)) == 0;
    dir.write("src/zzz", "cat");
    runSorted();
    ::close(sock);
    Lines expected = {"Skipped special file " + src("fifo"), "Skipped special file " + src("sock")};
    if (device)
        expected.push_back("Skipped special file " + src("zero"));
    expected.push_back("Updated file " + src("zzz") + " (1 changes)");
    EXPECT_EQ(operationLines(), expected);
    EXPECT_EQ(state.filesProcessed, device ? 4 : 3);
    EXPECT_EQ(log.failureCount(), 0);
}

TEST_F(FileDataTest, FileSwappedForAFifoAfterTheListingIsSkipped)
{
    dir.write("src/a", "cat");
    FaultFileSystem faulty(fs);
    faulty.failWhen = [this](FsOperation op, const std::string& path) {
        if (op == FsOperation::Read) {
            ::unlink(path.c_str());
            ::mkfifo(path.c_str(), 0644);
        }
        return Status::ok();
    };
    run(faulty);
    EXPECT_EQ(operationLines(), Lines{"Skipped special file " + src("a")});
    EXPECT_EQ(log.failureCount(), 0);
}

TEST_F(FileDataTest, FileTooLargeToHoldIsLeftUntouched)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's allocator aborts instead of refusing";
#endif
    // A sparse file far larger than this machine's memory.
    const int fd = ::open(src("huge").c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    const bool sized = ::ftruncate(fd, off_t{4} << 40) == 0;
    ::close(fd);
    if (!sized)
        GTEST_SKIP() << "no sparse file of 4 TiB here";
    dir.write("src/small", "cat");
    // A file system that holds whole contents in memory (the real one
    // streams them in constant memory).
    FaultFileSystem wholeContents(fs);
    runSorted(wholeContents);
    EXPECT_EQ(operationLines(),
              (Lines{"Failed to read file " + src("huge") + ": Cannot allocate memory",
                     "Updated file " + src("small") + " (1 changes)"}));
    struct stat st;
    ASSERT_EQ(::stat(src("huge").c_str(), &st), 0);
    EXPECT_EQ(st.st_size, off_t{4} << 40);
    EXPECT_EQ(st.st_blocks, 0);
}

} // namespace
} // namespace quarvel::test
