#pragma once

#include "platform/Status.h"

#include <atomic>
#include <cstdint>
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
// A hand-over spins briefly before it sleeps: a chunk is read and searched
// in tens of microseconds, about what a sleep and a wake-up cost.
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
    enum State : int
    {
        Idle,      // the owner may set the request
        Requested, // the thread owns the request
        Finished,  // the owner may take the result
        Quit,
    };

    void Serve();
    // Waits until the state is `a` or `b`; returns it.
    State AwaitEither(State a, State b);

    std::atomic<int> m_state{Idle};
    std::thread m_thread;
    bool m_failedToStart = false;
    bool m_pending = false; // only the owner's thread reads and writes it
    // Handed over with m_state: written by whoever owns the request.
    StreamSource* m_source = nullptr;
    SourceRead m_read;
};

} // namespace quarvel
