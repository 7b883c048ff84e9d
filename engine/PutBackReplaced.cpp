#include "engine/PutBackReplaced.h"

#include "platform/KeptFile.h"

namespace quarvel {

Status PutBackReplaced(FileSystem& fs, const std::string& keptPath, const JournalEntry& entry,
                       bool resultThere)
{
    const bool samePath = entry.path == entry.original;
    const bool resultLeft = resultThere && entry.after.exists;
    Status restored =
        restoreKeptFile(keptPath, entry.original, entry.before, samePath && resultLeft);
    if (restored && !samePath && resultLeft)
        restored = fs.removeFile(entry.path);
    return restored;
}

} // namespace quarvel
