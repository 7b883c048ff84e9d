#include "tests/support/FaultFileSystem.h"

#include <map>
#include <memory>

namespace quarvel::test {

void FaultFileSystem::failNth(FsOperation operation, int n, int code)
{
    auto seen = std::make_shared<std::map<FsOperation, int>>();
    failWhen = [seen, operation, n, code](FsOperation op, const std::string&) {
        return op == operation && ++(*seen)[op] == n ? Status::error(code) : Status::ok();
    };
}

Status FaultFileSystem::check(FsOperation operation, const std::string& path)
{
    calls.emplace_back(operation, path);
    return failWhen ? failWhen(operation, path) : Status::ok();
}

Status FaultFileSystem::listFolder(const std::string& folder, std::string_view mask,
                                   std::vector<DirEntry>& entries)
{
    if (Status fault = check(FsOperation::List, folder); !fault)
        return fault;
    return m_inner.listFolder(folder, mask, entries);
}

Status FaultFileSystem::readFile(const std::string& path, bool followLink, ContentSink& sink)
{
    if (Status fault = check(FsOperation::Read, path); !fault)
        return fault;
    return m_inner.readFile(path, followLink, sink);
}

Status FaultFileSystem::rewriteFile(const std::string& source, const std::string& target,
                                    std::string_view content)
{
    if (Status fault = check(FsOperation::Rewrite, target); !fault)
        return fault;
    return m_inner.rewriteFile(source, target, content);
}

Status FaultFileSystem::writeCopy(const std::string& source, const std::string& target,
                                  std::string_view content)
{
    if (Status fault = check(FsOperation::WriteCopy, target); !fault)
        return fault;
    return m_inner.writeCopy(source, target, content);
}

Status FaultFileSystem::copyFileNoReplace(const std::string& source, const std::string& target)
{
    if (Status fault = check(FsOperation::CopyNoReplace, target); !fault)
        return fault;
    return m_inner.copyFileNoReplace(source, target);
}

Status FaultFileSystem::moveNoReplace(const std::string& from, const std::string& to)
{
    if (Status fault = check(FsOperation::Move, to); !fault)
        return fault;
    return m_inner.moveNoReplace(from, to);
}

Status FaultFileSystem::removeFile(const std::string& path)
{
    if (Status fault = check(FsOperation::Remove, path); !fault)
        return fault;
    return m_inner.removeFile(path);
}

Status FaultFileSystem::createFolder(const std::string& path)
{
    if (Status fault = check(FsOperation::CreateFolder, path); !fault)
        return fault;
    return m_inner.createFolder(path);
}

} // namespace quarvel::test
