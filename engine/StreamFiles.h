#pragma once

#include "engine/StreamReplace.h"
#include "platform/SourceFile.h"
#include "platform/StagedFile.h"

#include <functional>
#include <utility>

namespace quarvel {

// The file ends of a content stream: an open SourceFile read by offset, and
// a StagedFile that is created only at the first change (by `create`, e.g.
// a rewrite of the source in place), its unchanged ranges copied from the
// source file by offset.
class SourceFileStream : public StreamSource
{
public:
    explicit SourceFileStream(const SourceFile& file) : m_file(file) {}

    Status ReadAt(std::int64_t offset, char* into, std::int64_t size, std::int64_t& got) override
    {
        return m_file.readAt(offset, into, size, got);
    }

private:
    const SourceFile& m_file;
};

class StagedFileOutput : public StreamOutput
{
public:
    StagedFileOutput(const SourceFile& source, StagedFile& staged,
                     std::function<Status(StagedFile&)> create)
        : m_source(source), m_staged(staged), m_create(std::move(create))
    {
    }

    Status Open() override { return m_create(m_staged); }
    Status Write(std::span<const std::string_view> pieces) override
    {
        return m_staged.write(pieces);
    }
    Status CopySource(std::int64_t offset, std::int64_t length) override
    {
        return m_staged.copyRange(m_source.fd(), offset, length);
    }

private:
    const SourceFile& m_source;
    StagedFile& m_staged;
    std::function<Status(StagedFile&)> m_create;
};

} // namespace quarvel
