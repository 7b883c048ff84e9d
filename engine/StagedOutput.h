#pragma once

#include "engine/StreamReplace.h"
#include "platform/ContentStaging.h"

#include <functional>
#include <memory>

namespace quarvel {

// The end of a content stream in file-data mode: nothing is staged until
// the first change; then `stage` makes the staged content (a rewrite in
// place or a copy, as the file's outputs decide) and the result goes there,
// the unchanged ranges copied from the opened source. `stage` may decline
// (no staged content and an ok status): the stream then ends there, as
// there is nowhere to write.
class StagedOutput : public StreamOutput
{
public:
    using Stage = std::function<Status(std::unique_ptr<StagedContent>& staged)>;

    // The status the stream ends with when `stage` declined.
    static constexpr int kDeclined = -100;

    StagedOutput(const OpenedContent& source, Stage stage)
        : m_source(source), m_stage(std::move(stage))
    {
    }

    Status Open() override;
    Status Write(std::span<const std::string_view> pieces) override
    {
        return m_staged->write(pieces);
    }
    Status CopySource(std::int64_t offset, std::int64_t length) override
    {
        return m_staged->copyFrom(m_source, offset, length);
    }

    // The staged content once Open() made it.
    std::unique_ptr<StagedContent>& staged() { return m_staged; }

private:
    const OpenedContent& m_source;
    Stage m_stage;
    std::unique_ptr<StagedContent> m_staged;
};

// Reads an opened content for the stream.
class OpenedContentSource : public StreamSource
{
public:
    explicit OpenedContentSource(const OpenedContent& content) : m_content(content) {}
    Status ReadAt(std::int64_t offset, char* into, std::int64_t size, std::int64_t& got) override
    {
        return m_content.readAt(offset, into, size, got);
    }

private:
    const OpenedContent& m_content;
};

} // namespace quarvel
