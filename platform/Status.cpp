#include "platform/Status.h"

#include <cerrno>
#include <cstring>

namespace quarvel {

Status Status::fromErrno()
{
    return error(errno != 0 ? errno : EIO);
}

std::string Status::message() const
{
    switch (m_code) {
    case 0:
        return {};
    case kNotRegularFile:
        return "Not a regular file";
    case kIsSymbolicLink:
        return "Is a symbolic link";
    case kJournalUnavailable:
        return "Cannot write the undo journal";
    default:
        return std::strerror(m_code);
    }
}

} // namespace quarvel
