// SIGINT during a file-data run over many files: the rewrite under way is
// finished or undone, no temporary file stays, and every file holds either
// its old or its new content.
#include "tests/cli/CliProcess.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <string>

namespace quarvel::test {
namespace {

constexpr int kFiles = 300;
// Long folder names make each log line about 1 KB, so that the run, which
// nobody reads until the signal, is still busy when it comes.
const std::string kFolder = "src/" + std::string(250, 'd') + "/" + std::string(250, 'e') + "/" +
                            std::string(250, 'f') + "/";

class CliDataInterrupt : public ::testing::TestWithParam<const char*>
{
};

// One job and several: a stop ends the run after the files under way, and
// the log counts exactly what was put in place.
TEST_P(CliDataInterrupt, EveryFileIsOldOrNewAndNoTemporaryFileStays)
{
    TempDir dir;
    for (int i = 0; i < kFiles; ++i)
        dir.write(kFolder + "file" + std::to_string(i), "cat");
    CliProcess process(
        {"--data", "--rep", "A", "--append", "--in-place", "--jobs", GetParam(), dir / kFolder});
    ASSERT_TRUE(process.readUntil([](auto& out, auto&) { return !out.empty(); }));
    process.sendSignal(SIGINT);
    const CliResult result = process.finish();

    EXPECT_EQ(result.status, 130) << result.err;
    const std::vector<std::string> lines = result.outLines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines.back(), "Interrupted");
    const int updated = static_cast<int>(lines.size()) - 3;
    EXPECT_LT(updated, kFiles);
    EXPECT_EQ(lines[lines.size() - 2], "Morphed " + std::to_string(updated) + " unique files.");

    const std::vector<std::string> names = dir.list(kFolder);
    ASSERT_EQ(static_cast<int>(names.size()), kFiles); // no hidden temporary file among them
    int rewritten = 0;
    for (const std::string& name : names) {
        const std::string content = dir.read(kFolder + name);
        EXPECT_TRUE(content == "cat" || content == "catA") << name << ": " << content;
        rewritten += content == "catA" ? 1 : 0;
    }
    EXPECT_EQ(rewritten, updated);
}

INSTANTIATE_TEST_SUITE_P(Jobs, CliDataInterrupt, ::testing::Values("1", "4"));

} // namespace
} // namespace quarvel::test
