#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace quarvel::test {

// The built quarvel-cli: $QUARVEL_CLI, or its place in the build tree.
std::string cliExecutable();

// What a finished quarvel-cli run gave.
struct CliResult
{
    int status = -1; // exit status, or 128 + signal number when killed
    std::string out;
    std::string err;
    bool timedOut = false;

    std::vector<std::string> outLines() const; // stdout split at LF
};

// One quarvel-cli child with its three standard streams on pipes (standard
// error may go to a given descriptor instead, such as a terminal).
class CliProcess
{
public:
    using Env = std::vector<std::pair<std::string, std::string>>;

    CliProcess(const std::vector<std::string>& args, const Env& env = {}, int stderrFd = -1);
    ~CliProcess();
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;

    int pid() const { return m_pid; }
    void sendSignal(int signal) const;

    // Writes to standard input (without closing it).
    void write(const std::string& input);
    void closeInput();

    // Reads both outputs until `done` holds for what has arrived so far, or
    // the timeout passes; true when `done` held. Nothing is read after that.
    bool readUntil(const std::function<bool(const std::string& out, const std::string& err)>& done,
                   std::chrono::milliseconds timeout = std::chrono::seconds(20));

    // Sends `input`, closes standard input, reads everything and waits for
    // the end (killing the child after the timeout).
    CliResult finish(const std::string& input = {},
                     std::chrono::milliseconds timeout = std::chrono::seconds(30));

    const std::string& outSoFar() const { return m_out; }
    const std::string& errSoFar() const { return m_err; }

private:
    bool pump(int timeoutMs, std::string* input);

    int m_pid = -1;
    int m_in = -1, m_outFd = -1, m_errFd = -1;
    std::string m_out, m_err;
};

// Runs quarvel-cli to the end with `input` on standard input.
CliResult runCli(const std::vector<std::string>& args, const std::string& input = {},
                 const CliProcess::Env& env = {});

} // namespace quarvel::test
