#pragma once

#include "engine/MatchOptions.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace quarvel {

// A growable byte buffer that holds one file's content. `capacity()` and
// `length()` report the figures of the classic design (capacity grows in
// steps of 10000 bytes, Reset keeps it, Assign takes the other's over), while
// the physical storage grows geometrically or is reserved from a known size,
// so that loading n bytes costs O(n). Sizes are 64-bit. Allocation failure is
// reported by a false / negative result and leaves the buffer unchanged; no
// exception escapes.
class ByteBuffer
{
public:
    static constexpr std::int64_t kCapacityStep = 10000;

    ByteBuffer() = default;
    ByteBuffer(const ByteBuffer&) = delete;
    ByteBuffer& operator=(const ByteBuffer&) = delete;
    ByteBuffer(ByteBuffer&&) noexcept;
    ByteBuffer& operator=(ByteBuffer&&) noexcept;
    ~ByteBuffer();

    std::int64_t capacity() const { return m_capacity; }
    std::int64_t length() const { return m_length; }
    bool hasStorage() const { return m_data != nullptr; }
    const char* data() const { return m_data; }
    std::string_view view() const { return {m_data, static_cast<std::size_t>(m_length)}; }

    // Empties the buffer; capacity and storage stay.
    void Reset();
    // Appends n bytes; false when storage cannot be obtained.
    bool AppendBytes(const char* bytes, std::int64_t n);
    // Appends a zero-terminated text without its terminator.
    bool AppendText(const char* text);
    // Makes this buffer an independent copy of `other` (capacity and length
    // taken over; an empty other leaves no storage). False on allocation failure.
    bool Assign(const ByteBuffer& other);
    // Makes sure at least `total` content bytes fit without moving the
    // storage again; the reported capacity is not changed. False when the
    // storage cannot be obtained.
    bool ReserveStorage(std::int64_t total);
    // The storage behind the content that is already obtained: its start and
    // size (nullptr / 0 when there is none). Bytes put there become content
    // by CommitRoom(n), with the capacity figure appending them would give.
    char* FreeRoom(std::int64_t& size);
    void CommitRoom(std::int64_t n);

private:
    friend class ReplaceAllAccess;

    std::int64_t m_capacity = 0;
    std::int64_t m_length = 0;
    char* m_data = nullptr;
    std::int64_t m_storageSize = 0; // physical bytes held by m_data
    // Storage given up by the last ReplaceAll, kept to build the next result
    // in, so that rewriting large content does not obtain (and fault in)
    // fresh memory every time. Never holds content.
    char* m_spare = nullptr;
    std::int64_t m_spareSize = 0;
};

// Replaces every non-overlapping occurrence of `search` by `replacement`,
// left to right, under the four matching flags, and returns the number of
// occurrences replaced (0: the buffer is untouched). Returns -1 when the
// result cannot be allocated (the buffer is then untouched too).
std::int64_t ReplaceAll(ByteBuffer& buffer, const char* search, std::int64_t searchLength,
                        const char* replacement, std::int64_t replacementLength, int wholeWord,
                        int matchCase, int ignoreCrLf, int crLfAsSpace);

// The same with the matching options as one value and the texts as views.
std::int64_t ReplaceAll(ByteBuffer& buffer, std::string_view search, std::string_view replacement,
                        MatchOptions options);

// The text form: the lengths are those of the zero-terminated texts.
std::int64_t ReplaceAll(ByteBuffer& buffer, const char* search, const char* replacement,
                        int wholeWord, int matchCase, int ignoreCrLf, int crLfAsSpace);

} // namespace quarvel
