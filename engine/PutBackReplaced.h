#pragma once

#include "engine/JournalEntry.h"
#include "platform/FileSystem.h"
#include "platform/Status.h"

#include <string>

namespace quarvel {

// Reverses a replaced content (JournalEntry::Kind::Replaced): the old file
// kept at `keptPath` goes back to the entry's original path. `resultThere`
// tells whether what the change left is still at the entry's path; if so,
// it is replaced in the same step, or removed once the old file is back
// when it lies under a new name.
Status PutBackReplaced(FileSystem& fs, const std::string& keptPath, const JournalEntry& entry,
                       bool resultThere);

} // namespace quarvel
