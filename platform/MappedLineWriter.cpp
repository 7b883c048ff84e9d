#include "platform/MappedLineWriter.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quarvel {

namespace {

// Reserved and mapped at a time: as much as the file holds already, from a
// few hundred lines up to some thousands.
constexpr std::size_t kSmallestStretch = std::size_t{64} << 10;
constexpr std::size_t kLargestStretch = std::size_t{1} << 20;

std::uint64_t pageSize()
{
    static const auto size = static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
    return size;
}

} // namespace

MappedLineWriter::MappedLineWriter(int fd) : m_fd(fd)
{
    struct stat st;
    if (::fstat(fd, &st) == 0)
        m_length = m_fileEnd = static_cast<std::uint64_t>(st.st_size);
}

Status MappedLineWriter::append(std::string_view line)
{
    const std::size_t size = line.size() + 1;
    const bool fits = m_map != nullptr && m_length + size <= m_mapStart + m_mapSize;
    if (!fits && !(m_mappable && mapFor(size)))
        return writeLine(line);
    char* at = m_map + (m_length - m_mapStart);
    std::memcpy(at, line.data(), line.size());
    // The break is stored last, so that a kill between the two stores
    // leaves no line break after a line cut short.
    std::atomic_signal_fence(std::memory_order_release);
    at[line.size()] = '\n';
    m_length += size;
    return Status::ok();
}

bool MappedLineWriter::mapFor(std::size_t size)
{
    unmap();
    const std::uint64_t start = m_length / pageSize() * pageSize();
    const auto stretch = static_cast<std::size_t>(
        std::clamp<std::uint64_t>(m_length, kSmallestStretch, kLargestStretch));
    const std::size_t length = std::max(stretch, static_cast<std::size_t>(m_length - start) + size);
    void* map = MAP_FAILED;
    if (::fallocate(m_fd, 0, static_cast<off_t>(start), static_cast<off_t>(length)) == 0) {
        m_fileEnd = std::max(m_fileEnd, start + length);
        map = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED, m_fd,
                     static_cast<off_t>(start));
    }
    if (map == MAP_FAILED) {
        m_mappable = false;
        return false;
    }
    // The pages are made writable in one call, not one fault each (older
    // kernels refuse; the pages then fault in as lines arrive).
    ::madvise(map, length, MADV_POPULATE_WRITE);
    m_map = static_cast<char*>(map);
    m_mapStart = start;
    m_mapSize = length;
    return true;
}

void MappedLineWriter::unmap()
{
    if (m_map != nullptr)
        ::munmap(m_map, m_mapSize);
    m_map = nullptr;
    m_mapSize = 0;
}

Status MappedLineWriter::writeLine(std::string_view line)
{
    std::string whole;
    whole.reserve(line.size() + 1);
    whole.append(line).push_back('\n');
    for (std::size_t done = 0; done < whole.size();) {
        const ssize_t wrote = ::pwrite(m_fd, whole.data() + done, whole.size() - done,
                                       static_cast<off_t>(m_length + done));
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return wrote < 0 ? Status::fromErrno() : Status::error(EIO);
        done += static_cast<std::size_t>(wrote);
    }
    m_length += whole.size();
    m_fileEnd = std::max(m_fileEnd, m_length);
    return Status::ok();
}

Status MappedLineWriter::finish()
{
    unmap();
    if (m_fileEnd == m_length)
        return Status::ok();
    if (::ftruncate(m_fd, static_cast<off_t>(m_length)) != 0)
        return Status::fromErrno();
    m_fileEnd = m_length;
    return Status::ok();
}

} // namespace quarvel
