#pragma once

#include "platform/FileDescriptor.h"
#include "platform/Status.h"

#include <string>
#include <string_view>

namespace quarvel {

// A path made usable for the *at() calls whatever its length. The kernel
// refuses paths of PATH_MAX (4096) bytes or more, so a long path is reached
// in steps: leading parts of it are opened as folders (each part shorter than
// PATH_MAX) until the rest is short, and the call then names that rest
// relative to the last folder opened. An ordinary path costs nothing: dirFd()
// is AT_FDCWD and name() the path itself.
//
// The rest is kept shorter than PATH_MAX by a name's length (255 bytes), so
// that a sibling of it (siblingName) is short enough as well.
class AtPath
{
public:
    // Resolves `path`; status() tells whether a leading folder failed to open
    // (with ENAMETOOLONG when one name in it is longer than any folder name).
    explicit AtPath(std::string_view path);

    const Status& status() const { return m_status; }
    int dirFd() const { return m_dir.isOpen() ? m_dir.get() : AT_FDCWD; }
    const char* name() const { return m_rest.c_str(); }

    // The folder holding the entry, relative to dirFd(): "." when the rest
    // is a bare name.
    std::string folderName() const;
    // An entry called `leaf` in the same folder, relative to dirFd().
    std::string siblingName(std::string_view leaf) const;

private:
    Status openFolderOf(std::string_view path);
    Status openLeadingFolders(std::string_view path);

    FileDescriptor m_dir;
    std::string m_rest;
    Status m_status;
};

} // namespace quarvel
