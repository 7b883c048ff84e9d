#pragma once

#include "engine/Confirmation.h"

#include <optional>
#include <string>
#include <string_view>

namespace quarvel::cli {

inline constexpr char kAnswerPrompt[] = "[y]es, yes to [a]ll, [n]o, [c]ancel all? ";

// One answer line: "y", "a", "n" or "c" in either case, with surrounding
// blanks (and a CR before the LF) allowed. Anything else is no answer.
std::optional<ConfirmResult> parseAnswer(std::string_view line);

// Reads answer lines from a descriptor (standard input), a line at a time.
// While it waits it also watches the stop-signal descriptor, so an
// interrupt is noticed even when no input comes.
class AnswerReader
{
public:
    enum class Outcome
    {
        Line,
        EndOfInput,
        Interrupted,
    };

    AnswerReader(int fd, int wakeFd) : m_fd(fd), m_wakeFd(wakeFd) {}

    // The next line, without its LF.
    Outcome readLine(std::string& line);

private:
    // Waits for input; false when a stop signal came first.
    bool waitForInput();

    const int m_fd;
    const int m_wakeFd;
    std::string m_buffer;
    bool m_ended = false;
};

} // namespace quarvel::cli
