#pragma once

#include "engine/ForeseenTree.h"
#include "platform/FileSystem.h"

#include <string>

namespace quarvel {

// A FileSystem for a run that changes nothing: listings and reads go to the
// real file system, and every change is checked against the tree as the
// changes so far would have left it (see ForeseenTree) and then only
// entered there. A change fails for the reasons the disk's state decides
// (a missing folder, a name already taken, a link or a folder in the way,
// a source that cannot be opened) with the reason the real call would give,
// so that a dry run prints what the real run would, as long as nothing else
// changes the disk meanwhile.
class DryRunFileSystem : public FileSystem
{
public:
    explicit DryRunFileSystem(FileSystem& real) : m_real(real), m_tree(real) {}

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
    Status openable(const std::string& path);

    FileSystem& m_real;
    ForeseenTree m_tree;
};

} // namespace quarvel
