#include "report/LogEntry.h"
#include "tests/engine/FileDataModeFixture.h"

#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace quarvel::test {
namespace {

using Lines = std::vector<std::string>;

TEST_F(FileDataTest, FileWithoutMatchIsCountedButNeitherWrittenNorLogged)
{
    settings.Replace = 1;
    settings.Append = 1; // ignored while "Replace pattern with" is on
    dir.write("src/a.txt", "no match here");
    const ino_t before = inode(src("a.txt"));
    run();
    EXPECT_EQ(operationLines(), Lines{});
    EXPECT_EQ(logLines(), (Lines{"Processed 1 files (*.*).", "Morphed 0 unique files."}));
    EXPECT_EQ(inode(src("a.txt")), before) << "an unchanged file must not be rewritten";
    EXPECT_EQ(dir.read("src/a.txt"), "no match here");
}

TEST_F(FileDataTest, ReplacementsAreWrittenAndCountedWhateverReplaceSays)
{
    dir.write("src/a.txt", "a cat and a cat");
    run();
    EXPECT_EQ(dir.read("src/a.txt"), "a dog and a dog");
    EXPECT_EQ(logLines(), (Lines{"Updated file " + src("a.txt") + " (2 changes)",
                                 "Processed 1 files (*.*).", "Morphed 1 unique file."}));
}

TEST_F(FileDataTest, PrependAndAppendFollowTheChangeCountRule)
{
    struct Case
    {
        const char* content;
        std::string pattern, replacement;
        bool prepend, append;
        const char* expected;
        const char* changes;
    };
    const Case cases[] = {
        {"cat cat", "cat", "dog", true, false, "dogdog dog", " (2 changes)"},
        {"", "cat", ">>", true, false, ">>", " (1 changes)"},
        {"body", "cat", "!", false, true, "body!", " (1 changes)"},
        {"body", "cat", "#", true, true, "#body#", " (1 changes)"},
        {"same", "zzz", "", true, true, "same", " (1 changes)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        settings.Pattern = c.pattern;
        settings.RepPattern = c.replacement;
        settings.Prepend = c.prepend;
        settings.Append = c.append;
        dir.write("src/f", c.content);
        run();
        EXPECT_EQ(dir.read("src/f"), c.expected);
        EXPECT_EQ(operationLines(), Lines{"Updated file " + src("f") + c.changes});
    }
}

TEST_F(FileDataTest, ContentIsReadAndWrittenByteForByte)
{
    // Binary content with NUL bytes and bare CR/LF, larger than any read
    // chunk, with occurrences across chunk boundaries and at the last byte.
    std::string content(100000, '\0');
    std::mt19937 random(7);
    for (char& byte : content)
        byte = static_cast<char>(random() % 7); // never forms "cat"
    content.replace(2046, 3, "cat");
    content.replace(65535, 3, "cat");
    content.replace(content.size() - 3, 3, "cat");
    content[100] = '\r';
    content[101] = '\n';
    std::string expected = content;
    for (std::size_t at : {std::size_t{2046}, std::size_t{65535}, content.size() - 3})
        expected.replace(at, 3, "dog");
    dir.write("src/blob.bin", content);
    run();
    EXPECT_EQ(dir.read("src/blob.bin"), expected);
    EXPECT_EQ(operationLines(), Lines{"Updated file " + src("blob.bin") + " (3 changes)"});
}

TEST_F(FileDataTest, MatchingOptionsReachTheContent)
{
    settings.WholeWord = 1;
    settings.PatternCase = 1;
    dir.write("src/end.txt", "a Cat, concat, a cat");
    settings.Recurse = 0;
    run();
    EXPECT_EQ(dir.read("src/end.txt"), "a Cat, concat, a dog");

    settings.WholeWord = 0;
    settings.PatternCase = 0;
    settings.IgnoreCR = 1;
    settings.Pattern = "hello";
    settings.RepPattern = "bye";
    dir.write("src/end.txt", "say hel\r\nlo\r\nnow\r\n");
    run();
    EXPECT_EQ(dir.read("src/end.txt"), "say bye\r\nnow\r\n");

    settings.IgnoreCR = 0;
    settings.CRasSpace = 1;
    settings.Pattern = "hello world";
    dir.write("src/end.txt", "hello\r\nworld hello\nworld");
    run();
    EXPECT_EQ(dir.read("src/end.txt"), "bye hello\nworld");
    EXPECT_EQ(operationLines(), Lines{"Updated file " + src("end.txt") + " (1 changes)"});
}

TEST_F(FileDataTest, OutputNameLowerCasesNameAndExtensionParts)
{
    settings.Rename = 1;
    settings.LowerExt = 1;
    for (const char* name : {"README", "NOTES.TXT", "a.TXT", "B", ".PROFILE"})
        dir.write(std::string("src/") + name, "cat", 0640);
    runSorted();
    EXPECT_EQ(dir.list("src"), (Lines{".profile", "B", "NOTES.txt", "README", "a.txt"}));
    for (const char* name : {".profile", "B", "NOTES.txt", "README", "a.txt"}) {
        EXPECT_EQ(dir.read(std::string("src/") + name), "dog");
        EXPECT_EQ(dir.mode(std::string("src/") + name), 0640u);
    }
    EXPECT_EQ(operationLines()[1], "Updated file " + src("B") + " (1 changes)");

    settings.LowerExt = 0;
    settings.LowerFile = 1;
    dir.write("src/sub/Data.Tar.GZ", "cat");
    run();
    EXPECT_EQ(dir.list("src/sub"), Lines{"data.tar.GZ"});
    EXPECT_EQ(operationLines()[0], "Updated file " + src("sub/data.tar.GZ") + " (1 changes)");
}

TEST_F(FileDataTest, LowerCasedNameNeverReplacesAnotherFile)
{
    settings.LowerFile = 1;
    settings.LowerExt = 1;
    dir.write("src/A.TXT", "upper cat");
    dir.write("src/a.txt", "lower cat");
    runSorted();
    EXPECT_EQ(operationLines(), (Lines{"Failed to update file " + src("a.txt") + ": File exists",
                                       "Updated file " + src("a.txt") + " (1 changes)"}));
    EXPECT_EQ(dir.read("src/A.TXT"), "upper cat");
    EXPECT_EQ(dir.read("src/a.txt"), "lower dog");
    EXPECT_EQ(summaryMorphed(), "Morphed 1 unique file.");
    EXPECT_EQ(log.failureCount(), 1);
}

TEST_F(FileDataTest, InPlaceWriteKeepsPermissionBitsAndOwner)
{
    dir.write("src/script.sh", "cat", 0750);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(src("script.sh").c_str(), 1234, 4321), 0);
    }
    run();
    struct stat st;
    ASSERT_EQ(::stat(src("script.sh").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0750u);
    if (::geteuid() == 0) {
        EXPECT_EQ(st.st_uid, 1234u);
        EXPECT_EQ(st.st_gid, 4321u);
    }
    EXPECT_EQ(dir.list("src"), Lines{"script.sh"});
}

TEST_F(FileDataTest, UpdateAndCopyCountOnceAndCopyReplacesAnOldCopy)
{
    settings.Copy = 1;
    dir.makeDir("out");
    dir.write("src/sub/a.txt", "cat", 0600);
    dir.write("out/sub/a.txt", "an old copy that is longer", 0666);
    dir.write("src/b.txt", "cat cat", 0644);
    run();
    EXPECT_EQ(logLines(), (Lines{"Updated file " + src("sub/a.txt") + " (1 changes)",
                                 "Created file " + out("sub/a.txt") + " (1 changes)",
                                 "Updated file " + src("b.txt") + " (2 changes)",
                                 "Created file " + out("b.txt") + " (2 changes)",
                                 "Processed 2 files (*.*).", "Morphed 2 unique files."}));
    EXPECT_EQ(dir.read("out/sub/a.txt"), "dog");
    EXPECT_EQ(dir.mode("out/sub/a.txt") & ~0600u, 0u) << "copy wider than its source";
    EXPECT_EQ(dir.read("out/b.txt"), "dog dog");
}

TEST_F(FileDataTest, CopyAloneLeavesSourceAndCreatesMissingOutputFolder)
{
    settings.Rename = 0;
    settings.Copy = 1;
    settings.LowerExt = 1;
    dir.write("src/N.TXT", "cat");
    run();
    EXPECT_EQ(dir.read("src/N.TXT"), "cat");
    EXPECT_EQ(dir.read("out/N.txt"), "dog");
    EXPECT_EQ(operationLines(), (Lines{"Created directory " + out(""),
                                       "Created file " + out("N.txt") + " (1 changes)"}));
}

TEST_F(FileDataTest, NothingIsWrittenWithBothOutputsOff)
{
    settings.Rename = 0;
    dir.write("src/a.txt", "cat");
    run();
    EXPECT_EQ(dir.read("src/a.txt"), "cat");
    EXPECT_EQ(logLines(), (Lines{"Processed 1 files (*.*).", "Morphed 0 unique files."}));
}

TEST_F(FileDataTest, ProgressStepsForFolderAndEveryEntryButCountsFilesOnly)
{
    settings.Mask = "*.txt";
    dir.makeDir("src/dir.txt");
    dir.write("src/a.txt", "cat");
    dir.write("src/b.dat", "cat");
    run();
    // Driver's reset, then src/dir.txt/ (folder) and src/ (folder, a.txt,
    // dir.txt); "." and ".." do not match "*.txt".
    EXPECT_EQ(window.positions, (std::vector<int>{0, 3, 6, 9, 12}));
    EXPECT_EQ(state.filesProcessed, 1);
    EXPECT_EQ(dir.read("src/b.dat"), "cat");

    settings.Mask = "*.*";
    run();
    // Each folder: the folder, ".", ".." and its entries.
    EXPECT_EQ(window.positions.size(), 5u + 1u + (1u + 2u) + (1u + 5u));
}

TEST_F(FileDataTest, UnreadableEntryIsAFailureAndTheNextFileIsProcessed)
{
    ASSERT_EQ(::symlink("missing-target", src("a-dangling").c_str()), 0);
    dir.write("src/b.txt", std::string(5000, 'x') + "cat");
    runSorted();
    EXPECT_EQ(operationLines(),
              (Lines{"Failed to read file " + src("a-dangling") + ": No such file or directory",
                     "Updated file " + src("b.txt") + " (1 changes)"}));
    EXPECT_EQ(dir.read("src/b.txt"), std::string(5000, 'x') + "dog");
    EXPECT_EQ(state.filesProcessed, 2);
}

TEST_F(FileDataTest, SelectedLinkIsCopiedButNeverReplaced)
{
    settings.Mask = "*.txt";
    settings.Copy = 1;
    dir.makeDir("out");
    dir.write("src/real.dat", "cat");
    ASSERT_EQ(::symlink("real.dat", src("link.txt").c_str()), 0);
    run();
    EXPECT_EQ(operationLines(), (Lines{"Skipped symbolic link " + src("link.txt"),
                                       "Created file " + out("link.txt") + " (1 changes)"}));
    char target[64] = {};
    EXPECT_EQ(::readlink(src("link.txt").c_str(), target, sizeof target - 1), 8);
    EXPECT_STREQ(target, "real.dat");
    EXPECT_EQ(dir.read("src/real.dat"), "cat");
    EXPECT_EQ(dir.read("out/link.txt"), "dog");
    EXPECT_EQ(summaryMorphed(), "Morphed 1 unique file.");
    EXPECT_EQ(log.failureCount(), 0);
}

} // namespace
} // namespace quarvel::test
