#include "platform/AtPath.h"

#include "platform/FolderChain.h"
#include "platform/Path.h"

#include <algorithm>
#include <cerrno>
#include <climits>

namespace quarvel {

namespace {

// Longest rest left for the final call; see the class comment.
constexpr std::size_t kRestLimit = PATH_MAX - 1 - NAME_MAX - 1;
// Longest leading part opened in one step (the kernel's limit less the NUL).
constexpr std::size_t kStepLimit = PATH_MAX - 1;

} // namespace

AtPath::AtPath(std::string_view path)
{
    if (path.size() <= kRestLimit) {
        m_rest.assign(path);
        return;
    }
    m_status = openFolderOf(path);
}

Status AtPath::openFolderOf(std::string_view path)
{
    // Deep walks reach each folder from the one before, through the chain of
    // folder descriptors; the entry's own name stays in the rest.
    static thread_local FolderChain chain;
    std::size_t end = path.size();
    while (end > 0 && path[end - 1] == kSeparator)
        --end;
    const std::size_t slash = end == 0 ? std::string_view::npos : path.rfind(kSeparator, end - 1);
    if (slash == std::string_view::npos || slash == 0 || end - slash - 1 > NAME_MAX)
        return openLeadingFolders(path);
    Status status;
    const int fd = chain.openFolder(path.substr(0, slash), status);
    if (fd < 0)
        return status;
    m_dir.reset(fd);
    m_rest.assign(path.substr(slash + 1));
    return Status::ok();
}

Status AtPath::openLeadingFolders(std::string_view path)
{
    // The last name (and any separators after it) always stays in the rest,
    // so that a call can create or remove it.
    std::size_t end = path.size();
    while (end > 0 && path[end - 1] == kSeparator)
        --end;
    std::size_t pos = 0;
    while (path.size() - pos > kRestLimit) {
        // The step ends at the last separator it can hold, separator included.
        const std::size_t window = std::min(pos + kStepLimit, end) - 1;
        const std::size_t cut = end == 0 ? std::string_view::npos : path.rfind(kSeparator, window);
        if (cut == std::string_view::npos || cut < pos)
            return Status::error(ENAMETOOLONG);
        const std::string step(path.substr(pos, cut + 1 - pos));
        const int fd = ::openat(dirFd(), step.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return Status::fromErrno();
        m_dir.reset(fd);
        pos = cut + 1;
        while (pos < path.size() && path[pos] == kSeparator)
            ++pos; // the rest must stay relative
    }
    m_rest.assign(path.substr(pos));
    return Status::ok();
}

std::string AtPath::folderName() const
{
    const std::size_t slash = m_rest.rfind(kSeparator);
    return slash == std::string::npos ? std::string(".") : m_rest.substr(0, slash + 1);
}

std::string AtPath::siblingName(std::string_view leaf) const
{
    const std::size_t slash = m_rest.rfind(kSeparator);
    std::string sibling = slash == std::string::npos ? std::string() : m_rest.substr(0, slash + 1);
    sibling.append(leaf);
    return sibling;
}

} // namespace quarvel
