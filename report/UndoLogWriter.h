#pragma once

#include "engine/UndoJob.h"
#include "report/OperationLog.h"

namespace quarvel {

// The undo's text log: one line per reversal ("Renamed ...", "Restored file
// ...", "Removed file ...", "Removed directory ...", or a failure line that
// names the path and why), then "Undid N of M operations.".
class UndoLogWriter : public UndoObserver
{
public:
    explicit UndoLogWriter(OperationLog& log) : m_log(log) {}

    void stepDone(const UndoStep& step) override;
    void undoFinished(const UndoSummary& summary) override;

private:
    OperationLog& m_log;
};

} // namespace quarvel
