#include "platform/FolderChain.h"

#include "platform/Path.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <unistd.h>

namespace quarvel {

namespace {

constexpr std::size_t kKeepEvery = 64;   // levels whose descriptor always stays open
constexpr std::size_t kDeepWindow = 256; // the deepest levels kept open as well
constexpr int kFolderFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;

int openStep(int dirFd, const std::string& name, bool follow)
{
    return ::openat(dirFd, name.c_str(), kFolderFlags | (follow ? 0 : O_NOFOLLOW));
}

} // namespace

FolderChain::~FolderChain()
{
    reset();
}

void FolderChain::reset()
{
    truncate(0);
    m_path.clear();
}

void FolderChain::truncate(std::size_t count)
{
    while (m_levels.size() > count) {
        if (m_levels.back().fd >= 0) {
            ::close(m_levels.back().fd);
            --m_open;
        }
        m_levels.pop_back();
    }
    if (!m_levels.empty())
        m_path.resize(m_levels.back().end);
}

bool FolderChain::findLevel(std::size_t end, std::size_t& index) const
{
    const auto it = std::lower_bound(m_levels.begin(), m_levels.end(), end,
                                     [](const Level& l, std::size_t e) { return l.end < e; });
    if (it == m_levels.end() || it->end != end)
        return false;
    index = static_cast<std::size_t>(it - m_levels.begin());
    return true;
}

int FolderChain::fdAt(std::size_t index, Status& status)
{
    if (m_levels[index].fd >= 0)
        return m_levels[index].fd;
    // Reopen from the nearest level below that is still open (level 0 and
    // every kKeepEvery-th level always are).
    std::size_t from = index;
    while (m_levels[from].fd < 0)
        --from;
    for (std::size_t i = from + 1; i <= index; ++i) {
        const std::size_t begin = m_levels[i - 1].end + 1;
        const std::string name = m_path.substr(begin, m_levels[i].end - begin);
        m_levels[i].fd = openStep(m_levels[i - 1].fd, name, false);
        if (m_levels[i].fd < 0) {
            status = Status::fromErrno();
            return -1;
        }
        ++m_open;
    }
    return m_levels[index].fd;
}

void FolderChain::trimOpen()
{
    if (m_levels.size() <= kDeepWindow)
        return;
    Level& old = m_levels[m_levels.size() - kDeepWindow - 1];
    const std::size_t index = m_levels.size() - kDeepWindow - 1;
    if (index % kKeepEvery != 0 && old.fd >= 0) {
        ::close(old.fd);
        old.fd = -1;
        --m_open;
    }
}

int FolderChain::start(std::string_view folder, Status& status)
{
    reset();
    // Open the folder in steps the kernel accepts, then keep it as level 0.
    int dir = AT_FDCWD;
    std::size_t pos = 0;
    while (pos < folder.size()) {
        std::size_t cut = folder.size();
        if (cut - pos > PATH_MAX - 1) {
            cut = folder.rfind(kSeparator, pos + PATH_MAX - 2);
            if (cut == std::string_view::npos || cut <= pos) {
                status = Status::error(ENAMETOOLONG);
                break;
            }
        }
        const std::string step(folder.substr(pos, cut - pos));
        const int next = openStep(dir, step.empty() ? std::string(1, kSeparator) : step, true);
        if (dir != AT_FDCWD)
            ::close(dir);
        dir = next;
        if (dir < 0) {
            status = Status::fromErrno();
            return -1;
        }
        pos = cut;
        while (pos < folder.size() && folder[pos] == kSeparator)
            ++pos;
    }
    if (!status) {
        if (dir != AT_FDCWD)
            ::close(dir);
        return -1;
    }
    m_path.assign(folder);
    m_levels.push_back({folder.size(), dir});
    ++m_open;
    return ::dup(dir);
}

int FolderChain::descend(std::string_view folder, Status& status)
{
    const std::string name(folder.substr(m_path.size() + 1));
    const int parent = fdAt(m_levels.size() - 1, status);
    if (parent < 0)
        return -1;
    const int fd = openStep(parent, name, false);
    if (fd < 0)
        return start(folder, status); // a link or a vanished folder: start afresh
    m_path.append(1, kSeparator).append(name);
    m_levels.push_back({m_path.size(), fd});
    ++m_open;
    trimOpen();
    return ::dup(fd);
}

int FolderChain::openFolder(std::string_view folder, Status& status)
{
    status = Status::ok();
    const bool isAncestorOrSame =
        !m_levels.empty() && m_path.size() >= folder.size() &&
        std::string_view(m_path).substr(0, folder.size()) == folder &&
        (m_path.size() == folder.size() || m_path[folder.size()] == kSeparator);
    std::size_t index = 0;
    if (isAncestorOrSame && findLevel(folder.size(), index)) {
        truncate(index + 1);
        const int fd = fdAt(index, status);
        return fd < 0 ? -1 : ::dup(fd);
    }
    const bool isChild = !m_levels.empty() && folder.size() > m_path.size() + 1 &&
                         folder.substr(0, m_path.size()) == m_path &&
                         folder[m_path.size()] == kSeparator &&
                         folder.find(kSeparator, m_path.size() + 1) == std::string_view::npos;
    if (isChild)
        return descend(folder, status);
    return start(folder, status);
}

} // namespace quarvel
