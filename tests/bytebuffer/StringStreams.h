#pragma once

// The two ends of a content stream held in strings, for the tests and the
// fuzz target of the streaming replace.

#include "engine/StreamReplace.h"

#include <algorithm>
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
        const auto length = static_cast<std::int64_t>(m_content.size());
        got = std::clamp<std::int64_t>(length - offset, 0, size);
        if (got > 0)
            std::memcpy(into, m_content.data() + offset, static_cast<std::size_t>(got));
        return Status::ok();
    }

    std::string_view content() const { return m_content; }
    std::function<void()> onRead; // called at every read, e.g. to sample memory

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
        return Status::ok();
    }
    Status Write(std::span<const std::string_view> pieces) override
    {
        for (std::string_view piece : pieces)
            result.append(piece);
        return Status::ok();
    }
    Status CopySource(std::int64_t offset, std::int64_t length) override
    {
        const std::string_view content = m_source.content();
        if (offset < 0 || length <= 0 || offset + length > std::int64_t(content.size()))
            return Status::error(EINVAL);
        result.append(content.substr(std::size_t(offset), std::size_t(length)));
        return Status::ok();
    }

    std::string result;
    int opened = 0;

private:
    const StringSource& m_source;
};

} // namespace quarvel::test
