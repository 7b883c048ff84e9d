#pragma once

#include "platform/FileSystem.h"

#include <cstdint>
#include <limits>
#include <string>
#include <sys/types.h>

namespace quarvel::test {

// Collects a file's content in a string, holding at most `limit` bytes.
class StringSink : public ContentSink
{
public:
    explicit StringSink(std::uint64_t limit = std::numeric_limits<std::uint64_t>::max())
        : m_limit(limit)
    {
    }
    bool reserve(std::uint64_t size) override;
    bool append(const char* data, std::size_t size) override;

    std::string content;
    int reserveCalls = 0;

private:
    std::uint64_t m_limit;
};

// A 1 MiB tmpfs mounted on `folder` for as long as the object lives.
// mounted() is false where mounting is not permitted (not root).
class SmallTmpfs
{
public:
    explicit SmallTmpfs(const std::string& folder);
    ~SmallTmpfs();
    SmallTmpfs(const SmallTmpfs&) = delete;
    SmallTmpfs& operator=(const SmallTmpfs&) = delete;

    bool mounted() const { return m_mounted; }

private:
    std::string m_folder;
    bool m_mounted = false;
};

// Sets the umask for one test and puts the old one back afterwards.
class ScopedUmask
{
public:
    explicit ScopedUmask(mode_t mask);
    ~ScopedUmask();
    ScopedUmask(const ScopedUmask&) = delete;
    ScopedUmask& operator=(const ScopedUmask&) = delete;

private:
    mode_t m_old;
};

} // namespace quarvel::test
