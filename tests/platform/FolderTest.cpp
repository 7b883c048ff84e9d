#include "platform/PosixFileSystem.h"
#include "tests/platform/PlatformTestSupport.h"
#include "tests/support/TempDir.h"

#include <cerrno>
#include <cstdlib>
#include <gtest/gtest.h>
#include <unistd.h>

namespace quarvel {
namespace {

using test::TempDir;

TEST(Folders, CreateMakesOneLevelOnly)
{
    test::ScopedUmask umask(027);
    TempDir dir;
    PosixFileSystem fs;
    EXPECT_EQ(fs.createFolder(dir / "missing/child/").code(), ENOENT);
    EXPECT_FALSE(fs.folderExists(dir / "missing/"));

    ASSERT_TRUE(fs.createFolder(dir / "level/"));
    ASSERT_TRUE(fs.createFolder(dir / "level/child"));
    EXPECT_TRUE(fs.folderExists(dir / "level/child/"));
    EXPECT_EQ(dir.mode("level"), 0750u);
    EXPECT_EQ(fs.createFolder(dir / "level").code(), EEXIST);
}

TEST(Folders, ExistenceFollowsLinksButFilesAreNotFolders)
{
    TempDir dir;
    dir.makeDir("real");
    dir.write("file", "");
    ASSERT_EQ(::symlink("real", (dir / "link").c_str()), 0);
    PosixFileSystem fs;
    EXPECT_TRUE(fs.folderExists(dir / "real"));
    EXPECT_TRUE(fs.folderExists(dir / "link/"));
    EXPECT_FALSE(fs.folderExists(dir / "file"));
    EXPECT_FALSE(fs.folderExists(dir / "nothing"));
}

// Sets $HOME for one test.
class HomeFolder : public ::testing::Test
{
protected:
    void TearDown() override
    {
        if (m_saved.empty())
            ::unsetenv("HOME");
        else
            ::setenv("HOME", m_saved.c_str(), 1);
    }
    void setHome(const char* home) { ::setenv("HOME", home, 1); }

private:
    std::string m_saved = std::getenv("HOME") ? std::getenv("HOME") : "";
};

TEST_F(HomeFolder, RootsAreTheRootThenHome)
{
    PosixFileSystem fs;
    setHome("/home/ann/");
    EXPECT_EQ(fs.roots(), (std::vector<std::string>{"/", "/home/ann"}));
    setHome("/home/ann");
    EXPECT_EQ(fs.roots(), (std::vector<std::string>{"/", "/home/ann"}));
    setHome("/");
    EXPECT_EQ(fs.roots(), std::vector<std::string>{"/"});
    ::unsetenv("HOME");
    EXPECT_EQ(fs.roots(), std::vector<std::string>{"/"});
}

} // namespace
} // namespace quarvel
