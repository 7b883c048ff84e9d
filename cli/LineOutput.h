#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace quarvel::cli {

// Lines to a file descriptor, each ended by LF, written in large blocks.
// In immediate mode (a terminal) every line is written at once; otherwise
// lines are collected and a helper thread writes what has collected at
// least every kFlushInterval, so a reader sees each line soon after it was
// added even when the run spends seconds on one file.
class LineOutput
{
public:
    static constexpr std::chrono::milliseconds kFlushInterval{50};
    static constexpr std::size_t kBlockSize = 64 * 1024;

    LineOutput(int fd, bool immediate);
    ~LineOutput();
    LineOutput(const LineOutput&) = delete;
    LineOutput& operator=(const LineOutput&) = delete;

    void writeLine(std::string_view line);
    // Writes everything collected so far.
    void flush();
    // Stops the helper thread after writing everything; further lines are
    // written at once.
    void close();

    // The errno of the first failed write (0: none). After a failure nothing
    // more is written.
    int error() const;

private:
    void writePendingLocked();
    void flushLoop();

    const int m_fd;
    bool m_immediate;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::string m_pending;
    int m_error = 0;
    bool m_closing = false;
    std::thread m_flusher;
};

} // namespace quarvel::cli
