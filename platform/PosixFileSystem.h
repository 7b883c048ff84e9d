#pragma once

#include "platform/FileSystem.h"

#include <sys/types.h>

#include <set>

namespace quarvel {

// FileSystem on the POSIX calls, working on raw name bytes.
class PosixFileSystem : public FileSystem
{
public:
    Status listFolder(const std::string& folder, std::string_view mask,
                      std::vector<DirEntry>& entries) override;
    Status readFile(const std::string& path, bool followLink, ContentSink& sink) override;
    Status rewriteFile(const std::string& source, const std::string& target,
                       std::string_view content) override;
    Status writeCopy(const std::string& source, const std::string& target,
                     std::string_view content) override;
    Status copyFileNoReplace(const std::string& source, const std::string& target) override;
    Status moveNoReplace(const std::string& from, const std::string& to) override;
    Status removeFile(const std::string& path) override;
    bool folderExists(const std::string& path) override;
    Status createFolder(const std::string& path) override;
    std::vector<std::string> roots() override;
    void syncWritten() override;

private:
    void noteWritten(const std::string& folder);

    std::set<dev_t> m_writtenDevices;
    std::vector<std::string> m_syncFolders; // one folder per written device
};

} // namespace quarvel
