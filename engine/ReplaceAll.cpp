#include "engine/ByteBuffer.h"
#include "engine/CandidateFinder.h"
#include "engine/OccurrenceMatcher.h"

#include <cstdlib>
#include <cstring>
#include <utility>

namespace quarvel {

namespace {

// Finds occurrences left to right: the candidate filter skips ahead with
// block-wise byte tests, and the matcher decides each candidate exactly.
class OccurrenceScanner
{
public:
    OccurrenceScanner(const ByteBuffer& buffer, const unsigned char* search,
                      std::int64_t searchLength, MatchOptions options)
        : m_content(reinterpret_cast<const unsigned char*>(buffer.data())),
          m_last(buffer.length() - searchLength),
          m_matcher(m_content, buffer.length(), search, searchLength, options),
          m_filter(MakeCandidateFilter(search, searchLength, options, m_matcher.fixedSpan())),
          m_find(BestCandidateFinder())
    {
    }

    // The first occurrence at or after `from`: its start, and its span in
    // `span`; -1 when there is none.
    std::int64_t Next(std::int64_t from, std::int64_t& span) const
    {
        while (from <= m_last) {
            const std::int64_t start = m_find(m_content, from, m_last, m_filter);
            if (start < 0)
                return -1;
            span = m_matcher.SpanAt(start);
            if (span > 0)
                return start;
            from = start + 1;
        }
        return -1;
    }

private:
    const unsigned char* m_content;
    std::int64_t m_last; // the last start at which the search text still fits
    OccurrenceMatcher m_matcher;
    CandidateFilter m_filter;
    CandidateFinder m_find;
};

// The result needs at most the content's size when the replacement is not
// longer than the search text; otherwise it grows as needed.
bool ReserveResult(ByteBuffer& result, std::int64_t length, std::int64_t searchLength,
                   std::int64_t replacementLength)
{
    if (replacementLength <= searchLength)
        return result.ReserveStorage(length);
    return result.ReserveStorage(length + length / 8);
}

} // namespace

// Moves storage between a buffer and the result of its rewrite.
class ReplaceAllAccess
{
public:
    // An empty result that builds in the buffer's spare storage, if any.
    static ByteBuffer TakeSpare(ByteBuffer& buffer)
    {
        ByteBuffer result;
        result.m_data = std::exchange(buffer.m_spare, nullptr);
        result.m_storageSize = std::exchange(buffer.m_spareSize, 0);
        return result;
    }

    // The buffer takes over the result with its capacity figure, and keeps
    // its old storage as the spare for the next rewrite. A result of
    // capacity 0 leaves no storage, as an assignment of it would.
    static void HandOver(ByteBuffer& buffer, ByteBuffer& result)
    {
        std::free(buffer.m_spare);
        buffer.m_spare = std::exchange(buffer.m_data, nullptr);
        buffer.m_spareSize = std::exchange(buffer.m_storageSize, 0);
        buffer.m_capacity = result.m_capacity;
        buffer.m_length = result.m_length;
        if (result.m_capacity > 0) {
            buffer.m_data = std::exchange(result.m_data, nullptr);
            buffer.m_storageSize = std::exchange(result.m_storageSize, 0);
        }
    }
};

std::int64_t ReplaceAll(ByteBuffer& buffer, const char* search, std::int64_t searchLength,
                        const char* replacement, std::int64_t replacementLength, int wholeWord,
                        int matchCase, int ignoreCrLf, int crLfAsSpace)
{
    const std::int64_t length = buffer.length();
    if (search == nullptr || searchLength <= 0 || searchLength > length)
        return 0;
    if (replacementLength < 0 || (replacementLength > 0 && replacement == nullptr))
        return 0;
    const MatchOptions options{wholeWord != 0, matchCase != 0, ignoreCrLf != 0, crLfAsSpace != 0};
    const OccurrenceScanner scanner(buffer, reinterpret_cast<const unsigned char*>(search),
                                    searchLength, options);
    std::int64_t span = 0;
    std::int64_t start = scanner.Next(0, span);
    if (start < 0)
        return 0;

    ByteBuffer result = ReplaceAllAccess::TakeSpare(buffer);
    if (!ReserveResult(result, length, searchLength, replacementLength))
        return -1;
    const char* content = buffer.data();
    std::int64_t copied = 0; // the first content byte not yet carried over
    std::int64_t count = 0;
    while (start >= 0) {
        if (!result.AppendBytes(content + copied, start - copied) ||
            !result.AppendBytes(replacement, replacementLength))
            return -1;
        ++count;
        copied = start + span;
        start = scanner.Next(copied, span);
    }
    if (!result.AppendBytes(content + copied, length - copied))
        return -1;
    ReplaceAllAccess::HandOver(buffer, result);
    return count;
}

std::int64_t ReplaceAll(ByteBuffer& buffer, const char* search, const char* replacement,
                        int wholeWord, int matchCase, int ignoreCrLf, int crLfAsSpace)
{
    const auto searchLength = static_cast<std::int64_t>(search ? std::strlen(search) : 0);
    const auto replacementLength =
        static_cast<std::int64_t>(replacement ? std::strlen(replacement) : 0);
    return ReplaceAll(buffer, search, searchLength, replacement ? replacement : "",
                      replacementLength, wholeWord, matchCase, ignoreCrLf, crLfAsSpace);
}

} // namespace quarvel
