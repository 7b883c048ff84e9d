// The progress line: drawn on standard error only when it is a terminal,
// cut to the terminal's width.
#include "cli/ProgressLine.h"
#include "tests/cli/CliProcess.h"
#include "tests/support/TempDir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <thread>
#include <unistd.h>

namespace quarvel::test {
namespace {

using cli::progressText;

TEST(ProgressText, CutsTheFolderFromTheLeftToFitTheWidth)
{
    EXPECT_EQ(progressText(12, "/data/photos/", 80), "12 files  /data/photos/");
    // 20 columns, one kept free: "7 files  " leaves 10 for "..." + tail.
    EXPECT_EQ(progressText(7, "/a/long/folder/name/", 20), "7 files  ...r/name/");
    // A cut never starts inside a UTF-8 sequence (é is C3 A9).
    EXPECT_EQ(progressText(7, "/x/caf\xC3\xA9/", 16), "7 files  ...\xC3\xA9/");
    EXPECT_EQ(progressText(7, "/x/caf\xC3\xA9/", 15), "7 files  .../");
    EXPECT_EQ(progressText(7, "/new\nline/", 80), "7 files  /new?line/");
    EXPECT_EQ(progressText(123456, "/folder/", 8), "123456 ");
}

// A terminal for the child's standard error; everything it wrote is read
// back from the other side.
class PseudoTerminal
{
public:
    PseudoTerminal()
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (m_master >= 0 && ::grantpt(m_master) == 0 && ::unlockpt(m_master) == 0)
            m_slave = ::open(::ptsname(m_master), O_RDWR | O_NOCTTY | O_CLOEXEC);
    }
    ~PseudoTerminal()
    {
        closeSlave();
        if (m_master >= 0)
            ::close(m_master);
    }

    bool ok() const { return m_slave >= 0; }
    int slave() const { return m_slave; }
    void closeSlave()
    {
        if (m_slave >= 0)
            ::close(m_slave);
        m_slave = -1;
    }
    std::string readAll()
    {
        std::string text;
        pollfd fd{m_master, POLLIN, 0};
        while (::poll(&fd, 1, 200) > 0) {
            char buffer[4096];
            const ssize_t got = ::read(m_master, buffer, sizeof buffer);
            if (got <= 0)
                break;
            text.append(buffer, static_cast<std::size_t>(got));
        }
        return text;
    }

private:
    int m_master = -1;
    int m_slave = -1;
};

TEST(CliProgress, ATerminalGetsTheLineAndAPipeGetsNothing)
{
    TempDir dir;
    // Long lines (long folder names) fill the output pipe quickly.
    const std::string level = std::string(250, 'd') + "/";
    const std::string folder = "src/" + level + level + level;
    for (int i = 0; i < 200; ++i)
        dir.write(folder + "NAME" + std::to_string(i) + ".TXT", "");
    const std::vector<std::string> args = {"--names", "--lower-file", "--in-place", dir / folder};

    PseudoTerminal terminal;
    ASSERT_TRUE(terminal.ok());
    CliProcess process(args, {}, terminal.slave());
    terminal.closeSlave();
    // Standard output is not read for a while, so the run lasts longer than
    // one redraw interval.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const CliResult result = process.finish();
    EXPECT_EQ(result.status, 0);
    const std::string screen = terminal.readAll();
    EXPECT_NE(screen.find("\r\x1b[K"), std::string::npos) << screen;
    EXPECT_NE(screen.find(" files  ..."), std::string::npos) << screen; // cut to 80 columns
    // The line is taken away at the end.
    EXPECT_EQ(screen.substr(screen.size() - 4), "\r\x1b[K");

    // Standard error on a pipe: no progress at all.
    TempDir other;
    other.write("src/A.TXT", "");
    EXPECT_EQ(runCli({"--names", "--lower-file", "--in-place", other / "src"}).err, "");
}

} // namespace
} // namespace quarvel::test
