#include "cli/CliConfirmer.h"

#include "platform/WriteAll.h"
#include "report/ConfirmMessage.h"

namespace quarvel::cli {

ConfirmResult CliConfirmer::confirm(const ConfirmationQuestion& question)
{
    // After an interrupt nothing more is asked: the operation is refused
    // and the run stops at its next check.
    if (m_stop && m_stop())
        return ConfirmResult::No;
    // Everything logged so far is on screen before the question.
    m_output.flush();
    m_progress.clear();
    writePrompt(ConfirmMessage(question) + "\n" + kAnswerPrompt);
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

void CliConfirmer::writePrompt(const std::string& text)
{
    writeAll(m_promptFd, text);
}

} // namespace quarvel::cli
