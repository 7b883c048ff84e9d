// Rewriting a tree of 20,000 text files (about 292 MB, one file in a hundred
// holding the pattern once) in place: a file-data mode run through the engine
// against two plain loops over the same tree that read every file whole and
// replace the pattern in memory:
//   - WriteEveryFile writes every file back through a temporary file and a
//     rename, changed or not;
//   - WriteChangedFiles does so only for the files that changed, which is
//     what the engine does too (an unchanged file is never written).
// All three end with one syncfs, as a run does before its summary. Each run
// turns the markers of the previous one back (A -> B, then B -> A), so the
// tree always holds the same number of matches. The tree lives on a disk file
// system (QUARVEL_BENCH_DIR, default /var/tmp) and is removed at the end.
#include "app/MorphSettings.h"
#include "bench/BenchSupport.h"
#include "engine/JournalingFileSystem.h"
#include "engine/UndoJob.h"
#include "report/OperationLog.h"
#include "report/UndoLogWriter.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <stdio.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace quarvel;

constexpr int kFolders = 100;
constexpr int kFilesPerFolder = 200;
constexpr std::size_t kFileSize = 14600;
constexpr int kMatchEvery = 100; // one file in a hundred holds a marker
const std::string kMarkerA = "QVMARK_ALPHA";
const std::string kMarkerB = "QVMARK_OMEGA";

using bench::check;
using bench::inPlaceReplacement;
using bench::runEngine;

// Lower-case words and line breaks, never forming a marker.
std::string textBody(std::size_t size, unsigned seed)
{
    static const char* const words[] = {"lorem", "ipsum", "dolor", "sit",  "amet", "quarvel",
                                        "morph", "files", "in",    "bulk", "with", "care"};
    std::string text;
    text.reserve(size);
    unsigned state = seed * 2654435761u + 1;
    while (text.size() < size) {
        state = state * 1103515245u + 12345u;
        text += words[(state >> 16) % 12];
        text += (state >> 8) % 9 == 0 ? '\n' : ' ';
    }
    text.resize(size);
    return text;
}

void writeWhole(int fd, const std::string& content)
{
    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        check(n > 0, "write");
        done += static_cast<std::size_t>(n);
    }
}

std::string readWhole(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY);
    check(fd >= 0, "open");
    struct stat st;
    check(::fstat(fd, &st) == 0, "fstat");
    std::string content(static_cast<std::size_t>(st.st_size), '\0');
    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t n = ::read(fd, content.data() + done, content.size() - done);
        check(n > 0, "read");
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return content;
}

// Replaces every occurrence in place (markers have equal lengths); returns
// the count.
int replaceMarkers(std::string& content, const std::string& from, const std::string& to)
{
    int count = 0;
    for (std::size_t at = content.find(from); at != std::string::npos;
         at = content.find(from, at + from.size())) {
        content.replace(at, from.size(), to);
        ++count;
    }
    return count;
}

class DataTree
{
public:
    DataTree()
    {
        m_root = bench::makeBenchFolder("quarvel-data-bench");
        for (int d = 0; d < kFolders; ++d) {
            const std::string folder = m_root + "d" + std::to_string(d) + "/";
            check(::mkdir(folder.c_str(), 0755) == 0, "mkdir");
            for (int i = 0; i < kFilesPerFolder; ++i) {
                const int index = d * kFilesPerFolder + i;
                std::string content = textBody(kFileSize, static_cast<unsigned>(index));
                if (index % kMatchEvery == 0)
                    content.replace(kFileSize / 2, kMarkerA.size(), kMarkerA);
                m_files.push_back(folder + "f" + std::to_string(i) + ".txt");
                const int fd = ::open(m_files.back().c_str(), O_CREAT | O_WRONLY | O_EXCL, 0644);
                check(fd >= 0, "create");
                writeWhole(fd, content);
                ::close(fd);
            }
        }
        sync();
    }
    ~DataTree()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }

    const std::string& root() const { return m_root; }
    int fileCount() const { return static_cast<int>(m_files.size()); }
    static int expectedChanges() { return kFolders * kFilesPerFolder / kMatchEvery; }

    // The marker the tree holds now, and the one the next run writes.
    const std::string& present() const { return m_flipped ? kMarkerB : kMarkerA; }
    const std::string& next() const { return m_flipped ? kMarkerA : kMarkerB; }
    void flip() { m_flipped = !m_flipped; }

    // The plain loop: read, replace, and write back through a temporary
    // file and a rename, every file or only the changed ones.
    int rewriteLoop(bool everyFile) const
    {
        int changed = 0;
        for (const std::string& path : m_files) {
            std::string content = readWhole(path);
            const int count = replaceMarkers(content, present(), next());
            changed += count > 0;
            if (count == 0 && !everyFile)
                continue;
            const std::string temp = path.substr(0, path.rfind('/') + 1) + ".bench.tmp";
            const int fd = ::open(temp.c_str(), O_CREAT | O_WRONLY | O_EXCL, 0644);
            check(fd >= 0, "create temporary");
            writeWhole(fd, content);
            check(::close(fd) == 0, "close");
            check(::rename(temp.c_str(), path.c_str()) == 0, "rename");
        }
        return changed;
    }
    void sync() const
    {
        const int fd = ::open(m_root.c_str(), O_RDONLY | O_DIRECTORY);
        ::syncfs(fd);
        ::close(fd);
    }

private:
    std::string m_root;
    std::vector<std::string> m_files;
    bool m_flipped = false;
};

DataTree& sharedTree()
{
    static DataTree tree;
    return tree;
}

void BM_EngineInPlace(benchmark::State& state)
{
    DataTree& tree = sharedTree();
    for (auto _ : state) {
        MorphSettings settings = inPlaceReplacement(tree.root(), tree.present(), tree.next());
        OperationLog log;
        const RunSummary summary = runEngine(settings, log);
        state.PauseTiming();
        check(summary.filesProcessed == tree.fileCount(), "processed");
        check(log.failureCount() == 0, "failures");
        check(log.size() == static_cast<std::size_t>(DataTree::expectedChanges()) + 2, "changes");
        tree.flip();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * tree.fileCount());
}

// The same run with the undo journal in front of the file system, as the
// command line and the window run it; the journal's folder is on the tree's
// file system, so old content is kept by hard links.
RunSummary runJournaled(DataTree& tree, const std::string& journalFolder, OperationLog& log)
{
    MorphSettings settings = inPlaceReplacement(tree.root(), tree.present(), tree.next());
    PosixFileSystem disk;
    RunJournal journal(journalFolder);
    JournalingFileSystem journaled(disk, journal);
    bench::SilentConfirmer confirmer;
    LogWriter writer(log);
    return RunMorphJob(BeginSettingsRun(settings), journaled, confirmer, writer);
}

// The journals' state folder, removed at the end like the tree.
struct JournalFolder
{
    std::string path = bench::makeBenchFolder("quarvel-journal-bench");
    ~JournalFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

const std::string& journalFolder()
{
    static const JournalFolder folder;
    return folder.path;
}

void BM_EngineInPlaceJournaled(benchmark::State& state)
{
    DataTree& tree = sharedTree();
    for (auto _ : state) {
        OperationLog log;
        const RunSummary summary = runJournaled(tree, journalFolder(), log);
        state.PauseTiming();
        check(summary.filesProcessed == tree.fileCount(), "processed");
        check(log.failureCount() == 0, "failures");
        tree.flip();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * tree.fileCount());
}

// The undo of the journaled run: each round runs (untimed), then undoes it.
void BM_UndoInPlace(benchmark::State& state)
{
    DataTree& tree = sharedTree();
    for (auto _ : state) {
        state.PauseTiming();
        OperationLog runLog;
        check(runJournaled(tree, journalFolder(), runLog).failures == 0, "run");
        tree.sync();
        state.ResumeTiming();
        OperationLog log;
        UndoLogWriter writer(log);
        UndoSummary summary;
        PosixFileSystem disk;
        check(RunUndo(journalFolder(), disk, false, writer, summary).isOk(), "undo");
        state.PauseTiming();
        check(summary.failures == 0 && summary.reversed == DataTree::expectedChanges(), "undone");
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * DataTree::expectedChanges());
}

void runLoop(benchmark::State& state, bool everyFile)
{
    DataTree& tree = sharedTree();
    for (auto _ : state) {
        const int changed = tree.rewriteLoop(everyFile);
        tree.sync();
        state.PauseTiming();
        check(changed == DataTree::expectedChanges(), "changes");
        tree.flip();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * tree.fileCount());
}

void BM_WriteEveryFile(benchmark::State& state)
{
    runLoop(state, true);
}

void BM_WriteChangedFiles(benchmark::State& state)
{
    runLoop(state, false);
}

} // namespace

BENCHMARK(BM_WriteEveryFile)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteChangedFiles)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EngineInPlace)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EngineInPlaceJournaled)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_UndoInPlace)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
