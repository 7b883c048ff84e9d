#include "platform/PosixFileSystem.h"
#include "platform/TemporaryName.h"
#include "tests/support/TempDir.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <map>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace quarvel {
namespace {

using test::TempDir;

std::map<std::string, EntryType> byName(const std::vector<DirEntry>& entries)
{
    std::map<std::string, EntryType> types;
    for (const DirEntry& entry : entries)
        types.emplace(entry.name, entry.type);
    return types;
}

TEST(DirectoryListing, DeliversDotEntriesAndEveryKindOfEntry)
{
    TempDir dir;
    dir.write("file.txt", "x");
    dir.makeDir("sub");
    ASSERT_EQ(::symlink("sub", (dir / "link-to-dir").c_str()), 0);
    ASSERT_EQ(::symlink("file.txt", (dir / "link-to-file").c_str()), 0);
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);

    PosixFileSystem fs;
    std::vector<DirEntry> entries;
    ASSERT_TRUE(fs.listFolder(dir.path(), "*.*", entries));

    const std::map<std::string, EntryType> expected = {
        {".", EntryType::Directory},         {"..", EntryType::Directory},
        {"file.txt", EntryType::Regular},    {"sub", EntryType::Directory},
        {"link-to-dir", EntryType::Symlink}, {"link-to-file", EntryType::Symlink},
        {"fifo", EntryType::Special},
    };
    EXPECT_EQ(byName(entries), expected);
    EXPECT_EQ(entries.size(), expected.size());
}

TEST(DirectoryListing, SocketIsSpecial)
{
    TempDir dir;
    const std::string path = dir / "sock";
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(path.size(), sizeof(address.sun_path));
    path.copy(address.sun_path, path.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ::close(fd);

    PosixFileSystem fs;
    std::vector<DirEntry> entries;
    ASSERT_TRUE(fs.listFolder(dir.path(), "sock", entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].type, EntryType::Special);
}

TEST(DirectoryListing, KeepsNameBytesThatAreNotUtf8)
{
    TempDir dir;
    const std::string latin1 = "caf\xE9.txt";
    const std::string broken = "\xFF\xFE\x80";
    dir.write(latin1, "1");
    dir.write(broken, "2");

    PosixFileSystem fs;
    std::vector<DirEntry> entries;
    ASSERT_TRUE(fs.listFolder(dir.path(), "*.txt", entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, latin1);

    ASSERT_TRUE(fs.listFolder(dir.path(), "???", entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, broken);
}

TEST(DirectoryListing, MaskSelectsAndReplacesEarlierContent)
{
    TempDir dir;
    dir.write("a.TXT", "");
    dir.write("b.doc", "");
    dir.write("README", "");

    PosixFileSystem fs;
    std::vector<DirEntry> entries = {DirEntry{"stale", EntryType::Regular}};
    ASSERT_TRUE(fs.listFolder(dir.path(), "*.txt", entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "a.TXT");

    ASSERT_TRUE(fs.listFolder(dir.path(), "nothing*", entries));
    EXPECT_TRUE(entries.empty());
}

TEST(DirectoryListing, MissingFolderIsAnError)
{
    TempDir dir;
    PosixFileSystem fs;
    std::vector<DirEntry> entries = {DirEntry{"stale", EntryType::Regular}};
    const Status listed = fs.listFolder(dir / "missing/", "*", entries);
    EXPECT_EQ(listed.code(), ENOENT);
    EXPECT_TRUE(entries.empty());

    dir.write("plain", "");
    EXPECT_EQ(fs.listFolder(dir / "plain/", "*", entries).code(), ENOTDIR);
}

TEST(DirectoryListing, LeavesOutOnlyOurTemporaryFiles)
{
    TempDir dir;
    const std::string temporary = makeTemporaryName();
    ASSERT_TRUE(isTemporaryName(temporary));
    dir.write(temporary, "half written");
    dir.write(".quarvel-notes.tmp", "a user's file");
    dir.makeDir(makeTemporaryName()); // a folder is never ours

    PosixFileSystem fs;
    std::vector<DirEntry> entries;
    ASSERT_TRUE(fs.listFolder(dir.path(), "*", entries));
    const auto types = byName(entries);
    EXPECT_EQ(types.count(temporary), 0u);
    EXPECT_EQ(types.count(".quarvel-notes.tmp"), 1u);
    EXPECT_EQ(entries.size(), 4u); // ".", "..", the user's file, the folder
}

TEST(DirectoryListing, TemporaryNames)
{
    EXPECT_TRUE(isTemporaryName(".quarvel-aZ09xy.tmp"));
    EXPECT_FALSE(isTemporaryName(".quarvel-aZ09x.tmp"));
    EXPECT_FALSE(isTemporaryName(".quarvel-aZ0-xy.tmp"));
    EXPECT_FALSE(isTemporaryName("quarvel-aZ09xy.tmp"));
    EXPECT_FALSE(isTemporaryName(".quarvel-aZ09xy.txt"));
    EXPECT_NE(makeTemporaryName(), makeTemporaryName());
}

TEST(DirectoryListing, InjectedFailureGivesAnEmptyListing)
{
    TempDir dir;
    dir.write("f", "");
    PosixFileSystem fs;
    fs.setFaultHook([](FaultPoint, const std::string&) { return Status::error(EIO); });
    std::vector<DirEntry> entries;
    EXPECT_EQ(fs.listFolder(dir.path(), "*", entries).code(), EIO);
    EXPECT_TRUE(entries.empty());
}

} // namespace
} // namespace quarvel
