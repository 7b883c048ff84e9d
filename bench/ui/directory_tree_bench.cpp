// The folder tree over a folder of 20,000 subfolders: opening it (listing,
// sorting, inserting the items in one batch, laying out and painting the
// first screen) has to stay well under half a second. Start-up lists the
// two top-level folders and nothing else; the counter shows how many
// listings it made.

#include "platform/PosixFileSystem.h"
#include "ui/DirectoryTree.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>

namespace {

constexpr int kSubfolders = 20'000;

// Passes everything on and counts the listings.
class CountingFileSystem : public quarvel::PosixFileSystem
{
public:
    quarvel::Status listFolder(const std::string& folder, std::string_view mask,
                               std::vector<quarvel::DirEntry>& entries) override
    {
        ++listings;
        return PosixFileSystem::listFolder(folder, mask, entries);
    }
    int listings = 0;
};

// $HOME/big/ with kSubfolders folders, made once in a fresh folder under /tmp.
class BigHome
{
public:
    BigHome()
    {
        char pattern[] = "/tmp/quarvel-tree-bench-XXXXXX";
        m_home = ::mkdtemp(pattern);
        const std::string big = m_home + "/big/";
        ::mkdir(big.c_str(), 0755);
        for (int i = 0; i < kSubfolders; ++i)
            ::mkdir((big + "Folder " + std::to_string(i * 7919 % kSubfolders)).c_str(), 0755);
        ::setenv("HOME", m_home.c_str(), 1);
    }
    ~BigHome() { std::filesystem::remove_all(m_home); }

private:
    std::string m_home;
};

const BigHome& bigHome()
{
    static const BigHome home;
    return home;
}

QTreeWidgetItem* bigItem(const quarvel::DirectoryTree& tree)
{
    return tree.topLevelItem(1)->child(0);
}

void BM_StartUp(benchmark::State& state)
{
    bigHome();
    int listings = 0;
    for (auto _ : state) {
        CountingFileSystem fs;
        quarvel::DirectoryTree tree;
        tree.fillRoots(fs);
        listings = fs.listings;
    }
    state.counters["listings"] = listings;
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond);

void BM_ExpandFolderOf20000(benchmark::State& state)
{
    bigHome();
    for (auto _ : state) {
        state.PauseTiming();
        CountingFileSystem fs;
        quarvel::DirectoryTree tree;
        tree.resize(300, 400);
        tree.fillRoots(fs);
        tree.show();
        tree.topLevelItem(1)->setExpanded(true);
        QApplication::processEvents();
        state.ResumeTiming();
        bigItem(tree)->setExpanded(true);
        tree.repaint(); // the new rows laid out and the first screen painted
        benchmark::DoNotOptimize(bigItem(tree)->childCount());
        state.PauseTiming();
        if (bigItem(tree)->childCount() != kSubfolders)
            state.SkipWithError("not every subfolder was listed");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ExpandFolderOf20000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
