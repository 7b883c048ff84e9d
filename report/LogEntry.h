#pragma once

#include "report/OperationLog.h"

#include <cstdint>
#include <string_view>

namespace quarvel {

// The kind of a log line; any other value builds the line as Plain does.
enum class LogEntryKind : int
{
    Copied = 0,           // "Copied " + T + " --> " + X
    Renamed = 1,          // "Renamed " + T + " --> " + X
    CreatedDirectory = 2, // "Created directory " + T
    UpdatedFile = 3,      // "Updated file %s (%d changes)"
    CreatedFile = 4,      // "Created file %s (%d changes)"
    Pair = 5,             // T + " --> " + X
    Plain = 6,            // T
};

// The single writer of the log. X is a second text for kinds 0, 1 and 5 and
// a count for kinds 3 and 4; an absent second text adds nothing and an
// absent count reads 0.
void AddLogEntry(OperationLog& log, LogEntryKind kind, std::string_view text);
void AddLogEntry(OperationLog& log, LogEntryKind kind, std::string_view text,
                 std::string_view second);
void AddLogEntry(OperationLog& log, LogEntryKind kind, std::string_view text, std::int64_t count);

// Failure lines: "Failed to <action> <path>: <reason>" and
// "Failed to <action> <path> --> <path>: <reason>". Counted by the log.
void AddFailure(OperationLog& log, std::string_view action, std::string_view path,
                std::string_view reason);
void AddFailure(OperationLog& log, std::string_view action, std::string_view path,
                std::string_view target, std::string_view reason);

} // namespace quarvel
