#include "platform/FileCopy.h"

#include "platform/AtPath.h"
#include "platform/CopyRange.h"
#include "platform/SourceFile.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace quarvel {

Status copyFileExclusive(const std::string& source, const std::string& target,
                         const FaultHook& hook, WriteTracker& written)
{
    SourceFile from;
    if (Status opened = from.open(source, true, hook); !opened)
        return opened;
    const AtPath at(target);
    if (!at.status())
        return at.status();
    const int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
    const FileDescriptor to(::openat(at.dirFd(), at.name(), flags, from.permissionBits()));
    if (!to.isOpen())
        return Status::fromErrno();
    written.noteFile(to.get(), target);
    const Status copied = copyRange(from.fd(), 0, -1, to.get(), hook, target);
    if (!copied)
        ::unlinkat(at.dirFd(), at.name(), 0); // only the file created above
    return copied;
}

Status copyFileContent(int from, int to)
{
    static const FaultHook noHook;
    return copyRange(from, 0, -1, to, noHook, std::string{});
}

} // namespace quarvel
