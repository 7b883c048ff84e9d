#include "platform/PosixFileSystem.h"

#include "platform/AtPath.h"
#include "platform/DirectoryListing.h"
#include "platform/FileCopy.h"
#include "platform/FileReading.h"
#include "platform/MoveNoReplace.h"
#include "platform/Path.h"
#include "platform/PosixContent.h"
#include "platform/SafeWrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quarvel {

Status PosixFileSystem::listFolder(const std::string& folder, std::string_view mask,
                                   std::vector<DirEntry>& entries)
{
    FileDescriptor opened;
    Status listed = listDirectory(folder, mask, entries, &opened);
    if (listed)
        listed = checkFault(m_faultHook, FaultPoint::Listed, folder);
    if (!listed) {
        m_listed.forget(folder);
        entries.clear();
        return listed;
    }
    m_listed.remember(folder, std::move(opened));
    return listed;
}

Status PosixFileSystem::readFile(const std::string& path, bool followLink, ContentSink& sink)
{
    return readWholeFile(path, followLink, sink, m_faultHook);
}

Status PosixFileSystem::rewriteFile(const std::string& source, const std::string& target,
                                    std::string_view content)
{
    return SafeWrite(m_faultHook, m_written, m_anonymousTemporaryFiles)
        .rewrite(source, target, content);
}

Status PosixFileSystem::writeCopy(const std::string& source, const std::string& target,
                                  std::string_view content)
{
    return SafeWrite(m_faultHook, m_written, m_anonymousTemporaryFiles)
        .writeCopy(source, target, content);
}

Status PosixFileSystem::stage(StagedFile::Purpose purpose, const std::string& source,
                              const std::string& target, std::unique_ptr<StagedContent>& staged)
{
    auto file =
        std::make_unique<PosixStagedContent>(m_faultHook, m_written, m_anonymousTemporaryFiles);
    if (Status created = file->create(purpose, source, target); !created)
        return created;
    staged = std::move(file);
    return Status::ok();
}

Status PosixFileSystem::stageRewrite(const std::string& source, const std::string& target,
                                     std::unique_ptr<StagedContent>& staged)
{
    return stage(StagedFile::Purpose::Rewrite, source, target, staged);
}

Status PosixFileSystem::stageCopy(const std::string& source, const std::string& target,
                                  std::unique_ptr<StagedContent>& staged)
{
    return stage(StagedFile::Purpose::Copy, source, target, staged);
}

Status PosixFileSystem::openContent(const std::string& path, bool followLink,
                                    std::unique_ptr<OpenedContent>& opened)
{
    auto file = std::make_unique<PosixOpenedContent>();
    if (Status status = file->open(path, followLink, m_faultHook); !status)
        return status;
    opened = std::move(file);
    return Status::ok();
}

Status PosixFileSystem::copyFileNoReplace(const std::string& source, const std::string& target)
{
    return copyFileExclusive(source, target, m_faultHook, m_written);
}

Status PosixFileSystem::moveNoReplace(const std::string& from, const std::string& to)
{
    if (Status fault = checkFault(m_faultHook, FaultPoint::Move, to); !fault)
        return fault;
    return movePaths(from, to);
}

Status PosixFileSystem::movePaths(const std::string& from, const std::string& to)
{
    const AtPath oldName(from);
    const AtPath newName(to);
    if (!oldName.status() || !newName.status())
        return oldName.status() ? newName.status() : oldName.status();
    return moveAt(oldName.dirFd(), oldName.name(), newName.dirFd(), newName.name(), to);
}

Status PosixFileSystem::moveAt(int fromDir, const char* from, int toDir, const char* to,
                               const std::string& target)
{
    const Status moved = moveNoReplaceAt(fromDir, from, toDir, to);
    if (moved)
        m_written.noteEntry(toDir, to, target);
    return moved;
}

Status PosixFileSystem::moveExamined(const std::string& from, const std::string& to,
                                     const FileState& /*examined*/)
{
    if (Status fault = checkFault(m_faultHook, FaultPoint::Move, to); !fault)
        return fault;
    std::size_t folder = 0;
    const std::shared_ptr<const FileDescriptor> listed = m_listed.holding(from, to, folder);
    if (!listed)
        return movePaths(from, to);
    return moveAt(listed->get(), from.c_str() + folder, listed->get(), to.c_str() + folder, to);
}

Status PosixFileSystem::removeFile(const std::string& path)
{
    if (Status fault = checkFault(m_faultHook, FaultPoint::Remove, path); !fault)
        return fault;
    const AtPath at(path);
    if (!at.status())
        return at.status();
    m_written.noteEntry(at.dirFd(), at.name(), path); // before it is gone
    return ::unlinkat(at.dirFd(), at.name(), 0) == 0 ? Status::ok() : Status::fromErrno();
}

bool PosixFileSystem::folderExists(const std::string& path)
{
    const AtPath at(path);
    struct stat st;
    return at.status() && ::fstatat(at.dirFd(), at.name(), &st, 0) == 0 && S_ISDIR(st.st_mode);
}

Status PosixFileSystem::createFolder(const std::string& path)
{
    if (Status fault = checkFault(m_faultHook, FaultPoint::CreateFolder, path); !fault)
        return fault;
    const AtPath at(path);
    if (!at.status())
        return at.status();
    if (::mkdirat(at.dirFd(), at.name(), 0777) != 0) // the umask narrows it
        return Status::fromErrno();
    m_written.noteEntry(at.dirFd(), at.name(), path);
    return Status::ok();
}

std::vector<std::string> PosixFileSystem::roots()
{
    const std::string root(1, kSeparator);
    std::string home = homeFolder();
    while (home.size() > 1 && home.back() == kSeparator)
        home.pop_back();
    if (home == root)
        return {root};
    return {root, home};
}

void PosixFileSystem::syncWritten()
{
    m_listed.clear();
    m_written.syncAll();
}

} // namespace quarvel
