#include "platform/PosixContent.h"

#include <cerrno>

namespace quarvel {

Status PosixStagedContent::copyFrom(const OpenedContent& from, std::int64_t offset,
                                    std::int64_t length)
{
    if (const auto* file = dynamic_cast<const PosixOpenedContent*>(&from))
        return m_file.copyRange(file->file().fd(), offset, length);
    return copyByReading(from, offset, length, *this);
}

Status PosixStagedContent::copyContentOf(const StagedContent& other)
{
    const auto* staged = dynamic_cast<const PosixStagedContent*>(&other);
    if (staged == nullptr)
        return Status::error(EINVAL);
    return m_file.copyContentOf(staged->m_file);
}

} // namespace quarvel
