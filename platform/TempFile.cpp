#include "platform/TempFile.h"

#include "platform/MoveNoReplace.h"
#include "platform/TemporaryName.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace quarvel {

namespace {

// Tries before giving up on finding a free random name.
constexpr int kNameAttempts = 100;

// An O_TMPFILE file gets its name through its /proc/self/fd entry; without
// /proc that is not possible, and named temporary files are used instead.
bool canLinkAnonymousFiles()
{
    static const bool available = ::access("/proc/self/fd", X_OK) == 0;
    return available;
}

} // namespace

TempFile::~TempFile()
{
    m_fd.reset();
    if (!m_placed && !m_name.empty())
        ::unlinkat(m_target.dirFd(), m_name.c_str(), 0);
}

Status TempFile::create(mode_t mode, bool anonymous)
{
    if (anonymous && canLinkAnonymousFiles()) {
        const Status made = createAnonymous(mode);
        // These mean the kernel or the file system has no O_TMPFILE.
        if (made || (made.code() != EOPNOTSUPP && made.code() != EISDIR && made.code() != EINVAL))
            return made;
    }
    return createNamed(mode);
}

Status TempFile::createAnonymous(mode_t mode)
{
    const std::string folder = m_target.folderName();
    m_fd.reset(::openat(m_target.dirFd(), folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, mode));
    return m_fd.isOpen() ? Status::ok() : Status::fromErrno();
}

Status TempFile::createNamed(mode_t mode)
{
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string name = m_target.siblingName(makeTemporaryName());
        const int flags = O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
        m_fd.reset(::openat(m_target.dirFd(), name.c_str(), flags, mode));
        if (m_fd.isOpen()) {
            m_name = std::move(name);
            return Status::ok();
        }
        if (errno != EEXIST)
            return Status::fromErrno();
    }
    return Status::error(EEXIST);
}

// Links the anonymous file in under `name` (relative to the target's folder
// descriptor); fails with EEXIST when that name is taken.
Status TempFile::linkUnder(const std::string& name)
{
    const std::string self = "/proc/self/fd/" + std::to_string(m_fd.get());
    if (::linkat(AT_FDCWD, self.c_str(), m_target.dirFd(), name.c_str(), AT_SYMLINK_FOLLOW) != 0)
        return Status::fromErrno();
    return Status::ok();
}

Status TempFile::giveHiddenName()
{
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string name = m_target.siblingName(makeTemporaryName());
        const Status linked = linkUnder(name);
        if (linked) {
            m_name = std::move(name);
            return linked;
        }
        if (linked.code() != EEXIST)
            return linked;
    }
    return Status::error(EEXIST);
}

Status TempFile::replaceTarget()
{
    // rename() is the only call that replaces a name atomically, and it
    // needs a name to move: an anonymous file gets a hidden one first.
    if (m_name.empty()) {
        if (Status named = giveHiddenName(); !named)
            return named;
    }
    if (::renameat(m_target.dirFd(), m_name.c_str(), m_target.dirFd(), m_target.name()) != 0)
        return Status::fromErrno();
    m_placed = true;
    return Status::ok();
}

Status TempFile::placeNoReplace()
{
    // Linking an anonymous file in fails by itself on an existing name.
    const Status placed = m_name.empty() ? linkUnder(m_target.name())
                                         : moveNoReplaceAt(m_target.dirFd(), m_name.c_str(),
                                                           m_target.dirFd(), m_target.name());
    m_placed = placed.isOk();
    return placed;
}

} // namespace quarvel
