#include "platform/KeptFile.h"

#include "platform/AtPath.h"
#include "platform/FaultHook.h"
#include "platform/FileCopy.h"
#include "platform/MoveNoReplace.h"
#include "platform/TempFile.h"

#include <cerrno>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quarvel {

namespace {

constexpr mode_t kPrivateMode = S_IRUSR | S_IWUSR;

Status linkFile(const AtPath& from, const AtPath& to)
{
    return ::linkat(from.dirFd(), from.name(), to.dirFd(), to.name(), 0) == 0 ? Status::ok()
                                                                              : Status::fromErrno();
}

Status cloneFile(const AtPath& from, const AtPath& to)
{
    const FileDescriptor source(
        ::openat(from.dirFd(), from.name(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!source.isOpen())
        return Status::fromErrno();
    const FileDescriptor clone(::openat(
        to.dirFd(), to.name(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kPrivateMode));
    if (!clone.isOpen())
        return Status::fromErrno();
    if (::ioctl(clone.get(), FICLONE, source.get()) == 0)
        return Status::ok();
    const Status refused = Status::fromErrno();
    ::unlinkat(to.dirFd(), to.name(), 0);
    return refused;
}

// Owner first, mode second: changing the owner clears set-ID bits.
void applyOwnerAndMode(int fd, const FileState& original)
{
    if (::fchown(fd, original.uid, original.gid) != 0 &&
        ::fchown(fd, static_cast<uid_t>(-1), original.gid) != 0) {
        // Neither could be kept: the file stays the undoer's.
    }
    if (::fchmod(fd, original.mode & 07777) != 0) {
        // The file keeps the bits it has; the content is back all the same.
    }
}

Status copyBack(const std::string& keptPath, const AtPath& to, const FileState& original,
                bool replace)
{
    const AtPath kept(keptPath);
    const FileDescriptor from(
        ::openat(kept.dirFd(), kept.name(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (!from.isOpen())
        return Status::fromErrno();
    TempFile temp(to);
    if (Status created = temp.create(kPrivateMode); !created)
        return created;
    if (Status copied = copyFileContent(from.get(), temp.fd()); !copied)
        return copied;
    applyOwnerAndMode(temp.fd(), original);
    const Status placed = replace ? temp.replaceTarget() : temp.placeNoReplace();
    if (placed)
        ::unlinkat(kept.dirFd(), kept.name(), 0);
    return placed;
}

} // namespace

Status keepFile(const std::string& path, const std::string& keptPath, WriteTracker& written,
                KeepMethod& method)
{
    const AtPath from(path);
    const AtPath to(keptPath);
    if (!from.status() || !to.status())
        return from.status() ? to.status() : from.status();
    method = KeepMethod::HardLink;
    const Status linked = linkFile(from, to);
    // Noted once the kept file is there to be examined.
    if (linked)
        written.noteEntry(to.dirFd(), to.name(), keptPath);
    // EXDEV: another file system; EPERM: links to files of other users
    // refused (protected_hardlinks); EMLINK: too many links already.
    if (linked || (linked.code() != EXDEV && linked.code() != EPERM && linked.code() != EMLINK))
        return linked;
    method = KeepMethod::Reflink;
    if (cloneFile(from, to)) {
        written.noteEntry(to.dirFd(), to.name(), keptPath);
        return Status::ok();
    }
    method = KeepMethod::Copy;
    return copyFileExclusive(path, keptPath, FaultHook{}, written);
}

Status restoreKeptFile(const std::string& keptPath, const std::string& path,
                       const FileState& original, bool replace)
{
    const AtPath kept(keptPath);
    const AtPath to(path);
    if (!kept.status() || !to.status())
        return kept.status() ? to.status() : kept.status();
    const Status moved = replace
                             ? (::renameat(kept.dirFd(), kept.name(), to.dirFd(), to.name()) == 0
                                    ? Status::ok()
                                    : Status::fromErrno())
                             : moveNoReplaceAt(kept.dirFd(), kept.name(), to.dirFd(), to.name());
    if (moved.code() == EXDEV)
        return copyBack(keptPath, to, original, replace);
    if (!moved)
        return moved;
    const FileDescriptor placed(
        ::openat(to.dirFd(), to.name(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (placed.isOpen())
        applyOwnerAndMode(placed.get(), original);
    return Status::ok();
}

} // namespace quarvel
