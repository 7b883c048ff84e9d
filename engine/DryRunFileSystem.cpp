#include "engine/DryRunFileSystem.h"

#include "platform/Path.h"

namespace quarvel {

Status DryRunFileSystem::listFolder(const std::string& folder, std::string_view mask,
                                    std::vector<DirEntry>& entries)
{
    return m_real.listFolder(folder, mask, entries);
}

Status DryRunFileSystem::readFile(const std::string& path, bool followLink, ContentSink& sink)
{
    return m_real.readFile(path, followLink, sink);
}

Status DryRunFileSystem::rewriteFile(const std::string&, const std::string&, std::string_view)
{
    return Status::ok();
}

Status DryRunFileSystem::writeCopy(const std::string&, const std::string&, std::string_view)
{
    return Status::ok();
}

Status DryRunFileSystem::stageRewrite(const std::string& source, const std::string& target,
                                      std::unique_ptr<StagedContent>& staged)
{
    staged = std::make_unique<StagedInMemory>(
        [this, source, target](std::string_view content) {
            return rewriteFile(source, target, content);
        },
        false);
    return Status::ok();
}

Status DryRunFileSystem::stageCopy(const std::string& source, const std::string& target,
                                   std::unique_ptr<StagedContent>& staged)
{
    staged = std::make_unique<StagedInMemory>(
        [this, source, target](std::string_view content) {
            return writeCopy(source, target, content);
        },
        false);
    return Status::ok();
}

Status DryRunFileSystem::copyFileNoReplace(const std::string&, const std::string&)
{
    return Status::ok();
}

Status DryRunFileSystem::moveNoReplace(const std::string&, const std::string&)
{
    return Status::ok();
}

Status DryRunFileSystem::removeFile(const std::string&)
{
    return Status::ok();
}

bool DryRunFileSystem::folderExists(const std::string& path)
{
    return m_createdFolders.contains(normalizedFolder(path)) || m_real.folderExists(path);
}

Status DryRunFileSystem::createFolder(const std::string& path)
{
    // A created folder implies its parents: a real run that made them level
    // by level would find them there later.
    std::string folder = normalizedFolder(path);
    while (folder.size() > 1 && m_createdFolders.insert(folder).second) {
        folder.pop_back();
        folder.erase(folder.rfind(kSeparator) + 1);
    }
    return Status::ok();
}

std::vector<std::string> DryRunFileSystem::roots()
{
    return m_real.roots();
}

} // namespace quarvel
