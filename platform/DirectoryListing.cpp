#include "platform/DirectoryListing.h"

#include "platform/AtPath.h"
#include "platform/FileDescriptor.h"
#include "platform/MaskMatch.h"
#include "platform/TemporaryName.h"

#include <cerrno>
#include <dirent.h>
#include <memory>
#include <new>
#include <sys/stat.h>

namespace quarvel {

namespace {

struct DirCloser
{
    void operator()(DIR* dir) const { ::closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

EntryType typeFromMode(mode_t mode)
{
    if (S_ISDIR(mode))
        return EntryType::Directory;
    if (S_ISLNK(mode))
        return EntryType::Symlink;
    if (S_ISREG(mode))
        return EntryType::Regular;
    return EntryType::Special;
}

// The type readdir reports, asking the file system itself when the listing
// does not say. An entry that cannot be examined counts as a regular file:
// opening it then fails with the true reason.
EntryType entryType(DIR* dir, const dirent& entry)
{
    switch (entry.d_type) {
    case DT_DIR:
        return EntryType::Directory;
    case DT_LNK:
        return EntryType::Symlink;
    case DT_REG:
        return EntryType::Regular;
    case DT_UNKNOWN:
        break;
    default:
        return EntryType::Special;
    }
    struct stat st;
    if (::fstatat(::dirfd(dir), entry.d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return EntryType::Regular;
    return typeFromMode(st.st_mode);
}

Status openFolder(const std::string& folder, DirHandle& dir)
{
    const AtPath at(folder);
    if (!at.status())
        return at.status();
    FileDescriptor fd(::openat(at.dirFd(), at.name(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.isOpen())
        return Status::fromErrno();
    dir.reset(::fdopendir(fd.get()));
    if (!dir)
        return Status::fromErrno();
    fd.release(); // the listing owns it now
    return Status::ok();
}

Status readEntries(DIR* dir, std::string_view mask, std::vector<DirEntry>& entries)
{
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (entry == nullptr)
            break;
        const std::string_view name(entry->d_name);
        if (!maskMatches(mask, name))
            continue;
        const EntryType type = entryType(dir, *entry);
        if (type == EntryType::Regular && isTemporaryName(name))
            continue;
        entries.push_back(DirEntry{std::string(name), type});
    }
    return errno != 0 ? Status::fromErrno() : Status::ok();
}

} // namespace

Status listDirectory(const std::string& folder, std::string_view mask,
                     std::vector<DirEntry>& entries)
{
    entries.clear();
    DirHandle dir;
    if (Status opened = openFolder(folder, dir); !opened)
        return opened;
    Status status;
    try {
        status = readEntries(dir.get(), mask, entries);
    } catch (const std::bad_alloc&) {
        status = Status::error(ENOMEM);
    }
    if (!status)
        entries.clear();
    return status;
}

} // namespace quarvel
