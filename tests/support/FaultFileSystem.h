#pragma once

#include "platform/FileSystem.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace quarvel::test {

// The operations a FaultFileSystem can make fail.
enum class FsOperation
{
    List,
    Read,
    Rewrite,
    WriteCopy,
    CopyNoReplace,
    Move,
    Remove,
    CreateFolder,
};

// Passes every call on to another file system, except where `failWhen`
// returns an error for the operation and its path: then that error is
// returned and the inner file system is not called, so nothing changes on
// disk. Every call is recorded in `calls`.
class FaultFileSystem : public FileSystem
{
public:
    using Rule = std::function<Status(FsOperation operation, const std::string& path)>;

    explicit FaultFileSystem(FileSystem& inner) : m_inner(inner) {}

    // Fails the n-th call (counting from 1) of `operation` with `code`.
    void failNth(FsOperation operation, int n, int code);

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
    bool folderExists(const std::string& path) override { return m_inner.folderExists(path); }
    Status createFolder(const std::string& path) override;
    std::vector<std::string> roots() override { return m_inner.roots(); }
    void syncWritten() override { m_inner.syncWritten(); }

    Rule failWhen;
    std::vector<std::pair<FsOperation, std::string>> calls;

private:
    Status check(FsOperation operation, const std::string& path);

    FileSystem& m_inner;
};

} // namespace quarvel::test
