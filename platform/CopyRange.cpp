#include "platform/CopyRange.h"

#include "platform/WriteAll.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <string_view>
#include <unistd.h>

namespace quarvel {

namespace {

constexpr std::int64_t kCopyChunk = std::int64_t{1} << 20;

// How the kernel says it cannot copy between these two files itself.
bool kernelCopyRefused(int code)
{
    return code == EXDEV || code == EINVAL || code == EOPNOTSUPP || code == ENOSYS;
}

// What is left of the range (to the end: one chunk at a time).
std::size_t nextPart(std::int64_t left)
{
    return static_cast<std::size_t>(left < 0 ? kCopyChunk : std::min(left, kCopyChunk));
}

// The end of the source: normal for a copy to the end, else the source
// shrank under the copy.
Status endOfSource(std::int64_t left)
{
    return left < 0 ? Status::ok() : Status::error(EIO);
}

// Copies in the kernel while it can; `refused` tells the caller that it
// cannot, and that the rest goes through a buffer.
Status copyInKernel(int from, std::int64_t& offset, std::int64_t& left, int to,
                    const FaultHook& hook, const std::string& target, bool& refused)
{
    refused = false;
    while (left != 0) {
        if (Status fault = checkFault(hook, FaultPoint::Write, target); !fault)
            return fault;
        loff_t at = offset;
        const ssize_t moved = ::copy_file_range(from, &at, to, nullptr, nextPart(left), 0);
        if (moved == 0)
            return endOfSource(left);
        if (moved < 0) {
            if (errno == EINTR)
                continue;
            refused = kernelCopyRefused(errno);
            return Status::fromErrno();
        }
        offset += moved;
        if (left > 0)
            left -= moved;
    }
    return Status::ok();
}

Status copyThroughBuffer(int from, std::int64_t offset, std::int64_t left, int to,
                         const FaultHook& hook, const std::string& target)
{
    const auto buffer = std::make_unique<char[]>(kCopyChunk);
    while (left != 0) {
        const ssize_t got = ::pread(from, buffer.get(), nextPart(left), offset);
        if (got == 0)
            return endOfSource(left);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return Status::fromErrno();
        }
        const std::string_view part(buffer.get(), static_cast<std::size_t>(got));
        if (Status written = writeAll(to, part, hook, target); !written)
            return written;
        offset += got;
        if (left > 0)
            left -= got;
    }
    return Status::ok();
}

} // namespace

Status copyRange(int from, std::int64_t offset, std::int64_t length, int to, const FaultHook& hook,
                 const std::string& target)
{
    bool refused = false;
    const Status inKernel = copyInKernel(from, offset, length, to, hook, target, refused);
    if (!refused)
        return inKernel;
    return copyThroughBuffer(from, offset, length, to, hook, target);
}

} // namespace quarvel
