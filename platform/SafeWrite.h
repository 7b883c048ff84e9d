#pragma once

#include "platform/AtPath.h"
#include "platform/FaultHook.h"
#include "platform/WriteTracker.h"

#include <string>
#include <string_view>
#include <sys/stat.h>

namespace quarvel {

class TempFile;

// The one way whole files are written: the content goes to a temporary file
// in the target's folder (TempFile), which then takes the target's place in
// one atomic step. A failure at any step removes the temporary file and
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
    // Creates the temporary file, writes `content` into it and, with `keep`,
    // gives it that file's owner and mode.
    Status prepare(TempFile& temp, mode_t mode, const struct stat* keep, std::string_view content,
                   const std::string& target);
    // Second half of a rewrite under a new name: the new file is in place, the
    // source goes; if it cannot, the new file goes again.
    Status removeSource(const AtPath& from, const AtPath& to, const std::string& source);

    const FaultHook& m_hook;
    WriteTracker& m_written;
    bool m_anonymous;
};

} // namespace quarvel
