#pragma once

#include "platform/ContentStaging.h"
#include "platform/SourceFile.h"
#include "platform/StagedFile.h"

namespace quarvel {

// PosixFileSystem's content ends: a SourceFile read by offset, and a
// StagedFile in a hidden temporary file beside its destination, whose ranges
// of an opened source are copied by the kernel.
class PosixOpenedContent : public OpenedContent
{
public:
    Status open(const std::string& path, bool followLink, const FaultHook& hook)
    {
        return m_file.open(path, followLink, hook);
    }
    Status readAt(std::int64_t offset, char* into, std::int64_t size,
                  std::int64_t& got) const override
    {
        return m_file.readAt(offset, into, size, got);
    }
    const SourceFile& file() const { return m_file; }

private:
    SourceFile m_file;
};

class PosixStagedContent : public StagedContent
{
public:
    PosixStagedContent(const FaultHook& hook, WriteTracker& written, bool anonymous)
        : m_file(hook, written, anonymous)
    {
    }

    Status create(StagedFile::Purpose purpose, const std::string& source, const std::string& target)
    {
        return m_file.create(purpose, source, target);
    }
    Status write(std::span<const std::string_view> pieces) override { return m_file.write(pieces); }
    Status copyFrom(const OpenedContent& from, std::int64_t offset, std::int64_t length) override;
    Status copyContentOf(const StagedContent& other) override;
    Status commit() override { return m_file.commit(); }

private:
    StagedFile m_file;
};

} // namespace quarvel
