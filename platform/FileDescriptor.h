#pragma once

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace quarvel {

// Owns one open file descriptor and closes it when it goes. AT_FDCWD (and any
// other negative value) is never closed, so a FileDescriptor can also stand
// for "relative to the current folder".
class FileDescriptor
{
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() { reset(); }
    FileDescriptor(FileDescriptor&& other) noexcept : m_fd(other.release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }

    int release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }

    // Closing keeps errno, so a failure can still be reported after it.
    void reset(int fd = -1)
    {
        if (m_fd >= 0) {
            const int saved = errno;
            ::close(m_fd);
            errno = saved;
        }
        m_fd = fd;
    }

private:
    int m_fd = -1;
};

} // namespace quarvel
