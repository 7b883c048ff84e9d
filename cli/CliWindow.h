#pragma once

#include "cli/AnswerReader.h"
#include "cli/LineOutput.h"
#include "cli/ProgressLine.h"
#include "engine/RunState.h"
#include "engine/RunWindow.h"

#include <string>

namespace quarvel::cli {

// The run's window on a terminal: confirmation questions on standard error
// answered from standard input, the progress line, and the stop request
// (a stop signal, or standard output gone). There are no controls to
// exchange with and no summary box: the summary lines are in the log.
class CliWindow : public RunWindow
{
public:
    CliWindow(const RunState& state, const std::string& startDir, LineOutput& output,
              ProgressLine& progress, AnswerReader& answers, int promptFd)
        : m_state(state), m_startDir(startDir), m_output(output), m_progress(progress),
          m_answers(answers), m_promptFd(promptFd)
    {
    }

    ConfirmResult askConfirmation(const std::string& message) override;
    void writeControls() override {}
    void readControls() override {}
    void setProgressPosition(int) override { m_progress.update(m_state.filesProcessed); }
    void setProgressVisible(bool visible) override;
    void showSummary(const std::string&) override {}
    void folderStarted(const std::string& relativePath) override;
    bool stopRequested() override;

private:
    void writePrompt(const std::string& text);

    const RunState& m_state;
    const std::string& m_startDir;
    LineOutput& m_output;
    ProgressLine& m_progress;
    AnswerReader& m_answers;
    const int m_promptFd;
};

} // namespace quarvel::cli
