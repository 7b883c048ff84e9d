#pragma once

#include "platform/FaultHook.h"
#include "platform/FileDescriptor.h"

#include <cstdint>
#include <string>
#include <sys/types.h>

namespace quarvel {

// A regular file opened for reading its content, front to back or by
// offset. Opening never blocks: the file is opened non-blocking and examined
// with fstat before anything is read, so a FIFO or device swapped in after
// the listing is refused.
class SourceFile
{
public:
    // Opens `path` (FaultPoint::Open first). With `followLink` false a
    // symbolic link is not opened (ELOOP). A folder gives EISDIR, any other
    // entry that is not a regular file Status::kNotRegularFile.
    // The hook is kept by reference for readAt and must outlive the file.
    Status open(const std::string& path, bool followLink, const FaultHook& hook);
    Status open(const std::string&, bool, FaultHook&&) = delete;

    int fd() const { return m_fd.get(); }
    // The size and permission bits fstat reported at the opening.
    std::int64_t size() const { return m_size; }
    mode_t permissionBits() const { return m_permissionBits; }

    // Reads up to `size` bytes at `offset` (FaultPoint::Read first, with the
    // path); `got` 0 means the end. Goes on after EINTR.
    Status readAt(std::int64_t offset, char* into, std::int64_t size, std::int64_t& got) const;

    // Tells the kernel the file is read front to back, for a larger read-ahead.
    void adviseSequential() const;

private:
    FileDescriptor m_fd;
    std::int64_t m_size = 0;
    mode_t m_permissionBits = 0;
    const FaultHook* m_hook = nullptr;
    std::string m_path;
};

} // namespace quarvel
