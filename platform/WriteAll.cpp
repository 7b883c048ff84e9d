#include "platform/WriteAll.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace quarvel {

namespace {

// Linux moves at most this much in one write call anyway; asking for more
// only makes the short write certain.
constexpr std::size_t kMaxWrite =
    std::size_t{1} << 20; // one huge write costs far more kernel time than 1 MiB pieces

} // namespace

Status writeAll(int fd, std::string_view content, const FaultHook& hook, const std::string& target)
{
    while (!content.empty()) {
        if (Status fault = checkFault(hook, FaultPoint::Write, target); !fault)
            return fault;
        const ssize_t put = ::write(fd, content.data(), std::min(content.size(), kMaxWrite));
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return Status::fromErrno();
        }
        if (put == 0)
            return Status::error(EIO); // no progress and no reason: give up rather than spin
        content.remove_prefix(static_cast<std::size_t>(put));
    }
    return Status::ok();
}

Status writeAll(int fd, std::string_view content)
{
    return writeAll(fd, content, FaultHook{}, std::string());
}

} // namespace quarvel
