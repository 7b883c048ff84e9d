#include "report/UndoLogWriter.h"

#include "report/LogEntry.h"

namespace quarvel {

void UndoLogWriter::stepDone(const UndoStep& step)
{
    const std::string& reason = step.status.reason;
    const bool failed = step.status.isFailure();
    switch (step.action) {
    case UndoStep::Action::Rename:
        if (failed)
            AddFailure(m_log, "rename", step.path, step.target, reason);
        else
            AddLogEntry(m_log, LogEntryKind::Renamed, step.path, step.target);
        return;
    case UndoStep::Action::Restore:
        if (failed)
            AddFailure(m_log, "restore file", step.target, reason);
        else
            AddLogEntry(m_log, LogEntryKind::Plain, "Restored file " + step.target);
        return;
    case UndoStep::Action::Remove:
        if (failed)
            AddFailure(m_log, "remove file", step.path, reason);
        else
            AddLogEntry(m_log, LogEntryKind::Plain, "Removed file " + step.path);
        return;
    case UndoStep::Action::RemoveFolder:
        if (failed)
            AddFailure(m_log, "remove directory", step.path, reason);
        else
            AddLogEntry(m_log, LogEntryKind::Plain, "Removed directory " + step.path);
        return;
    }
}

void UndoLogWriter::undoFinished(const UndoSummary& summary)
{
    AddLogEntry(m_log, LogEntryKind::Plain,
                "Undid " + std::to_string(summary.reversed) + " of " +
                    std::to_string(summary.operations) + " operations.");
}

} // namespace quarvel
