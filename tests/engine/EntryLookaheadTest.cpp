#include "engine/EntryLookahead.h"

#include "platform/PosixFileSystem.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace quarvel::test {
namespace {

// A listing longer than the lookahead's stretch, folders among the files.
struct EntryLookaheadTest : ::testing::Test
{
    void SetUp() override
    {
        for (int i = 0; i < 3000; ++i) {
            const std::string name = "n" + std::to_string(i);
            if (i % 500 == 7)
                dir.makeDir(name);
            else
                dir.write(name, std::string(static_cast<std::size_t>(i % 13), 'a'));
        }
        ASSERT_TRUE(fs.listFolder(dir.path(), "n*", entries));
        ASSERT_GT(entries.size(), 2 * EntryLookahead::kAhead);
    }

    TempDir dir{"/dev/shm"};
    PosixFileSystem fs;
    std::vector<DirEntry> entries;
};

TEST_F(EntryLookaheadTest, GivesEachEntrysStateInTurnSkippingAndFoldersIncluded)
{
    EntryLookahead lookahead(fs, dir.path(), entries);
    for (std::size_t i = 0; i < entries.size(); i += 1 + i % 3) {
        const FileState state = lookahead.take(i);
        const FileState now = fileStateOf(dir / entries[i].name);
        if (entries[i].isDirectory()) {
            EXPECT_FALSE(state.exists) << entries[i].name; // folders are not examined
            continue;
        }
        EXPECT_TRUE(state.unchangedSince(now)) << entries[i].name;
        EXPECT_EQ(state.size,
                  static_cast<std::uint64_t>(std::stoi(entries[i].name.substr(1)) % 13));
    }
}

TEST_F(EntryLookaheadTest, EndsAtOnceWhenLeftHalfWay)
{
    for (const std::size_t last : {std::size_t{0}, std::size_t{5}, entries.size() / 2}) {
        EntryLookahead lookahead(fs, dir.path(), entries);
        EXPECT_EQ(lookahead.take(last).exists, !entries[last].isDirectory());
    } // each destructor returns: no examining left waiting for room
    EntryLookahead never(fs, dir.path(), entries);
}

} // namespace
} // namespace quarvel::test
