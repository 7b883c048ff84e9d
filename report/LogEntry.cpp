#include "report/LogEntry.h"

#include <string>

namespace quarvel {

namespace {

std::string joined(std::string_view a, std::string_view b, std::string_view c = {},
                   std::string_view d = {})
{
    std::string line;
    line.reserve(a.size() + b.size() + c.size() + d.size());
    line.append(a).append(b).append(c).append(d);
    return line;
}

std::string lineFor(LogEntryKind kind, std::string_view text, std::string_view second)
{
    switch (kind) {
    case LogEntryKind::Copied:
        return joined("Copied ", text, " --> ", second);
    case LogEntryKind::Renamed:
        return joined("Renamed ", text, " --> ", second);
    case LogEntryKind::CreatedDirectory:
        return joined("Created directory ", text);
    case LogEntryKind::UpdatedFile:
        return joined("Updated file ", text, " (0 changes)");
    case LogEntryKind::CreatedFile:
        return joined("Created file ", text, " (0 changes)");
    case LogEntryKind::Pair:
        return joined(text, " --> ", second);
    default:
        return std::string(text);
    }
}

} // namespace

void AddLogEntry(OperationLog& log, LogEntryKind kind, std::string_view text)
{
    log.append(lineFor(kind, text, {}));
}

void AddLogEntry(OperationLog& log, LogEntryKind kind, std::string_view text,
                 std::string_view second)
{
    log.append(lineFor(kind, text, second));
}

void AddLogEntry(OperationLog& log, LogEntryKind kind, std::string_view text, std::int64_t count)
{
    const std::string changes = " (" + std::to_string(count) + " changes)";
    if (kind == LogEntryKind::UpdatedFile)
        log.append(joined("Updated file ", text, changes));
    else if (kind == LogEntryKind::CreatedFile)
        log.append(joined("Created file ", text, changes));
    else
        log.append(lineFor(kind, text, {}));
}

void AddFailure(OperationLog& log, std::string_view action, std::string_view path,
                std::string_view reason)
{
    log.appendFailure(joined(joined("Failed to ", action, " ", path), ": ", reason));
}

void AddFailure(OperationLog& log, std::string_view action, std::string_view path,
                std::string_view target, std::string_view reason)
{
    log.appendFailure(
        joined(joined("Failed to ", action, " ", path), joined(" --> ", target, ": ", reason)));
}

} // namespace quarvel
