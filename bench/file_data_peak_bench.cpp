// Time and peak memory of a file-data mode run over one 1 GiB text file
// holding the pattern once in every MiB (1024 replacements of equal length),
// updated in place. Run it alone under GNU time for the peak:
//   /usr/bin/time -f %M build/bench/file_data_peak_bench
// The counters report the process's peak resident size before the run
// (generating the file streams it in 1 MiB pieces) and after it. The file
// lives on a disk file system (QUARVEL_BENCH_DIR, default /var/tmp) and is
// removed at the end.
#include "app/MorphSettings.h"
#include "bench/BenchSupport.h"
#include "report/OperationLog.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace quarvel;

constexpr std::size_t kChunk = std::size_t{1} << 20;
constexpr int kChunks = 1024;
const std::string kFrom = "QVMARK_ALPHA";
const std::string kTo = "QVMARK_OMEGA";

using bench::check;
using bench::inPlaceReplacement;
using bench::runEngine;

double peakMiB()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// One MiB of lower-case text with the marker in its middle.
std::string chunkText()
{
    std::string text;
    text.reserve(kChunk);
    const char* const words[] = {"lorem ", "ipsum ", "dolor\n", "sit ", "amet "};
    for (unsigned i = 0; text.size() < kChunk; ++i)
        text += words[(i * 7) % 5];
    text.resize(kChunk);
    text.replace(kChunk / 2, kFrom.size(), kFrom);
    return text;
}

class LargeFile
{
public:
    LargeFile()
    {
        m_folder = bench::makeBenchFolder("quarvel-peak-bench");
        m_file = m_folder + "large.txt";
        const std::string chunk = chunkText();
        const int fd = ::open(m_file.c_str(), O_CREAT | O_WRONLY | O_EXCL, 0644);
        check(fd >= 0, "create");
        for (int i = 0; i < kChunks; ++i)
            check(::write(fd, chunk.data(), chunk.size()) == static_cast<ssize_t>(chunk.size()),
                  "write");
        check(::close(fd) == 0, "close");
    }
    ~LargeFile()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }

    const std::string& folder() const { return m_folder; }

    // Streams the file back: the right size and every marker replaced.
    bool rewritten() const
    {
        const int fd = ::open(m_file.c_str(), O_RDONLY);
        std::string chunk(kChunk, '\0');
        bool ok = fd >= 0;
        for (int i = 0; ok && i < kChunks; ++i) {
            ok = ::read(fd, chunk.data(), kChunk) == static_cast<ssize_t>(kChunk) &&
                 chunk.compare(kChunk / 2, kTo.size(), kTo) == 0;
        }
        char extra = 0;
        ok = ok && ::read(fd, &extra, 1) == 0;
        ::close(fd);
        return ok;
    }

private:
    std::string m_folder;
    std::string m_file;
};

void BM_EngineOneLargeFile(benchmark::State& state)
{
    LargeFile file;
    const double before = peakMiB();
    for (auto _ : state) {
        MorphSettings settings = inPlaceReplacement(file.folder(), kFrom, kTo);
        OperationLog log;
        runEngine(settings, log);
        check(log.failureCount() == 0, "failures");
        check(log.size() == 3 && log.line(0).ends_with("(1024 changes)"), "changes");
    }
    state.counters["peak_before_MiB"] = before;
    state.counters["peak_after_MiB"] = peakMiB();
    check(file.rewritten(), "content");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kChunks * kChunk);
}

} // namespace

BENCHMARK(BM_EngineOneLargeFile)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
