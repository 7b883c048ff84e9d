#pragma once

// The two ends of a content stream held in strings, for the tests and the
// fuzz target of the streaming replace.

#include "engine/StreamReplace.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>

namespace quarvel::test {

class StringSource : public StreamSource
{
public:
    explicit StringSource(std::string_view content) : m_content(content) {}

    Status ReadAt(std::int64_t offset, char* into, std::int64_t size, std::int64_t& got) override
    {
        if (onRead)
            onRead();
        if (offset >= failReadsFrom)
            return Status::error(EIO);
        const auto length = static_cast<std::int64_t>(m_content.size());
        got = std::clamp<std::int64_t>(length - offset, 0, size);
        if (got > 0)
            std::memcpy(into, m_content.data() + offset, static_cast<std::size_t>(got));
        return Status::ok();
    }

    std::string_view content() const { return m_content; }
    std::function<void()> onRead; // called at every read, e.g. to sample memory
    std::int64_t failReadsFrom = INT64_MAX;

private:
    std::string_view m_content;
};

// Collects the result; unchanged ranges are taken from the source.
class StringOutput : public StreamOutput
{
public:
    explicit StringOutput(const StringSource& source) : m_source(source) {}

    Status Open() override
    {
        ++opened;
        return failing == "open" ? Status::error(EACCES) : Status::ok();
    }
    Status Write(std::span<const std::string_view> pieces) override
    {
        if (failing == "write")
            return Status::error(ENOSPC);
        for (std::string_view piece : pieces)
            result.append(piece);
        return Status::ok();
    }
    Status CopySource(std::int64_t offset, std::int64_t length) override
    {
        const std::string_view content = m_source.content();
        if (failing == "copy")
            return Status::error(EXDEV);
        if (offset < 0 || length <= 0 || offset + length > std::int64_t(content.size()))
            return Status::error(EINVAL);
        result.append(content.substr(std::size_t(offset), std::size_t(length)));
        return Status::ok();
    }

    std::string result;
    int opened = 0;
    std::string failing; // "open", "write" or "copy": that call fails

private:
    const StringSource& m_source;
};

} // namespace quarvel::test
