#include "engine/ByteBuffer.h"

#include "engine/StorageGrowth.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>

namespace quarvel {

namespace {

// The classic layout sizes storage 10 bytes beyond the capacity; those bytes
// never hold content, but a buffer that gets storage from an append still
// gets at least that much.
constexpr std::int64_t kSlack = 10;

// Far below the 64-bit limit, so that the size arithmetic below never
// overflows; no real allocation comes near it.
constexpr std::int64_t kMaxLength = std::numeric_limits<std::int64_t>::max() / 4;

// The capacity figure after an append that needs `needed` bytes: grown in
// whole steps until it holds them, unchanged when it already does.
std::int64_t GrownCapacity(std::int64_t capacity, std::int64_t needed)
{
    if (capacity >= needed)
        return capacity;
    const std::int64_t steps =
        (needed - capacity + ByteBuffer::kCapacityStep - 1) / ByteBuffer::kCapacityStep;
    return capacity + steps * ByteBuffer::kCapacityStep;
}

// Physical growth is geometric, so a long run of appends costs O(n) copying.
std::int64_t NextStorageSize(std::int64_t current, std::int64_t needed, std::int64_t capacity)
{
    std::int64_t size = current + current / 2;
    if (size < needed)
        size = needed;
    if (size < capacity + kSlack)
        size = capacity + kSlack;
    return size;
}

} // namespace

ByteBuffer::ByteBuffer(ByteBuffer&& other) noexcept
{
    *this = std::move(other);
}

ByteBuffer& ByteBuffer::operator=(ByteBuffer&& other) noexcept
{
    if (this != &other) {
        std::free(m_data);
        std::free(m_spare);
        m_capacity = std::exchange(other.m_capacity, 0);
        m_length = std::exchange(other.m_length, 0);
        m_data = std::exchange(other.m_data, nullptr);
        m_storageSize = std::exchange(other.m_storageSize, 0);
        m_spare = std::exchange(other.m_spare, nullptr);
        m_spareSize = std::exchange(other.m_spareSize, 0);
    }
    return *this;
}

ByteBuffer::~ByteBuffer()
{
    std::free(m_data);
    std::free(m_spare);
}

void ByteBuffer::Reset()
{
    m_length = 0;
    if (m_data != nullptr)
        m_data[0] = 0;
}

bool ByteBuffer::ReserveStorage(std::int64_t total)
{
    if (total > kMaxLength && total > m_storageSize)
        return false;
    return growStorage(m_data, m_storageSize, m_length, total);
}

bool ByteBuffer::AppendBytes(const char* bytes, std::int64_t n)
{
    if (n < 0 || (n > 0 && bytes == nullptr) || n > kMaxLength - m_length)
        return false;
    const std::int64_t needed = m_length + n;
    // An append that reaches the capacity figure grows it in steps, as the
    // classic design does; the storage itself moves only when it is full.
    const std::int64_t capacity =
        needed < m_capacity ? m_capacity : GrownCapacity(m_capacity, needed);
    if (needed > m_storageSize || m_data == nullptr) {
        // The bytes may come from this buffer's own storage, which can move.
        const bool own = overlapsStorage(bytes, 1, m_data, m_storageSize);
        const std::int64_t offset = own ? bytes - m_data : 0;
        if (!ReserveStorage(NextStorageSize(m_storageSize, needed, capacity)))
            return false;
        if (own)
            bytes = m_data + offset;
    }
    if (n > 0)
        std::memmove(m_data + m_length, bytes, static_cast<std::size_t>(n));
    m_capacity = capacity;
    m_length = needed;
    return true;
}

char* ByteBuffer::FreeRoom(std::int64_t& size)
{
    size = m_data != nullptr ? m_storageSize - m_length : 0;
    return size > 0 ? m_data + m_length : nullptr;
}

void ByteBuffer::CommitRoom(std::int64_t n)
{
    if (n <= 0 || n > m_storageSize - m_length)
        return;
    m_length += n;
    m_capacity = GrownCapacity(m_capacity, m_length);
}

bool ByteBuffer::AppendText(const char* text)
{
    if (text == nullptr)
        text = "";
    return AppendBytes(text, static_cast<std::int64_t>(std::strlen(text)));
}

bool ByteBuffer::Assign(const ByteBuffer& other)
{
    if (this == &other)
        return true;
    char* fresh = nullptr;
    std::int64_t size = 0;
    if (other.m_capacity > 0) {
        size = other.m_capacity + kSlack;
        fresh = static_cast<char*>(std::malloc(static_cast<std::size_t>(size)));
        if (fresh == nullptr)
            return false;
        if (other.m_length > 0)
            std::memcpy(fresh, other.m_data, static_cast<std::size_t>(other.m_length));
    }
    std::free(m_data);
    m_data = fresh;
    m_storageSize = size;
    m_capacity = other.m_capacity;
    m_length = other.m_length;
    return true;
}

} // namespace quarvel
