#pragma once

#include "platform/Status.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace quarvel {

class StreamSource;

// One stretch of a source, read until it is whole or the source ends.
struct SourceRead
{
    std::int64_t offset = 0;
    char* into = nullptr;
    std::int64_t size = 0;
    std::int64_t got = 0;
    bool end = false; // a read met the end of the source
    Status status;
};

// Reads `read.size` bytes at `read.offset`, as many reads as it takes.
void ReadWhole(StreamSource& source, SourceRead& read);

// Reads a stretch of a source on a thread of its own while the caller works
// on the stretch before it: on a large file the kernel's copy into the
// buffer and the search overlap, instead of taking turns. One read is under
// way at a time; the thread is started at the first read and lives as long
// as the object, so a file of many chunks costs one hand-over per chunk.
class ReadAhead
{
public:
    ReadAhead() = default;
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // Starts the read; false when no thread could be started (the caller
    // reads for itself then). The source and the buffer must stay valid
    // until Wait() has returned.
    bool Start(StreamSource& source, const SourceRead& read);
    // Waits for the read under way and returns it.
    SourceRead Wait();
    bool pending() const { return m_pending; }

private:
    void Serve();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_done;
    std::thread m_thread;
    bool m_failedToStart = false;
    bool m_pending = false; // only the owner's thread reads and writes it
    // Guarded by m_mutex:
    bool m_quit = false;
    bool m_requested = false;
    bool m_finished = false;
    StreamSource* m_source = nullptr;
    SourceRead m_read;
};

} // namespace quarvel
