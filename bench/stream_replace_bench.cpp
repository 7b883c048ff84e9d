// The streaming replace over one large text file in the page cache, against
// the floors of the machine:
//   - FloorRead reads the file with a 1 MiB buffer;
//   - FloorReadWrite also writes every buffer to a temporary file beside it;
// and against today's way (InMemory: the whole file read into a ByteBuffer,
// ReplaceAll, the result written to a temporary file). The Stream cases run
// at a range of chunk sizes, with no match (nothing is written) and with one
// match in the middle of the file (the first half is copied by offset, the
// second written as it is read). Every temporary file is discarded, not put
// in place, so the file stays as it is; the floors do the same.
//
//   cmake -G Ninja -S . -B build/bench -DQUARVEL_GUI=OFF -DQUARVEL_TESTS=OFF
//       -DQUARVEL_BENCH=ON -DCMAKE_BUILD_TYPE=Release
//   ninja -C build/bench stream_replace_bench && build/bench/bench/stream_replace_bench
//
// QUARVEL_STREAM_MIB sets the file's size (default 1024); the file lives in
// QUARVEL_BENCH_DIR (default /var/tmp) and is removed at the end.
#include "bench/BenchSupport.h"
#include "engine/BufferSink.h"
#include "engine/ByteBuffer.h"
#include "engine/StreamFiles.h"
#include "platform/CopyRange.h"
#include "platform/PosixFileSystem.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace quarvel;
using bench::check;

constexpr std::int64_t kMiB = std::int64_t{1} << 20;
const std::string kRareWord = "tessellation";   // once, in the middle of the file
const std::string kAbsentWord = "tessellatiox"; // never; the same candidates
const std::string kReplacement = "mosaic";

// A MiB of English-like text; its words share starts with the rare word
// ("tessera", "tesseract", "test"), but never make it.
std::string textBlock()
{
    static const char* const words[] = {
        "the",   "of",     "and",     "to",        "a",       "in",     "is",     "it",
        "you",   "that",   "he",      "was",       "for",     "on",     "are",    "with",
        "as",    "his",    "they",    "be",        "at",      "one",    "have",   "this",
        "from",  "or",     "had",     "by",        "not",     "word",   "but",    "what",
        "water", "number", "tension", "testing",   "tessera", "settle", "nation", "letter",
        "tell",  "test",   "station", "tesseract", "texture", "temper", "terse",  "people"};
    constexpr unsigned kCount = sizeof(words) / sizeof(words[0]);
    std::string text;
    text.reserve(kMiB + 16);
    std::uint64_t state = 88172645463325252ull;
    while (std::int64_t(text.size()) < kMiB) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        text += words[state % kCount];
        text += state % 13 == 0 ? "\n" : " ";
    }
    text.resize(std::size_t(kMiB));
    return text;
}

class Corpus
{
public:
    Corpus()
    {
        const char* mib = std::getenv("QUARVEL_STREAM_MIB");
        m_size = (mib != nullptr ? std::atoll(mib) : 1024) * kMiB;
        m_folder = bench::makeBenchFolder("quarvel-stream-bench");
        m_path = m_folder + "big.txt";
        const int fd = ::open(m_path.c_str(), O_CREAT | O_WRONLY | O_EXCL, 0644);
        check(fd >= 0, "create");
        const std::string block = textBlock();
        for (std::int64_t at = 0; at < m_size; at += kMiB) {
            std::string piece = block;
            if (at == m_size / 2 / kMiB * kMiB)
                piece.replace(kMiB / 2, kRareWord.size(), kRareWord);
            check(::write(fd, piece.data(), piece.size()) == ssize_t(piece.size()), "write");
        }
        ::fsync(fd);
        ::close(fd);
        readOnce(); // into the page cache
    }
    ~Corpus()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }

    const std::string& path() const { return m_path; }
    const std::string& folder() const { return m_folder; }
    std::int64_t size() const { return m_size; }

    // Reads the file with a 1 MiB buffer, writing each buffer to `out` when
    // that is open.
    void readOnce(int out = -1) const
    {
        const auto buffer = std::make_unique<char[]>(std::size_t(kMiB));
        const int fd = ::open(m_path.c_str(), O_RDONLY);
        check(fd >= 0, "open");
        for (;;) {
            const ssize_t got = ::read(fd, buffer.get(), std::size_t(kMiB));
            check(got >= 0, "read");
            if (got == 0)
                break;
            check(out < 0 || ::write(out, buffer.get(), std::size_t(got)) == got, "write");
        }
        ::close(fd);
    }

private:
    std::int64_t m_size = 0;
    std::string m_folder;
    std::string m_path;
};

const Corpus& corpus()
{
    static const Corpus shared;
    return shared;
}

void finish(benchmark::State& state)
{
    state.SetBytesProcessed(state.iterations() * corpus().size());
}

void BM_FloorRead(benchmark::State& state)
{
    for (auto _ : state)
        corpus().readOnce();
    finish(state);
}

int temporaryFile()
{
    const int temp = ::open(corpus().folder().c_str(), O_TMPFILE | O_RDWR, 0600);
    check(temp >= 0, "temporary file");
    return temp;
}

void BM_FloorReadWrite(benchmark::State& state)
{
    for (auto _ : state) {
        const int temp = temporaryFile();
        corpus().readOnce(temp);
        ::close(temp);
    }
    finish(state);
}

// The whole file copied by the kernel, as the unchanged part in front of a
// first change is.
const FaultHook kNoFaults;

void BM_CopyRange(benchmark::State& state)
{
    SourceFile file;
    check(file.open(corpus().path(), false, kNoFaults).isOk(), "open");
    for (auto _ : state) {
        const int temp = temporaryFile();
        check(copyRange(file.fd(), 0, corpus().size(), temp, kNoFaults, corpus().path()).isOk(),
              "copy");
        ::close(temp);
    }
    finish(state);
}

// One pass of the streaming replace; the result, if any, discarded.
void streamOnce(StreamReplacer& replacer, const std::string& search, std::int64_t changes)
{
    WriteTracker written;
    SourceFile file;
    check(file.open(corpus().path(), false, kNoFaults).isOk(), "open");
    StagedFile staged(kNoFaults, written, true);
    SourceFileStream source(file);
    StagedFileOutput output(file, staged, [](StagedFile& s) {
        return s.create(StagedFile::Purpose::Rewrite, corpus().path(), corpus().path());
    });
    const StreamOutcome outcome =
        replacer.Run(source, {search, kReplacement, {false, true, false, false}}, output);
    check(outcome.status.isOk() && outcome.changes == changes, "stream outcome");
    check(changes == 0 || staged.size() == corpus().size() - 6, "stream size");
}

// match 0: none, 1: the rare word once, -1: an empty search text (the
// stream's reading alone).
void BM_Stream(benchmark::State& state)
{
    const std::int64_t match = state.range(1);
    const std::string search = match < 0 ? "" : match == 0 ? kAbsentWord : kRareWord;
    StreamReplacer replacer(state.range(0));
    for (auto _ : state)
        streamOnce(replacer, search, match > 0 ? 1 : 0);
    finish(state);
}

void BM_InMemory(benchmark::State& state)
{
    PosixFileSystem fs;
    ByteBuffer content;
    for (auto _ : state) {
        content.Reset();
        BufferSink sink(content);
        check(fs.readFile(corpus().path(), false, sink).isOk(), "read");
        check(ReplaceAll(content, kRareWord.c_str(), kReplacement.c_str(), 0, 1, 0, 0) == 1,
              "replace");
        WriteTracker written;
        StagedFile staged(kNoFaults, written, true);
        check(staged.create(StagedFile::Purpose::Rewrite, corpus().path(), corpus().path()).isOk(),
              "stage");
        check(staged.write(content.view()).isOk(), "write");
    }
    finish(state);
}

// Other work on the machine only ever adds time: the best of the passes is
// reported beside their median.
void Passes(benchmark::internal::Benchmark* b)
{
    b->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(7)->ReportAggregatesOnly(true);
    b->ComputeStatistics(
        "min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); });
}

void ChunkSweep(benchmark::internal::Benchmark* b)
{
    Passes(b);
    b->ArgNames({"chunk", "match"});
    for (const std::int64_t match : {-1, 0, 1}) {
        for (std::int64_t chunk = 64 << 10; chunk <= 8 * kMiB; chunk *= 2)
            b->Args({chunk, match});
    }
}

BENCHMARK(BM_FloorRead)->Apply(Passes);
BENCHMARK(BM_FloorReadWrite)->Apply(Passes);
BENCHMARK(BM_CopyRange)->Apply(Passes);
BENCHMARK(BM_Stream)->Apply(ChunkSweep);
BENCHMARK(BM_InMemory)->Apply(Passes);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    corpus(); // written and read once before any timing
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
