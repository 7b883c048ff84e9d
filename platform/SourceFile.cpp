#include "platform/SourceFile.h"

#include "platform/AtPath.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quarvel {

namespace {

// Sockets, and devices without a driver, refuse to open at all (ENXIO,
// ENODEV); a regular file never does, so these mean "not a regular file".
Status openFailure()
{
    if (errno == ENXIO || errno == ENODEV)
        return Status::error(Status::kNotRegularFile);
    return Status::fromErrno();
}

} // namespace

Status SourceFile::open(const std::string& path, bool followLink, const FaultHook& hook)
{
    m_hook = &hook;
    m_path = path;
    if (Status fault = checkFault(hook, FaultPoint::Open, path); !fault)
        return fault;
    const AtPath at(path);
    if (!at.status())
        return at.status();
    // O_NOCTTY: a terminal swapped in must not become our controlling one.
    const int flags = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW);
    m_fd.reset(::openat(at.dirFd(), at.name(), flags));
    if (!m_fd.isOpen())
        return openFailure();
    struct stat st;
    if (::fstat(m_fd.get(), &st) != 0)
        return Status::fromErrno();
    // A folder that took the file's place is an ordinary failure with the
    // system's reason; only FIFOs, sockets and devices are "not regular".
    if (S_ISDIR(st.st_mode))
        return Status::error(EISDIR);
    if (!S_ISREG(st.st_mode))
        return Status::error(Status::kNotRegularFile);
    m_size = st.st_size;
    m_permissionBits = st.st_mode & 0777;
    return Status::ok();
}

Status SourceFile::readAt(std::int64_t offset, char* into, std::int64_t size,
                          std::int64_t& got) const
{
    got = 0;
    if (m_hook != nullptr) {
        if (Status fault = checkFault(*m_hook, FaultPoint::Read, m_path); !fault)
            return fault;
    }
    for (;;) {
        const ssize_t read = ::pread(m_fd.get(), into, static_cast<std::size_t>(size), offset);
        if (read >= 0) {
            got = read;
            return Status::ok();
        }
        if (errno != EINTR)
            return Status::fromErrno();
    }
}

void SourceFile::adviseSequential() const
{
    ::posix_fadvise(m_fd.get(), 0, 0,
                    POSIX_FADV_SEQUENTIAL); // only advice: a refusal costs nothing
}

} // namespace quarvel
