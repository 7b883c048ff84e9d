#include "platform/TemporaryName.h"
#include "tests/engine/FileDataModeFixture.h"

#include <chrono>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <time.h>
#include <unistd.h>

namespace quarvel::test {
namespace {

using Lines = std::vector<std::string>;

constexpr int kFiles = 300;

std::string repeated(const std::string& piece, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

timespec folderChangeTime(const std::string& folder)
{
    struct stat st
    {
    };
    ::stat(folder.c_str(), &st);
    return st.st_mtim;
}

bool sameTime(const timespec& a, const timespec& b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// A run over many files, killed with SIGKILL a while after its first write
// reached the folder, with hidden named temporary files (as on file
// systems without O_TMPFILE) or anonymous ones.
struct FileDataKill : FileDataTest, ::testing::WithParamInterface<bool>
{
    const std::string oldContent = repeated("the cat sat on the mat\n", 200);
    const std::string newContent = repeated("the dog sat on the mat\n", 200);
    std::string folder;

    // A fresh folder for each round: rewriting files by truncation would
    // make ext4 flush each of them and slow the test down.
    void fillTree(int round)
    {
        folder = "src/" + std::to_string(round) + "/";
        settings.StartDir = dir / folder;
        for (int i = 0; i < kFiles; ++i)
            dir.write(folder + "f" + std::to_string(i), oldContent);
    }

    // Returns true when the child was killed before it finished.
    bool runAndKill(std::chrono::milliseconds delay)
    {
        fs.setAnonymousTemporaryFiles(GetParam());
        const timespec before = folderChangeTime(settings.StartDir);
        const pid_t child = ::fork();
        if (child == 0) {
            run();
            ::_exit(0);
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (sameTime(folderChangeTime(settings.StartDir), before) &&
               std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        std::this_thread::sleep_for(delay);
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFSIGNALED(status);
    }
};

TEST_P(FileDataKill, EveryFileIsOldOrNewAndNoTemporaryFileIsProcessed)
{
    settings.Recurse = 0;
    for (int delayMs : {0, 30}) {
        SCOPED_TRACE(delayMs);
        fillTree(delayMs);
        const bool killed = runAndKill(std::chrono::milliseconds(delayMs));
        int oldFiles = 0;
        int newFiles = 0;
        for (const std::string& name : dir.list(folder)) {
            if (isTemporaryName(name))
                continue; // only a crash leaves these; listings hide them
            const std::string content = dir.read(folder + name);
            oldFiles += content == oldContent;
            newFiles += content == newContent;
            EXPECT_TRUE(content == oldContent || content == newContent) << name;
        }
        EXPECT_EQ(oldFiles + newFiles, kFiles);
        // Killed at once, files are left to do; 30 ms in, a fast run may
        // have written them all and been killed while it flushed.
        if (killed && delayMs == 0) {
            EXPECT_GT(oldFiles, 0);
        }

        // A later run sees exactly the original files and finishes the job.
        run();
        EXPECT_EQ(state.filesProcessed, kFiles);
        EXPECT_EQ(logLines().back(), "Morphed " + std::to_string(oldFiles) + " unique files.");
        EXPECT_EQ(log.failureCount(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(TemporaryFiles, FileDataKill, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Anonymous" : "Named"; });

} // namespace
} // namespace quarvel::test
