#include "platform/FileReading.h"

#include "platform/AtPath.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <sys/stat.h>

namespace quarvel {

namespace {

// Large enough that a big file takes few calls, small enough to stay cheap
// for the many small files of a typical tree.
constexpr std::size_t kChunkSize = 256 * 1024;

// A read straight into the sink's storage is capped, so that one call never
// holds the kernel for long.
constexpr std::size_t kDirectReadLimit = std::size_t{64} << 20;

// Reads until the end of the file, however its size changed since fstat.
// Where the sink has room, the bytes go straight there (the common case: the
// room for the reported size was reserved); otherwise, as when the file grew,
// through a chunk buffer and append.
Status readToEnd(int fd, ContentSink& sink)
{
    thread_local std::unique_ptr<char[]> buffer;
    for (;;) {
        std::size_t room = 0;
        char* direct = sink.room(room);
        const bool intoSink = direct != nullptr && room > 0;
        if (!intoSink && !buffer)
            buffer = std::make_unique<char[]>(kChunkSize);
        const ssize_t got = intoSink ? ::read(fd, direct, std::min(room, kDirectReadLimit))
                                     : ::read(fd, buffer.get(), kChunkSize);
        if (got == 0)
            return Status::ok();
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return Status::fromErrno();
        }
        if (intoSink)
            sink.commit(static_cast<std::size_t>(got));
        else if (!sink.append(buffer.get(), static_cast<std::size_t>(got)))
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
