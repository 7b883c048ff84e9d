#include "cli/AnswerReader.h"

#include "platform/StopSignal.h"

#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace quarvel::cli {

std::optional<ConfirmResult> parseAnswer(std::string_view line)
{
    const std::string_view blanks = " \t\r\v\f";
    const std::size_t first = line.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return std::nullopt;
    const std::size_t last = line.find_last_not_of(blanks);
    if (last != first)
        return std::nullopt;
    switch (line[first]) {
    case 'y':
    case 'Y':
        return ConfirmResult::Yes;
    case 'a':
    case 'A':
        return ConfirmResult::YesAll;
    case 'n':
    case 'N':
        return ConfirmResult::No;
    case 'c':
    case 'C':
        return ConfirmResult::CancelAll;
    default:
        return std::nullopt;
    }
}

AnswerReader::Outcome AnswerReader::readLine(std::string& line)
{
    for (;;) {
        if (stopSignalled())
            return Outcome::Interrupted;
        const std::size_t end = m_buffer.find('\n');
        if (end != std::string::npos) {
            line.assign(m_buffer, 0, end);
            m_buffer.erase(0, end + 1);
            return Outcome::Line;
        }
        if (m_ended) {
            // A last line without LF is still an answer.
            if (m_buffer.empty())
                return Outcome::EndOfInput;
            line.swap(m_buffer);
            m_buffer.clear();
            return Outcome::Line;
        }
        if (!waitForInput())
            return Outcome::Interrupted;
        char chunk[4096];
        const ssize_t got = ::read(m_fd, chunk, sizeof chunk);
        if (got > 0)
            m_buffer.append(chunk, static_cast<std::size_t>(got));
        else if (got == 0 || errno != EINTR)
            m_ended = true; // a read error ends the input like end of file
    }
}

bool AnswerReader::waitForInput()
{
    pollfd fds[2] = {{m_fd, POLLIN, 0}, {m_wakeFd, POLLIN, 0}};
    const nfds_t count = m_wakeFd >= 0 ? 2 : 1;
    for (;;) {
        if (stopSignalled())
            return false;
        const int ready = ::poll(fds, count, -1);
        if (ready < 0 && errno == EINTR)
            continue;
        if (count == 2 && (fds[1].revents & POLLIN) != 0)
            return false;
        // Input, end of input, or an error that the read will report.
        return true;
    }
}

} // namespace quarvel::cli
