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
#include <sys/syscall.h>
#include <unistd.h>

namespace quarvel {

namespace {

// One entry as getdents64 lays it out.
struct LinuxDirent64
{
    ino64_t d_ino;
    off64_t d_off;
    unsigned short d_reclen;
    unsigned char d_type;
    char d_name[];
};

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

// The type the listing reports, asking the file system itself when the
// listing does not say. An entry that cannot be examined counts as a regular
// file: opening it then fails with the true reason.
EntryType entryType(int dirFd, unsigned char type, const char* name)
{
    switch (type) {
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
    if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return EntryType::Regular;
    return typeFromMode(st.st_mode);
}

Status openFolder(const std::string& folder, FileDescriptor& fd)
{
    const AtPath at(folder);
    if (!at.status())
        return at.status();
    fd.reset(::openat(at.dirFd(), at.name(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return fd.isOpen() ? Status::ok() : Status::fromErrno();
}

// Reads the listing straight from the kernel in large blocks: no DIR stream
// (which would examine the descriptor again for every folder).
Status readEntries(int fd, std::string_view mask, std::vector<DirEntry>& entries)
{
    alignas(LinuxDirent64) char block[32768];
    for (;;) {
        const long got = ::syscall(SYS_getdents64, fd, block, sizeof block);
        if (got < 0)
            return Status::fromErrno();
        if (got == 0)
            return Status::ok();
        for (long at = 0; at < got;) {
            const auto* entry = reinterpret_cast<const LinuxDirent64*>(block + at);
            at += entry->d_reclen;
            const std::string_view name(entry->d_name);
            if (!maskMatches(mask, name))
                continue;
            const EntryType type = entryType(fd, entry->d_type, entry->d_name);
            if (type == EntryType::Regular && isTemporaryName(name))
                continue;
            entries.push_back(DirEntry{std::string(name), type});
        }
    }
}

} // namespace

Status listDirectory(const std::string& folder, std::string_view mask,
                     std::vector<DirEntry>& entries, FileDescriptor* opened)
{
    entries.clear();
    FileDescriptor fd;
    if (Status opened = openFolder(folder, fd); !opened)
        return opened;
    Status status;
    try {
        status = readEntries(fd.get(), mask, entries);
    } catch (const std::bad_alloc&) {
        status = Status::error(ENOMEM);
    }
    if (!status)
        entries.clear();
    else if (opened != nullptr)
        *opened = std::move(fd);
    return status;
}

} // namespace quarvel
