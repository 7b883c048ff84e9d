#include "engine/StreamReplace.h"

#include "engine/OccurrenceScanner.h"
#include "engine/ReadAhead.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <optional>

namespace quarvel {

// One stream through a StreamReplacer's window.
//
// The window holds the source's bytes [m_base, m_base + m_length). Every
// start before m_pos has been decided; the result up to m_copied has gone to
// the output (or, while the output is not open, is still the source's
// prefix). The window always keeps the byte in front of m_pos, which the
// word-start test reads. A match that runs past a full window is followed
// over the next windows with its progress alone, its start kept as an
// offset; when it fails, the source is read again from its second byte.
//
// On a source longer than one chunk the next chunk is read ahead, on the
// replacer's reading thread, into the spare storage while the window is
// scanned; the next window is then the bytes kept from this one, copied in
// front of it. The source and the output are never used at the same time:
// every use of the output waits for the read under way first.
class ReplaceStream
{
public:
    ReplaceStream(StreamReplacer& replacer, StreamSource& source, const StreamRules& rules,
                  StreamOutput& output)
        : m_replacer(replacer), m_source(source), m_rules(rules), m_output(output),
          m_search(reinterpret_cast<const unsigned char*>(rules.search.data())),
          m_searchLength(static_cast<std::int64_t>(rules.search.size())),
          m_storage(replacer.alignedWindow()), m_window(m_storage),
          m_capacity(replacer.m_chunk + m_searchLength + 1), m_reserve(AlignUp(m_searchLength + 1)),
          m_spans(nullptr, 0, m_search, m_searchLength, rules.options)
    {
    }
    ~ReplaceStream() { SettleReadAhead(); }
    ReplaceStream(const ReplaceStream&) = delete;
    ReplaceStream& operator=(const ReplaceStream&) = delete;

    StreamOutcome Run();

private:
    enum class Scan
    {
        Exhausted, // every start the window can decide is decided
        Pending,   // the start at m_pos needs bytes behind the window
        Failed,
    };

    bool atEnd() const { return m_end >= 0 && m_base + m_length == m_end; }
    std::int64_t windowEnd() const { return m_base + m_length; }
    // Where the window must start for the next scan: at the byte in front
    // of m_pos.
    std::int64_t KeepFrom() const { return m_pos > 0 ? m_pos - 1 : 0; }
    const unsigned char* bytesAt(std::int64_t offset) const
    {
        return reinterpret_cast<const unsigned char*>(m_window + (offset - m_base));
    }

    static std::int64_t AlignUp(std::int64_t n)
    {
        constexpr std::int64_t align = StreamReplacer::kWindowAlign;
        return (n + align - 1) / align * align;
    }

    Scan ScanWindow();
    bool Load(std::int64_t from);
    bool Fill();
    void StartReadAhead();
    void SettleReadAhead();
    bool TakeReadAhead(std::int64_t from);
    bool DecideLongMatch();
    bool Emit(std::int64_t start, std::int64_t span);
    bool Finish();
    bool OpenOutput();
    bool CarryUnchanged(std::int64_t limit);
    bool AddPiece(std::string_view piece);
    bool FlushPieces();
    bool Fail(Status status, bool output);

    StreamReplacer& m_replacer;
    StreamSource& m_source;
    const StreamRules& m_rules;
    StreamOutput& m_output;
    const unsigned char* m_search;
    const std::int64_t m_searchLength;
    char* m_storage; // aligned to kWindowAlign, with that much room to spare
    char* m_window;  // where the window's first byte is: see Load
    const std::int64_t m_capacity;
    // Room in front of a chunk read ahead for the bytes a window keeps.
    const std::int64_t m_reserve;
    char* m_spare = nullptr;           // the other storage, once a read ahead needed it
    std::optional<SourceRead> m_ahead; // a read ahead that has ended
    // The matcher's CR/LF rules, for matches followed across windows.
    const OccurrenceMatcher m_spans;

    std::int64_t m_base = 0;
    std::int64_t m_length = 0;
    std::int64_t m_end = -1; // the source's length, once a read has met it
    std::int64_t m_pos = 0;
    std::int64_t m_copied = 0;
    bool m_open = false;
    StreamOutcome m_outcome;
};

StreamOutcome ReplaceStream::Run()
{
    m_replacer.m_pieces.clear();
    if (m_rules.prepend && (!OpenOutput() || !AddPiece(m_rules.replacement)))
        return m_outcome;
    if (!Load(0))
        return m_outcome;
    for (;;) {
        const Scan scan = ScanWindow();
        if (scan == Scan::Failed)
            return m_outcome;
        if (scan == Scan::Exhausted && atEnd())
            break;
        // A window that is full from the byte in front of the start on can
        // not take more: the match goes on over the following windows.
        if (scan == Scan::Pending && m_base == KeepFrom() && m_length == m_capacity &&
            !DecideLongMatch())
            return m_outcome;
        if (!Load(KeepFrom()))
            return m_outcome;
    }
    Finish();
    return m_outcome;
}

ReplaceStream::Scan ReplaceStream::ScanWindow()
{
    if (m_searchLength == 0) {
        m_pos = windowEnd(); // an empty search text never matches
        return Scan::Exhausted;
    }
    OccurrenceScanner scanner(bytesAt(m_base), m_length, m_search, m_searchLength, m_rules.options,
                              atEnd());
    std::int64_t from = m_pos - m_base;
    for (;;) {
        std::int64_t span = 0;
        const std::int64_t start = scanner.Next(from, span);
        if (start < 0) {
            m_pos = std::max(m_pos, m_base + scanner.last() + 1);
            return Scan::Exhausted;
        }
        if (span == OccurrenceMatcher::kUndecided) {
            m_pos = m_base + start;
            return Scan::Pending;
        }
        if (!Emit(m_base + start, span))
            return Scan::Failed;
        from = start + span;
        m_pos = m_base + from;
    }
}

// Moves the window to start at `from`, keeping what it holds of the bytes
// from there on, and fills it. Bytes that leave it and are decided go to an
// open output first.
bool ReplaceStream::Load(std::int64_t from)
{
    if (m_open && (!CarryUnchanged(std::min(m_pos, from)) || !FlushPieces()))
        return false;
    SettleReadAhead();
    if (TakeReadAhead(from)) {
        if (Status read = m_ahead->status; !read)
            return Fail(read, false);
    } else {
        std::int64_t kept = 0;
        const char* keptBytes = nullptr;
        if (from >= m_base && from < windowEnd()) {
            kept = windowEnd() - from;
            keptBytes = m_window + (from - m_base);
        }
        // The kept bytes go where the next read lands on an aligned address:
        // the kernel copies file pages far faster into an aligned buffer.
        constexpr std::int64_t align = StreamReplacer::kWindowAlign;
        m_window = m_storage + (align - kept % align) % align;
        if (kept > 0 && keptBytes != m_window)
            std::memmove(m_window, keptBytes, static_cast<std::size_t>(kept));
        m_base = from;
        m_length = kept;
        if (!atEnd() && !Fill())
            return false;
    }
    m_ahead.reset();
    StartReadAhead();
    return true;
}

// Reads up to one chunk more, as far as the window has room.
bool ReplaceStream::Fill()
{
    SourceRead read;
    read.offset = windowEnd();
    read.into = m_window + m_length;
    read.size = std::min(m_replacer.m_chunk, m_capacity - m_length);
    ReadWhole(m_source, read);
    m_length += read.got;
    if (read.end)
        m_end = windowEnd();
    return read.status || Fail(read.status, false);
}

// Starts reading the chunk behind a window that did not reach the end.
void ReplaceStream::StartReadAhead()
{
    if (atEnd() || !m_replacer.m_readsAhead)
        return;
    if (m_spare == nullptr && (m_spare = m_replacer.spareWindow()) == nullptr)
        return;
    SourceRead read;
    read.offset = windowEnd();
    read.into = m_spare + m_reserve;
    read.size = m_replacer.m_chunk;
    m_replacer.m_readAhead->Start(m_source, read);
}

void ReplaceStream::SettleReadAhead()
{
    if (m_replacer.m_readAhead && m_replacer.m_readAhead->pending())
        m_ahead = m_replacer.m_readAhead->Wait();
}

// Takes the chunk read ahead as the next window when it lies right behind
// this one and what the window keeps fits in front of it; otherwise the
// window is loaded by reading, as without a read ahead.
bool ReplaceStream::TakeReadAhead(std::int64_t from)
{
    const std::int64_t kept = windowEnd() - from;
    if (!m_ahead || m_ahead->offset != windowEnd() || from < m_base || kept < 0 ||
        kept > m_capacity - m_replacer.m_chunk)
        return false;
    char* window = m_ahead->into - kept;
    if (kept > 0)
        std::memcpy(window, m_window + (from - m_base), static_cast<std::size_t>(kept));
    std::swap(m_storage, m_spare);
    m_window = window;
    m_base = from;
    m_length = kept + m_ahead->got;
    if (m_ahead->end)
        m_end = windowEnd();
    return true;
}

// The start at m_pos, whose match runs past a full window, is followed over
// as many windows as its CR/LF run takes; then decided.
bool ReplaceStream::DecideLongMatch()
{
    const std::int64_t start = m_pos;
    SpanProgress progress;
    std::int64_t span = OccurrenceMatcher::kUndecided;
    for (;;) {
        const std::int64_t next = start + progress.spanned;
        span = m_spans.ContinueSpan(progress, bytesAt(next), windowEnd() - next, atEnd());
        if (span != OccurrenceMatcher::kUndecided)
            break;
        if (!Load(start + progress.spanned))
            return false;
    }
    if (span > 0 && m_rules.options.wholeWord) {
        const std::int64_t end = start + span;
        // The byte behind the span: keep the last byte of it, read on.
        while (end == windowEnd() && !atEnd()) {
            if (!Load(end - 1))
                return false;
        }
        if (end < windowEnd() && !IsWordEnd(*bytesAt(end)))
            span = 0;
    }
    if (span <= 0) {
        m_pos = start + 1;
        return true;
    }
    m_pos = start + span;
    return Emit(start, span);
}

bool ReplaceStream::Emit(std::int64_t start, std::int64_t span)
{
    if (!m_open && !OpenOutput())
        return false;
    if (!CarryUnchanged(start) || !AddPiece(m_rules.replacement))
        return false;
    m_copied = start + span;
    ++m_outcome.changes;
    return true;
}

bool ReplaceStream::Finish()
{
    if (m_outcome.changes == 0 && !m_rules.prepend && !m_rules.append)
        return true;
    if (!m_open && !OpenOutput())
        return false;
    if (!CarryUnchanged(m_end) || (m_rules.append && !AddPiece(m_rules.replacement)) ||
        !FlushPieces())
        return false;
    if (m_outcome.changes == 0)
        m_outcome.changes = 1;
    return true;
}

bool ReplaceStream::OpenOutput()
{
    SettleReadAhead();
    m_open = true;
    const Status opened = m_output.Open();
    return opened || Fail(opened, true);
}

// The unchanged bytes from m_copied up to `limit`: those the window no
// longer holds are copied from the source, the others are referred to.
bool ReplaceStream::CarryUnchanged(std::int64_t limit)
{
    if (m_copied >= limit)
        return true;
    if (m_copied < m_base) {
        if (!FlushPieces())
            return false;
        SettleReadAhead();
        const std::int64_t length = std::min(limit, m_base) - m_copied;
        if (Status copied = m_output.CopySource(m_copied, length); !copied)
            return Fail(copied, true);
        m_copied += length;
    }
    if (m_copied < limit) {
        if (!AddPiece({m_window + (m_copied - m_base), static_cast<std::size_t>(limit - m_copied)}))
            return false;
        m_copied = limit;
    }
    return true;
}

bool ReplaceStream::AddPiece(std::string_view piece)
{
    if (piece.empty())
        return true;
    std::vector<std::string_view>& pieces = m_replacer.m_pieces;
    if (pieces.size() == StreamReplacer::kMaxPieces && !FlushPieces())
        return false;
    pieces.push_back(piece);
    return true;
}

bool ReplaceStream::FlushPieces()
{
    std::vector<std::string_view>& pieces = m_replacer.m_pieces;
    if (pieces.empty())
        return true;
    SettleReadAhead();
    const Status written = m_output.Write(pieces);
    pieces.clear();
    return written || Fail(written, true);
}

bool ReplaceStream::Fail(Status status, bool output)
{
    m_outcome.status = status;
    m_outcome.outputFailed = output;
    return false;
}

StreamReplacer::StreamReplacer(std::int64_t chunk, std::int64_t readAheadFrom)
    : m_chunk(std::max<std::int64_t>(chunk, 1)), m_readsAhead(m_chunk >= readAheadFrom)
{
}

StreamReplacer::~StreamReplacer() = default;

char* StreamReplacer::spareWindow()
{
    if (!m_spare) {
        m_spare.reset(
            new (std::nothrow) char[static_cast<std::size_t>(m_windowSize + 2 * kWindowAlign)]);
        if (!m_spare)
            return nullptr;
        m_readAhead = std::make_unique<ReadAhead>();
    }
    return Aligned(m_spare.get());
}

bool StreamReplacer::Reserve(std::int64_t window)
{
    if (m_pieces.capacity() < kMaxPieces)
        m_pieces.reserve(kMaxPieces);
    if (window <= m_windowSize)
        return true;
    m_spare.reset(); // sized for the old window
    // Room to align the start and to shift the window by up to one step.
    const auto storage = static_cast<std::size_t>(window + 2 * kWindowAlign);
    m_window.reset(new (std::nothrow) char[storage]);
    m_windowSize = m_window ? window : 0;
    return m_window != nullptr;
}

char* StreamReplacer::Aligned(char* storage)
{
    const auto address = reinterpret_cast<std::uintptr_t>(storage);
    const auto misaligned = static_cast<std::int64_t>(address % kWindowAlign);
    return storage + (misaligned == 0 ? 0 : kWindowAlign - misaligned);
}

char* StreamReplacer::alignedWindow() const
{
    return Aligned(m_window.get());
}

StreamOutcome StreamReplacer::Run(StreamSource& source, const StreamRules& rules,
                                  StreamOutput& output)
{
    if (!Reserve(m_chunk + static_cast<std::int64_t>(rules.search.size()) + 1))
        return {0, Status::error(ENOMEM), false};
    return ReplaceStream(*this, source, rules, output).Run();
}

std::int64_t StreamReplacer::heldBytes() const
{
    const std::int64_t storage = m_windowSize > 0 ? m_windowSize + 2 * kWindowAlign : 0;
    return (m_spare ? 2 : 1) * storage +
           static_cast<std::int64_t>(m_pieces.capacity() * sizeof(std::string_view));
}

} // namespace quarvel
