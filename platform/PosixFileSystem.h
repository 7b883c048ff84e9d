#pragma once

#include "platform/FaultHook.h"
#include "platform/FileSystem.h"
#include "platform/ListedFolders.h"
#include "platform/StagedFile.h"
#include "platform/WriteTracker.h"

#include <string>

namespace quarvel {

// FileSystem on the POSIX calls, working on raw name bytes. Paths of any
// length work: those beyond PATH_MAX are reached through folder descriptors
// (AtPath). Listings leave out the program's own temporary files
// (isTemporaryName), so a run never processes another run's half-written
// file.
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
    Status stageRewrite(const std::string& source, const std::string& target,
                        std::unique_ptr<StagedContent>& staged) override;
    Status stageCopy(const std::string& source, const std::string& target,
                     std::unique_ptr<StagedContent>& staged) override;
    Status openContent(const std::string& path, bool followLink,
                       std::unique_ptr<OpenedContent>& opened) override;
    Status copyFileNoReplace(const std::string& source, const std::string& target) override;
    Status moveNoReplace(const std::string& from, const std::string& to) override;
    // Within one of the folders listed last, the move names the entries
    // relative to the folder that was listed (ListedFolders).
    Status moveExamined(const std::string& from, const std::string& to,
                        const FileState& examined) override;
    Status removeFile(const std::string& path) override;
    bool folderExists(const std::string& path) override;
    Status createFolder(const std::string& path) override;
    std::vector<std::string> roots() override;
    void syncWritten() override;
    bool concurrentStaging() override { return true; }

    // Fault injection for tests: `hook` is called at every FaultPoint of the
    // operations above (see FaultHook.h) and may fail the operation there or
    // change the file system at that moment. An empty hook, the default,
    // turns it off; each point then costs one test of the empty hook.
    void setFaultHook(FaultHook hook) { m_faultHook = std::move(hook); }

    // Whether the safe write makes its temporary files with O_TMPFILE where
    // the file system allows it (the default: nothing is left behind even by
    // a killed process). Turned off, every temporary file is a hidden named
    // one, as on file systems without O_TMPFILE.
    void setAnonymousTemporaryFiles(bool enabled) { m_anonymousTemporaryFiles = enabled; }

private:
    Status stage(StagedFile::Purpose purpose, const std::string& source, const std::string& target,
                 std::unique_ptr<StagedContent>& staged);
    // A move by paths, the fault hook asked already.
    Status movePaths(const std::string& from, const std::string& to);
    // The move itself, relative to folder descriptors; `target` is where
    // the entry ends up (for the flush at the end).
    Status moveAt(int fromDir, const char* from, int toDir, const char* to,
                  const std::string& target);

    FaultHook m_faultHook;
    WriteTracker m_written;
    // Dropped at the end of a run (syncWritten), so that no later run works
    // in a folder it did not list.
    ListedFolders m_listed;
    bool m_anonymousTemporaryFiles = true;
};

} // namespace quarvel
