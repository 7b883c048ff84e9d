#pragma once

#include "platform/Status.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quarvel {

// Appends lines to an open file (read-write, not O_APPEND) through a shared
// mapping of a stretch reserved ahead with fallocate: no system call per
// line, yet a line is in the file (the page cache) as soon as append
// returns, so a process killed right after loses nothing. Each line's break
// is stored after the rest of it: a line that ends in a break is whole.
//
// While lines are appended the file is longer than its content, padded with
// NUL bytes; finish() cuts it to the content. A killed process leaves the
// padding after the last line break, which a reader of whole lines never
// takes for one. Where the file system cannot reserve space (fallocate
// unsupported, or no space) lines are written with one write call each.
class MappedLineWriter
{
public:
    // `fd` stays owned by the caller and must outlive this object; lines go
    // after what the file holds now.
    explicit MappedLineWriter(int fd);
    ~MappedLineWriter() { finish(); }
    MappedLineWriter(const MappedLineWriter&) = delete;
    MappedLineWriter& operator=(const MappedLineWriter&) = delete;

    // Appends `line` and a line break (`line` holds none).
    Status append(std::string_view line);
    // Unmaps and cuts the file to its content; appending may go on after.
    Status finish();

    std::uint64_t length() const { return m_length; }

private:
    bool mapFor(std::size_t size);
    void unmap();
    Status writeLine(std::string_view line);

    int m_fd;
    std::uint64_t m_length = 0;   // content of the file
    std::uint64_t m_fileEnd = 0;  // its size, with what is reserved
    char* m_map = nullptr;        // the mapped stretch, from m_mapStart
    std::uint64_t m_mapStart = 0; // a page boundary
    std::size_t m_mapSize = 0;
    bool m_mappable = true; // false once reserving or mapping failed
};

} // namespace quarvel
