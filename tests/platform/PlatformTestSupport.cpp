#include "tests/platform/PlatformTestSupport.h"

#include <sys/mount.h>
#include <sys/stat.h>

namespace quarvel::test {

bool StringSink::reserve(std::uint64_t size)
{
    ++reserveCalls;
    if (size > m_limit)
        return false;
    content.reserve(static_cast<std::size_t>(size));
    return true;
}

bool StringSink::append(const char* data, std::size_t size)
{
    if (content.size() + size > m_limit)
        return false;
    content.append(data, size);
    return true;
}

SmallTmpfs::SmallTmpfs(const std::string& folder) : m_folder(folder)
{
    m_mounted = ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=1m") == 0;
}

SmallTmpfs::~SmallTmpfs()
{
    if (m_mounted)
        ::umount2(m_folder.c_str(), MNT_DETACH);
}

ScopedUmask::ScopedUmask(mode_t mask) : m_old(::umask(mask)) {}

ScopedUmask::~ScopedUmask()
{
    ::umask(m_old);
}

} // namespace quarvel::test
