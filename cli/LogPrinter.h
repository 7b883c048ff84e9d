#pragma once

#include "cli/LineOutput.h"
#include "cli/ProgressLine.h"
#include "report/OperationLog.h"

namespace quarvel::cli {

// Streams every log line to standard output as it is added. When standard
// output shares the terminal with the progress line, the progress line is
// taken away first so the two never run into each other.
class LogPrinter : public LogListener
{
public:
    LogPrinter(LineOutput& output, ProgressLine& progress, bool sharesTerminal)
        : m_output(output), m_progress(progress), m_sharesTerminal(sharesTerminal)
    {
    }

    void lineAdded(std::string_view line) override
    {
        if (m_sharesTerminal)
            m_progress.clear();
        m_output.writeLine(line);
    }

private:
    LineOutput& m_output;
    ProgressLine& m_progress;
    const bool m_sharesTerminal;
};

} // namespace quarvel::cli
