#include "platform/WriteAll.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <sys/uio.h>
#include <unistd.h>

namespace quarvel {

namespace {

// One huge write costs far more kernel time than 1 MiB pieces, and Linux
// moves at most about 2 GiB in one call anyway.
constexpr std::size_t kMaxWrite = std::size_t{1} << 20;

// The next write call's share of the pieces from `first` on (skipping
// `done` bytes of it): at most IOV_MAX parts and kMaxWrite bytes.
int gather(std::span<const std::string_view> pieces, std::size_t first, std::size_t done,
           iovec (&parts)[IOV_MAX])
{
    int count = 0;
    std::size_t total = 0;
    for (std::size_t i = first; i < pieces.size() && count < IOV_MAX && total < kMaxWrite; ++i) {
        const std::size_t skip = i == first ? done : 0;
        const std::size_t size = std::min(pieces[i].size() - skip, kMaxWrite - total);
        if (size == 0)
            continue;
        parts[count++] = {const_cast<char*>(pieces[i].data() + skip), size};
        total += size;
    }
    return count;
}

} // namespace

Status writeAll(int fd, std::string_view content, const FaultHook& hook, const std::string& target)
{
    return writeAll(fd, std::span<const std::string_view>(&content, 1), hook, target);
}

Status writeAll(int fd, std::span<const std::string_view> pieces, const FaultHook& hook,
                const std::string& target)
{
    iovec parts[IOV_MAX];
    std::size_t first = 0; // the first piece not yet written whole
    std::size_t done = 0;  // the bytes of it already written
    for (;;) {
        const int count = gather(pieces, first, done, parts);
        if (count == 0)
            return Status::ok();
        if (Status fault = checkFault(hook, FaultPoint::Write, target); !fault)
            return fault;
        const ssize_t put = ::writev(fd, parts, count);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return Status::fromErrno();
        }
        if (put == 0)
            return Status::error(EIO); // no progress and no reason: give up rather than spin
        done += static_cast<std::size_t>(put);
        while (first < pieces.size() && done >= pieces[first].size()) {
            done -= pieces[first].size();
            ++first;
        }
    }
}

Status writeAll(int fd, std::string_view content)
{
    return writeAll(fd, content, FaultHook{}, std::string());
}

} // namespace quarvel
