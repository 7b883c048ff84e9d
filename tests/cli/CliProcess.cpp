#include "tests/cli/CliProcess.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <signal.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace quarvel::test {

namespace {

void closeFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

std::vector<std::string> environmentWith(const CliProcess::Env& overrides)
{
    std::vector<std::string> env;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        bool replaced = false;
        for (const auto& [name, value] : overrides)
            replaced = replaced || text.compare(0, name.size() + 1, name + "=") == 0;
        if (!replaced)
            env.push_back(text);
    }
    for (const auto& [name, value] : overrides)
        env.push_back(name + "=" + value);
    return env;
}

std::vector<char*> pointersTo(std::vector<std::string>& texts)
{
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

std::string cliExecutable()
{
    const char* path = std::getenv("QUARVEL_CLI");
    if (path != nullptr && *path != '\0')
        return path;
    // Run by hand: the executable's place in the build tree, beside tests/.
    std::error_code ignored;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ignored);
    return (self.parent_path().parent_path() / "cli" / "quarvel-cli").string();
}

std::vector<std::string> CliResult::outLines() const
{
    std::vector<std::string> lines;
    std::size_t begin = 0;
    for (std::size_t end = out.find('\n'); end != std::string::npos; end = out.find('\n', begin)) {
        lines.push_back(out.substr(begin, end - begin));
        begin = end + 1;
    }
    if (begin < out.size())
        lines.push_back(out.substr(begin)); // an unterminated last line
    return lines;
}

CliProcess::CliProcess(const std::vector<std::string>& args, const Env& env, int stderrFd)
{
    ::signal(SIGPIPE, SIG_IGN); // a child that ends early must not kill the test
    int in[2], out[2], err[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    std::vector<std::string> argv{cliExecutable()};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> envp = environmentWith(env);
    std::vector<char*> argPointers = pointersTo(argv);
    std::vector<char*> envPointers = pointersTo(envp);
    m_pid = ::fork();
    if (m_pid == 0) {
        ::dup2(in[0], 0);
        ::dup2(out[1], 1);
        ::dup2(stderrFd >= 0 ? stderrFd : err[1], 2);
        ::execve(argPointers[0], argPointers.data(), envPointers.data());
        ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    ::close(err[1]);
    m_in = in[1];
    m_outFd = out[0];
    m_errFd = err[0];
    ::fcntl(m_in, F_SETFL, O_NONBLOCK);
}

CliProcess::~CliProcess()
{
    closeFd(m_in);
    closeFd(m_outFd);
    closeFd(m_errFd);
    if (m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
    }
}

void CliProcess::sendSignal(int signal) const
{
    ::kill(m_pid, signal);
}

void CliProcess::write(const std::string& input)
{
    std::string rest = input;
    while (!rest.empty() && m_in >= 0)
        pump(1000, &rest);
}

void CliProcess::closeInput()
{
    closeFd(m_in);
}

bool CliProcess::pump(int timeoutMs, std::string* input)
{
    pollfd fds[3];
    nfds_t count = 0;
    if (m_outFd >= 0)
        fds[count++] = {m_outFd, POLLIN, 0};
    if (m_errFd >= 0)
        fds[count++] = {m_errFd, POLLIN, 0};
    const bool writing = input != nullptr && !input->empty() && m_in >= 0;
    if (writing)
        fds[count++] = {m_in, POLLOUT, 0};
    if (count == 0)
        return false;
    if (::poll(fds, count, timeoutMs) <= 0)
        return true;
    for (nfds_t i = 0; i < count; ++i) {
        if (fds[i].revents == 0)
            continue;
        if (fds[i].fd == m_in) {
            const ssize_t written = ::write(m_in, input->data(), input->size());
            if (written > 0)
                input->erase(0, static_cast<std::size_t>(written));
            else if (written < 0 && errno != EAGAIN)
                input->clear(); // the child closed its input
            continue;
        }
        char buffer[65536];
        const ssize_t got = ::read(fds[i].fd, buffer, sizeof buffer);
        int& fd = fds[i].fd == m_outFd ? m_outFd : m_errFd;
        std::string& text = fds[i].fd == m_outFd ? m_out : m_err;
        if (got > 0)
            text.append(buffer, static_cast<std::size_t>(got));
        else if (got == 0 || errno != EINTR)
            closeFd(fd);
    }
    return true;
}

bool CliProcess::readUntil(
    const std::function<bool(const std::string& out, const std::string& err)>& done,
    std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done(m_out, m_err)) {
        if (std::chrono::steady_clock::now() > deadline || !pump(50, nullptr))
            return done(m_out, m_err);
    }
    return true;
}

CliResult CliProcess::finish(const std::string& input, std::chrono::milliseconds timeout)
{
    CliResult result;
    std::string rest = input;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (m_outFd >= 0 || m_errFd >= 0) {
        if (rest.empty())
            closeInput();
        if (std::chrono::steady_clock::now() > deadline) {
            result.timedOut = true;
            ::kill(m_pid, SIGKILL);
            break;
        }
        pump(100, &rest);
    }
    closeInput();
    int status = 0;
    ::waitpid(m_pid, &status, 0);
    m_pid = -1;
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = m_out;
    result.err = m_err;
    return result;
}

CliResult runCli(const std::vector<std::string>& args, const std::string& input,
                 const CliProcess::Env& env)
{
    CliProcess process(args, env);
    return process.finish(input);
}

} // namespace quarvel::test
