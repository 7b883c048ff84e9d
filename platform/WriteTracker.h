#pragma once

#include <array>
#include <cstddef>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace quarvel {

// Remembers which file systems were written to, so that they can be flushed
// with one syncfs each instead of an fsync per file. Writes may be noted
// from several threads at once.
class WriteTracker
{
public:
    // Notes a write to the file system holding the entry at `path`, reached
    // as `name` relative to `dirFd` (see AtPath).
    void noteEntry(int dirFd, const char* name, std::string_view path);
    // Notes a write to the file system of the open file `fd`, which is to
    // appear at `path`.
    void noteFile(int fd, std::string_view path);

    // Runs syncfs once on each noted file system (sync() when one of them
    // cannot be reached any more) and forgets them.
    void syncAll();

private:
    void noteDevice(dev_t device, std::string_view path);
    // Whether the file system of `folder` is noted already, as one of the
    // last folders examined; remember() makes it one of them.
    bool known(std::string_view folder) const;
    void remember(std::string_view folder);

    std::mutex m_mutex;
    std::map<dev_t, std::string> m_folders; // per written device, a folder on it
    // The last folders examined: a run alternates between the folder it
    // changes and the journal's, so two spare almost every examination.
    std::array<std::string, 2> m_recentFolders;
    std::size_t m_nextRecent = 0;
};

} // namespace quarvel
