#pragma once

#include "cli/AnswerReader.h"
#include "cli/LineOutput.h"
#include "cli/ProgressLine.h"
#include "engine/Confirmation.h"
#include "engine/RunContext.h"

namespace quarvel::cli {

// Asks a run's questions on a terminal: the question on standard error,
// answered from standard input on the run's own thread. After a stop
// request nothing more is asked.
class CliConfirmer : public Confirmer
{
public:
    CliConfirmer(LineOutput& output, ProgressLine& progress, AnswerReader& answers, int promptFd,
                 StopRequest stop)
        : m_output(output), m_progress(progress), m_answers(answers), m_promptFd(promptFd),
          m_stop(std::move(stop))
    {
    }

    ConfirmResult confirm(const ConfirmationQuestion& question) override;

private:
    void writePrompt(const std::string& text);

    LineOutput& m_output;
    ProgressLine& m_progress;
    AnswerReader& m_answers;
    const int m_promptFd;
    StopRequest m_stop;
};

} // namespace quarvel::cli
