#include "platform/PosixFileSystem.h"
#include "tests/platform/PlatformTestSupport.h"
#include "tests/support/TempDir.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quarvel {
namespace {

using test::StringSink;
using test::TempDir;

// A folder chain below a temporary folder whose full path is well beyond
// PATH_MAX, built with mkdirat so that no long path is ever needed to make it.
class LongPath : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const std::string level(200, 'd');
        m_deep = m_dir.path();
        int fd = ::open(m_dir.path().c_str(), O_PATH | O_DIRECTORY);
        for (int i = 0; i < 25; ++i) {
            const std::string name = level + std::to_string(i % 10);
            ASSERT_EQ(::mkdirat(fd, name.c_str(), 0755), 0);
            const int child = ::openat(fd, name.c_str(), O_PATH | O_DIRECTORY);
            ::close(fd);
            fd = child;
            m_deep += name + "/";
        }
        m_deepFd = fd;
        ASSERT_GT(m_deep.size(), 5000u);
        putFile("file.txt", "deep content");
    }
    void TearDown() override { ::close(m_deepFd); }

    void putFile(const std::string& name, const std::string& content)
    {
        const int fd = ::openat(m_deepFd, name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0640);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, content.data(), content.size()),
                  static_cast<ssize_t>(content.size()));
        ::close(fd);
    }
    bool deepExists(const std::string& name) const
    {
        struct stat st;
        return ::fstatat(m_deepFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
    }
    std::string readDeep(const std::string& name)
    {
        StringSink sink;
        EXPECT_TRUE(fs.readFile(m_deep + name, false, sink)) << name;
        return sink.content;
    }

    TempDir m_dir;
    std::string m_deep; // ends with '/'
    int m_deepFd = -1;
    PosixFileSystem fs;
};

TEST_F(LongPath, ListReadAndCreateBelowTheLimit)
{
    std::vector<DirEntry> entries;
    ASSERT_TRUE(fs.listFolder(m_deep, "*.txt", entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "file.txt");
    EXPECT_EQ(readDeep("file.txt"), "deep content");

    EXPECT_TRUE(fs.folderExists(m_deep));
    ASSERT_TRUE(fs.createFolder(m_deep + "new/"));
    EXPECT_TRUE(fs.folderExists(m_deep + "new/"));
    EXPECT_EQ(fs.createFolder(m_deep + "a/b/").code(), ENOENT);
}

TEST_F(LongPath, WritesMovesCopiesAndRemoves)
{
    ASSERT_TRUE(fs.rewriteFile(m_deep + "file.txt", m_deep + "file.txt", "rewritten"));
    EXPECT_EQ(readDeep("file.txt"), "rewritten");
    ASSERT_TRUE(fs.rewriteFile(m_deep + "file.txt", m_deep + "renamed.txt", "renamed"));
    EXPECT_FALSE(deepExists("file.txt"));
    EXPECT_EQ(readDeep("renamed.txt"), "renamed");

    ASSERT_TRUE(fs.writeCopy(m_deep + "renamed.txt", m_deep + "copy.txt", "copied"));
    EXPECT_EQ(readDeep("copy.txt"), "copied");
    ASSERT_TRUE(fs.copyFileNoReplace(m_deep + "copy.txt", m_deep + "copy2.txt"));
    EXPECT_EQ(readDeep("copy2.txt"), "copied");
    EXPECT_EQ(fs.copyFileNoReplace(m_deep + "copy.txt", m_deep + "copy2.txt").code(), EEXIST);

    // Out of the deep folder to a short path and back in.
    ASSERT_TRUE(fs.moveNoReplace(m_deep + "copy2.txt", m_dir / "up.txt"));
    EXPECT_EQ(m_dir.read("up.txt"), "copied");
    ASSERT_TRUE(fs.moveNoReplace(m_dir / "up.txt", m_deep + "down.txt"));
    EXPECT_EQ(fs.moveNoReplace(m_deep + "down.txt", m_deep + "copy.txt").code(), EEXIST);

    ASSERT_TRUE(fs.removeFile(m_deep + "down.txt"));
    EXPECT_FALSE(deepExists("down.txt"));
    std::vector<DirEntry> entries;
    ASSERT_TRUE(fs.listFolder(m_deep, "*", entries));
    EXPECT_EQ(entries.size(), 4u); // ".", "..", renamed.txt, copy.txt: no temporary file
    fs.syncWritten();
}

TEST_F(LongPath, NamesThatNoFolderCanHoldAreTooLong)
{
    const Status tooLong = fs.rewriteFile(m_deep + "file.txt", m_deep + std::string(256, 'x'), "");
    EXPECT_EQ(tooLong.message(), "File name too long");
    EXPECT_EQ(readDeep("file.txt"), "deep content");

    // A single name beyond PATH_MAX cannot be reached in steps at all.
    StringSink sink;
    EXPECT_EQ(fs.readFile(m_dir / std::string(PATH_MAX + 10, 'y') + "/f", false, sink).code(),
              ENAMETOOLONG);
    EXPECT_FALSE(fs.folderExists(m_deep + std::string(300, 'z') + "/"));
}

} // namespace
} // namespace quarvel
