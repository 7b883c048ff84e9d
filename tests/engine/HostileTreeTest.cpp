// Runs of both modes over trees that fight back: special files, entries that
// change between the listing and the operation, paths beyond PATH_MAX, names
// too long for any folder, hard links.
#include "tests/support/EngineFixture.h"
#include "tests/support/SortedListingFileSystem.h"

#include <cstring>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

namespace quarvel::test {
namespace {

using Lines = std::vector<std::string>;

enum Mode
{
    kData = 0,
    kNames = 1
};

class HostileTree : public ::testing::Test, protected EngineFixture
{
protected:
    std::string src(const std::string& relative = "") const { return settings.StartDir + relative; }
    std::string out(const std::string& relative = "") const { return settings.CopyDir + relative; }

    // File-name mode lower-casing names, or file-data mode replacing "cat"
    // by "dog"; both in place and as copies.
    void setMode(Mode mode)
    {
        settings.SearchMode = mode;
        settings.Rename = 1;
        settings.Copy = 1;
        if (mode == kNames) {
            settings.LowerFile = 1;
            settings.LowerExt = 1;
        } else {
            settings.Pattern = "cat";
            settings.RepPattern = "dog";
        }
    }

    void runSorted()
    {
        SortedListingFileSystem sorted(fs);
        run(sorted);
    }

    // Changes the tree right after `folder`, a folder without subfolders, was
    // listed: the walk hands that listing to the mode, which lists it no more.
    void afterListing(const std::string& folder, std::function<void()> change)
    {
        fs.setFaultHook(
            [folder, change, listings = 0](FaultPoint point, const std::string& path) mutable {
                if (point == FaultPoint::Listed && path == folder && ++listings == 1)
                    change();
                return Status::ok();
            });
    }

    static void swapForFifo(const std::string& path)
    {
        ASSERT_EQ(::unlink(path.c_str()), 0);
        ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
    }
};

// A bound socket at `path` for the life of the object.
struct BoundSocket
{
    explicit BoundSocket(const std::string& path) : fd(::socket(AF_UNIX, SOCK_STREAM, 0))
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~BoundSocket() { ::close(fd); }
    int fd;
    bool bound = false;
};

TEST_F(HostileTree, SpecialFilesAreRenamedButNeverCopiedOrOpened)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "making a device node needs root";
    ASSERT_EQ(::mkfifo(src("FIFO").c_str(), 0644), 0);
    const BoundSocket socket(src("SOCK"));
    ASSERT_TRUE(socket.bound);
    // Reads like /dev/zero: endless, were it ever opened.
    ASSERT_EQ(::mknod(src("ZERO").c_str(), S_IFCHR | 0644, makedev(1, 5)), 0);
    dir.write("src/TEXT", "cat");
    setMode(kNames);
    runSorted();

    EXPECT_EQ(operationLines(), (Lines{
                                    "Renamed " + src("FIFO") + " --> " + src("fifo"),
                                    "Skipped special file " + src("fifo"),
                                    "Renamed " + src("SOCK") + " --> " + src("sock"),
                                    "Skipped special file " + src("sock"),
                                    "Renamed " + src("TEXT") + " --> " + src("text"),
                                    "Created directory " + out(),
                                    "Copied " + src("text") + " --> " + out("text"),
                                    "Renamed " + src("ZERO") + " --> " + src("zero"),
                                    "Skipped special file " + src("zero"),
                                }));
    EXPECT_EQ(dir.list("out"), Lines{"text"});
    EXPECT_EQ(state.filesProcessed, 4);
    EXPECT_EQ(log.failureCount(), 0);
}

TEST_F(HostileTree, FileSwappedForAFifoBeforeItIsOpenedIsSkipped)
{
    for (Mode mode : {kData, kNames}) {
        SCOPED_TRACE(mode);
        dir.write("src/A.TXT", "cat");
        dir.makeDir("out");
        // Swapped in the file-system layer itself, just before the open.
        fs.setFaultHook([](FaultPoint point, const std::string& path) {
            if (point == FaultPoint::Open)
                swapForFifo(path);
            return Status::ok();
        });
        setMode(mode);
        run();

        const Lines expected = mode == kData
                                   ? Lines{"Skipped special file " + src("A.TXT")}
                                   : Lines{"Renamed " + src("A.TXT") + " --> " + src("a.txt"),
                                           "Skipped special file " + src("a.txt")};
        EXPECT_EQ(operationLines(), expected);
        EXPECT_EQ(log.failureCount(), 0);
        EXPECT_EQ(dir.list("out"), Lines{});
        ASSERT_EQ(::unlink(src(mode == kData ? "A.TXT" : "a.txt").c_str()), 0);
    }
}

TEST_F(HostileTree, FileDataEntriesChangedAfterTheListingFailAndTheRunGoesOn)
{
    for (const char* name : {"deleted", "folder", "link", "pipe", "plain"})
        dir.write(std::string("src/") + name, "cat");
    dir.write("outside", "cat");
    afterListing(src(), [this] {
        ASSERT_EQ(::unlink(src("deleted").c_str()), 0);
        ASSERT_EQ(::unlink(src("folder").c_str()), 0);
        ASSERT_EQ(::mkdir(src("folder").c_str(), 0755), 0);
        ASSERT_EQ(::unlink(src("link").c_str()), 0);
        ASSERT_EQ(::symlink((dir / "outside").c_str(), src("link").c_str()), 0);
        swapForFifo(src("pipe"));
    });
    setMode(kData);
    settings.Copy = 0;
    runSorted();

    EXPECT_EQ(operationLines(),
              (Lines{
                  "Failed to read file " + src("deleted") + ": No such file or directory",
                  "Failed to read file " + src("folder") + ": Is a directory",
                  "Failed to read file " + src("link") + ": Too many levels of symbolic links",
                  "Skipped special file " + src("pipe"),
                  "Updated file " + src("plain") + " (1 changes)",
              }));
    EXPECT_EQ(state.filesProcessed, 5);
    EXPECT_EQ(log.failureCount(), 3);
    EXPECT_EQ(dir.read("outside"), "cat");
    EXPECT_EQ(dir.list("src/folder"), Lines{});
    EXPECT_EQ(dir.list("src"), (Lines{"folder", "link", "pipe", "plain"}));
}

TEST_F(HostileTree, FileNameEntriesChangedAfterTheListingFailAndTheRunGoesOn)
{
    for (const char* name : {"DELETED", "FOLDER", "PLAIN"})
        dir.write(std::string("src/") + name, "content");
    dir.makeDir("out");
    afterListing(src(), [this] {
        ASSERT_EQ(::unlink(src("DELETED").c_str()), 0);
        ASSERT_EQ(::unlink(src("FOLDER").c_str()), 0);
        ASSERT_EQ(::mkdir(src("FOLDER").c_str(), 0755), 0);
    });
    setMode(kNames);
    runSorted();

    const std::string gone = ": No such file or directory";
    EXPECT_EQ(
        operationLines(),
        (Lines{
            "Failed to rename " + src("DELETED") + " --> " + src("deleted") + gone,
            "Failed to copy " + src("DELETED") + " --> " + out("deleted") + gone,
            "Failed to rename " + src("FOLDER") + " --> " + src("folder") + ": Is a directory",
            "Failed to copy " + src("FOLDER") + " --> " + out("folder") + ": Is a directory",
            "Renamed " + src("PLAIN") + " --> " + src("plain"),
            "Copied " + src("plain") + " --> " + out("plain"),
        }));
    // The folder that took a listed file's place keeps its name.
    EXPECT_EQ(dir.list("src"), (Lines{"FOLDER", "plain"}));
    EXPECT_EQ(dir.list("out"), Lines{"plain"});
    EXPECT_EQ(log.failureCount(), 4);
}

TEST_F(HostileTree, NewNameOfMoreThan255BytesIsTooLong)
{
    dir.write("src/ax", "a");
    dir.write("src/bx", "b");
    dir.makeDir("out");
    settings.SearchMode = kNames;
    settings.Rename = 1;
    settings.Copy = 1;
    settings.Replace = 1;
    settings.Pattern = "x";
    settings.RepPattern = std::string(255, 'y'); // "a" + 255 bytes: one too many
    settings.Mask = "a*";
    runSorted();
    const std::string tooLong = src("a") + std::string(255, 'y');
    EXPECT_EQ(operationLines(),
              (Lines{
                  "Failed to rename " + src("ax") + " --> " + tooLong + ": File name too long",
                  "Failed to copy " + src("ax") + " --> " + out("a") + std::string(255, 'y') +
                      ": File name too long",
              }));
    EXPECT_EQ(dir.read("src/ax"), "a");

    // 255 bytes is still a name.
    settings.Mask = "b*";
    settings.RepPattern = std::string(254, 'y');
    runSorted();
    const std::string longest = "b" + std::string(254, 'y');
    EXPECT_EQ(operationLines(), (Lines{
                                    "Renamed " + src("bx") + " --> " + src(longest),
                                    "Copied " + src(longest) + " --> " + out(longest),
                                }));
    EXPECT_EQ(dir.read("out/" + longest), "b");
}

TEST_F(HostileTree, InPlaceRewriteGivesOnlyTheRewrittenNameTheNewContent)
{
    dir.write("src/a.txt", "cat");
    ASSERT_EQ(::link(src("a.txt").c_str(), src("a.bak").c_str()), 0);
    setMode(kData);
    settings.Copy = 0;
    settings.Mask = "*.txt";
    runSorted();
    EXPECT_EQ(operationLines(), Lines{"Updated file " + src("a.txt") + " (1 changes)"});
    EXPECT_EQ(dir.read("src/a.txt"), "dog");
    EXPECT_EQ(dir.read("src/a.bak"), "cat");
    struct stat st;
    ASSERT_EQ(::stat(src("a.bak").c_str(), &st), 0);
    EXPECT_EQ(st.st_nlink, 1u);
}

// A tree whose deepest folder lies more than 4096 bytes below the start
// folder, made and read through folder descriptors only.
class LongPathRun : public HostileTree
{
protected:
    static constexpr int kLevels = 24;

    void SetUp() override
    {
        dir.makeDir("out");
        int fd = ::open(src().c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        for (int i = 0; i < kLevels; ++i) {
            const std::string name = std::string(199, 'L') + std::to_string(i % 10);
            ASSERT_EQ(::mkdirat(fd, name.c_str(), 0755), 0);
            const int child = ::openat(fd, name.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
            ::close(fd);
            fd = child;
            ASSERT_GE(fd, 0);
            m_relative += name + "/";
        }
        m_deepFd = fd;
        ASSERT_GT(src(m_relative).size(), 4096u + 200u);
        const int file = ::openat(fd, "DEEP.TXT", O_WRONLY | O_CREAT | O_CLOEXEC, 0640);
        ASSERT_GE(file, 0);
        ASSERT_EQ(::write(file, "a cat", 5), 5);
        ::close(file);
    }
    void TearDown() override { ::close(m_deepFd); }

    // The content of `name` in `folder` + the deep chain, or "<missing>".
    std::string readBelow(const std::string& folder, const std::string& name) const
    {
        int fd = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        std::size_t start = 0;
        while (fd >= 0 && start < m_relative.size()) {
            const std::size_t end = m_relative.find('/', start);
            const int child = ::openat(fd, m_relative.substr(start, end - start).c_str(),
                                       O_PATH | O_DIRECTORY | O_CLOEXEC);
            ::close(fd);
            fd = child;
            start = end + 1;
        }
        const int file = fd < 0 ? -1 : ::openat(fd, name.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0)
            ::close(fd);
        if (file < 0)
            return "<missing>";
        char buffer[64];
        const ssize_t got = ::read(file, buffer, sizeof buffer);
        ::close(file);
        return std::string(buffer, got > 0 ? static_cast<std::size_t>(got) : 0);
    }

    std::string m_relative;
    int m_deepFd = -1;
};

TEST_F(LongPathRun, FileDataRewritesAndCopiesBelowPathMax)
{
    setMode(kData);
    run();
    EXPECT_EQ(operationLines(), (Lines{
                                    "Updated file " + src(m_relative + "DEEP.TXT") + " (1 changes)",
                                    "Created directory " + out(m_relative),
                                    "Created file " + out(m_relative + "DEEP.TXT") + " (1 changes)",
                                }));
    EXPECT_EQ(log.failureCount(), 0);
    EXPECT_EQ(readBelow(src(), "DEEP.TXT"), "a dog");
    EXPECT_EQ(readBelow(out(), "DEEP.TXT"), "a dog");
}

TEST_F(LongPathRun, FileNameRenamesAndCopiesBelowPathMax)
{
    setMode(kNames);
    run();
    EXPECT_EQ(
        operationLines(),
        (Lines{
            "Renamed " + src(m_relative + "DEEP.TXT") + " --> " + src(m_relative + "deep.txt"),
            "Created directory " + out(m_relative),
            "Copied " + src(m_relative + "deep.txt") + " --> " + out(m_relative + "deep.txt"),
        }));
    EXPECT_EQ(log.failureCount(), 0);
    EXPECT_EQ(readBelow(src(), "deep.txt"), "a cat");
    EXPECT_EQ(readBelow(src(), "DEEP.TXT"), "<missing>");
    EXPECT_EQ(readBelow(out(), "deep.txt"), "a cat");
}

} // namespace
} // namespace quarvel::test
