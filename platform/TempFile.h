#pragma once

#include "platform/AtPath.h"
#include "platform/FileDescriptor.h"
#include "platform/Status.h"

#include <string>
#include <sys/types.h>

namespace quarvel {

// A temporary file in the folder of `target`, filled through fd() and then
// put in the target's place in one atomic step. Unless it was put in place,
// it is removed when the object goes, so no failure leaves it behind.
//
// Where the file system allows it the file is made with O_TMPFILE: it has no
// name until it is linked in, so even a killed process leaves nothing. Else
// it is a hidden file named by makeTemporaryName(), created with O_EXCL.
class TempFile
{
public:
    explicit TempFile(const AtPath& target) : m_target(target) {}
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    // Creates the file with permission bits `mode` (less the umask); with
    // `anonymous` false it is a named one even where O_TMPFILE works. It is
    // open for reading too, so that its content can be copied on.
    Status create(mode_t mode, bool anonymous = true);
    int fd() const { return m_fd.get(); }

    // Puts the file in the target's place, replacing what is there.
    Status replaceTarget();
    // Puts the file at the target only when nothing bears that name (EEXIST).
    Status placeNoReplace();

private:
    Status createAnonymous(mode_t mode);
    Status createNamed(mode_t mode);
    Status linkUnder(const std::string& name);
    Status giveHiddenName();

    const AtPath& m_target;
    FileDescriptor m_fd;
    std::string m_name; // relative to m_target.dirFd(); empty while it has none
    bool m_placed = false;
};

} // namespace quarvel
