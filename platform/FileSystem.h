#pragma once

#include "platform/ContentStaging.h"
#include "platform/FileState.h"
#include "platform/Status.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel {

// What a directory listing says an entry is. Symbolic links are reported as
// links, never as the folder or file they point to.
enum class EntryType : std::uint8_t
{
    Regular,
    Directory,
    Symlink,
    Special, // FIFO, socket, character or block device
};

struct DirEntry
{
    std::string name; // raw bytes as the system delivers them
    EntryType type = EntryType::Regular;

    bool isDirectory() const { return type == EntryType::Directory; }
};

// Receives a file's content while it is read.
class ContentSink
{
public:
    virtual ~ContentSink() = default;
    // Called once before the first append with the size the file reports.
    // Returns false when that much cannot be held (the read then fails with
    // ENOMEM and nothing is appended).
    virtual bool reserve(std::uint64_t size) = 0;
    // Appends bytes; returns false when memory runs out.
    virtual bool append(const char* data, std::size_t size) = 0;
    // Free room at the end of the content that the reader may fill directly,
    // saving the copy through append: its start, with its size in `size`
    // (nullptr / 0 when the sink has none). Filled bytes count once
    // `commit` is called with their number.
    virtual char* room(std::size_t& size)
    {
        size = 0;
        return nullptr;
    }
    virtual void commit(std::size_t /*size*/) {}
};

// Every file-system operation the engine and the window use. All paths are
// byte strings; folders passed in end with kSeparator. No operation throws:
// each returns success or the system's reason. The real implementation is
// PosixFileSystem; tests and the dry run put decorators in front of it.
class FileSystem
{
public:
    virtual ~FileSystem() = default;

    // Reads the whole listing of `folder` and keeps the entries whose names
    // match `mask` (see maskMatches), in the order the system delivers them,
    // "." and ".." included when the mask selects them. The listing is complete
    // before this returns, so later changes in the folder do not affect it.
    virtual Status listFolder(const std::string& folder, std::string_view mask,
                              std::vector<DirEntry>& entries) = 0;

    // Reads the whole content of a regular file into `sink`. With
    // followLink false a symbolic link is not opened (ELOOP). Opening never
    // blocks; an entry that turns out to be a folder gives EISDIR, any other
    // entry that is not a regular file Status::kNotRegularFile, and nothing
    // is read.
    virtual Status readFile(const std::string& path, bool followLink, ContentSink& sink) = 0;

    // Rewrites `source` in place with `content`, under the name `target` in the
    // same folder (target may equal source). The content goes to a hidden
    // temporary file in that folder which then atomically takes its place; the
    // old file is never removed first. Keeps the source's permission bits (and
    // owner where permitted). When target differs from source, an existing
    // target is never replaced (EEXIST) and the source is removed only after
    // the new file is in place. On failure nothing has changed.
    virtual Status rewriteFile(const std::string& source, const std::string& target,
                               std::string_view content) = 0;

    // Writes `content` as a copy at `target`, replacing a file already there,
    // through a temporary file and an atomic rename. The copy's permission bits
    // are never wider than those of `source`. A symbolic link at `target` is
    // not replaced (Status::kIsSymbolicLink). On failure nothing has changed.
    virtual Status writeCopy(const std::string& source, const std::string& target,
                             std::string_view content) = 0;

    // The same two writes with the content given in pieces: the new content
    // of `source` for rewriteFile(source, target) or writeCopy(source, target)
    // is staged, and put in place by StagedContent::commit() with those
    // rules. A file system that cannot stage holds the content in memory and
    // calls rewriteFile or writeCopy at the commit (the default).
    virtual Status stageRewrite(const std::string& source, const std::string& target,
                                std::unique_ptr<StagedContent>& staged);
    virtual Status stageCopy(const std::string& source, const std::string& target,
                             std::unique_ptr<StagedContent>& staged);

    // Opens a file for reading its content by offset, with readFile's rules
    // for links, folders and special files. The default reads the whole
    // content with readFile.
    virtual Status openContent(const std::string& path, bool followLink,
                               std::unique_ptr<OpenedContent>& opened);

    // Copies a file; an existing destination is never overwritten (EEXIST).
    virtual Status copyFileNoReplace(const std::string& source, const std::string& target) = 0;

    // Moves a file; an existing file of the new name is never replaced (EEXIST).
    virtual Status moveNoReplace(const std::string& from, const std::string& to) = 0;

    // moveNoReplace for an entry the caller examined (entryState) just
    // before: a move leaves that state as it is, so a file system that
    // records what a move left may take it from `examined` instead of
    // examining the entry again (the default just moves).
    virtual Status moveExamined(const std::string& from, const std::string& to,
                                const FileState& examined);

    // The entry at `path` itself (a link is not followed): its type,
    // owner, size, modification time and identity.
    virtual FileState entryState(const std::string& path);

    virtual Status removeFile(const std::string& path) = 0;

    // True when `path` names an existing folder (following links).
    virtual bool folderExists(const std::string& path) = 0;

    // Creates one folder level; fails when the parent is missing.
    virtual Status createFolder(const std::string& path) = 0;

    // The stand-in for the logical drive list: the file-system root and the
    // user's home folder, in that order.
    virtual std::vector<std::string> roots() = 0;

    // Flushes every file system this object wrote to since the last call.
    virtual void syncWritten() = 0;

    // True when openContent, stageRewrite, stageCopy, folderExists,
    // entryState, moveExamined and the reading and writing of what they
    // return may be called from several threads at once (each on its own
    // files), while one thread makes every other call. False, the default,
    // keeps a run on one thread.
    virtual bool concurrentStaging() { return false; }

protected:
    // Staging for file systems that write whole contents: the content is
    // held in memory (or, with `keep` false, dropped) and handed to
    // rewriteFile or writeCopy at the commit.
    Status stageWhole(bool copy, const std::string& source, const std::string& target, bool keep,
                      std::unique_ptr<StagedContent>& staged);
};

} // namespace quarvel
