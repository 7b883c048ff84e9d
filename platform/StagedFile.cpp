#include "platform/StagedFile.h"

#include "platform/CopyRange.h"
#include "platform/WriteAll.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quarvel {

namespace {

constexpr mode_t kPrivateMode = S_IRUSR | S_IWUSR;
constexpr mode_t kPermissionBits = 0777;
constexpr mode_t kDefaultCopyMode = 0644;

// The file to be rewritten must be a regular file that is not a link.
Status examineSource(const AtPath& at, struct stat& st)
{
    if (!at.status())
        return at.status();
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

// Second half of a rewrite under a new name: the new file is in place, the
// source goes; if it cannot, the new file goes again.
Status removeSource(const AtPath& from, const AtPath& to, const std::string& source,
                    const FaultHook& hook)
{
    Status removed = checkFault(hook, FaultPoint::RemoveSource, source);
    // A source that another program already removed is gone as wanted.
    if (removed && ::unlinkat(from.dirFd(), from.name(), 0) != 0 && errno != ENOENT)
        removed = Status::fromErrno();
    if (!removed)
        ::unlinkat(to.dirFd(), to.name(), 0);
    return removed;
}

} // namespace

Status StagedFile::create(Purpose purpose, const std::string& source, const std::string& target)
{
    if (m_temp)
        return Status::error(EBUSY); // one content per staged file
    m_purpose = purpose;
    m_source = source;
    m_target = target;
    mode_t mode = kPrivateMode; // a rewrite's mode is set at commit
    if (purpose == Purpose::Rewrite) {
        struct stat st;
        if (Status examined = examineSource(AtPath(source), st); !examined)
            return examined;
    }
    m_to.emplace(target);
    if (!m_to->status())
        return m_to->status();
    if (purpose == Purpose::Copy) {
        if (Status examined = examineCopyTarget(*m_to); !examined)
            return examined;
        mode = copyMode(source);
    }
    m_temp.emplace(*m_to);
    if (Status created = m_temp->create(mode, m_anonymous); !created) {
        m_temp.reset();
        return created;
    }
    return Status::ok();
}

Status StagedFile::write(std::string_view bytes)
{
    return write(std::span<const std::string_view>(&bytes, 1));
}

Status StagedFile::write(std::span<const std::string_view> pieces)
{
    if (!m_temp || m_committed)
        return Status::error(EBADF);
    const Status written = writeAll(m_temp->fd(), pieces, m_hook, m_target);
    if (written) {
        for (std::string_view piece : pieces)
            m_size += static_cast<std::int64_t>(piece.size());
    }
    return written;
}

Status StagedFile::copyRange(int from, std::int64_t offset, std::int64_t length)
{
    if (!m_temp || m_committed)
        return Status::error(EBADF);
    if (length < 0)
        return Status::error(EINVAL);
    const Status copied = quarvel::copyRange(from, offset, length, m_temp->fd(), m_hook, m_target);
    if (copied)
        m_size += length;
    return copied;
}

Status StagedFile::copyContentOf(const StagedFile& other)
{
    if (!other.m_temp)
        return Status::error(EBADF);
    return copyRange(other.m_temp->fd(), 0, other.m_size);
}

Status StagedFile::commit()
{
    if (!m_temp || m_committed)
        return Status::error(EBADF);
    const Status placed = m_purpose == Purpose::Rewrite ? commitRewrite() : commitCopy();
    m_committed = placed.isOk();
    return placed;
}

Status StagedFile::commitRewrite()
{
    const AtPath from(m_source);
    struct stat st;
    if (Status examined = examineSource(from, st); !examined)
        return examined;
    if (Status kept = keepOwnerAndMode(m_temp->fd(), st); !kept)
        return kept;
    if (Status fault = checkFault(m_hook, FaultPoint::Place, m_target); !fault)
        return fault;
    m_written.noteFile(m_temp->fd(), m_target);
    if (m_target == m_source)
        return m_temp->replaceTarget();
    if (Status placed = m_temp->placeNoReplace(); !placed)
        return placed;
    return removeSource(from, *m_to, m_source, m_hook);
}

Status StagedFile::commitCopy()
{
    if (Status examined = examineCopyTarget(*m_to); !examined)
        return examined;
    if (Status fault = checkFault(m_hook, FaultPoint::Place, m_target); !fault)
        return fault;
    m_written.noteFile(m_temp->fd(), m_target);
    return m_temp->replaceTarget();
}

void StagedFile::discard()
{
    m_temp.reset();
}

} // namespace quarvel
