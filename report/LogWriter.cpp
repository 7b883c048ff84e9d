#include "report/LogWriter.h"

#include "report/LogEntry.h"

namespace quarvel {

namespace {

// The words of a failure line: "Failed to <action> ...".
const char* failedAction(OperationKind kind)
{
    switch (kind) {
    case OperationKind::Rename:
        return "rename";
    case OperationKind::Copy:
        return "copy";
    case OperationKind::RewriteInPlace:
        return "update file";
    case OperationKind::WriteCopy:
        return "create file";
    case OperationKind::CreateFolder:
        return "create directory";
    case OperationKind::SearchFile:
        return "search file";
    default:
        return "read file";
    }
}

void logFailure(OperationLog& log, const Operation& op)
{
    const std::string& reason = op.status.reason;
    switch (op.kind) {
    case OperationKind::Rename:
    case OperationKind::Copy:
        AddFailure(log, failedAction(op.kind), op.source, op.target, reason);
        return;
    case OperationKind::ReadFile:
    case OperationKind::SearchFile:
        AddFailure(log, failedAction(op.kind), op.source, reason);
        return;
    default:
        AddFailure(log, failedAction(op.kind), op.target, reason);
        return;
    }
}

// A refused rename names the file as it is, a refused rewrite the name it
// would get; a refused folder is not logged. A refused byte copy in file-name
// mode reads "create" when the pattern is replaced and "creation" otherwise,
// as file-data mode's copies do.
void logRefusal(OperationLog& log, const Operation& op, bool replacesInNames)
{
    switch (op.kind) {
    case OperationKind::Rename:
        AddLogEntry(log, LogEntryKind::Pair, "User cancelled file morph", op.source);
        return;
    case OperationKind::RewriteInPlace:
        AddLogEntry(log, LogEntryKind::Pair, "User cancelled file morph", op.target);
        return;
    case OperationKind::Copy:
        AddLogEntry(log, LogEntryKind::Pair,
                    replacesInNames ? "User cancelled file create" : "User cancelled file creation",
                    op.target);
        return;
    case OperationKind::WriteCopy:
        AddLogEntry(log, LogEntryKind::Pair, "User cancelled file creation", op.target);
        return;
    default:
        return;
    }
}

void logDone(OperationLog& log, const Operation& op)
{
    switch (op.kind) {
    case OperationKind::Rename:
        AddLogEntry(log, LogEntryKind::Renamed, op.source, op.target);
        return;
    case OperationKind::Copy:
        AddLogEntry(log, LogEntryKind::Copied, op.source, op.target);
        return;
    case OperationKind::RewriteInPlace:
        AddLogEntry(log, LogEntryKind::UpdatedFile, op.target, op.changes);
        return;
    case OperationKind::WriteCopy:
        AddLogEntry(log, LogEntryKind::CreatedFile, op.target, op.changes);
        return;
    case OperationKind::CreateFolder:
        AddLogEntry(log, LogEntryKind::CreatedDirectory, op.target);
        return;
    case OperationKind::SkipSpecial:
        AddLogEntry(log, LogEntryKind::Plain, "Skipped special file " + op.source);
        return;
    case OperationKind::SkipSymlink:
        AddLogEntry(log, LogEntryKind::Plain, "Skipped symbolic link " + op.source);
        return;
    case OperationKind::ConfirmAll:
        AddLogEntry(log, LogEntryKind::Plain, "User confirmed all operations");
        return;
    case OperationKind::CancelAll:
        AddLogEntry(log, LogEntryKind::Plain, "User cancelled all operations");
        return;
    case OperationKind::ReadFile:
    case OperationKind::SearchFile:
        return;
    }
}

} // namespace

void LogWriter::runStarted(const RunOptions& options)
{
    m_log.clear();
    m_mask = options.selection.mask;
    m_replacesInNames = options.mode == RunMode::Names && replacesInNames(options);
}

void LogWriter::operationDone(const Operation& operation)
{
    switch (operation.status.outcome) {
    case OperationStatus::Outcome::Done:
        logDone(m_log, operation);
        return;
    case OperationStatus::Outcome::Refused:
        logRefusal(m_log, operation, m_replacesInNames);
        return;
    case OperationStatus::Outcome::Failed:
        logFailure(m_log, operation);
        return;
    }
}

void LogWriter::runFinished(const RunSummary& summary)
{
    AddLogEntry(m_log, LogEntryKind::Plain, ProcessedLine(summary, m_mask));
    AddLogEntry(m_log, LogEntryKind::Plain, MorphedLine(summary));
}

std::string ProcessedLine(const RunSummary& summary, const std::string& mask)
{
    return "Processed " + std::to_string(summary.filesProcessed) + " files (" + mask + ").";
}

std::string MorphedLine(const RunSummary& summary)
{
    const int morphed = summary.filesMorphed;
    return "Morphed " + std::to_string(morphed) + " unique file" + (morphed == 1 ? "." : "s.");
}

std::string SummaryText(const std::string& processedLine, const std::string& morphedLine,
                        int failures)
{
    std::string text = processedLine + "\r\n" + morphedLine;
    if (failures > 0) {
        text += "\r\n" + std::to_string(failures) + " operation" + (failures == 1 ? "" : "s") +
                " failed; see the log.";
    }
    return text;
}

std::string SummaryText(const RunSummary& summary, const std::string& mask)
{
    return SummaryText(ProcessedLine(summary, mask), MorphedLine(summary), summary.failures);
}

} // namespace quarvel
