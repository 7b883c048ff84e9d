#include "platform/SafeWrite.h"

#include "platform/TempFile.h"
#include "platform/WriteAll.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace quarvel {

namespace {

constexpr mode_t kPrivateMode = S_IRUSR | S_IWUSR;
constexpr mode_t kPermissionBits = 0777;
constexpr mode_t kDefaultCopyMode = 0644;

// The file to be rewritten must be a regular file that is not a link.
Status examineSource(const AtPath& at, struct stat& st)
{
    if (::fstatat(at.dirFd(), at.name(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return Status::fromErrno();
    if (S_ISLNK(st.st_mode))
        return Status::error(Status::kIsSymbolicLink);
    if (S_ISDIR(st.st_mode))
        return Status::error(EISDIR);
    if (!S_ISREG(st.st_mode))
        return Status::error(Status::kNotRegularFile);
    return Status::ok();
}

// A copy may take the place of a regular file, or of nothing.
Status examineCopyTarget(const AtPath& at)
{
    struct stat st;
    if (::fstatat(at.dirFd(), at.name(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? Status::ok() : Status::fromErrno();
    if (S_ISLNK(st.st_mode))
        return Status::error(Status::kIsSymbolicLink);
    if (S_ISDIR(st.st_mode))
        return Status::error(EISDIR);
    if (!S_ISREG(st.st_mode))
        return Status::error(Status::kNotRegularFile);
    return Status::ok();
}

// The bits a copy of `source` is created with; the umask still applies.
mode_t copyMode(const std::string& source)
{
    const AtPath at(source);
    struct stat st;
    if (!at.status() || ::fstatat(at.dirFd(), at.name(), &st, 0) != 0)
        return kDefaultCopyMode;
    return st.st_mode & kPermissionBits;
}

// Owner first, mode second: changing the owner clears set-ID bits.
Status keepOwnerAndMode(int fd, const struct stat& source)
{
    // Without the owner keep at least the group; what was kept is read back below.
    if (::fchown(fd, source.st_uid, source.st_gid) != 0 &&
        ::fchown(fd, static_cast<uid_t>(-1), source.st_gid) != 0) {
        // Neither could be kept: the new file stays the writer's.
    }
    struct stat now;
    if (::fstat(fd, &now) != 0)
        return Status::fromErrno();
    mode_t mode = source.st_mode & 07777;
    if (now.st_uid != source.st_uid)
        mode &= ~static_cast<mode_t>(S_ISUID);
    if (now.st_gid != source.st_gid)
        mode &= ~static_cast<mode_t>(S_ISGID);
    return ::fchmod(fd, mode) == 0 ? Status::ok() : Status::fromErrno();
}

} // namespace

Status SafeWrite::rewrite(const std::string& source, const std::string& target,
                          std::string_view content)
{
    const AtPath from(source);
    struct stat st;
    if (Status examined = from.status() ? examineSource(from, st) : from.status(); !examined)
        return examined;
    const AtPath to(target);
    if (!to.status())
        return to.status();
    TempFile temp(to);
    if (Status prepared = prepare(temp, kPrivateMode, &st, content, target); !prepared)
        return prepared;
    if (target == source)
        return temp.replaceTarget();
    if (Status placed = temp.placeNoReplace(); !placed)
        return placed;
    return removeSource(from, to, source);
}

Status SafeWrite::writeCopy(const std::string& source, const std::string& target,
                            std::string_view content)
{
    const AtPath to(target);
    if (Status examined = to.status() ? examineCopyTarget(to) : to.status(); !examined)
        return examined;
    TempFile temp(to);
    if (Status prepared = prepare(temp, copyMode(source), nullptr, content, target); !prepared)
        return prepared;
    return temp.replaceTarget();
}

Status SafeWrite::prepare(TempFile& temp, mode_t mode, const struct stat* keep,
                          std::string_view content, const std::string& target)
{
    if (Status created = temp.create(mode, m_anonymous); !created)
        return created;
    if (Status written = writeAll(temp.fd(), content, m_hook, target); !written)
        return written;
    if (keep != nullptr) {
        if (Status kept = keepOwnerAndMode(temp.fd(), *keep); !kept)
            return kept;
    }
    if (Status fault = checkFault(m_hook, FaultPoint::Place, target); !fault)
        return fault;
    m_written.noteFile(temp.fd(), target);
    return Status::ok();
}

Status SafeWrite::removeSource(const AtPath& from, const AtPath& to, const std::string& source)
{
    Status removed = checkFault(m_hook, FaultPoint::RemoveSource, source);
    // A source that another program already removed is gone as wanted.
    if (removed && ::unlinkat(from.dirFd(), from.name(), 0) != 0 && errno != ENOENT)
        removed = Status::fromErrno();
    if (!removed)
        ::unlinkat(to.dirFd(), to.name(), 0);
    return removed;
}

} // namespace quarvel
