#include "platform/RemoveFolder.h"

#include "platform/AtPath.h"

#include <fcntl.h>
#include <unistd.h>

namespace quarvel {

Status removeEmptyFolder(const std::string& path)
{
    std::string folder = path;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    const AtPath at(folder);
    if (!at.status())
        return at.status();
    return ::unlinkat(at.dirFd(), at.name(), AT_REMOVEDIR) == 0 ? Status::ok()
                                                                : Status::fromErrno();
}

} // namespace quarvel
