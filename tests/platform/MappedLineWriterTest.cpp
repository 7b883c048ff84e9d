#include "platform/MappedLineWriter.h"

#include "platform/FileDescriptor.h"
#include "tests/support/TempDir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quarvel {
namespace {

using test::TempDir;

// Lines of varied length, enough to need several mapped stretches.
std::string lineNumber(int i)
{
    return "entry " + std::to_string(i) + '\t' +
           std::string(static_cast<std::size_t>(i % 300), 'x');
}

constexpr int kLines = 12000; // about 2 MB

off_t sizeOf(int fd)
{
    struct stat st;
    return ::fstat(fd, &st) == 0 ? st.st_size : -1;
}

TEST(MappedLineWriter, LinesAcrossStretchesEndAsTheExactContent)
{
    TempDir dir;
    dir.write("journal", "first\n");
    FileDescriptor fd(::open((dir / "journal").c_str(), O_RDWR | O_CLOEXEC));
    std::string expected = "first\n";
    {
        MappedLineWriter lines(fd.get());
        for (int i = 0; i < kLines; ++i) {
            ASSERT_TRUE(lines.append(lineNumber(i)));
            expected += lineNumber(i) + '\n';
            if (i == kLines / 2) {
                // A flush half-way: appending goes on after it.
                ASSERT_TRUE(lines.finish());
                EXPECT_EQ(sizeOf(fd.get()), static_cast<off_t>(expected.size()));
            }
        }
        EXPECT_EQ(lines.length(), expected.size());
        EXPECT_GT(sizeOf(fd.get()), static_cast<off_t>(expected.size())); // still reserved
    }
    EXPECT_EQ(dir.read("journal"), expected);
}

TEST(MappedLineWriter, AKilledWriterLeavesEveryLineThenPaddingOnly)
{
    TempDir dir;
    dir.write("journal", "");
    FileDescriptor fd(::open((dir / "journal").c_str(), O_RDWR | O_CLOEXEC));
    const pid_t child = ::fork();
    if (child == 0) {
        MappedLineWriter lines(fd.get());
        for (int i = 0; i < kLines; ++i)
            lines.append(lineNumber(i));
        ::_exit(0); // no finish: as if killed
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    const std::string text = dir.read("journal");
    const std::size_t end = text.rfind('\n') + 1;
    std::string expected;
    for (int i = 0; i < kLines; ++i)
        expected += lineNumber(i) + '\n';
    EXPECT_EQ(text.substr(0, end), expected);
    EXPECT_GT(text.size(), end);
    EXPECT_EQ(text.find_first_not_of('\0', end), std::string::npos);
}

} // namespace
} // namespace quarvel
