#pragma once

#include "engine/RunObserver.h"
#include "report/OperationLog.h"

#include <string>

namespace quarvel {

// The run's text log: every record becomes the line the log has always
// shown, and the end of the run adds the two summary lines. The log is
// cleared when a run starts.
class LogWriter : public RunObserver
{
public:
    explicit LogWriter(OperationLog& log) : m_log(log) {}

    void runStarted(const RunOptions& options) override;
    void operationDone(const Operation& operation) override;
    void runFinished(const RunSummary& summary) override;

private:
    OperationLog& m_log;
    std::string m_mask;
    bool m_replacesInNames = false;
};

// The summary lines of a run: "Processed N files (<mask>)." and
// "Morphed M unique file." / "...files.".
std::string ProcessedLine(const RunSummary& summary, const std::string& mask);
std::string MorphedLine(const RunSummary& summary);

// The summary box text for a finished run: the two summary lines joined by
// CR LF, plus a failure line when operations failed.
std::string SummaryText(const std::string& processedLine, const std::string& morphedLine,
                        int failures);
std::string SummaryText(const RunSummary& summary, const std::string& mask);

} // namespace quarvel
