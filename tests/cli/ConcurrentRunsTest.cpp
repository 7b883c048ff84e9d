// Two quarvel-cli runs at once over the same 2,000 files, on a disk file
// system (ext4 lists entries again that change during a listing; tmpfs does
// not): no file is lost, doubled or cut short, no temporary file is left, and
// every file ends as a sequence of complete rewrites.
#include "tests/cli/CliProcess.h"
#include "tests/support/TempDir.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <unistd.h>

namespace quarvel::test {
namespace {

using Lines = std::vector<std::string>;

constexpr int kFiles = 2000;
// Rewriting a file in place costs ~1 ms of ext4's time, renaming it ~30 us:
// the rewrites run once, the renames a few times.
constexpr int kRenameRounds = 3;

std::string diskBase()
{
    return ::access("/var/tmp", W_OK) == 0 ? "/var/tmp" : "/tmp";
}

std::string fileName(int i, bool upper)
{
    // Appended piece by piece: GCC 12 takes `"F" + std::string&&` at -O3 for
    // an overlapping copy (a false -Wrestrict).
    std::string name(upper ? "F" : "f");
    name += std::to_string(10000 + i);
    name += upper ? ".TXT" : ".txt";
    return name;
}

void writeFiles(const TempDir& dir, bool upper, const std::string& content)
{
    for (int i = 0; i < kFiles; ++i) {
        const std::string path = dir / ("src/" + fileName(i, upper));
        const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC | O_CLOEXEC, 0644);
        ASSERT_GE(fd, 0);
        const std::string text = content.empty() ? fileName(i, false) : content;
        ASSERT_EQ(::write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
        ::close(fd);
    }
}

int countPrefix(const Lines& lines, const std::string& prefix)
{
    int count = 0;
    for (const std::string& line : lines)
        count += line.rfind(prefix, 0) == 0 ? 1 : 0;
    return count;
}

bool summarised(const std::string& out, const std::string&)
{
    const std::size_t last = out.rfind("Morphed ");
    return last != std::string::npos && out.find('\n', last) != std::string::npos;
}

// Both runs side by side, each read while the other works: a log larger
// than a pipe would otherwise stall the run nobody reads.
std::pair<CliResult, CliResult> runTogether(const std::vector<std::string>& first,
                                            const std::vector<std::string>& second)
{
    CliProcess a(first);
    CliProcess b(second);
    bool doneA = false, doneB = false;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!(doneA && doneB) && std::chrono::steady_clock::now() < until) {
        doneA = doneA || a.readUntil(summarised, std::chrono::milliseconds(5));
        doneB = doneB || b.readUntil(summarised, std::chrono::milliseconds(5));
    }
    CliResult resultA = a.finish();
    CliResult resultB = b.finish();
    return {resultA, resultB};
}

// The summary's first line: every file was seen once.
void expectEveryFileProcessedOnce(const CliResult& result)
{
    const Lines lines = result.outLines();
    ASSERT_GE(lines.size(), 2u) << result.err;
    EXPECT_EQ(lines[lines.size() - 2], "Processed " + std::to_string(kFiles) + " files (*.*).");
}

// A listing made while the other run renames can deliver a file under its
// old and its new name, or under neither (ext4 does both: the new entry may
// land behind the listing's position and the old one vanish ahead of it).
int processedCount(const CliResult& result)
{
    const Lines lines = result.outLines();
    return lines.size() < 2 ? -1 : std::atoi(lines[lines.size() - 2].c_str() + 10);
}

TEST(ConcurrentRuns, TwoRewritesOfEveryFileLoseAndTruncateNothing)
{
    TempDir dir(diskBase());
    dir.makeDir("src");
    const std::string src = dir / "src";
    writeFiles(dir, false, "cat");
    const auto [a, b] = runTogether({"--data", "--rep", "A", "--append", "--in-place", src},
                                    {"--data", "--rep", "B", "--append", "--in-place", src});
    EXPECT_EQ(a.status, 0) << a.err;
    EXPECT_EQ(b.status, 0) << b.err;
    expectEveryFileProcessedOnce(a);
    expectEveryFileProcessedOnce(b);

    const Lines names = dir.list("src");
    ASSERT_EQ(static_cast<int>(names.size()), kFiles);
    // Each run rewrote each file once, from what it read: the later rewrite
    // either saw the earlier one or replaced it whole.
    const std::set<std::string> complete = {"catA", "catB", "catAB", "catBA"};
    int bad = 0;
    for (int i = 0; i < kFiles; ++i) {
        EXPECT_EQ(names[static_cast<std::size_t>(i)], fileName(i, false));
        const std::string content = dir.read("src/" + fileName(i, false));
        if (complete.count(content) == 0 && ++bad <= 5)
            ADD_FAILURE() << fileName(i, false) << " holds \"" << content << "\"";
    }
}

TEST(ConcurrentRuns, TwoRenamesOfEveryFileRenameEachOnce)
{
    TempDir dir(diskBase());
    dir.makeDir("src");
    const std::string src = dir / "src";
    writeFiles(dir, true, "");
    for (int round = 0; round < kRenameRounds; ++round) {
        SCOPED_TRACE(round);
        for (int i = 0; round > 0 && i < kFiles; ++i) {
            ASSERT_EQ(::rename((dir / ("src/" + fileName(i, false))).c_str(),
                               (dir / ("src/" + fileName(i, true))).c_str()),
                      0);
        }
        const std::vector<std::string> lowerCase = {"--names", "--lower-file", "--lower-ext",
                                                    "--in-place", src};
        const auto [a, b] = runTogether(lowerCase, lowerCase);
        // A file the other run renamed first is a failure of this run; one
        // it renamed while this run listed the folder may be missed here.
        const Lines linesA = a.outLines(), linesB = b.outLines();
        const int renamedA = countPrefix(linesA, "Renamed ");
        const int renamedB = countPrefix(linesB, "Renamed ");
        EXPECT_EQ(renamedA + renamedB, kFiles);
        EXPECT_GE(processedCount(a) + renamedB, kFiles);
        EXPECT_GE(processedCount(b) + renamedA, kFiles);
        for (const Lines* lines : {&linesA, &linesB}) {
            for (const std::string& line : *lines) {
                if (line.rfind("Failed ", 0) == 0) {
                    EXPECT_NE(line.find(": No such file or directory"), std::string::npos) << line;
                }
            }
        }

        const Lines names = dir.list("src");
        ASSERT_EQ(static_cast<int>(names.size()), kFiles);
        for (int i = 0; i < kFiles; ++i) {
            EXPECT_EQ(names[static_cast<std::size_t>(i)], fileName(i, false));
            EXPECT_EQ(dir.read("src/" + fileName(i, false)), fileName(i, false));
        }
    }
}

} // namespace
} // namespace quarvel::test
