// --interactive: questions on standard error, answers read from standard
// input line by line, end of input taken as Cancel All.
#include "tests/cli/CliProcess.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace quarvel::test {
namespace {

using Lines = std::vector<std::string>;

constexpr char kPrompt[] = "[y]es, yes to [a]ll, [n]o, [c]ancel all? ";

// Three files, one per folder of a chain, so the run meets them in a known
// order: deepest first.
class CliInteractive : public ::testing::Test
{
protected:
    CliInteractive()
    {
        for (const char* name : {"src/d1/d2/f3.txt", "src/d1/f2.txt", "src/f1.txt"})
            dir.write(name, "cat");
    }

    CliResult run(const std::string& answers) { return runCli(args(), answers); }

    std::vector<std::string> args() const
    {
        return {"--data",     "--pattern", "cat",           "--rep",    "dog",
                "--in-place", "--recurse", "--interactive", dir / "src"};
    }

    std::string question(const std::string& relative) const
    {
        return "Morph file\r\n" + src + relative + "\n" + kPrompt;
    }

    TempDir dir;
    const std::string src = dir / "src/";
};

TEST_F(CliInteractive, AnswersYesAndNoAndEndOfInputCancelsAll)
{
    // "x" and a blank line are no answers: the prompt is shown again.
    const CliResult result = run("x\n\n y\r\nN\n");

    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.outLines(), (Lines{
                                     "Updated file " + src + "d1/d2/f3.txt (1 changes)",
                                     "User cancelled file morph --> " + src + "d1/f2.txt",
                                     "User cancelled all operations",
                                     "User cancelled file morph --> " + src + "f1.txt",
                                     "Processed 3 files (*.*).",
                                     "Morphed 1 unique file.",
                                 }));
    EXPECT_EQ(result.err, question("d1/d2/f3.txt") + kPrompt + kPrompt + question("d1/f2.txt") +
                              question("f1.txt") + "\n");
    EXPECT_EQ(dir.read("src/d1/d2/f3.txt"), "dog");
    EXPECT_EQ(dir.read("src/d1/f2.txt"), "cat");
    EXPECT_EQ(dir.read("src/f1.txt"), "cat");
}

TEST_F(CliInteractive, YesToAllStopsAsking)
{
    const CliResult result = run("A\n");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.outLines(), (Lines{
                                     "User confirmed all operations",
                                     "Updated file " + src + "d1/d2/f3.txt (1 changes)",
                                     "Updated file " + src + "d1/f2.txt (1 changes)",
                                     "Updated file " + src + "f1.txt (1 changes)",
                                     "Processed 3 files (*.*).",
                                     "Morphed 3 unique files.",
                                 }));
    EXPECT_EQ(result.err, question("d1/d2/f3.txt"));
}

TEST_F(CliInteractive, CancelAllRefusesEverythingWithoutAsking)
{
    // The second line is never read.
    const CliResult result = run("c\ny\n");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.outLines(), (Lines{
                                     "User cancelled all operations",
                                     "User cancelled file morph --> " + src + "d1/d2/f3.txt",
                                     "User cancelled file morph --> " + src + "d1/f2.txt",
                                     "User cancelled file morph --> " + src + "f1.txt",
                                     "Processed 3 files (*.*).",
                                     "Morphed 0 unique files.",
                                 }));
    EXPECT_EQ(result.err, question("d1/d2/f3.txt"));
    EXPECT_EQ(dir.read("src/d1/d2/f3.txt"), "cat");
}

TEST_F(CliInteractive, LogLinesAreOutBeforeTheNextQuestion)
{
    // A conversation: each answer is given only after its question is seen,
    // and the line logged for the first answer is on standard output by the
    // time the second question is asked.
    CliProcess process(args());
    const auto questions = [](const std::string& err) {
        std::size_t count = 0;
        for (std::size_t at = err.find(kPrompt); at != std::string::npos;
             at = err.find(kPrompt, at + 1))
            ++count;
        return count;
    };
    ASSERT_TRUE(process.readUntil([&](auto&, auto& err) { return questions(err) == 1; }));
    EXPECT_EQ(process.outSoFar(), "");
    process.write("y\n");
    ASSERT_TRUE(process.readUntil([&](auto&, auto& err) { return questions(err) == 2; }));
    const std::string firstLine = "Updated file " + src + "d1/d2/f3.txt (1 changes)\n";
    EXPECT_TRUE(process.readUntil([&](auto& out, auto&) { return out == firstLine; }));
    const CliResult result = process.finish("y\ny\n");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.outLines().back(), "Morphed 3 unique files.");
}

} // namespace
} // namespace quarvel::test
