#pragma once

#include <map>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace quarvel {

// Remembers which file systems were written to, so that they can be flushed
// with one syncfs each instead of an fsync per file.
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

    std::map<dev_t, std::string> m_folders; // per written device, a folder on it
    std::string m_lastFolder;               // the folder of the last entry examined
};

} // namespace quarvel
