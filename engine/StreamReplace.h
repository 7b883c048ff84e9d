#pragma once

#include "engine/OccurrenceMatcher.h"
#include "platform/Status.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace quarvel {

// Where a content stream's bytes come from, by offset: a stretch may be read
// again (a match that fails after a long CR/LF run is looked at anew from its
// second byte), and unchanged stretches are copied by the output by offset.
class StreamSource
{
public:
    virtual ~StreamSource() = default;
    // Reads up to `size` bytes at `offset` into `into`; `got` 0 means the end.
    virtual Status ReadAt(std::int64_t offset, char* into, std::int64_t size,
                          std::int64_t& got) = 0;
};

// Where the result goes. Nothing is asked of it until the first change; then
// Open() is called once, and the whole result follows in order, as written
// pieces and as unchanged ranges of the source. A content that does not
// change never reaches the output at all.
class StreamOutput
{
public:
    virtual ~StreamOutput() = default;
    virtual Status Open() = 0;
    // Appends the pieces in order; they are valid during the call only.
    virtual Status Write(std::span<const std::string_view> pieces) = 0;
    // Appends the source's bytes [offset, offset + length) unchanged.
    virtual Status CopySource(std::int64_t offset, std::int64_t length) = 0;
};

// What a stream's content goes through: every occurrence of `search`
// replaced by `replacement` as ReplaceAll does it, then `replacement` put in
// front and/or behind.
struct StreamRules
{
    std::string_view search;
    std::string_view replacement;
    MatchOptions options;
    bool prepend = false;
    bool append = false;
};

struct StreamOutcome
{
    // The replacements, or 1 when there were none but text was put in front
    // or behind. The output was opened exactly when
    // this is above 0.
    std::int64_t changes = 0;
    Status status;             // ok, or why reading or writing failed
    bool outputFailed = false; // the failure came from the output
};

// Read size. bench/stream_replace_bench.cpp found 1 MiB best for a single
// window; with the next chunk read ahead, 2 MiB halves the hand-overs and
// brings a search that finds nothing in a large file close to the bare
// read (bench/stream-file.sh).
inline constexpr std::int64_t kDefaultStreamChunk = std::int64_t{1} << 21;

class ReadAhead;

// Replaces over a stream in constant memory: the source is read in chunks
// into one window, and the result goes to the output as it is found. What a
// match still has pending is a range of the source, never bytes held, so
// the memory is the window (chunk + search length + 1) and a fixed table of
// output pieces, whatever the content; a source longer than one chunk adds
// a second window of storage, which the next chunk is read into ahead, on a
// thread of the replacer's own, while the window is searched. Reusable from one stream to the next
// (its storage stays); each stream's results are those of ReplaceAll on the
// whole content, byte for byte.
class StreamReplacer
{
public:
    // Output pieces gathered before one write: Linux's limit for writev.
    static constexpr std::size_t kMaxPieces = 1024;
    // The window's storage is aligned to this, and each read's destination
    // too; the storage has twice this much room beyond the window.
    static constexpr std::int64_t kWindowAlign = 64;
    // Chunks smaller than this are read in turn by default: handing them to
    // the reading thread would cost more than it saves.
    static constexpr std::int64_t kMinReadAheadChunk = 4096;

    explicit StreamReplacer(std::int64_t chunk = kDefaultStreamChunk,
                            std::int64_t readAheadFrom = kMinReadAheadChunk);
    ~StreamReplacer();
    StreamReplacer(const StreamReplacer&) = delete;
    StreamReplacer& operator=(const StreamReplacer&) = delete;

    StreamOutcome Run(StreamSource& source, const StreamRules& rules, StreamOutput& output);

    // The bytes of storage held (windows and piece table).
    std::int64_t heldBytes() const;

private:
    friend class ReplaceStream;

    bool Reserve(std::int64_t window);
    static char* Aligned(char* storage);
    char* alignedWindow() const;
    // The second window's storage (made at the first use), or null.
    char* spareWindow();

    std::int64_t m_chunk;
    bool m_readsAhead;
    std::unique_ptr<char[]> m_window;
    std::int64_t m_windowSize = 0;
    std::vector<std::string_view> m_pieces;
    std::unique_ptr<char[]> m_spare;
    std::unique_ptr<ReadAhead> m_readAhead;
};

} // namespace quarvel
