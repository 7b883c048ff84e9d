#pragma once

#include "platform/FileDescriptor.h"

#include <array>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>

namespace quarvel {

// The folders listed last, each still open, so that a move between two
// entries of one of them names the entries relative to the folder that was
// listed (sparing the kernel the walk of both paths). Several are kept:
// in a parallel run the workers rename in folders listed a little while
// before. Its calls may come from several threads at once.
class ListedFolders
{
public:
    // How many listed folders stay open.
    static constexpr std::size_t kKept = 32;

    // `folder` (ending with the separator) was listed through `opened`; it
    // takes the place of an earlier listing of the same folder, else of the
    // oldest one kept.
    void remember(const std::string& folder, FileDescriptor opened);
    // A failed listing: the folder is no longer known.
    void forget(const std::string& folder);
    void clear();

    // The open folder that directly holds the entries at `from` and at `to`
    // (or null), and in `folderLength` the length of its path.
    std::shared_ptr<const FileDescriptor> holding(const std::string& from, const std::string& to,
                                                  std::size_t& folderLength);

private:
    struct Listed
    {
        std::string folder;
        std::shared_ptr<const FileDescriptor> opened; // shared with moves under way
    };

    std::mutex m_mutex;
    std::array<Listed, kKept> m_listed;
    std::size_t m_next = 0; // the slot to fill next
};

} // namespace quarvel
