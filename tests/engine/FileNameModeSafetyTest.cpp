#include "tests/engine/FileNameModeFixture.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quarvel::test {
namespace {

using Lines = std::vector<std::string>;

TEST_F(FileNameModeTest, RenameNeverReplacesAFileAndTheRunGoesOn)
{
    f.dir.write("src/A.txt", "a");
    f.dir.write("src/B.txt", "b");
    f.dir.write("src/CA.txt", "c");
    f.settings.Pattern = "A";
    f.settings.RepPattern = "B";
    f.settings.Replace = 1;
    f.settings.PatternCase = 1;
    f.settings.Rename = 1;
    run();

    EXPECT_EQ(f.operationLines(),
              (Lines{"Failed to rename " + src("A.txt") + " --> " + src("B.txt") + ": File exists",
                     "Renamed " + src("CA.txt") + " --> " + src("CB.txt")}));
    EXPECT_EQ(f.dir.read("src/A.txt"), "a");
    EXPECT_EQ(f.dir.read("src/B.txt"), "b");
    EXPECT_EQ(summaryLine(0), "Morphed 1 unique file.");
    ASSERT_EQ(f.window.summaries.size(), 1u);
    EXPECT_NE(f.window.summaries[0].find("1 operation failed"), std::string::npos);
}

TEST_F(FileNameModeTest, RenameFailureCarriesTheSystemsReason)
{
    f.dir.write("src/long", "x");
    f.settings.Pattern = "long";
    f.settings.RepPattern = std::string(256, 'n');
    f.settings.Replace = 1;
    f.settings.Rename = 1;
    run();

    EXPECT_EQ(f.operationLines(), (Lines{"Failed to rename " + src("long") + " --> " +
                                         src(std::string(256, 'n')) + ": File name too long"}));
    EXPECT_EQ(f.dir.read("src/long"), "x");
    EXPECT_EQ(summaryLine(0), "Morphed 0 unique files.");
}

TEST_F(FileNameModeTest, CopyNeverOverwritesAFileInTheOutputTree)
{
    f.dir.write("src/A.TXT", "new");
    f.dir.write("out/a.txt", "old");
    f.settings.LowerFile = 1;
    f.settings.Copy = 1;
    run();

    EXPECT_EQ(f.operationLines(),
              (Lines{"Failed to copy " + src("A.TXT") + " --> " + out("a.txt") + ": File exists"}));
    EXPECT_EQ(f.dir.read("out/a.txt"), "old");
    EXPECT_EQ(summaryLine(0), "Morphed 0 unique files.");
}

TEST_F(FileNameModeTest, CaseOnlyRenamesWorkAndTwoNamesMappingToOneKeepBothFiles)
{
    f.dir.write("src/README.TXT", "readme");
    f.dir.write("src/A.txt", "first");
    f.dir.write("src/a.TXT", "second");
    f.settings.LowerFile = 1;
    f.settings.Rename = 1;
    run();

    EXPECT_EQ(
        f.operationLines(),
        (Lines{"Renamed " + src("A.txt") + " --> " + src("a.txt"),
               "Renamed " + src("README.TXT") + " --> " + src("readme.txt"),
               "Failed to rename " + src("a.TXT") + " --> " + src("a.txt") + ": File exists"}));
    EXPECT_EQ(f.dir.list("src"), (Lines{"a.TXT", "a.txt", "readme.txt"}));
    EXPECT_EQ(f.dir.read("src/a.txt"), "first");
    EXPECT_EQ(f.dir.read("src/a.TXT"), "second");
    EXPECT_EQ(summaryLine(0), "Morphed 2 unique files.");
}

// A folder on a disk file system: renaming entries while a listing of a
// large folder is under way returns some of them again on ext4, which tmpfs
// does not show.
class DiskFolder
{
public:
    DiskFolder()
    {
        char pattern[] = "/var/tmp/quarvel-names-XXXXXX";
        if (mkdtemp(pattern) == nullptr)
            throw std::runtime_error("mkdtemp failed");
        m_path = std::string(pattern) + "/";
    }
    ~DiskFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

TEST_F(FileNameModeTest, FilesRenamedDuringTheRunAreNotPickedUpAgain)
{
    constexpr int kFiles = 2000;
    DiskFolder disk;
    // Hard links to one file: as many folder entries as separate files give,
    // without allocating an inode each, which keeps the test fast.
    const std::string seed = disk.path() + "seed";
    const std::string tree = disk.path() + "tree/";
    std::FILE* file = std::fopen(seed.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    ASSERT_EQ(::mkdir(tree.c_str(), 0755), 0);
    std::set<std::string> expected;
    for (int i = 0; i < kFiles; ++i) {
        const std::string name = "a" + std::to_string(i);
        ASSERT_EQ(::link(seed.c_str(), (tree + name).c_str()), 0);
        expected.insert("a" + name);
    }
    f.settings.StartDir = tree;
    f.settings.Pattern = "a";
    f.settings.RepPattern = "aa";
    f.settings.Replace = 1;
    f.settings.PatternCase = 1;
    f.settings.Rename = 1;
    f.run(); // the real listing order, not a sorted one

    const Lines lines = f.operationLines();
    EXPECT_EQ(lines.size(), std::size_t{kFiles});
    EXPECT_TRUE(std::all_of(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.starts_with("Renamed "); }));
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(tree))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, expected);
    EXPECT_EQ(f.state.filesProcessed, kFiles);
    EXPECT_EQ(summaryLine(0), "Morphed 2000 unique files.");
}

TEST_F(FileNameModeTest, ReplacementNeverMovesAFileOutOfItsFolder)
{
    f.dir.write("src/name.txt", "n");
    f.dir.write("src/gone", "g");
    f.dir.makeDir("out");
    f.settings.Pattern = "name";
    f.settings.RepPattern = "../up";
    f.settings.Replace = 1;
    f.settings.PatternCase = 1;
    f.settings.Rename = 1;
    f.settings.Copy = 1;
    run();

    EXPECT_EQ(f.operationLines(), (Lines{"Copied " + src("gone") + " --> " + out("gone"),
                                         "Failed to rename " + src("name.txt") + " --> " +
                                             src("../up.txt") + ": Invalid argument",
                                         "Failed to copy " + src("name.txt") + " --> " +
                                             out("../up.txt") + ": Invalid argument"}));
    EXPECT_FALSE(f.dir.exists("up.txt"));
    EXPECT_EQ(f.dir.read("src/name.txt"), "n");

    // A replacement that leaves no name at all names the folder itself.
    f.settings.Pattern = "gone";
    f.settings.RepPattern = "";
    run();
    EXPECT_EQ(f.operationLines(),
              (Lines{"Failed to rename " + src("gone") + " --> " + src() + ": Invalid argument",
                     "Failed to copy " + src("gone") + " --> " + out() + ": Invalid argument",
                     "Copied " + src("name.txt") + " --> " + out("name.txt")}));
    EXPECT_EQ(f.dir.read("src/gone"), "g");
}

TEST_F(FileNameModeTest, SpecialFilesAreRenamedButNeverCopied)
{
    ASSERT_EQ(::mkfifo((f.dir / "src/PIPE").c_str(), 0644), 0);
    ASSERT_EQ(::mkfifo((f.dir / "src/fifo").c_str(), 0644), 0);
    f.dir.makeDir("out");
    f.settings.Pattern = "P";
    f.settings.RepPattern = "Q";
    f.settings.Replace = 1;
    f.settings.Rename = 1;
    f.settings.Copy = 1;
    run();

    EXPECT_EQ(f.operationLines(), (Lines{"Renamed " + src("PIPE") + " --> " + src("Qipe"),
                                         "Skipped special file " + src("Qipe"),
                                         "Skipped special file " + src("fifo")}));
    EXPECT_EQ(f.dir.list("out"), Lines{});
    EXPECT_EQ(f.log.failureCount(), 0);
    EXPECT_EQ(f.state.filesProcessed, 2);
    EXPECT_EQ(summaryLine(0), "Morphed 1 unique file.");
}

TEST_F(FileNameModeTest, SymbolicLinksAreRenamedAsNames)
{
    f.dir.write("outside/Target.TXT", "t");
    ASSERT_EQ(::symlink((f.dir / "outside/Target.TXT").c_str(), (f.dir / "src/LINK.TXT").c_str()),
              0);
    ASSERT_EQ(::symlink((f.dir / "outside").c_str(), (f.dir / "src/DIRLINK").c_str()), 0);
    f.settings.LowerFile = 1;
    f.settings.Rename = 1;
    run();

    EXPECT_EQ(f.operationLines(),
              (Lines{"Renamed " + src("DIRLINK") + " --> " + src("dirlink"),
                     "Renamed " + src("LINK.TXT") + " --> " + src("link.txt")}));
    EXPECT_EQ(std::filesystem::read_symlink(f.dir / "src/link.txt").string(),
              f.dir / "outside/Target.TXT");
    EXPECT_EQ(f.dir.list("outside"), (Lines{"Target.TXT"}));
}

} // namespace
} // namespace quarvel::test
