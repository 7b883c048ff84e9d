#pragma once

#include "platform/FileState.h"
#include "platform/Status.h"
#include "platform/WriteTracker.h"

#include <string>

namespace quarvel {

// How a file's old content was kept.
enum class KeepMethod
{
    HardLink, // the very file, under a second name (same file system)
    Reflink,  // a clone sharing the data blocks (FICLONE)
    Copy,     // a plain copy of the bytes
};

// Keeps the file at `path` under the new name `keptPath` before the file is
// replaced, as cheaply as the file systems allow: a hard link, else a
// reflink, else a copy. `keptPath` must not exist. `method` tells which way
// worked.
Status keepFile(const std::string& path, const std::string& keptPath, WriteTracker& written,
                KeepMethod& method);

// Puts a kept file back at `path` with the owner (where permitted) and the
// mode of `original`. With `replace` the file at `path` is replaced in one
// atomic step; without it an existing `path` is never touched (EEXIST). The
// kept file is moved where it can be, else copied and then removed.
Status restoreKeptFile(const std::string& keptPath, const std::string& path,
                       const FileState& original, bool replace);

} // namespace quarvel
