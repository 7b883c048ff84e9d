#include "cli/CliWindow.h"

#include "platform/StopSignal.h"

#include <unistd.h>

namespace quarvel::cli {

ConfirmResult CliWindow::askConfirmation(const std::string& message)
{
    // After an interrupt nothing more is asked: the operation is refused
    // and the run stops at its next check.
    if (stopRequested())
        return ConfirmResult::No;
    // Everything logged so far is on screen before the question.
    m_output.flush();
    m_progress.clear();
    writePrompt(message + "\n" + kAnswerPrompt);
    std::string line;
    for (;;) {
        switch (m_answers.readLine(line)) {
        case AnswerReader::Outcome::EndOfInput:
            writePrompt("\n");
            return ConfirmResult::CancelAll;
        case AnswerReader::Outcome::Interrupted:
            writePrompt("\n");
            return ConfirmResult::No;
        case AnswerReader::Outcome::Line:
            if (const auto answer = parseAnswer(line))
                return *answer;
            writePrompt(kAnswerPrompt);
            break;
        }
    }
}

void CliWindow::setProgressVisible(bool visible)
{
    if (!visible)
        m_progress.clear();
}

void CliWindow::folderStarted(const std::string& relativePath)
{
    m_progress.setFolder(m_startDir + relativePath);
}

bool CliWindow::stopRequested()
{
    return stopSignalled() || m_output.error() != 0;
}

void CliWindow::writePrompt(const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = ::write(m_promptFd, text.data() + done, text.size() - done);
        if (written <= 0)
            return;
        done += static_cast<std::size_t>(written);
    }
}

} // namespace quarvel::cli
