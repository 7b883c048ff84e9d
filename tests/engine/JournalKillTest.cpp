// A file-name run killed with SIGKILL half-way: every rename it made is in
// its journal, so the undo brings every name back.
#include "engine/JournalingFileSystem.h"
#include "engine/MorphJob.h"
#include "engine/UndoJob.h"
#include "platform/PosixFileSystem.h"
#include "report/LogWriter.h"
#include "report/UndoLogWriter.h"
#include "tests/support/TempDir.h"

#include <chrono>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace quarvel::test {
namespace {

struct Yes : Confirmer
{
    ConfirmResult confirm(const ConfirmationQuestion&) override { return ConfirmResult::Yes; }
};

constexpr int kFiles = 4000;

std::int64_t changeTime(const std::string& folder)
{
    struct stat st
    {
    };
    ::stat(folder.c_str(), &st);
    return st.st_ctim.tv_sec * 1000000000 + st.st_ctim.tv_nsec;
}

// The child's run: lower-cases every name with two jobs (renamed on a worker).
void lowerCaseNames(const TempDir& dir, const TempDir& state)
{
    RunOptions options;
    options.selection = {dir.path(), "*.*", false};
    options.nameCase = {true, true};
    options.outputs.inPlace = true;
    options.jobs = 2;
    PosixFileSystem disk;
    RunJournal journal(state.path());
    JournalingFileSystem journaled(disk, journal);
    OperationLog log;
    LogWriter writer(log);
    Yes yes;
    RunMorphJob(options, journaled, yes, writer);
}

TEST(JournalKill, EveryRenameOfAKilledRunIsUndone)
{
    for (const int delayMs : {0, 3}) {
        TempDir dir("/dev/shm");
        TempDir state("/dev/shm");
        for (int i = 0; i < kFiles; ++i)
            dir.write("NAME" + std::to_string(i) + ".TXT", "");
        const std::int64_t before = changeTime(dir.path());
        const pid_t child = ::fork();
        if (child == 0) {
            lowerCaseNames(dir, state);
            ::_exit(0);
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (changeTime(dir.path()) == before && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);

        int renamed = 0;
        for (const std::string& name : dir.list())
            renamed += name[0] == 'n' ? 1 : 0;
        EXPECT_GT(renamed, 0);
        OperationLog undoLog;
        UndoLogWriter writer(undoLog);
        UndoSummary summary;
        PosixFileSystem disk;
        ASSERT_TRUE(RunUndo(state.path(), disk, false, writer, summary).isOk());
        // A kill between a rename and its journal line may leave that one
        // rename out; none other.
        EXPECT_GE(summary.reversed, renamed - 1) << "killed " << delayMs << " ms in";
        EXPECT_EQ(summary.failures, 0);
        int left = 0;
        for (const std::string& name : dir.list())
            left += name[0] == 'n' ? 1 : 0;
        EXPECT_LE(left, 1);
    }
}

} // namespace
} // namespace quarvel::test
