#include "platform/PosixFileSystem.h"
#include "tests/platform/PlatformTestSupport.h"
#include "tests/support/TempDir.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quarvel {
namespace {

using test::StringSink;
using test::TempDir;

TEST(ReadFile, ReadsEveryByteOfSmallAndLargeFiles)
{
    TempDir dir;
    std::string large(3 * 256 * 1024 + 17, '\0'); // several read chunks, ragged end
    for (std::size_t i = 0; i < large.size(); ++i)
        large[i] = static_cast<char>(i * 7);
    dir.write("large.bin", large);
    dir.write("empty", "");
    dir.write("crlf.txt", std::string("a\r\nb\r\n\0c", 8));

    PosixFileSystem fs;
    for (const char* name : {"large.bin", "empty", "crlf.txt"}) {
        StringSink sink;
        ASSERT_TRUE(fs.readFile(dir / name, false, sink)) << name;
        EXPECT_EQ(sink.content, dir.read(name)) << name;
        EXPECT_EQ(sink.reserveCalls, 1) << name;
    }
}

TEST(ReadFile, FifoIsRefusedWithoutBlocking)
{
    TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
    PosixFileSystem fs;
    StringSink sink;
    // No writer ever opens the FIFO: a blocking open would hang here.
    EXPECT_EQ(fs.readFile(dir / "fifo", false, sink).code(), Status::kNotRegularFile);
    EXPECT_EQ(fs.readFile(dir / "fifo", true, sink).code(), Status::kNotRegularFile);
    EXPECT_EQ(sink.reserveCalls, 0);
}

TEST(ReadFile, OtherEntriesThatAreNotFiles)
{
    TempDir dir;
    dir.makeDir("sub");
    PosixFileSystem fs;
    StringSink sink;
    EXPECT_EQ(fs.readFile(dir / "sub", false, sink).code(), EISDIR);
    EXPECT_EQ(fs.readFile("/dev/zero", false, sink).code(), Status::kNotRegularFile);
    EXPECT_EQ(fs.readFile(dir / "missing", false, sink).code(), ENOENT);
    EXPECT_EQ(sink.reserveCalls, 0);
}

TEST(ReadFile, SymbolicLinkFollowedOnlyWhenAsked)
{
    TempDir dir;
    dir.write("target", "content");
    ASSERT_EQ(::symlink("target", (dir / "link").c_str()), 0);
    PosixFileSystem fs;
    StringSink refused;
    EXPECT_EQ(fs.readFile(dir / "link", false, refused).code(), ELOOP);
    StringSink followed;
    ASSERT_TRUE(fs.readFile(dir / "link", true, followed));
    EXPECT_EQ(followed.content, "content");
}

TEST(ReadFile, TooLargeForTheSinkIsOutOfMemory)
{
    TempDir dir;
    dir.write("f", std::string(100, 'x'));
    PosixFileSystem fs;
    StringSink small(99);
    const Status read = fs.readFile(dir / "f", false, small);
    EXPECT_EQ(read.code(), ENOMEM);
    EXPECT_EQ(read.message(), "Cannot allocate memory");
    EXPECT_TRUE(small.content.empty());
}

TEST(ReadFile, FileSwappedForFifoAfterListingIsRefused)
{
    TempDir dir;
    dir.write("data.txt", "x");
    PosixFileSystem fs;
    fs.setFaultHook([](FaultPoint point, const std::string& path) {
        if (point == FaultPoint::Open) {
            ::unlink(path.c_str());
            ::mkfifo(path.c_str(), 0644);
        }
        return Status::ok();
    });
    StringSink sink;
    EXPECT_EQ(fs.readFile(dir / "data.txt", false, sink).code(), Status::kNotRegularFile);
}

} // namespace
} // namespace quarvel
