#include "engine/DirectoryWalk.h"

#include "platform/PosixFileSystem.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quarvel {
namespace {

struct WalkTest : ::testing::Test
{
    // Walks <tmp>/src/ and returns the relative paths in the order the step saw them.
    std::vector<std::string> walk(bool recurse = true, std::string excluded = "")
    {
        WalkOptions options;
        options.startDir = dir / "src/";
        options.recurse = recurse;
        options.excludedRelative = std::move(excluded);
        visited.clear();
        total = WalkDirectory(fs, options, [this](const std::string& relative) {
            visited.push_back(relative);
            return 1;
        });
        return visited;
    }

    std::size_t position(const std::string& relative) const
    {
        return std::find(visited.begin(), visited.end(), relative) - visited.begin();
    }

    test::TempDir dir;
    PosixFileSystem fs;
    std::vector<std::string> visited;
    int total = 0;
};

TEST_F(WalkTest, VisitsEveryFolderOnceDeepestFirstStartFolderLast)
{
    for (const char* file :
         {"src/f", "src/a/f", "src/a/b/f", "src/a/b/c/f", "src/a/b/c/d/f", "src/x/f", "src/x/y/f"})
        dir.write(file, "");
    const auto order = walk();
    const std::vector<std::string> expected = {"",         "a/", "a/b/", "a/b/c/",
                                               "a/b/c/d/", "x/", "x/y/"};
    auto sorted = order;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, expected);
    EXPECT_EQ(total, 7);
    EXPECT_EQ(order.back(), "");
    // Post-order: each folder comes after everything below it.
    EXPECT_LT(position("a/b/c/d/"), position("a/b/c/"));
    EXPECT_LT(position("a/b/c/"), position("a/b/"));
    EXPECT_LT(position("a/b/"), position("a/"));
    EXPECT_LT(position("x/y/"), position("x/"));
}

TEST_F(WalkTest, RecurseOffProcessesOnlyTheStartFolder)
{
    dir.write("src/a/f", "");
    EXPECT_EQ(walk(false), std::vector<std::string>{""});
    EXPECT_EQ(total, 1);
}

TEST_F(WalkTest, SameNamedChildDotNamesAndHiddenFoldersAreWalked)
{
    dir.makeDir("src/A/A");
    dir.makeDir("src/...");
    dir.makeDir("src/.x");
    auto order = walk();
    std::sort(order.begin(), order.end());
    EXPECT_EQ(order, (std::vector<std::string>{"", ".../", ".x/", "A/", "A/A/"}));
}

TEST_F(WalkTest, MissingStartFolderGivesZero)
{
    WalkOptions options;
    options.startDir = dir / "nowhere/";
    int calls = 0;
    EXPECT_EQ(WalkDirectory(fs, options, [&](const std::string&) { return ++calls; }), 0);
    EXPECT_EQ(calls, 0);
}

TEST_F(WalkTest, LinkedFoldersAndLinkLoopsAreNotDescended)
{
    dir.makeDir("src/real/inner");
    dir.makeDir("elsewhere/deep");
    ASSERT_EQ(symlink((dir / "elsewhere").c_str(), (dir / "src/link").c_str()), 0);
    ASSERT_EQ(symlink((dir / "src").c_str(), (dir / "src/real/loop").c_str()), 0);
    auto order = walk();
    std::sort(order.begin(), order.end());
    EXPECT_EQ(order, (std::vector<std::string>{"", "real/", "real/inner/"}));
}

TEST_F(WalkTest, TheExcludedOutputFolderIsNotEntered)
{
    dir.makeDir("src/out/sub");
    dir.makeDir("src/keep");
    auto order = walk(true, "out/");
    std::sort(order.begin(), order.end());
    EXPECT_EQ(order, (std::vector<std::string>{"", "keep/"}));
}

TEST_F(WalkTest, FoldersCreatedDuringTheRunAreNotVisited)
{
    dir.makeDir("src/a");
    WalkOptions options;
    options.startDir = dir / "src/";
    std::vector<std::string> seen;
    WalkDirectory(fs, options, [&](const std::string& relative) {
        seen.push_back(relative);
        if (relative == "a/")
            dir.makeDir("src/a/new"); // appears after "a/" was listed
        return 0;
    });
    EXPECT_EQ(seen, (std::vector<std::string>{"a/", ""}));
}

TEST(DeepWalk, TenThousandLevelsAreWalkedWithoutRecursion)
{
    // Built in memory-backed /dev/shm when there is one: making 10,000
    // folders on disk would cost more than the walk under test.
    test::TempDir dir(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp");
    PosixFileSystem fs;
    // 10,000 levels: paths far beyond PATH_MAX are reached through the
    // platform layer; the walk itself must not use the call stack per level.
    dir.makeDir("src");
    int fd = open((dir / "src").c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    for (int i = 0; i < 10000; ++i) {
        ASSERT_EQ(mkdirat(fd, "d", 0755), 0);
        const int next = openat(fd, "d", O_RDONLY | O_DIRECTORY);
        close(fd);
        fd = next;
        ASSERT_GE(fd, 0);
    }
    close(fd);
    WalkOptions options;
    options.startDir = dir / "src/";
    std::vector<std::string> order;
    WalkDirectory(fs, options, [&](const std::string& relative) {
        order.push_back(relative);
        std::vector<DirEntry> entries; // the per-folder step lists each folder again
        EXPECT_TRUE(fs.listFolder(options.startDir + relative, "*.*", entries));
        return 0;
    });
    EXPECT_EQ(order.size(), 10001u);
    EXPECT_EQ(order.back(), "");
    EXPECT_EQ(order.front().size(), 20000u);
}

TEST_F(WalkTest, ALeafFoldersListingGoesToTheStepAndTheMaskIsAppliedToIt)
{
    dir.write("src/a.txt", "");
    dir.write("src/sub/b.txt", "");
    dir.write("src/sub/c.log", "");
    WalkOptions options;
    options.startDir = dir / "src/";
    std::vector<std::string> handed;
    WalkDirectory(fs, options, [&](const std::string& relative, std::vector<DirEntry>* listing) {
        std::vector<DirEntry> entries;
        EXPECT_TRUE(SelectedEntries(fs, options.startDir + relative, "*.txt", listing, entries));
        handed.push_back(relative + (listing != nullptr ? " handed:" : " listed:"));
        for (const DirEntry& entry : entries)
            handed.back() += " " + entry.name;
        return 0;
    });
    EXPECT_EQ(handed, (std::vector<std::string>{"sub/ handed: b.txt", " listed: a.txt"}));
}

} // namespace
} // namespace quarvel
