#pragma once

#include "platform/Status.h"

#include <cstdint>
#include <functional>
#include <string>

namespace quarvel {

// Points inside PosixFileSystem's operations at which a test can step in,
// to make the operation fail there or to change the file system at exactly
// that moment (delete a file, swap it for a FIFO...).
enum class FaultPoint : std::uint8_t
{
    Listed,       // listFolder: the listing is complete, before it is returned; path = folder
    Open,         // readFile, copyFileNoReplace: before the source is opened; path = source
    Read,         // SourceFile::readAt: before each read by offset; path = source
    Write,        // before each write of content to a temporary or copied file; path = target
    Place,        // safe write: temporary file complete, before it takes its place; path = target
    RemoveSource, // rewriteFile to a new name: new file in place, before the source goes
    Move,         // moveNoReplace: before the move; path = the new name
    Remove,       // removeFile: before the removal; path = the file
    CreateFolder, // createFolder: before the folder is made; path = the folder
};

// Called at every fault point with the path concerned. Returning an error
// makes the operation fail at that point with that status, undoing what it
// had done so far exactly as for a real failure; returning ok lets it go on.
using FaultHook = std::function<Status(FaultPoint point, const std::string& path)>;

// The check that every fault point makes: nothing but a test for an empty
// hook when no test has set one.
inline Status checkFault(const FaultHook& hook, FaultPoint point, const std::string& path)
{
    return hook ? hook(point, path) : Status::ok();
}

} // namespace quarvel
