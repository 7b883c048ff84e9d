#pragma once

#include "platform/AtPath.h"
#include "platform/FaultHook.h"
#include "platform/TempFile.h"
#include "platform/WriteTracker.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quarvel {

// A file's new content, written in pieces to a hidden temporary file beside
// its destination (TempFile) and then put in place in one atomic step, or
// removed. Until commit() nothing at the destination or the source changes,
// and a staged file that is not committed leaves nothing behind. No fsync:
// each written file system is noted in the WriteTracker for one syncfs at
// the end of a run.
//
// The destination is examined when the file is created (so that nothing is
// written for a destination that cannot take it) and again at commit (it
// may have changed while the content was written or the user was asked).
class StagedFile
{
public:
    enum class Purpose
    {
        // `source` rewritten under `target`, a name in the same folder
        // (target may equal source): FileSystem::rewriteFile's rules. The
        // source must be a regular file, not a symbolic link; at commit the
        // new file gets its owner where permitted, then its mode.
        Rewrite,
        // A copy of `source` written at `target`, replacing a regular file
        // there: FileSystem::writeCopy's rules. The copy is the writer's own
        // file with the source's read, write and execute bits less the umask.
        Copy,
    };

    // `anonymous`: whether the temporary file may be made with O_TMPFILE.
    // The hook and the tracker are kept by reference and must outlive it.
    StagedFile(const FaultHook& hook, WriteTracker& written, bool anonymous)
        : m_hook(hook), m_written(written), m_anonymous(anonymous)
    {
    }
    StagedFile(FaultHook&&, WriteTracker&, bool) = delete;
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    Status create(Purpose purpose, const std::string& source, const std::string& target);

    // Append to the content (FaultPoint::Write before every write call).
    Status write(std::string_view bytes);
    Status write(std::span<const std::string_view> pieces);
    // Appends the bytes [offset, offset + length) of the open file `from`
    // (length 0 or more; EIO when `from` ends before).
    Status copyRange(int from, std::int64_t offset, std::int64_t length);
    // Appends the whole content of another staged file, committed or not:
    // a copy made from the completed content, not from the source again.
    Status copyContentOf(const StagedFile& other);

    // Puts the content in place (FaultPoint::Place first; for a rewrite
    // under a new name FaultPoint::RemoveSource before the source goes).
    // On failure the destination and the source are as they were.
    Status commit();
    // Removes the temporary file; after a commit only closes it.
    void discard();

    bool isCreated() const { return m_temp.has_value(); }
    bool isCommitted() const { return m_committed; }
    // The bytes of content written so far.
    std::int64_t size() const { return m_size; }

private:
    Status commitRewrite();
    Status commitCopy();

    const FaultHook& m_hook;
    WriteTracker& m_written;
    bool m_anonymous;
    Purpose m_purpose = Purpose::Rewrite;
    std::string m_source;
    std::string m_target;
    std::optional<AtPath> m_to;     // the target, resolved once
    std::optional<TempFile> m_temp; // refers to m_to
    std::int64_t m_size = 0;
    bool m_committed = false;
};

} // namespace quarvel
