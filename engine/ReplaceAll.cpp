#include "engine/ByteBuffer.h"
#include "engine/OccurrenceScanner.h"
#include "engine/ResultWriter.h"
#include "engine/StorageGrowth.h"

#include <cstdlib>
#include <cstring>
#include <utility>

namespace quarvel {

namespace {

// A longer replacement makes the result grow; room for an eighth more is
// made at once, and the writer grows geometrically beyond that.
bool ReserveResult(ResultWriter& result, std::int64_t length)
{
    return result.Reserve(length + length / 8);
}

// The capacity figure of a buffer that grew by appends from empty to
// `length` bytes: the whole steps that hold it.
std::int64_t StepCapacity(std::int64_t length)
{
    const std::int64_t step = ByteBuffer::kCapacityStep;
    return (length + step - 1) / step * step;
}

} // namespace

// Moves storage between a buffer and the result of its rewrite.
class ReplaceAllAccess
{
public:
    // The buffer's spare storage, if any, to build the result in.
    static ResultWriter TakeSpare(ByteBuffer& buffer)
    {
        char* spare = std::exchange(buffer.m_spare, nullptr);
        return ResultWriter(spare, std::exchange(buffer.m_spareSize, 0));
    }

    // The buffer takes over the result with the capacity figure that
    // appending it would give, and keeps its old storage as the spare for the
    // next rewrite. A result of capacity 0 leaves no storage, as an
    // assignment of it would.
    static void HandOver(ByteBuffer& buffer, ResultWriter& result)
    {
        std::free(buffer.m_spare);
        buffer.m_spare = std::exchange(buffer.m_data, nullptr);
        buffer.m_spareSize = std::exchange(buffer.m_storageSize, 0);
        buffer.m_length = result.length();
        buffer.m_capacity = StepCapacity(buffer.m_length);
        if (buffer.m_capacity > 0)
            buffer.m_data = result.Release(buffer.m_storageSize);
    }

    static char* Content(ByteBuffer& buffer) { return buffer.m_data; }

    // The buffer's content was rewritten in its own storage and is now
    // `length` bytes long. An empty result leaves no storage, as above; the
    // storage is kept as the spare then.
    static void ShortenTo(ByteBuffer& buffer, std::int64_t length)
    {
        buffer.m_length = length;
        buffer.m_capacity = StepCapacity(length);
        if (buffer.m_capacity > 0)
            return;
        std::free(buffer.m_spare);
        buffer.m_spare = std::exchange(buffer.m_data, nullptr);
        buffer.m_spareSize = std::exchange(buffer.m_storageSize, 0);
    }
};

namespace {

// The rewrite when the replacement is not longer than the search text: every
// occurrence spans at least the search text's length, so the result never
// outgrows the content and is built in the content's own storage, without a
// second buffer the size of the content. An occurrence is written only after
// the next one has been found: the word-start test of the next one reads the
// byte just behind it, which may belong to the previous occurrence, and must
// see the original byte, not the replacement.
std::int64_t ReplaceInPlace(ByteBuffer& buffer, OccurrenceScanner& scanner, std::int64_t start,
                            std::int64_t span, const char* replacement,
                            std::int64_t replacementLength)
{
    char* content = ReplaceAllAccess::Content(buffer);
    const std::int64_t length = buffer.length();
    std::int64_t written = 0; // the result's length so far
    std::int64_t copied = 0;  // the first content byte not yet carried over
    std::int64_t count = 0;
    while (start >= 0) {
        std::int64_t nextSpan = 0;
        const std::int64_t next = scanner.Next(start + span, nextSpan);
        if (written != copied)
            std::memmove(content + written, content + copied,
                         static_cast<std::size_t>(start - copied));
        written += start - copied;
        if (replacementLength > 0)
            std::memcpy(content + written, replacement,
                        static_cast<std::size_t>(replacementLength));
        written += replacementLength;
        copied = start + span;
        ++count;
        start = next;
        span = nextSpan;
    }
    if (written != copied)
        std::memmove(content + written, content + copied,
                     static_cast<std::size_t>(length - copied));
    ReplaceAllAccess::ShortenTo(buffer, written + (length - copied));
    return count;
}

} // namespace

namespace {

std::int64_t ReplaceEvery(ByteBuffer& buffer, const char* search, std::int64_t searchLength,
                          const char* replacement, std::int64_t replacementLength,
                          MatchOptions options)
{
    const std::int64_t length = buffer.length();
    if (search == nullptr || searchLength <= 0 || searchLength > length)
        return 0;
    if (replacementLength < 0 || (replacementLength > 0 && replacement == nullptr))
        return 0;
    OccurrenceScanner scanner(reinterpret_cast<const unsigned char*>(buffer.data()), length,
                              reinterpret_cast<const unsigned char*>(search), searchLength,
                              options);
    std::int64_t span = 0;
    std::int64_t start = scanner.Next(0, span);
    if (start < 0)
        return 0;
    // A replacement taken from the content itself would be overwritten by
    // an in-place rewrite; it goes through the separate result instead.
    if (replacementLength <= searchLength &&
        !overlapsStorage(replacement, replacementLength, buffer.data(), buffer.length()))
        return ReplaceInPlace(buffer, scanner, start, span, replacement, replacementLength);

    ResultWriter result = ReplaceAllAccess::TakeSpare(buffer);
    if (!ReserveResult(result, length))
        return -1;
    // A short replacement is kept padded, so that it can be copied as one
    // fixed-size piece.
    char padded[ResultWriter::kPiece] = {};
    std::int64_t replacementReadable = replacementLength;
    if (replacementLength <= ResultWriter::kPiece) {
        if (replacementLength > 0)
            std::memcpy(padded, replacement, static_cast<std::size_t>(replacementLength));
        replacement = padded;
        replacementReadable = ResultWriter::kPiece;
    }
    const char* content = buffer.data();
    std::int64_t copied = 0; // the first content byte not yet carried over
    std::int64_t count = 0;
    while (start >= 0) {
        if (!result.AppendPiece(content + copied, start - copied, length - copied) ||
            !result.AppendPiece(replacement, replacementLength, replacementReadable))
            return -1;
        ++count;
        copied = start + span;
        start = scanner.Next(copied, span);
    }
    if (!result.Append(content + copied, length - copied))
        return -1;
    ReplaceAllAccess::HandOver(buffer, result);
    return count;
}

} // namespace

std::int64_t ReplaceAll(ByteBuffer& buffer, const char* search, std::int64_t searchLength,
                        const char* replacement, std::int64_t replacementLength, int wholeWord,
                        int matchCase, int ignoreCrLf, int crLfAsSpace)
{
    return ReplaceEvery(
        buffer, search, searchLength, replacement, replacementLength,
        MatchOptions{wholeWord != 0, matchCase != 0, ignoreCrLf != 0, crLfAsSpace != 0});
}

std::int64_t ReplaceAll(ByteBuffer& buffer, std::string_view search, std::string_view replacement,
                        MatchOptions options)
{
    return ReplaceEvery(buffer, search.data(), static_cast<std::int64_t>(search.size()),
                        replacement.data(), static_cast<std::int64_t>(replacement.size()), options);
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
