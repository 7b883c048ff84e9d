#pragma once

#include "platform/FaultHook.h"
#include "platform/WriteTracker.h"

#include <string>
#include <string_view>

namespace quarvel {

// Whole files written in one go: the content is staged (StagedFile) and
// committed at once. A failure at any step removes the temporary file and
// leaves every existing file as it was. No fsync here: each written file
// system is noted in `written` for one syncfs at the end of a run.
class SafeWrite
{
public:
    // `anonymous`: whether temporary files may be made with O_TMPFILE.
    SafeWrite(const FaultHook& hook, WriteTracker& written, bool anonymous)
        : m_hook(hook), m_written(written), m_anonymous(anonymous)
    {
    }

    // FileSystem::rewriteFile. A source that is a symbolic link is refused
    // (kIsSymbolicLink), as the link would be replaced by a regular file;
    // a folder gives EISDIR, any other source that is not a regular file
    // kNotRegularFile.
    // The new file gets the source's owner where permitted, then its mode;
    // a set-user-ID or set-group-ID bit is kept only when that owner or
    // group could be kept too.
    Status rewrite(const std::string& source, const std::string& target, std::string_view content);

    // FileSystem::writeCopy. Only a regular file at the target is replaced: a
    // symbolic link gives kIsSymbolicLink, a folder EISDIR, anything else
    // kNotRegularFile. The copy is the writer's own file with the source's
    // read, write and execute bits less the umask (0644 less the umask when
    // the source cannot be examined); set-ID and sticky bits are dropped.
    Status writeCopy(const std::string& source, const std::string& target,
                     std::string_view content);

private:
    const FaultHook& m_hook;
    WriteTracker& m_written;
    bool m_anonymous;
};

} // namespace quarvel
