#include "platform/MoveNoReplace.h"

#include <cerrno>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace quarvel {

namespace {

// The system call itself, so that neither an old C library nor its wrapper
// decides whether the flag is known.
int renameNoReplace(int fromDir, const char* from, int toDir, const char* to)
{
    return static_cast<int>(::syscall(SYS_renameat2, fromDir, from, toDir, to, RENAME_NOREPLACE));
}

Status linkThenUnlink(int fromDir, const char* from, int toDir, const char* to)
{
    if (::linkat(fromDir, from, toDir, to, 0) != 0)
        return Status::fromErrno();
    if (::unlinkat(fromDir, from, 0) != 0) {
        const Status failed = Status::fromErrno();
        ::unlinkat(toDir, to, 0); // back to the one name it had
        return failed;
    }
    return Status::ok();
}

} // namespace

Status moveNoReplaceAt(int fromDir, const char* from, int toDir, const char* to)
{
    if (renameNoReplace(fromDir, from, toDir, to) == 0)
        return Status::ok();
    if (errno != EINVAL && errno != ENOSYS)
        return Status::fromErrno();
    return linkThenUnlink(fromDir, from, toDir, to);
}

} // namespace quarvel
