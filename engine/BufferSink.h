#pragma once

#include "engine/ByteBuffer.h"
#include "platform/FileSystem.h"

#include <cstdint>

namespace quarvel {

// Receives a file's content into a ByteBuffer. The size the file reports,
// plus `headroom` bytes for text that will be appended afterwards, is
// reserved before the first byte arrives, so that loading costs one
// allocation and a file too large to hold is refused before anything is read.
class BufferSink : public ContentSink
{
public:
    explicit BufferSink(ByteBuffer& buffer, std::int64_t headroom = 0)
        : m_buffer(buffer), m_headroom(headroom)
    {
    }

    bool reserve(std::uint64_t size) override;
    bool append(const char* data, std::size_t size) override;
    char* room(std::size_t& size) override;
    void commit(std::size_t size) override;

private:
    ByteBuffer& m_buffer;
    std::int64_t m_headroom;
};

} // namespace quarvel
