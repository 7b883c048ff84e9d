// The command line's parts in process: reading the arguments, reading
// answers, and timely output.
#include "cli/AnswerReader.h"
#include "cli/CliCommand.h"
#include "cli/LineOutput.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <thread>
#include <unistd.h>

namespace quarvel::test {
namespace {

using cli::CliCommand;
using cli::parseCommandLine;

TEST(CliCommandLine, OptionsSetTheirFieldsInOrderOverTheBase)
{
    const CliCommand command = parseCommandLine(
        {"--data", "--mask", "*.a", "--mask=*.b", "--copy-to", "/out", "--lower-ext", "/start"});
    ASSERT_EQ(command.action, CliCommand::Action::Run) << command.error;
    MorphSettings settings;
    settings.LowerExt = 0;
    settings.SearchMode = 1;
    command.applyTo(settings);
    EXPECT_EQ(settings.Mask, "*.b");
    EXPECT_EQ(settings.SearchMode, 0);
    EXPECT_EQ(settings.Copy, 1);
    EXPECT_EQ(settings.CopyDir, "/out");
    EXPECT_EQ(settings.LowerExt, 1);
    EXPECT_EQ(command.startDir, "/start");
    EXPECT_FALSE(command.saved);
    EXPECT_FALSE(command.dryRun);
}

TEST(CliCommandLine, SavedSettingsMayKeepTheirMode)
{
    const CliCommand command = parseCommandLine({"--saved", "--dry-run", "/start"});
    EXPECT_EQ(command.action, CliCommand::Action::Run) << command.error;
    EXPECT_TRUE(command.saved);
    EXPECT_TRUE(command.dryRun);
    EXPECT_FALSE(command.modeGiven);
    // Both modes at once stay an error.
    EXPECT_EQ(parseCommandLine({"--saved", "--names", "--data", "/start"}).action,
              CliCommand::Action::UsageError);
}

TEST(CliAnswers, OneLetterEitherCaseWithBlanks)
{
    using cli::parseAnswer;
    EXPECT_EQ(parseAnswer("y"), ConfirmResult::Yes);
    EXPECT_EQ(parseAnswer(" A\r"), ConfirmResult::YesAll);
    EXPECT_EQ(parseAnswer("N"), ConfirmResult::No);
    EXPECT_EQ(parseAnswer("\tc "), ConfirmResult::CancelAll);
    for (const char* other : {"", " ", "yes", "yy", "x", "y n"})
        EXPECT_EQ(parseAnswer(other), std::nullopt) << other;
}

TEST(CliAnswers, ReaderGivesLinesThenTheEnd)
{
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const std::string input = "y\n\nlast";
    ASSERT_EQ(::write(fds[1], input.data(), input.size()), static_cast<ssize_t>(input.size()));
    ::close(fds[1]);
    cli::AnswerReader reader(fds[0], -1);
    std::string line;
    using Outcome = cli::AnswerReader::Outcome;
    ASSERT_EQ(reader.readLine(line), Outcome::Line);
    EXPECT_EQ(line, "y");
    ASSERT_EQ(reader.readLine(line), Outcome::Line);
    EXPECT_EQ(line, "");
    ASSERT_EQ(reader.readLine(line), Outcome::Line);
    EXPECT_EQ(line, "last");
    EXPECT_EQ(reader.readLine(line), Outcome::EndOfInput);
    EXPECT_EQ(reader.readLine(line), Outcome::EndOfInput);
    ::close(fds[0]);
}

std::string readAvailable(int fd, int waitMs)
{
    std::string text;
    pollfd p{fd, POLLIN, 0};
    while (::poll(&p, 1, waitMs) > 0) {
        char buffer[65536];
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0)
            break;
        text.append(buffer, static_cast<std::size_t>(got));
        waitMs = 0;
    }
    return text;
}

TEST(CliOutput, CollectedLinesAreWrittenWithinTheFlushInterval)
{
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    // Room for the whole block, so writing it cannot wait for this reader.
    ASSERT_GT(::fcntl(fds[1], F_SETPIPE_SZ, 1 << 20), 0);
    {
        cli::LineOutput output(fds[1], false);
        output.writeLine("first");
        output.writeLine("second");
        // Nothing more is added, yet the lines arrive without a flush call.
        EXPECT_EQ(readAvailable(fds[0], 1000), "first\nsecond\n");
        // A full block goes out at once.
        const std::string big(cli::LineOutput::kBlockSize, 'x');
        output.writeLine(big);
        EXPECT_EQ(readAvailable(fds[0], 0).size(), big.size() + 1);
        output.writeLine("tail");
    }
    ::close(fds[1]);
    EXPECT_EQ(readAvailable(fds[0], 1000), "tail\n");
    ::close(fds[0]);
}

TEST(CliOutput, AClosedReaderIsReportedAndLaterLinesDropped)
{
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    ::close(fds[0]);
    ::signal(SIGPIPE, SIG_IGN);
    cli::LineOutput output(fds[1], true);
    output.writeLine("lost");
    EXPECT_EQ(output.error(), EPIPE);
    output.writeLine("also lost");
    ::close(fds[1]);
}

} // namespace
} // namespace quarvel::test
