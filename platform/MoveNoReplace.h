#pragma once

#include "platform/Status.h"

namespace quarvel {

// Moves the entry `from` (relative to `fromDir`) to `to` (relative to
// `toDir`) unless something already bears the new name (EEXIST). Uses
// renameat2 with RENAME_NOREPLACE; a file system that lacks it gets a hard
// link under the new name and then the old name removed, which refuses an
// existing name just the same.
Status moveNoReplaceAt(int fromDir, const char* from, int toDir, const char* to);

} // namespace quarvel
