#include "platform/FileReading.h"

#include "platform/SourceFile.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <unistd.h>

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

} // namespace

Status readWholeFile(const std::string& path, bool followLink, ContentSink& sink,
                     const FaultHook& hook)
{
    SourceFile file;
    if (Status opened = file.open(path, followLink, hook); !opened)
        return opened;
    if (!sink.reserve(static_cast<std::uint64_t>(file.size())))
        return Status::error(ENOMEM);
    return readToEnd(file.fd(), sink);
}

} // namespace quarvel
