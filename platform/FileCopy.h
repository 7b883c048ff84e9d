#pragma once

#include "platform/FaultHook.h"
#include "platform/WriteTracker.h"

#include <string>

namespace quarvel {

// FileSystem::copyFileNoReplace: the source (a regular file; links are
// followed) is copied to a target created with O_EXCL, so an existing target
// is never touched (EEXIST). The copy gets the source's read, write and
// execute bits less the umask. On failure the partial copy is removed.
Status copyFileExclusive(const std::string& source, const std::string& target,
                         const FaultHook& hook, WriteTracker& written);

// Copies everything from the open file `from` (read from its current offset)
// to `to`, in the kernel where it can.
Status copyFileContent(int from, int to);

} // namespace quarvel
