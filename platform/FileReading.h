#pragma once

#include "platform/FaultHook.h"
#include "platform/FileSystem.h"

#include <string>

namespace quarvel {

// Reads the whole regular file at `path` into `sink` (see
// FileSystem::readFile). Opening never blocks: the file is opened
// non-blocking and examined with fstat before anything is read, so a FIFO or
// device swapped in after the listing is refused with kNotRegularFile.
Status readWholeFile(const std::string& path, bool followLink, ContentSink& sink,
                     const FaultHook& hook);

} // namespace quarvel
