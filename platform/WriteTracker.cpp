#include "platform/WriteTracker.h"

#include "platform/AtPath.h"
#include "platform/Path.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quarvel {

namespace {

std::string_view folderOf(std::string_view path)
{
    const std::size_t slash = path.rfind(kSeparator);
    return path.substr(0, slash == std::string_view::npos ? 0 : slash);
}

} // namespace

// Entries of one folder lie on one file system: a run that changes many
// files in a folder examines only the first.
void WriteTracker::noteEntry(int dirFd, const char* name, std::string_view path)
{
    const std::string_view folder = folderOf(path);
    const std::lock_guard lock(m_mutex);
    if (known(folder))
        return;
    struct stat st;
    if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
        noteDevice(st.st_dev, path);
        remember(folder);
    }
}

void WriteTracker::noteFile(int fd, std::string_view path)
{
    const std::string_view folder = folderOf(path);
    const std::lock_guard lock(m_mutex);
    if (known(folder))
        return;
    struct stat st;
    if (::fstat(fd, &st) == 0) {
        noteDevice(st.st_dev, path);
        remember(folder);
    }
}

bool WriteTracker::known(std::string_view folder) const
{
    for (const std::string& recent : m_recentFolders) {
        if (!recent.empty() && recent == folder)
            return true;
    }
    return false;
}

void WriteTracker::remember(std::string_view folder)
{
    if (folder.empty())
        return;
    m_recentFolders[m_nextRecent].assign(folder);
    m_nextRecent = (m_nextRecent + 1) % m_recentFolders.size();
}

void WriteTracker::noteDevice(dev_t device, std::string_view path)
{
    if (m_folders.contains(device))
        return;
    std::string_view entry = path;
    while (entry.size() > 1 && entry.back() == kSeparator)
        entry.remove_suffix(1); // a folder's own path ends with the separator
    const std::size_t slash = entry.rfind(kSeparator);
    m_folders.try_emplace(device, slash == std::string_view::npos
                                      ? std::string(".")
                                      : std::string(entry.substr(0, slash + 1)));
}

void WriteTracker::syncAll()
{
    const std::lock_guard lock(m_mutex);
    bool unreachable = false;
    for (const auto& [device, folder] : m_folders) {
        const AtPath at(folder);
        // syncfs needs a descriptor opened for real (an O_PATH one is refused).
        const FileDescriptor fd(
            at.status() ? ::openat(at.dirFd(), at.name(), O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1);
        if (!fd.isOpen() || ::syncfs(fd.get()) != 0)
            unreachable = true;
    }
    if (unreachable)
        ::sync();
    m_folders.clear();
    for (std::string& recent : m_recentFolders)
        recent.clear();
}

} // namespace quarvel
