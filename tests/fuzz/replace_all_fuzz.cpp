// libFuzzer target: ReplaceAll against the literal rules, and the streaming
// replace (the chunk size as its read size) against ReplaceAll. Built and run
// by scripts/fuzz-replace-all.
//
// Input layout: one byte of flags (low four bits), one byte of search length,
// one byte of replacement length, one byte of chunk size, then the search
// bytes, the replacement bytes and the content.

#include "engine/ByteBuffer.h"
#include "engine/StreamReplace.h"
#include "tests/bytebuffer/ReferenceReplaceAll.h"
#include "tests/bytebuffer/StringStreams.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

std::string_view Take(std::string_view& input, std::size_t count)
{
    const std::string_view piece = input.substr(0, count);
    input.remove_prefix(piece.size());
    return piece;
}

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "mismatch: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 4)
        return 0;
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const int flags = data[0] & 15;
    const std::size_t searchLength = data[1] % 32;
    const std::size_t replacementLength = data[2] % 16;
    const std::size_t chunk = 1 + data[3];
    input.remove_prefix(4);
    const std::string_view search = Take(input, searchLength);
    const std::string_view replacement = Take(input, replacementLength);
    const std::string_view content = input;

    quarvel::ByteBuffer buffer;
    quarvel::reference::Buffer before;
    for (std::size_t at = 0; at < content.size(); at += chunk) {
        const std::string_view piece = content.substr(at, chunk);
        Check(buffer.AppendBytes(piece.data(), std::int64_t(piece.size())), "append");
        before.Append(piece);
    }
    const quarvel::reference::Flags f{(flags & 1) != 0, (flags & 2) != 0, (flags & 4) != 0,
                                      (flags & 8) != 0};
    const auto expected = quarvel::reference::ReplaceAll(before, search, replacement, f);
    const std::int64_t count = quarvel::ReplaceAll(
        buffer, search.data(), std::int64_t(search.size()), replacement.data(),
        std::int64_t(replacement.size()), flags & 1, flags & 2, flags & 4, flags & 8);
    Check(count == expected.count, "count");
    Check(buffer.view() == expected.buffer.content, "content");
    Check(buffer.capacity() == expected.buffer.capacity, "capacity");
    Check(buffer.hasStorage() == expected.buffer.storage, "storage");

    quarvel::test::StringSource source(content);
    quarvel::test::StringOutput output(source);
    const quarvel::StreamRules rules{
        search, replacement, {f.wholeWord, f.matchCase, f.ignoreCrLf, f.crLfAsSpace}};
    const quarvel::StreamOutcome streamed =
        quarvel::StreamReplacer(std::int64_t(chunk)).Run(source, rules, output);
    Check(streamed.status.isOk() && streamed.changes == count, "streamed count");
    Check(output.opened == (count > 0 ? 1 : 0), "streamed output opened");
    Check(count == 0 || output.result == buffer.view(), "streamed content");
    return 0;
}
