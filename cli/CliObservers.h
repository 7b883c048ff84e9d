#pragma once

#include "cli/LineOutput.h"
#include "cli/ProgressLine.h"
#include "engine/RunObserver.h"

#include <string>

namespace quarvel::cli {

// Keeps the terminal's progress line up to date: the files processed so far
// and the folder under way.
class ProgressObserver : public RunObserver
{
public:
    explicit ProgressObserver(ProgressLine& progress) : m_progress(progress) {}

    void runStarted(const RunOptions& options) override;
    void folderStarted(const std::string& relativePath) override;
    void progressed(int position, std::int32_t filesProcessed) override;
    void operationDone(const Operation&) override {}
    void runFinished(const RunSummary& summary) override;

private:
    ProgressLine& m_progress;
    std::string m_startFolder;
};

// Writes every record as one JSON line to standard output. When standard
// output shares the terminal with the progress line, the progress line is
// taken away first.
class JsonObserver : public RunObserver
{
public:
    JsonObserver(LineOutput& output, ProgressLine& progress, bool sharesTerminal)
        : m_output(output), m_progress(progress), m_sharesTerminal(sharesTerminal)
    {
    }

    void operationDone(const Operation& operation) override;

private:
    LineOutput& m_output;
    ProgressLine& m_progress;
    const bool m_sharesTerminal;
};

} // namespace quarvel::cli
