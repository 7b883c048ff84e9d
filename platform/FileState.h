#pragma once

#include <cstdint>
#include <string>
#include <sys/stat.h>

namespace quarvel {

// What a file looked like at one moment, as far as an undo needs to know:
// enough to restore its mode and owner, and to tell whether it was changed
// since (a different file, size, mode or modification time).
struct FileState
{
    bool exists = false;
    std::uint32_t mode = 0; // type and permission bits, as st_mode
    std::uint32_t uid = 0;
    std::uint32_t gid = 0;
    std::uint64_t size = 0;
    std::int64_t mtimeNs = 0;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;

    bool isFolder() const { return exists && S_ISDIR(mode); }

    // Same file, with the same size, mode and modification time.
    bool unchangedSince(const FileState& earlier) const
    {
        return exists && earlier.exists && device == earlier.device && inode == earlier.inode &&
               size == earlier.size && mode == earlier.mode && mtimeNs == earlier.mtimeNs;
    }
};

// The entry at `path` itself (a link is not followed); `exists` false when
// there is none or it cannot be examined.
FileState fileStateOf(const std::string& path);

} // namespace quarvel
