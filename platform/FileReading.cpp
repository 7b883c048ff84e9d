#include "platform/FileReading.h"

#include "platform/AtPath.h"

#include <cerrno>
#include <memory>
#include <sys/stat.h>

namespace quarvel {

namespace {

// Large enough that a big file takes few calls, small enough to stay cheap
// for the many small files of a typical tree.
constexpr std::size_t kChunkSize = 256 * 1024;

// Reads until the end of the file, however its size changed since fstat.
Status readToEnd(int fd, ContentSink& sink)
{
    thread_local std::unique_ptr<char[]> buffer;
    if (!buffer)
        buffer = std::make_unique<char[]>(kChunkSize);
    for (;;) {
        const ssize_t got = ::read(fd, buffer.get(), kChunkSize);
        if (got == 0)
            return Status::ok();
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return Status::fromErrno();
        }
        if (!sink.append(buffer.get(), static_cast<std::size_t>(got)))
            return Status::error(ENOMEM);
    }
}

// Sockets, and devices without a driver, refuse to open at all (ENXIO,
// ENODEV); a regular file never does, so these mean "not a regular file".
Status openFailure()
{
    if (errno == ENXIO || errno == ENODEV)
        return Status::error(Status::kNotRegularFile);
    return Status::fromErrno();
}

} // namespace

Status readWholeFile(const std::string& path, bool followLink, ContentSink& sink,
                     const FaultHook& hook)
{
    if (Status fault = checkFault(hook, FaultPoint::Open, path); !fault)
        return fault;
    const AtPath at(path);
    if (!at.status())
        return at.status();
    // O_NOCTTY: a terminal swapped in must not become our controlling one.
    const int flags = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW);
    const FileDescriptor fd(::openat(at.dirFd(), at.name(), flags));
    if (!fd.isOpen())
        return openFailure();
    struct stat st;
    if (::fstat(fd.get(), &st) != 0)
        return Status::fromErrno();
    // A folder that took the file's place is an ordinary failure with the
    // system's reason; only FIFOs, sockets and devices are "not regular".
    if (S_ISDIR(st.st_mode))
        return Status::error(EISDIR);
    if (!S_ISREG(st.st_mode))
        return Status::error(Status::kNotRegularFile);
    if (!sink.reserve(static_cast<std::uint64_t>(st.st_size)))
        return Status::error(ENOMEM);
    return readToEnd(fd.get(), sink);
}

} // namespace quarvel
