#pragma once

#include "platform/Status.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel {

// Descriptors of the folders along one deep path, kept between calls so that
// a walk through a tree deeper than PATH_MAX costs one openat() per folder
// instead of a lookup of every component from the root each time. The walk
// goes down one level at a time and comes back up the same way; both moves
// are answered from the chain. Each link is opened with O_NOFOLLOW, so the
// chain never passes through a symbolic link. Only a bounded number of
// descriptors stays open: every 64th level and the deepest levels; the
// others are reopened from the nearest kept level when needed.
class FolderChain
{
public:
    FolderChain() = default;
    FolderChain(const FolderChain&) = delete;
    FolderChain& operator=(const FolderChain&) = delete;
    ~FolderChain();

    // A new descriptor (the caller owns it) for `folder`, a path without a
    // trailing separator, or -1 with the reason in `status`.
    int openFolder(std::string_view folder, Status& status);

private:
    struct Level
    {
        std::size_t end; // the level's path is m_path.substr(0, end)
        int fd;          // -1 when closed to save descriptors
    };

    int fdAt(std::size_t index, Status& status);
    bool findLevel(std::size_t end, std::size_t& index) const;
    void truncate(std::size_t count);
    void reset();
    int start(std::string_view folder, Status& status);
    int descend(std::string_view folder, Status& status);
    void trimOpen();

    std::string m_path;
    std::vector<Level> m_levels;
    std::size_t m_open = 0;
};

} // namespace quarvel
