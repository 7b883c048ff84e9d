// Runs over real trees with the journal in front of the file system, then
// the undo: the tree comes back exactly (content, mode bits, names), and
// what the undo may not touch is left alone with a failure line.
#include "engine/UndoJob.h"

#include "engine/JournalingFileSystem.h"
#include "engine/MorphJob.h"
#include "platform/PosixFileSystem.h"
#include "report/LogWriter.h"
#include "report/UndoLogWriter.h"
#include "tests/support/TempDir.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace quarvel::test {
namespace {

struct Yes : Confirmer
{
    ConfirmResult confirm(const ConfirmationQuestion&) override { return ConfirmResult::Yes; }
};

// Every file and folder below the temporary folder: content (or "<dir>") and mode.
std::map<std::string, std::pair<std::string, unsigned>> snapshot(const TempDir& dir,
                                                                 const std::string& at = "")
{
    std::map<std::string, std::pair<std::string, unsigned>> tree;
    for (const std::string& name : dir.list(at)) {
        const std::string relative = at + name;
        const bool folder = std::filesystem::is_directory(dir / relative);
        tree[relative] = {folder ? "<dir>" : dir.read(relative), dir.mode(relative)};
        if (folder)
            tree.merge(snapshot(dir, relative + "/"));
    }
    return tree;
}

class UndoJobTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir.write("src/Report.TXT", "alpha beta alpha\n", 0640);
        dir.write("src/sub/Notes.Txt", "beta alpha\n", 0755);
        dir.write("src/sub/deeper/keep.txt", "no match here\n", 0600);
        dir.write("src/sub/deeper/Last.TXT", "alpha\n", 0444);
        options.selection = {dir / "src", "*.*", true};
        options.pattern.text = "alpha";
        options.pattern.replacement = "omega";
        options.edit.replace = true;
        options.nameCase = {true, true};
        options.outputs = {true, dir / "out/new/"};
        dir.makeDir("out/new"); // the run creates the folders below it
    }

    RunSummary morph(FileSystem& fs)
    {
        RunJournal journal(state.path());
        JournalingFileSystem journaled(fs, journal);
        LogWriter writer(runLog);
        const RunSummary summary = RunMorphJob(options, journaled, yes, writer);
        keptByCopy = journal.keptBy(KeepMethod::Copy);
        return summary;
    }

    UndoSummary undo(bool dryRun = false)
    {
        UndoLogWriter writer(undoLog);
        UndoSummary summary;
        EXPECT_TRUE(RunUndo(state.path(), disk, dryRun, writer, summary).isOk());
        return summary;
    }

    bool logHas(const std::string& line) const
    {
        for (std::size_t i = 0; i < undoLog.size(); ++i)
            if (undoLog.line(i) == line)
                return true;
        return false;
    }

    TempDir dir;
    TempDir state;
    RunOptions options;
    PosixFileSystem disk;
    Yes yes;
    OperationLog runLog, undoLog;
    std::int64_t keptByCopy = 0;
};

class UndoBothModes : public UndoJobTest, public ::testing::WithParamInterface<RunMode>
{
};

TEST_P(UndoBothModes, MixedRunIsUndoneToTheOriginalTree)
{
    options.mode = GetParam();
    const auto before = snapshot(dir);
    const RunSummary run = morph(disk);
    ASSERT_EQ(run.failures, 0);
    ASSERT_NE(snapshot(dir), before);

    UndoSummary dry = undo(true);
    EXPECT_EQ(dry.failures, 0);
    EXPECT_GT(dry.reversed, 0);
    EXPECT_EQ(undoLog.failureCount(), 0);

    undoLog.clear();
    const UndoSummary done = undo();
    EXPECT_EQ(done.failures, 0);
    EXPECT_EQ(done.reversed, dry.reversed);
    EXPECT_EQ(snapshot(dir), before); // content, modes and names; the output folders gone
    int none = 0;
    EXPECT_EQ(LastRunOperations(state.path(), none).code(), ENOENT); // the journal is gone
}

INSTANTIATE_TEST_SUITE_P(Modes, UndoBothModes, ::testing::Values(RunMode::Names, RunMode::Data));

TEST_F(UndoJobTest, ChangedFilesAndTakenNamesAreLeftAloneAndKept)
{
    options.mode = RunMode::Data;
    options.outputs.copyFolder.reset();
    ASSERT_EQ(morph(disk).failures, 0);
    dir.write("src/report.txt", "edited by hand\n", 0640); // changed since the run
    dir.write("src/sub/Notes.Txt", "a new file under the old name\n");

    const UndoSummary summary = undo();
    EXPECT_EQ(summary.failures, 2);
    EXPECT_EQ(summary.reversed, 1);
    EXPECT_TRUE(
        logHas("Failed to restore file " + dir / "src/Report.TXT" + ": changed since the run"));
    EXPECT_TRUE(logHas("Failed to restore file " + dir / "src/sub/Notes.Txt" +
                       ": a file of that name exists now"));
    EXPECT_EQ(dir.read("src/report.txt"), "edited by hand\n");
    EXPECT_EQ(dir.read("src/sub/Notes.Txt"), "a new file under the old name\n");
    EXPECT_EQ(dir.read("src/sub/deeper/Last.TXT"), "alpha\n");

    // What could not be reversed stays in the journal, old content and all.
    int left = 0;
    ASSERT_TRUE(LastRunOperations(state.path(), left).isOk());
    EXPECT_EQ(left, 2);
    ::unlink((dir / "src/sub/Notes.Txt").c_str());
    undoLog.clear();
    EXPECT_EQ(undo().reversed, 1);
    EXPECT_EQ(dir.read("src/sub/Notes.Txt"), "beta alpha\n");
    EXPECT_EQ(dir.mode("src/sub/Notes.Txt") & 07777, 0755u);
}

TEST_F(UndoJobTest, AFileChangedBetweenItsExaminationAndTheMoveIsNotMovedBack)
{
    {
        RunJournal journal(state.path());
        JournalingFileSystem journaled(disk, journal);
        const FileState examined = disk.entryState(dir / "src/Report.TXT");
        dir.write("src/Report.TXT", "written meanwhile\n", 0640);
        ASSERT_TRUE(
            journaled.moveExamined(dir / "src/Report.TXT", dir / "src/report.txt", examined));
        // An entry that was not there when examined is examined after the move.
        dir.write("src/late", "x");
        ASSERT_TRUE(journaled.moveExamined(dir / "src/late", dir / "src/LATE", FileState{}));
    }

    EXPECT_EQ(undo().reversed, 1);
    EXPECT_TRUE(logHas("Failed to rename " + dir / "src/report.txt" + " --> " +
                       dir / "src/Report.TXT" + ": changed since the run"));
    EXPECT_EQ(dir.read("src/report.txt"), "written meanwhile\n");
    EXPECT_EQ(dir.read("src/late"), "x");
}

// A journal that takes no more lines (the file size limit stands in for a
// full disk): the change whose line failed is reversed (a rename moved back,
// a content put back, a copy or folder removed), every later change fails
// as unjournaled, and the undo reverses all that was done.
class UndoJobFullJournal : public UndoJobTest,
                           public ::testing::WithParamInterface<std::pair<RunMode, bool>>
{
};

TEST_P(UndoJobFullJournal, StopsTheChangesAndLeavesNoneTheUndoCannotReverse)
{
    const auto [mode, copies] = GetParam();
    for (int i = 0; i < 40; ++i)
        dir.write("src/many/NAME" + std::to_string(i) + ".TXT", "alpha\n");
    options.mode = mode;
    options.outputs = {true, copies ? std::optional(dir / "out/new/") : std::nullopt};
    options.jobs = 2;
    const auto before = snapshot(dir);
    rlimit limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit saved = limit;
    limit.rlim_cur = 2000; // a few lines
    const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    const RunSummary run = morph(disk);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, oldHandler);

    int failed = 0;
    for (std::size_t i = 0; i < runLog.size(); ++i) {
        const std::string_view line = runLog.line(i);
        if (line.starts_with("Failed ")) {
            ++failed;
            EXPECT_TRUE(line.ends_with(": Cannot write the undo journal")) << line;
        }
    }
    EXPECT_GT(failed, 0);
    EXPECT_GT(run.filesMorphed, 0);
    EXPECT_GT(undo().reversed, 0);
    EXPECT_EQ(snapshot(dir), before);
}

INSTANTIATE_TEST_SUITE_P(Modes, UndoJobFullJournal,
                         ::testing::Values(std::pair(RunMode::Names, false),
                                           std::pair(RunMode::Data, false),
                                           std::pair(RunMode::Data, true)),
                         [](const auto& info) {
                             return std::string(info.param.first == RunMode::Names ? "Names"
                                                                                   : "Data") +
                                    (info.param.second ? "WithCopies" : "InPlace");
                         });

TEST_F(UndoJobTest, RunThatChangesNothingKeepsThePreviousJournal)
{
    options.mode = RunMode::Names;
    options.outputs.copyFolder.reset();
    ASSERT_EQ(morph(disk).failures, 0);
    int first = 0;
    ASSERT_TRUE(LastRunOperations(state.path(), first).isOk());
    ASSERT_EQ(morph(disk).filesMorphed, 0); // the names are lower-case now
    int second = 0;
    ASSERT_TRUE(LastRunOperations(state.path(), second).isOk());
    EXPECT_EQ(second, first);
}

// The journal on another file system than the tree: no hard link, no
// reflink across file systems, so the old content is copied, and comes back
// exactly all the same.
TEST_F(UndoJobTest, JournalOnAnotherFileSystemFallsBackToCopies)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "mounting a tmpfs needs root";
    ASSERT_EQ(::mount("tmpfs", state.path().c_str(), "tmpfs", 0, "size=8m"), 0);
    options.mode = RunMode::Data;
    const auto before = snapshot(dir);
    const RunSummary run = morph(disk);
    EXPECT_EQ(run.failures, 0);
    EXPECT_EQ(keptByCopy, 3);
    const UndoSummary summary = undo();
    ::umount(state.path().c_str());
    EXPECT_EQ(summary.failures, 0);
    EXPECT_EQ(snapshot(dir), before);
}

} // namespace
} // namespace quarvel::test
