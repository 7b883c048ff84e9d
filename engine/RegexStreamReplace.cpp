#include "engine/RegexStreamReplace.h"

#include <algorithm>
#include <cstring>

namespace quarvel {

namespace {

// Pending result bytes are written once they reach this much.
constexpr std::size_t kFlushAt = std::size_t{1} << 20;

bool isContinuation(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The length of `window` without a UTF-8 sequence cut short at its end
// (PCRE2 would take it for an invalid one, not for the start of a match).
std::int64_t completeLength(const char* window, std::int64_t length)
{
    for (std::int64_t back = 1; back <= 4 && back <= length; ++back) {
        const auto byte = static_cast<unsigned char>(window[length - back]);
        if ((byte & 0xC0) == 0x80)
            continue;
        const std::int64_t needed = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return needed > back ? length - back : length;
    }
    return length;
}

} // namespace

// One stream through a RegexStreamReplacer's window.
//
// The window holds the source's bytes [m_base, m_base + m_length). Every
// start before m_pos is decided; the result up to m_copied is in the output
// or pending (before the output is open, it is the source's prefix). When
// the window moves on, it keeps the bytes in front of m_pos that a
// look-behind may read.
class RegexStream
{
public:
    RegexStream(RegexStreamReplacer& replacer, StreamSource& source, RegexMatcher& matcher,
                const StreamRules& rules, StreamOutput& output)
        : m_replacer(replacer), m_source(source), m_matcher(matcher), m_rules(rules),
          m_output(output), m_window(replacer.m_window), m_pending(replacer.m_pending)
    {
        m_pending.clear();
    }

    StreamOutcome Run();

private:
    std::int64_t windowEnd() const { return m_base + m_length; }
    // The window's bytes a search may look at: all at the source's end;
    // before it, in UTF-8, not a character whose last bytes are still unread.
    std::int64_t searchable() const
    {
        return m_atEnd || !m_matcher.unicode() ? m_length
                                               : completeLength(m_window.data(), m_length);
    }
    bool Step();
    bool Emit();
    bool NextCharacter();
    bool MoveOn(std::int64_t keepFrom);
    bool Fill();
    bool Finish();
    bool OpenOutput();
    bool Carry(std::int64_t limit);
    bool Flush();
    bool Fail(Status status, bool output);

    RegexStreamReplacer& m_replacer;
    StreamSource& m_source;
    RegexMatcher& m_matcher;
    const StreamRules& m_rules;
    StreamOutput& m_output;
    std::string& m_window;
    std::string& m_pending;

    std::int64_t m_base = 0;
    std::int64_t m_length = 0;
    bool m_atEnd = false; // the window reaches the source's end
    std::int64_t m_pos = 0;
    std::int64_t m_copied = 0;
    std::int64_t m_noEmptyAt = -1; // an empty match just ended here: no second one
    bool m_open = false;
    bool m_done = false;
    StreamOutcome m_outcome;
};

StreamOutcome RegexStream::Run()
{
    if (m_rules.prepend) {
        if (!OpenOutput())
            return m_outcome;
        m_pending.append(m_rules.replacement);
    }
    if (!Fill())
        return m_outcome;
    while (!m_done) {
        if (!Step())
            return m_outcome;
    }
    Finish();
    return m_outcome;
}

// One search from m_pos, or one move of the window.
bool RegexStream::Step()
{
    const std::int64_t length = searchable();
    if (!m_atEnd && m_pos >= m_base + length)
        return MoveOn(m_pos);
    if (m_pos > windowEnd()) {
        m_done = true;
        return true;
    }
    const RegexFind found = m_matcher.Find(m_window.data(), length, m_pos - m_base, !m_atEnd,
                                           m_base > 0, m_pos == m_noEmptyAt);
    switch (found) {
    case RegexFind::Match:
        return Emit();
    case RegexFind::Partial: {
        const std::int64_t start = m_base + m_matcher.span().start;
        if (windowEnd() - start >= m_replacer.m_maxMatch)
            return Fail(Status::error(Status::kRegexTooLong), false);
        if (start != m_pos)
            m_noEmptyAt = -1;
        m_pos = start;
        return MoveOn(start);
    }
    case RegexFind::None:
        if (m_pos == m_noEmptyAt)
            return NextCharacter();
        m_pos = m_base + length;
        m_done = m_atEnd;
        return true;
    case RegexFind::Failed:
        break;
    }
    return Fail(m_matcher.failure(), false);
}

bool RegexStream::Emit()
{
    const RegexSpan span = m_matcher.span();
    if (!m_open && !OpenOutput())
        return false;
    if (!Carry(m_base + span.start))
        return false;
    m_matcher.AppendReplacement(m_window.data(), m_pending);
    m_copied = m_base + span.end;
    m_pos = m_copied;
    m_noEmptyAt = span.start == span.end ? m_pos : -1;
    ++m_outcome.changes;
    return m_pending.size() < kFlushAt || Flush();
}

// After an empty match that no other match at the same place follows: the
// search goes on at the next character.
bool RegexStream::NextCharacter()
{
    m_noEmptyAt = -1;
    ++m_pos;
    if (m_matcher.unicode()) {
        while (m_pos < windowEnd() && isContinuation(m_window[m_pos - m_base]))
            ++m_pos;
    }
    return true;
}

// Lets go of the window's bytes in front of `keepFrom` (but those a
// look-behind reads) and reads more behind it.
bool RegexStream::MoveOn(std::int64_t keepFrom)
{
    if (m_open && (!Carry(keepFrom) || !Flush()))
        return false;
    const std::int64_t from = std::max(m_base, keepFrom - m_matcher.lookBehindBytes());
    const std::int64_t dropped = std::min(from - m_base, m_length);
    if (dropped > 0) {
        std::memmove(m_window.data(), m_window.data() + dropped,
                     static_cast<std::size_t>(m_length - dropped));
        m_base += dropped;
        m_length -= dropped;
    }
    return Fill();
}

// Reads up to one chunk more behind the window.
bool RegexStream::Fill()
{
    const std::int64_t wanted = m_length + m_replacer.m_chunk;
    if (static_cast<std::int64_t>(m_window.size()) < wanted)
        m_window.resize(static_cast<std::size_t>(wanted));
    std::int64_t room = m_replacer.m_chunk;
    while (room > 0) {
        std::int64_t got = 0;
        const Status read = m_source.ReadAt(windowEnd(), m_window.data() + m_length, room, got);
        if (!read)
            return Fail(read, false);
        if (got == 0) {
            m_atEnd = true;
            break;
        }
        m_length += got;
        room -= got;
    }
    return true;
}

bool RegexStream::Finish()
{
    if (m_outcome.changes == 0 && !m_rules.prepend && !m_rules.append)
        return true;
    if (!m_open && !OpenOutput())
        return false;
    if (!Carry(windowEnd()))
        return false;
    if (m_rules.append)
        m_pending.append(m_rules.replacement);
    if (!Flush())
        return false;
    if (m_outcome.changes == 0)
        m_outcome.changes = 1;
    return true;
}

bool RegexStream::OpenOutput()
{
    m_open = true;
    const Status opened = m_output.Open();
    return opened || Fail(opened, true);
}

// The unchanged bytes from m_copied up to `limit` join the result: those
// in front of the window (the prefix before the first change) are copied
// from the source.
bool RegexStream::Carry(std::int64_t limit)
{
    if (m_copied >= limit)
        return true;
    if (m_copied < m_base) {
        if (!Flush())
            return false;
        const std::int64_t length = std::min(limit, m_base) - m_copied;
        if (const Status copied = m_output.CopySource(m_copied, length); !copied)
            return Fail(copied, true);
        m_copied += length;
    }
    if (m_copied < limit) {
        m_pending.append(m_window.data() + (m_copied - m_base),
                         static_cast<std::size_t>(limit - m_copied));
        m_copied = limit;
    }
    return true;
}

bool RegexStream::Flush()
{
    if (m_pending.empty())
        return true;
    const std::string_view piece(m_pending);
    const Status written = m_output.Write({&piece, 1});
    m_pending.clear();
    return written || Fail(written, true);
}

bool RegexStream::Fail(Status status, bool output)
{
    m_outcome.status = status;
    m_outcome.outputFailed = output;
    return false;
}

RegexStreamReplacer::RegexStreamReplacer(std::int64_t chunk, std::int64_t maxMatch)
    : m_chunk(std::max<std::int64_t>(chunk, 1)), m_maxMatch(maxMatch)
{
}

StreamOutcome RegexStreamReplacer::Run(StreamSource& source, RegexMatcher& matcher,
                                       const StreamRules& rules, StreamOutput& output)
{
    return RegexStream(*this, source, matcher, rules, output).Run();
}

} // namespace quarvel
