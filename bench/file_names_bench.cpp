// Lower-casing 50,000 names in 50 folders in place: a file-name mode run
// through the engine against a bare loop of rename(2) calls doing the same
// renames. The tree lives on a disk file system (QUARVEL_BENCH_DIR, default
// /var/tmp); its entries are hard links to one file, so building it is cheap.
#include "app/MorphSettings.h"
#include "bench/BenchSupport.h"
#include "report/OperationLog.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <stdio.h>
#include <string>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace quarvel;

constexpr int kFolders = 50;
constexpr int kFilesPerFolder = 1000;

using bench::check;
using bench::runEngine;

// 50 folders of 1000 upper-case names, and the lower-case name each one
// gets, as full paths.
class NameTree
{
public:
    NameTree()
    {
        m_root = bench::makeBenchFolder("quarvel-names-bench");
        const std::string seed = m_root + "seed";
        const int fd = ::open(seed.c_str(), O_CREAT | O_WRONLY, 0644);
        check(fd >= 0, "seed");
        ::close(fd);
        m_tree = m_root + "tree/";
        check(::mkdir(m_tree.c_str(), 0755) == 0, "mkdir");
        for (int d = 0; d < kFolders; ++d) {
            const std::string folder = m_tree + "DIR" + std::to_string(d) + "/";
            check(::mkdir(folder.c_str(), 0755) == 0, "mkdir");
            for (int i = 0; i < kFilesPerFolder; ++i) {
                const std::string name = "Name" + std::to_string(i);
                m_upper.push_back(folder + name + ".TXT");
                m_lower.push_back(folder + "name" + std::to_string(i) + ".txt");
                check(::link(seed.c_str(), m_upper.back().c_str()) == 0, "link");
            }
        }
        noteListingOrder();
    }
    ~NameTree()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }

    const std::string& tree() const { return m_tree; }

    // The timed loop of the comparison, in the order the names were made.
    void lowerWithRenameLoop() const
    {
        for (std::size_t i = 0; i < m_upper.size(); ++i)
            check(::rename(m_upper[i].c_str(), m_lower[i].c_str()) == 0, "rename");
    }
    // The same renames in the order the folder listings deliver the names
    // (hash order on ext4), which is the order the engine meets them in.
    void lowerWithRenameLoopInListingOrder() const
    {
        for (const std::size_t i : m_listingOrder)
            check(::rename(m_upper[i].c_str(), m_lower[i].c_str()) == 0, "rename");
    }
    void syncTree() const
    {
        const int fd = ::open(m_tree.c_str(), O_RDONLY | O_DIRECTORY);
        ::syncfs(fd);
        ::close(fd);
    }
    // Puts the upper-case names back between runs (not timed).
    void restore() const
    {
        for (std::size_t i = 0; i < m_upper.size(); ++i)
            check(::rename(m_lower[i].c_str(), m_upper[i].c_str()) == 0, "restore");
        syncTree();
    }

private:
    void noteListingOrder()
    {
        std::unordered_map<std::string, std::size_t> index;
        for (std::size_t i = 0; i < m_upper.size(); ++i)
            index.emplace(m_upper[i], i);
        for (int d = 0; d < kFolders; ++d) {
            const std::string folder = m_tree + "DIR" + std::to_string(d) + "/";
            DIR* listing = ::opendir(folder.c_str());
            check(listing != nullptr, "opendir");
            while (const dirent* entry = ::readdir(listing)) {
                const auto found = index.find(folder + entry->d_name);
                if (found != index.end())
                    m_listingOrder.push_back(found->second);
            }
            ::closedir(listing);
        }
        check(m_listingOrder.size() == m_upper.size(), "listing");
    }

    std::string m_root;
    std::string m_tree;
    std::vector<std::string> m_upper;
    std::vector<std::string> m_lower;
    std::vector<std::size_t> m_listingOrder; // indexes into m_upper
};

const NameTree& sharedTree()
{
    static const NameTree tree;
    return tree;
}

// One file-name mode run lower-casing every name of the tree in place.
void lowerWithEngine(const NameTree& tree)
{
    MorphSettings settings;
    settings.StartDir = tree.tree();
    settings.CopyDir = tree.tree();
    settings.SearchMode = 1;
    settings.Rename = 1;
    settings.LowerFile = 1;
    settings.LowerExt = 1;
    settings.Recurse = 1;
    OperationLog log;
    const RunSummary summary = runEngine(settings, log);
    check(summary.filesProcessed == kFolders * kFilesPerFolder, "processed");
    check(log.failureCount() == 0, "failures");
}

void BM_EngineLowerCase(benchmark::State& state)
{
    const NameTree& tree = sharedTree();
    for (auto _ : state) {
        lowerWithEngine(tree);
        state.PauseTiming();
        tree.restore();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kFolders * kFilesPerFolder);
}

void BM_RenameLoop(benchmark::State& state)
{
    const NameTree& tree = sharedTree();
    for (auto _ : state) {
        tree.lowerWithRenameLoop();
        state.PauseTiming();
        tree.restore();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kFolders * kFilesPerFolder);
}

// The same loop followed by the one syncfs the engine makes before its
// summary.
void BM_RenameLoopThenSync(benchmark::State& state)
{
    const NameTree& tree = sharedTree();
    for (auto _ : state) {
        tree.lowerWithRenameLoop();
        tree.syncTree();
        state.PauseTiming();
        tree.restore();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kFolders * kFilesPerFolder);
}

struct Seconds
{
    double wall;
    double cpu; // user and system time of this process
};

double cpuSeconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

Seconds secondsFor(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = cpuSeconds();
    work();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
            cpuSeconds() - cpuStart};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Engine and both loops taken in turn, so that a change in the machine's
// load affects them alike. The iteration time is the engine's; the counters
// give the medians and the engine's ratio to each loop.
void BM_EngineAgainstLoopInTurn(benchmark::State& state)
{
    const NameTree& tree = sharedTree();
    std::vector<double> engine, loop, listingLoop, engineCpu, loopCpu;
    for (auto _ : state) {
        const Seconds plain = secondsFor([&] { tree.lowerWithRenameLoop(); });
        tree.restore();
        const Seconds listing = secondsFor([&] { tree.lowerWithRenameLoopInListingOrder(); });
        tree.restore();
        const Seconds run = secondsFor([&] { lowerWithEngine(tree); });
        tree.restore();
        loop.push_back(plain.wall);
        loopCpu.push_back(plain.cpu);
        listingLoop.push_back(listing.wall);
        engine.push_back(run.wall);
        engineCpu.push_back(run.cpu);
        state.SetIterationTime(run.wall);
    }
    state.counters["engine_ms"] = median(engine) * 1000;
    state.counters["loop_ms"] = median(loop) * 1000;
    state.counters["listing_loop_ms"] = median(listingLoop) * 1000;
    state.counters["ratio"] = median(engine) / median(loop);
    state.counters["ratio_listing"] = median(engine) / median(listingLoop);
    state.counters["cpu_ratio"] = median(engineCpu) / median(loopCpu);
}

} // namespace

BENCHMARK(BM_RenameLoop)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EngineLowerCase)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RenameLoopThenSync)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK(BM_EngineAgainstLoopInTurn)
    ->Iterations(9)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

BENCHMARK_MAIN();
