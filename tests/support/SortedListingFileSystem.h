#pragma once

#include "platform/FileSystem.h"

namespace quarvel::test {

// Passes every call on to another file system, but delivers each listing
// sorted by name bytes, so that tests can script answers and expect log lines
// in a known order.
class SortedListingFileSystem : public FileSystem
{
public:
    explicit SortedListingFileSystem(FileSystem& inner) : m_inner(inner) {}

    Status listFolder(const std::string& folder, std::string_view mask,
                      std::vector<DirEntry>& entries) override;
    Status readFile(const std::string& path, bool followLink, ContentSink& sink) override
    {
        return m_inner.readFile(path, followLink, sink);
    }
    Status rewriteFile(const std::string& source, const std::string& target,
                       std::string_view content) override
    {
        return m_inner.rewriteFile(source, target, content);
    }
    Status writeCopy(const std::string& source, const std::string& target,
                     std::string_view content) override
    {
        return m_inner.writeCopy(source, target, content);
    }
    Status stageRewrite(const std::string& source, const std::string& target,
                        std::unique_ptr<StagedContent>& staged) override
    {
        return m_inner.stageRewrite(source, target, staged);
    }
    Status stageCopy(const std::string& source, const std::string& target,
                     std::unique_ptr<StagedContent>& staged) override
    {
        return m_inner.stageCopy(source, target, staged);
    }
    Status openContent(const std::string& path, bool followLink,
                       std::unique_ptr<OpenedContent>& opened) override
    {
        return m_inner.openContent(path, followLink, opened);
    }
    Status copyFileNoReplace(const std::string& source, const std::string& target) override
    {
        return m_inner.copyFileNoReplace(source, target);
    }
    Status moveNoReplace(const std::string& from, const std::string& to) override
    {
        return m_inner.moveNoReplace(from, to);
    }
    Status removeFile(const std::string& path) override { return m_inner.removeFile(path); }
    bool folderExists(const std::string& path) override { return m_inner.folderExists(path); }
    Status createFolder(const std::string& path) override { return m_inner.createFolder(path); }
    std::vector<std::string> roots() override { return m_inner.roots(); }
    void syncWritten() override { m_inner.syncWritten(); }
    bool concurrentStaging() override { return m_inner.concurrentStaging(); }

private:
    FileSystem& m_inner;
};

} // namespace quarvel::test
