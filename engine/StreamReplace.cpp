#include "engine/StreamReplace.h"

#include "engine/OccurrenceScanner.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

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
class ReplaceStream
{
public:
    ReplaceStream(StreamReplacer& replacer, StreamSource& source, const StreamRules& rules,
                  StreamOutput& output)
        : m_replacer(replacer), m_source(source), m_rules(rules), m_output(output),
          m_search(reinterpret_cast<const unsigned char*>(rules.search.data())),
          m_searchLength(static_cast<std::int64_t>(rules.search.size())),
          m_storage(replacer.alignedWindow()), m_window(m_storage),
          m_capacity(replacer.m_chunk + m_searchLength + 1),
          m_spans(nullptr, 0, m_search, m_searchLength, rules.options)
    {
    }

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

    Scan ScanWindow();
    bool Load(std::int64_t from);
    bool Fill();
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
    char* const m_storage; // aligned to kWindowAlign, with that much room to spare
    char* m_window;        // where the window's first byte is: see Load
    const std::int64_t m_capacity;
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
    return atEnd() || Fill();
}

// Reads up to one chunk more, as far as the window has room.
bool ReplaceStream::Fill()
{
    std::int64_t wanted = std::min(m_replacer.m_chunk, m_capacity - m_length);
    while (wanted > 0) {
        std::int64_t got = 0;
        const Status read = m_source.ReadAt(windowEnd(), m_window + m_length, wanted, got);
        if (!read)
            return Fail(read, false);
        if (got == 0) {
            m_end = windowEnd();
            break;
        }
        m_length += got;
        wanted -= got;
    }
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

StreamReplacer::StreamReplacer(std::int64_t chunk) : m_chunk(std::max<std::int64_t>(chunk, 1)) {}

StreamReplacer::~StreamReplacer() = default;

bool StreamReplacer::Reserve(std::int64_t window)
{
    if (m_pieces.capacity() < kMaxPieces)
        m_pieces.reserve(kMaxPieces);
    if (window <= m_windowSize)
        return true;
    // Room to align the start and to shift the window by up to one step.
    const auto storage = static_cast<std::size_t>(window + 2 * kWindowAlign);
    m_window.reset(new (std::nothrow) char[storage]);
    m_windowSize = m_window ? window : 0;
    return m_window != nullptr;
}

char* StreamReplacer::alignedWindow() const
{
    const auto address = reinterpret_cast<std::uintptr_t>(m_window.get());
    const auto misaligned = static_cast<std::int64_t>(address % kWindowAlign);
    return m_window.get() + (misaligned == 0 ? 0 : kWindowAlign - misaligned);
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
    return storage + static_cast<std::int64_t>(m_pieces.capacity() * sizeof(std::string_view));
}

} // namespace quarvel
