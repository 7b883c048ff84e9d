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
    case kRegexMatchLimit:
        return "The regular expression hit its match limit";
    case kRegexDepthLimit:
        return "The regular expression hit its depth or memory limit";
    case kRegexFailed:
        return "The regular expression search failed";
    case kRegexTooLong:
        return "A match of the regular expression is longer than 64 MiB";
    default:
        return std::strerror(m_code);
    }
}

} // namespace quarvel
