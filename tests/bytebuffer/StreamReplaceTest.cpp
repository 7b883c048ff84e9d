#include "engine/StreamReplace.h"

#include "engine/ByteBuffer.h"
#include "tests/bytebuffer/RandomCases.h"
#include "tests/bytebuffer/StringStreams.h"

#include <algorithm>
#include <cerrno>
#include <gtest/gtest.h>
#include <malloc.h>
#include <string>

namespace quarvel {
namespace {

using test::Escaped;
using test::StringOutput;
using test::StringSource;

struct Case
{
    std::string content;
    std::string search;
    std::string replacement;
    int flags = 0; // whole word, match case, ignore CR/LF, CR/LF as space: bits 0 to 3
    bool prepend = false;
    bool append = false;
};

StreamRules RulesOf(const Case& c)
{
    const MatchOptions options{(c.flags & 1) != 0, (c.flags & 2) != 0, (c.flags & 4) != 0,
                               (c.flags & 8) != 0};
    return {c.search, c.replacement, options, c.prepend, c.append};
}

// The in-memory way: ReplaceAll over the whole content, then the text put in
// front and behind, counted as file-data mode counts it.
std::int64_t Expected(const Case& c, std::string& result)
{
    ByteBuffer buffer;
    EXPECT_TRUE(buffer.AppendBytes(c.content.data(), std::int64_t(c.content.size())));
    std::int64_t changes = ReplaceAll(buffer, c.search, c.replacement, RulesOf(c).options);
    result = std::string(buffer.view());
    if (c.prepend)
        result = c.replacement + result;
    if (c.append)
        result += c.replacement;
    if (changes == 0 && (c.prepend || c.append))
        changes = 1;
    return changes;
}

// Streams the case at each chunk size and holds it against the in-memory
// result; false (with a failure) at the first difference.
// With `readAhead`, every chunk size reads ahead.
bool StreamsAsInMemory(const Case& c, std::initializer_list<std::int64_t> chunks, int round = 0,
                       bool readAhead = false)
{
    std::string expected;
    const std::int64_t changes = Expected(c, expected);
    for (const std::int64_t chunk : chunks) {
        StringSource source(c.content);
        StringOutput output(source);
        StreamReplacer replacer(chunk, readAhead ? 1 : StreamReplacer::kMinReadAheadChunk);
        const StreamOutcome outcome = replacer.Run(source, RulesOf(c), output);
        // One window, or two when a chunk was read ahead.
        const std::int64_t window =
            chunk + std::int64_t(c.search.size()) + 1 + 2 * StreamReplacer::kWindowAlign;
        const std::int64_t held = replacer.heldBytes() - std::int64_t(StreamReplacer::kMaxPieces *
                                                                      sizeof(std::string_view));
        EXPECT_TRUE(held == window || held == 2 * window) << held;
        if (outcome.status && outcome.changes == changes && output.opened == (changes > 0) &&
            (changes == 0 || output.result == expected))
            continue;
        ADD_FAILURE() << "round " << round << " chunk " << chunk << " flags " << c.flags
                      << (c.prepend ? " prepend" : "") << (c.append ? " append" : "")
                      << " search \"" << Escaped(c.search) << "\" replacement \""
                      << Escaped(c.replacement) << "\" content \""
                      << Escaped(c.content.substr(0, 400)) << "\": changes " << outcome.changes
                      << " (expected " << changes << ")";
        return false;
    }
    return true;
}

TEST(StreamReplace, MatchesReplaceAllAtEveryChunkSize)
{
    test::Generator random(18);
    for (int round = 0; round < 5000; ++round) {
        const std::string_view alphabet =
            test::kAlphabets[random.Below(std::size(test::kAlphabets))];
        Case c;
        c.content = random.Text(alphabet, random.Below(random.Below(4) == 0 ? 400 : 60));
        c.search = random.Pattern(alphabet, c.content);
        for (std::uint64_t copies = random.Below(4); copies > 0; --copies)
            c.content.insert(random.Below(c.content.size() + 1), random.Variant(c.search));
        c.replacement = random.Text(alphabet, random.Below(7));
        c.flags = int(random.Below(16));
        c.prepend = random.Below(6) == 0;
        c.append = random.Below(6) == 0;
        // Every chunk size from 1 byte to one beyond the content; one round in
        // a hundred with every chunk read ahead.
        for (std::int64_t chunk = 1; chunk <= std::int64_t(c.content.size()) + 2; ++chunk) {
            if (!StreamsAsInMemory(c, {chunk}, round, round % 100 == 0))
                return;
        }
    }
}

// Many occurrences per window (more output pieces than one write takes) and
// long unchanged stretches, under every option set.
TEST(StreamReplace, MatchesReplaceAllOnLargeSparseContent)
{
    test::Generator random(1818);
    Case c;
    c.content = random.Text("abcdefghij      ", std::size_t{3} << 20);
    for (int insert = 0; insert < 4000; ++insert) {
        using namespace std::string_view_literals;
        const std::string_view pieces[] = {"Cat"sv,   "ca\r\nt"sv, "c\rat"sv,
                                           "cat\0"sv, "\tcat "sv,  "ca t"sv};
        c.content.insert(random.Below(c.content.size()), pieces[random.Below(6)]);
    }
    c.search = "ca t";
    c.replacement = "a longer replacement";
    for (c.flags = 0; c.flags < 16; ++c.flags) {
        if (!StreamsAsInMemory(c, {4093, std::int64_t{1} << 20}))
            return;
    }
}

// Heap in use, as the allocator counts it (0 where it does not keep count).
std::int64_t HeapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return std::int64_t(info.uordblks + info.hblkhd);
}

// A match whose CR/LF run is hundreds of chunks long, replaced or failing at
// its end (then the source is read again behind its first byte): the
// results are those of ReplaceAll, and the memory stays the window's.
TEST(StreamReplace, CrLfRunLongerThanManyChunksNeedsOnlyTheWindow)
{
    constexpr std::int64_t kChunk = 4096;
    const std::string run = [] {
        std::string bytes;
        for (int i = 0; i < 300000; ++i)
            bytes += i % 3 == 0 ? "\r\n" : "\n\r\r";
        return bytes;
    }();
    for (const char* end : {"b tail", "c tail", "b"}) {
        for (const int flags : {4, 5, 4 | 8}) {
            Case c{"lead a" + run + end, "ab", "X", flags};
            SCOPED_TRACE(std::string("ends with ") + end + ", flags " + std::to_string(flags));
            EXPECT_TRUE(StreamsAsInMemory(c, {kChunk}));

            StringSource source(c.content);
            StringOutput output(source);
            StreamReplacer replacer(kChunk);
            const std::int64_t before = HeapInUse();
            std::int64_t peak = before;
            source.onRead = [&peak] { peak = std::max(peak, HeapInUse()); };
            replacer.Run(source, RulesOf(c), output);
            // The window, the one the next chunk is read ahead into, and the
            // piece table.
            const std::int64_t bound =
                2 * (kChunk + 2 + 1 + 2 * StreamReplacer::kWindowAlign) +
                std::int64_t(StreamReplacer::kMaxPieces * sizeof(std::string_view));
            EXPECT_LE(replacer.heldBytes(), bound);
            // Allocator overhead and the reading thread's state aside, that is all.
            EXPECT_LE(peak - before, bound + 1024);
        }
    }
}

// Whatever fails, the outcome says which side it was and why, whether the
// chunk was read in turn or ahead.
TEST(StreamReplace, FailuresNameTheirSide)
{
    const std::string content = std::string(100, 'x') + " cat " + std::string(100, 'y');
    const struct
    {
        const char* failingOutput;
        std::int64_t failingRead;
        int code;
    } cases[] = {{"open", INT64_MAX, EACCES},
                 {"write", INT64_MAX, ENOSPC},
                 {"copy", INT64_MAX, EXDEV},
                 {"", 150, EIO}};
    for (const std::int64_t readAheadFrom : {INT64_MAX, std::int64_t{1}}) {
        for (const auto& expected : cases) {
            StringSource source(content);
            source.failReadsFrom = expected.failingRead;
            StringOutput output(source);
            output.failing = expected.failingOutput;
            const StreamOutcome outcome =
                StreamReplacer(32, readAheadFrom).Run(source, {"cat", "dog", {}}, output);
            EXPECT_EQ(outcome.status.code(), expected.code) << readAheadFrom;
            EXPECT_EQ(outcome.outputFailed, *expected.failingOutput != 0);
        }
    }
}

} // namespace
} // namespace quarvel
