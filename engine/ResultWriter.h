#pragma once

#include <cstdint>
#include <cstring>

namespace quarvel {

// The growing result of a rewrite: raw storage filled front to back, without
// the capacity bookkeeping of ByteBuffer (the result's capacity figure
// depends only on its final length). Owns its storage until released.
class ResultWriter
{
public:
    ResultWriter(char* storage, std::int64_t size) : m_data(storage), m_size(size) {}
    ResultWriter(const ResultWriter&) = delete;
    ResultWriter& operator=(const ResultWriter&) = delete;
    ~ResultWriter();

    std::int64_t length() const { return m_used; }

    // Makes room for `total` bytes in all; false when it cannot be obtained.
    bool Reserve(std::int64_t total);

    bool Append(const char* bytes, std::int64_t n)
    {
        if (n > m_size - m_used && !Grow(n))
            return false;
        if (n > 0)
            std::memcpy(m_data + m_used, bytes, static_cast<std::size_t>(n));
        m_used += n;
        return true;
    }

    // Append for bytes that are followed by at least `readable` - n more
    // readable bytes: a short piece is copied as one fixed-size block (the
    // surplus is overwritten by what follows), which avoids a call and the
    // length branches of memcpy in the common case of many small pieces.
    bool AppendPiece(const char* bytes, std::int64_t n, std::int64_t readable)
    {
        if (n <= kPiece && readable >= kPiece && m_size - m_used >= kPiece) {
            std::memcpy(m_data + m_used, bytes, kPiece);
            m_used += n;
            return true;
        }
        return Append(bytes, n);
    }

    static constexpr std::int64_t kPiece = 32;

    // Hands the storage over; the writer is left empty.
    char* Release(std::int64_t& size);

private:
    bool Grow(std::int64_t n);

    char* m_data;
    std::int64_t m_size;
    std::int64_t m_used = 0;
};

} // namespace quarvel
