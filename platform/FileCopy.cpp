#include "platform/FileCopy.h"

#include "platform/AtPath.h"
#include "platform/WriteAll.h"

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace quarvel {

namespace {

constexpr std::size_t kCopyChunk = 1024 * 1024;

Status openSource(const std::string& source, FileDescriptor& fd)
{
    const AtPath at(source);
    if (!at.status())
        return at.status();
    fd.reset(::openat(at.dirFd(), at.name(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.isOpen())
        return Status::fromErrno();
    struct stat st;
    if (::fstat(fd.get(), &st) != 0)
        return Status::fromErrno();
    if (S_ISDIR(st.st_mode))
        return Status::error(EISDIR); // as for reading: a folder is no special file
    return S_ISREG(st.st_mode) ? Status::ok() : Status::error(Status::kNotRegularFile);
}

// Copies in the kernel while it can; `copied` tells the caller whether the
// plain fallback may still start from the beginning.
Status copyInKernel(int from, int to, bool& copied, const FaultHook& hook,
                    const std::string& target)
{
    copied = false;
    for (;;) {
        if (Status fault = checkFault(hook, FaultPoint::Write, target); !fault)
            return fault;
        const ssize_t moved = ::copy_file_range(from, nullptr, to, nullptr, kCopyChunk, 0);
        if (moved == 0)
            return Status::ok();
        if (moved < 0) {
            if (errno == EINTR)
                continue;
            return Status::fromErrno();
        }
        copied = true;
    }
}

Status copyThroughBuffer(int from, int to, const FaultHook& hook, const std::string& target)
{
    const auto buffer = std::make_unique<char[]>(kCopyChunk);
    for (;;) {
        const ssize_t got = ::read(from, buffer.get(), kCopyChunk);
        if (got == 0)
            return Status::ok();
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return Status::fromErrno();
        }
        const std::string_view chunk(buffer.get(), static_cast<std::size_t>(got));
        if (Status written = writeAll(to, chunk, hook, target); !written)
            return written;
    }
}

// How the kernel says it cannot copy between these two files itself.
bool kernelCopyRefused(int code)
{
    return code == EXDEV || code == EINVAL || code == EOPNOTSUPP || code == ENOSYS;
}

// When copy_file_range is refused before anything was copied, the copy falls
// back to reading and writing.
Status copyContent(int from, int to, const FaultHook& hook, const std::string& target)
{
    bool copied = false;
    const Status inKernel = copyInKernel(from, to, copied, hook, target);
    if (inKernel || copied || !kernelCopyRefused(inKernel.code()))
        return inKernel;
    return copyThroughBuffer(from, to, hook, target);
}

mode_t permissionBits(int fd)
{
    struct stat st;
    return ::fstat(fd, &st) == 0 ? (st.st_mode & 0777) : 0644;
}

} // namespace

Status copyFileExclusive(const std::string& source, const std::string& target,
                         const FaultHook& hook, WriteTracker& written)
{
    if (Status fault = checkFault(hook, FaultPoint::Open, source); !fault)
        return fault;
    FileDescriptor from;
    if (Status opened = openSource(source, from); !opened)
        return opened;
    const AtPath at(target);
    if (!at.status())
        return at.status();
    const int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
    const FileDescriptor to(::openat(at.dirFd(), at.name(), flags, permissionBits(from.get())));
    if (!to.isOpen())
        return Status::fromErrno();
    written.noteFile(to.get(), target);
    const Status copied = copyContent(from.get(), to.get(), hook, target);
    if (!copied)
        ::unlinkat(at.dirFd(), at.name(), 0); // only the file created above
    return copied;
}

Status copyFileContent(int from, int to)
{
    return copyContent(from, to, FaultHook{}, std::string{});
}

} // namespace quarvel
