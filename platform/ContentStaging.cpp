#include "platform/ContentStaging.h"

#include <algorithm>
#include <cerrno>
#include <memory>

namespace quarvel {

namespace {

constexpr std::int64_t kCopyBuffer = std::int64_t{1} << 20;

} // namespace

Status copyByReading(const OpenedContent& from, std::int64_t offset, std::int64_t length,
                     StagedContent& into)
{
    const auto buffer = std::make_unique<char[]>(static_cast<std::size_t>(kCopyBuffer));
    while (length > 0) {
        std::int64_t got = 0;
        if (Status read = from.readAt(offset, buffer.get(), std::min(length, kCopyBuffer), got);
            !read)
            return read;
        if (got == 0)
            return Status::error(EIO); // the content ended before the range did
        const std::string_view piece(buffer.get(), static_cast<std::size_t>(got));
        if (Status written = into.write(std::span(&piece, 1)); !written)
            return written;
        offset += got;
        length -= got;
    }
    return Status::ok();
}

Status ContentInMemory::readAt(std::int64_t offset, char* into, std::int64_t size,
                               std::int64_t& got) const
{
    const auto length = static_cast<std::int64_t>(m_content.size());
    got = offset >= length ? 0 : std::min(size, length - offset);
    std::copy_n(m_content.data() + std::min(offset, length), got, into);
    return Status::ok();
}

Status StagedInMemory::write(std::span<const std::string_view> pieces)
{
    if (m_keep) {
        for (const std::string_view piece : pieces)
            m_content.append(piece);
    }
    return Status::ok();
}

Status StagedInMemory::copyFrom(const OpenedContent& from, std::int64_t offset, std::int64_t length)
{
    return m_keep ? copyByReading(from, offset, length, *this) : Status::ok();
}

Status StagedInMemory::copyContentOf(const StagedContent& other)
{
    const auto* held = dynamic_cast<const StagedInMemory*>(&other);
    if (held == nullptr)
        return Status::error(EINVAL);
    if (m_keep)
        m_content.append(held->m_content);
    return Status::ok();
}

} // namespace quarvel
