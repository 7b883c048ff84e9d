#pragma once

#include "platform/FileSystem.h"

#include <set>
#include <string>

namespace quarvel {

// A FileSystem for a run that changes nothing: listings and reads go to the
// real file system, every change reports success without touching the disk.
// Folders it was asked to create are remembered (with their parents), so
// the engine sees them as existing afterwards and asks to create each one
// only once, just as it would in a real run.
class DryRunFileSystem : public FileSystem
{
public:
    explicit DryRunFileSystem(FileSystem& real) : m_real(real) {}

    Status listFolder(const std::string& folder, std::string_view mask,
                      std::vector<DirEntry>& entries) override;
    Status readFile(const std::string& path, bool followLink, ContentSink& sink) override;
    Status rewriteFile(const std::string& source, const std::string& target,
                       std::string_view content) override;
    Status writeCopy(const std::string& source, const std::string& target,
                     std::string_view content) override;
    // Staged content is not kept: the commit checks what rewriteFile or
    // writeCopy would, with nothing written.
    Status stageRewrite(const std::string& source, const std::string& target,
                        std::unique_ptr<StagedContent>& staged) override;
    Status stageCopy(const std::string& source, const std::string& target,
                     std::unique_ptr<StagedContent>& staged) override;
    Status openContent(const std::string& path, bool followLink,
                       std::unique_ptr<OpenedContent>& opened) override
    {
        return m_real.openContent(path, followLink, opened);
    }
    Status copyFileNoReplace(const std::string& source, const std::string& target) override;
    Status moveNoReplace(const std::string& from, const std::string& to) override;
    Status removeFile(const std::string& path) override;
    bool folderExists(const std::string& path) override;
    Status createFolder(const std::string& path) override;
    std::vector<std::string> roots() override;
    void syncWritten() override {}

private:
    FileSystem& m_real;
    std::set<std::string> m_createdFolders; // normalized, each ending with the separator
};

} // namespace quarvel
