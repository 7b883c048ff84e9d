#pragma once

#include "report/LogEntry.h"
#include "report/OperationLog.h"

#include <cstdint>
#include <string_view>

namespace quarvel {

// Logs "Updated file %s (%d changes)" or "Created file %s (%d changes)" for a
// change count of any size: a content above 2 GiB can hold more changes than
// an int counts, and the line must still carry the true number.
void AddChangeEntry(OperationLog& log, LogEntryKind kind, std::string_view path,
                    std::int64_t changes);

} // namespace quarvel
