#include "engine/ChangeLogEntry.h"

#include <limits>
#include <string>

namespace quarvel {

void AddChangeEntry(OperationLog& log, LogEntryKind kind, std::string_view path,
                    std::int64_t changes)
{
    if (changes <= std::numeric_limits<int>::max()) {
        AddLogEntry(log, kind, path, static_cast<int>(changes));
        return;
    }
    // AddLogEntry takes an int count; larger counts get the same wording here.
    std::string line = kind == LogEntryKind::UpdatedFile ? "Updated file " : "Created file ";
    line.append(path).append(" (").append(std::to_string(changes)).append(" changes)");
    log.append(line);
}

} // namespace quarvel
