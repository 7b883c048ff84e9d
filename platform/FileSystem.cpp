#include "platform/FileSystem.h"

#include <exception>

namespace quarvel {

namespace {

// Collects a whole content in a string.
class StringSink : public ContentSink
{
public:
    explicit StringSink(std::string& content) : m_content(content) {}
    bool reserve(std::uint64_t size) override
    {
        try {
            if (size > m_content.max_size())
                return false;
            m_content.reserve(static_cast<std::size_t>(size));
            return true;
        } catch (const std::exception&) {
            return false;
        }
    }
    bool append(const char* data, std::size_t size) override
    {
        try {
            m_content.append(data, size);
            return true;
        } catch (const std::exception&) {
            return false;
        }
    }

private:
    std::string& m_content;
};

} // namespace

Status FileSystem::stageWhole(bool copy, const std::string& source, const std::string& target,
                              bool keep, std::unique_ptr<StagedContent>& staged)
{
    staged = std::make_unique<StagedInMemory>(
        [this, copy, source, target](std::string_view content) {
            return copy ? writeCopy(source, target, content) : rewriteFile(source, target, content);
        },
        keep);
    return Status::ok();
}

Status FileSystem::stageRewrite(const std::string& source, const std::string& target,
                                std::unique_ptr<StagedContent>& staged)
{
    return stageWhole(false, source, target, true, staged);
}

Status FileSystem::stageCopy(const std::string& source, const std::string& target,
                             std::unique_ptr<StagedContent>& staged)
{
    return stageWhole(true, source, target, true, staged);
}

Status FileSystem::moveExamined(const std::string& from, const std::string& to,
                                const FileState& /*examined*/)
{
    return moveNoReplace(from, to);
}

FileState FileSystem::entryState(const std::string& path)
{
    return fileStateOf(path);
}

Status FileSystem::openContent(const std::string& path, bool followLink,
                               std::unique_ptr<OpenedContent>& opened)
{
    std::string content;
    StringSink sink(content);
    if (Status read = readFile(path, followLink, sink); !read)
        return read;
    opened = std::make_unique<ContentInMemory>(std::move(content));
    return Status::ok();
}

} // namespace quarvel
