#include "platform/CopyRange.h"

#include "platform/FileDescriptor.h"
#include "tests/support/TempDir.h"

#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace quarvel {
namespace {

// The bytes that reached a pipe (which copy_file_range refuses, so the copy
// goes through the buffer) or a file (copied by the kernel).
std::string CopiedBy(bool toPipe, int from, std::int64_t offset, std::int64_t length,
                     Status& status)
{
    test::TempDir dir;
    int ends[2] = {-1, -1};
    if (toPipe) {
        EXPECT_EQ(::pipe(ends), 0);
    }
    const FileDescriptor out(toPipe ? ends[1]
                                    : ::open((dir / "out").c_str(), O_RDWR | O_CREAT, 0644));
    const FileDescriptor in(toPipe ? ends[0] : ::open((dir / "out").c_str(), O_RDONLY));
    status = copyRange(from, offset, length, out.get(), FaultHook(), dir / "out");
    char bytes[64] = {};
    const ssize_t got = toPipe ? (status ? ::read(in.get(), bytes, sizeof bytes) : 0)
                               : ::pread(in.get(), bytes, sizeof bytes, 0);
    return std::string(bytes, got > 0 ? std::size_t(got) : 0);
}

TEST(CopyRange, CopiesTheRangeInTheKernelOrThroughTheBuffer)
{
    test::TempDir dir;
    dir.write("src", "0123456789");
    const FileDescriptor src(::open((dir / "src").c_str(), O_RDONLY));
    for (const bool toPipe : {false, true}) {
        SCOPED_TRACE(toPipe ? "pipe" : "file");
        Status status;
        EXPECT_EQ(CopiedBy(toPipe, src.get(), 3, 5, status), "34567");
        EXPECT_TRUE(status);
        EXPECT_EQ(CopiedBy(toPipe, src.get(), 4, -1, status), "456789");
        EXPECT_TRUE(status);
        // A source shorter than the range has changed under the copy.
        CopiedBy(toPipe, src.get(), 8, 5, status);
        EXPECT_EQ(status.code(), EIO);
    }
}

} // namespace
} // namespace quarvel
