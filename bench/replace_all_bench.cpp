// ReplaceAll and ByteBuffer loading against the literal rules and against the
// two floors of the machine: reading a buffer once (memchr for a byte that
// does not occur) and writing a copy of it (memcpy).
//
//   cmake -G Ninja -S . -B build-bench -DQUARVEL_GUI=OFF -DQUARVEL_BENCH=ON
//   ninja -C build-bench replace_all_bench && build-bench/bench/replace_all_bench
//
// All cases run in one process so that their ratios hold; a ratio table
// follows the usual output.

#include "engine/ByteBuffer.h"
#include "tests/bytebuffer/ReferenceReplaceAll.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using quarvel::ByteBuffer;

constexpr std::size_t kTextSize = std::size_t{256} << 20;
constexpr std::size_t kNeedleEvery = std::size_t{100} << 10;
constexpr std::size_t kFileSize = std::size_t{1} << 30;
constexpr std::size_t kReadChunk = std::size_t{256} << 10;

// English-like text: common words, Zipf-like frequencies, sentences and line
// breaks, and a few words that share a start with "tessellation".
std::string MakeEnglishText(std::size_t size)
{
    static const char* const kWords[] = {
        "the",    "of",    "and",  "to",      "a",         "in",      "is",     "it",
        "you",    "that",  "he",   "was",     "for",       "on",      "are",    "with",
        "as",     "his",   "they", "be",      "at",        "one",     "have",   "this",
        "from",   "or",    "had",  "by",      "not",       "word",    "but",    "what",
        "some",   "we",    "can",  "out",     "other",     "were",    "all",    "there",
        "when",   "up",    "use",  "your",    "how",       "said",    "an",     "each",
        "she",    "which", "do",   "their",   "time",      "if",      "will",   "way",
        "about",  "many",  "then", "them",    "write",     "would",   "like",   "so",
        "these",  "her",   "long", "make",    "thing",     "see",     "him",    "two",
        "has",    "look",  "more", "day",     "could",     "go",      "come",   "did",
        "number", "sound", "no",   "most",    "people",    "my",      "over",   "know",
        "water",  "than",  "call", "first",   "who",       "may",     "down",   "side",
        "been",   "now",   "find", "tension", "testing",   "tessera", "settle", "nation",
        "letter", "tell",  "test", "station", "tesseract", "texture", "temper", "terse"};
    constexpr std::size_t kCount = sizeof(kWords) / sizeof(kWords[0]);
    std::string text;
    text.reserve(size + 64);
    std::uint64_t state = 88172645463325252ull;
    auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    std::size_t lineStart = 0;
    bool sentenceStart = true;
    while (text.size() < size) {
        const double u = static_cast<double>(next() % 1000000) / 1000000.0;
        std::string word = kWords[static_cast<std::size_t>(u * u * u * kCount)];
        if (sentenceStart)
            word[0] = static_cast<char>(word[0] - 0x20);
        text += word;
        sentenceStart = next() % 12 == 0;
        if (sentenceStart)
            text += '.';
        else if (next() % 15 == 0)
            text += ',';
        if (text.size() - lineStart > 72) {
            text += '\n';
            lineStart = text.size();
        } else {
            text += ' ';
        }
    }
    text.resize(size);
    return text;
}

const std::string& PlainText()
{
    static const std::string text = MakeEnglishText(kTextSize);
    return text;
}

// The plain text with " tessellation " written over it once per 100 KiB.
const std::string& NeedleText()
{
    static const std::string text = [] {
        std::string t = PlainText();
        for (std::size_t at = 0; at + kNeedleEvery < t.size(); at += kNeedleEvery) {
            const std::size_t space = t.find(' ', at);
            t.replace(space, 14, " tessellation ");
        }
        return t;
    }();
    return text;
}

struct Case
{
    const char* name;
    const std::string& (*text)();
    const char* search;
    const char* replacement;
    int wholeWord, matchCase, ignoreCrLf, crLfAsSpace;
};

const Case kCases[] = {
    {"a_tessellation", NeedleText, "tessellation", "TESSELLATION", 0, 1, 0, 0},
    {"a0_absent", PlainText, "tessellation", "TESSELLATION", 0, 1, 0, 0},
    {"b_ignore_case", NeedleText, "tessellation", "TESSELLATION", 0, 0, 0, 0},
    {"c_whole_word", NeedleText, "tessellation", "TESSELLATION", 1, 1, 0, 0},
    {"d_ignore_crlf", NeedleText, "tessellation", "TESSELLATION", 0, 1, 1, 0},
    {"e_the", PlainText, "the", "THE", 0, 1, 0, 0},
};

// One buffer for every engine case: it keeps its spare storage between
// rewrites, as a buffer reused over many files does.
ByteBuffer& SharedBuffer()
{
    static ByteBuffer buffer;
    return buffer;
}

// The pristine content that every round starts from, one per text.
ByteBuffer& Master(const Case& c)
{
    static std::map<const std::string*, ByteBuffer> masters;
    const std::string& text = c.text();
    ByteBuffer& master = masters[&text];
    if (master.length() == 0)
        master.AppendBytes(text.data(), static_cast<std::int64_t>(text.size()));
    return master;
}

void Engine(benchmark::State& state, const Case& c, bool warm)
{
    ByteBuffer& master = Master(c);
    std::int64_t count = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ByteBuffer fresh;
        ByteBuffer& buffer = warm ? SharedBuffer() : fresh;
        buffer.Assign(master);
        state.ResumeTiming();
        count = quarvel::ReplaceAll(buffer, c.search, c.replacement, c.wholeWord, c.matchCase,
                                    c.ignoreCrLf, c.crLfAsSpace);
        benchmark::DoNotOptimize(buffer.data());
    }
    state.counters["count"] = static_cast<double>(count);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kTextSize));
}

void Reference(benchmark::State& state, const Case& c)
{
    const std::string& text = c.text();
    const quarvel::reference::Flags flags{c.wholeWord != 0, c.matchCase != 0, c.ignoreCrLf != 0,
                                          c.crLfAsSpace != 0};
    // The result keeps its storage between rounds, so the reference pays
    // for neither growth nor fresh memory.
    static quarvel::reference::Buffer result;
    std::int64_t count = 0;
    for (auto _ : state) {
        result.content.clear();
        result.content.reserve(text.size() + text.size() / 8);
        result.capacity = 0;
        count = quarvel::reference::ReplaceAllInto(text, c.search, c.replacement, flags, result);
        benchmark::DoNotOptimize(result.content.data());
    }
    state.counters["count"] = static_cast<double>(count);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kTextSize));
}

void MemchrFloor(benchmark::State& state)
{
    const std::string& text = PlainText();
    for (auto _ : state)
        benchmark::DoNotOptimize(std::memchr(text.data(), 0x01, text.size()));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kTextSize));
}

void MemcpyFloor(benchmark::State& state)
{
    const std::string& text = PlainText();
    std::vector<char> copy(text.size(), 1); // touched: no page faults in the loop
    for (auto _ : state) {
        std::memcpy(copy.data(), text.data(), text.size());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kTextSize));
}

// The 1 GiB file for the load cases; removed by main after the run.
std::string& LoadFilePath()
{
    static std::string path;
    return path;
}

const std::string& LoadFile()
{
    if (LoadFilePath().empty()) {
        char name[] = "/tmp/quarvel-load-bench-XXXXXX";
        const int fd = mkstemp(name);
        if (fd < 0)
            std::abort();
        LoadFilePath() = name;
        const std::string& text = PlainText();
        for (std::size_t done = 0; done < kFileSize; done += text.size()) {
            if (write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
                std::abort();
        }
        close(fd);
    }
    return LoadFilePath();
}

bool ReadAll(int fd, char* into, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = read(fd, into + done, size - done);
        if (got <= 0)
            return false;
        done += static_cast<std::size_t>(got);
    }
    return true;
}

void LoadWithOneRead(benchmark::State& state)
{
    const std::string& path = LoadFile();
    std::vector<char> into(kFileSize, 1); // preallocated and touched
    for (auto _ : state) {
        const int fd = open(path.c_str(), O_RDONLY);
        if (fd < 0 || !ReadAll(fd, into.data(), kFileSize))
            state.SkipWithError("read failed");
        close(fd);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kFileSize));
}

// What file-data mode does: size known from fstat, storage reserved once,
// chunks appended. `warm` reuses one buffer (Reset keeps its storage).
bool LoadInto(ByteBuffer& buffer, const std::string& path, std::vector<char>& chunk)
{
    buffer.Reset();
    const int fd = open(path.c_str(), O_RDONLY);
    struct stat info
    {
    };
    bool ok = fd >= 0 && fstat(fd, &info) == 0 && buffer.ReserveStorage(info.st_size);
    ssize_t got = 0;
    while (ok && (got = read(fd, chunk.data(), chunk.size())) > 0)
        ok = buffer.AppendBytes(chunk.data(), got);
    if (fd >= 0)
        close(fd);
    return ok && buffer.length() == static_cast<std::int64_t>(kFileSize);
}

// What file-data mode does: size known from fstat, storage reserved once,
// chunks appended. `warm` reuses one buffer that has held the file before
// (Reset keeps its storage); otherwise every round starts with a new buffer
// and pays for fresh memory.
void LoadIntoByteBuffer(benchmark::State& state, bool warm)
{
    const std::string& path = LoadFile();
    std::vector<char> chunk(kReadChunk);
    static ByteBuffer reused;
    if (warm && !LoadInto(reused, path, chunk))
        state.SkipWithError("load failed");
    for (auto _ : state) {
        ByteBuffer fresh;
        ByteBuffer& buffer = warm ? reused : fresh;
        if (!LoadInto(buffer, path, chunk))
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kFileSize));
}

void RegisterAll()
{
    benchmark::RegisterBenchmark("floor/memchr", MemchrFloor);
    benchmark::RegisterBenchmark("floor/memcpy", MemcpyFloor);
    for (const Case& c : kCases) {
        benchmark::RegisterBenchmark((std::string("engine/") + c.name).c_str(),
                                     [&c](benchmark::State& s) { Engine(s, c, true); });
        benchmark::RegisterBenchmark((std::string("reference/") + c.name).c_str(),
                                     [&c](benchmark::State& s) { Reference(s, c); })
            ->Iterations(2);
    }
    benchmark::RegisterBenchmark("engine_cold/a_tessellation",
                                 [](benchmark::State& s) { Engine(s, kCases[0], false); });
    benchmark::RegisterBenchmark("load/one_read", LoadWithOneRead);
    benchmark::RegisterBenchmark("load/byte_buffer_reused",
                                 [](benchmark::State& s) { LoadIntoByteBuffer(s, true); });
    benchmark::RegisterBenchmark("load/byte_buffer_fresh",
                                 [](benchmark::State& s) { LoadIntoByteBuffer(s, false); });
}

// Keeps each case's throughput (or time) for the ratio table.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const auto found = run.counters.find("bytes_per_second");
            if (found != run.counters.end())
                m_rate[run.run_name.function_name] = found->second.value;
        }
    }

    void PrintRatios() const
    {
        std::printf("\nratios\n");
        for (const Case& c : kCases) {
            const std::string name = c.name;
            const double engine = Rate("engine/" + name);
            std::printf("  %-16s %6.2f GB/s  %6.1fx reference  %5.2f of memchr  %5.2f of memcpy\n",
                        c.name, engine / 1e9, engine / Rate("reference/" + name),
                        engine / Rate("floor/memchr"), engine / Rate("floor/memcpy"));
        }
        std::printf("  load: one read %.2f GB/s, byte buffer reused %.2fx its time, fresh %.2fx\n",
                    Rate("load/one_read") / 1e9,
                    Rate("load/one_read") / Rate("load/byte_buffer_reused"),
                    Rate("load/one_read") / Rate("load/byte_buffer_fresh"));
    }

private:
    double Rate(const std::string& name) const
    {
        const auto found = m_rate.find(name);
        return found == m_rate.end() ? 0.0 : found->second;
    }

    std::map<std::string, double> m_rate;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RegisterAll();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    if (!LoadFilePath().empty())
        std::remove(LoadFilePath().c_str());
    benchmark::Shutdown();
    return 0;
}
