#include "engine/MorphJob.h"
#include "platform/PosixFileSystem.h"
#include "platform/TemporaryName.h"
#include "report/LogWriter.h"
#include "report/OperationLog.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace quarvel::test {
namespace {

// The run's log, and a count of its records for the stop request.
struct CountingLog : LogWriter
{
    explicit CountingLog(OperationLog& log) : LogWriter(log) {}
    void operationDone(const Operation& operation) override
    {
        LogWriter::operationDone(operation);
        ++records;
    }
    int records = 0;
};

struct NoQuestions : Confirmer
{
    ConfirmResult confirm(const ConfirmationQuestion&) override { return ConfirmResult::Yes; }
};

// Every entry below `relative` with its type, mode and content; a
// temporary file left behind fails the test.
void snapshot(const TempDir& dir, const std::string& relative, std::vector<std::string>& out)
{
    for (const std::string& name : dir.list(relative)) {
        EXPECT_FALSE(isTemporaryName(name)) << relative << name;
        const std::string path = relative + name;
        struct stat st;
        ::lstat((dir / path).c_str(), &st);
        out.push_back(path + " " + std::to_string(st.st_mode) +
                      (S_ISREG(st.st_mode) ? " " + dir.read(path) : ""));
        if (S_ISDIR(st.st_mode))
            snapshot(dir, path + "/", out);
    }
}

// A random tree below src/: nested folders, names that clash once
// lower-cased, contents with and without the pattern, links to files in
// other folders, a FIFO.
void makeTree(const TempDir& dir, unsigned seed)
{
    std::mt19937 random(seed);
    const std::vector<std::string> words{"cat", "Cat", "dog", "cats", "x", "concat", "\n"};
    const std::vector<std::string> folders{"", "A/", "A/b/", "C/", "C/d/e/"};
    std::vector<std::string> files;
    for (const std::string& folder : folders) {
        dir.makeDir("src/" + folder);
        const int count = 3 + static_cast<int>(random() % 8);
        for (int i = 0; i < count; ++i) {
            const std::string name = (random() % 3 == 0 ? "F" : "f") + std::to_string(i % 4) +
                                     (random() % 2 == 0 ? ".TXT" : ".txt");
            if (dir.exists("src/" + folder + name))
                continue;
            std::string content;
            for (std::size_t w = random() % 40; w > 0; --w)
                content += words[random() % words.size()] + " ";
            dir.write("src/" + folder + name, content);
            files.push_back(folder + name);
        }
    }
    for (int i = 0; i < 3; ++i) {
        const std::string link =
            dir / ("src/" + folders[random() % folders.size()] + "link" + std::to_string(i));
        ASSERT_EQ(
            ::symlink((dir / ("src/" + files[random() % files.size()])).c_str(), link.c_str()), 0);
    }
    ::mkfifo((dir / "src/C/fifo").c_str(), 0644);
    // A folder long enough for its names to be examined ahead.
    for (int i = 0; i < 90; ++i)
        dir.write("src/A/" + std::string(random() % 2 == 0 ? "Big" : "big") +
                      std::to_string(i % 70) + ".TXT",
                  i % 4 == 0 ? "cat" : "x");
}

// Fails reads, writes, placements and folder creations by the path alone,
// the same in every schedule.
Status faultByPath(FaultPoint point, const std::string& path, unsigned seed)
{
    const std::size_t at =
        path.find("/src/") != std::string::npos ? path.find("/src/") : path.find("/out/");
    const std::size_t hash = std::hash<std::string>{}(path.substr(at) + std::to_string(seed));
    const bool hit = (point == FaultPoint::Read && hash % 9 == 0) ||
                     (point == FaultPoint::Write && hash % 11 == 1) ||
                     (point == FaultPoint::Place && hash % 7 == 2) ||
                     (point == FaultPoint::CreateFolder && hash % 3 == 0) ||
                     (point == FaultPoint::Move && hash % 5 == 3);
    return hit ? Status::error(EIO) : Status::ok();
}

struct Outputs
{
    bool inPlace;
    bool copy;
    bool lowerName;
    bool names = false; // file-name mode, lower-casing whole names
};

struct Result
{
    std::vector<std::string> transcript; // the log
    std::vector<std::string> tree;
    std::vector<std::string> treeBefore;
    bool interrupted = false;
};

// Renames in place are carried out by the workers: a stop ends them after
// those in flight, which may be more than a serial run had made.
bool renamesOnWorkers(const Outputs& outputs)
{
    return outputs.names && outputs.inPlace && !outputs.copy;
}

// One run over a fresh tree of `seed`; `stopAfter` records, a stop.
Result runOnce(const Outputs& outputs, unsigned seed, int jobs, int stopAfter = -1)
{
    TempDir dir;
    makeTree(dir, seed);
    dir.makeDir("out");
    PosixFileSystem fs;
    fs.setAnonymousTemporaryFiles(false); // a temporary file left behind shows
    fs.setFaultHook([seed](FaultPoint point, const std::string& path) {
        return faultByPath(point, path, seed);
    });
    RunOptions options;
    options.mode = RunMode::Data;
    options.selection = {dir / "src/", "*.*", true};
    options.pattern = {"cat", "dog", {}};
    options.edit.replace = true;
    options.nameCase.lowerName = outputs.lowerName;
    options.outputs.inPlace = outputs.inPlace;
    if (outputs.copy)
        options.outputs.copyFolder = dir / "out/";
    if (outputs.names) {
        options.mode = RunMode::Names;
        options.edit.replace = false;
        options.nameCase.lowerExtension = true;
    }
    options.jobs = jobs;
    std::vector<std::string> before;
    snapshot(dir, "", before);
    NoQuestions confirmer;
    OperationLog log;
    CountingLog writer(log);
    const RunSummary summary = RunMorphJob(options, fs, confirmer, writer, [&] {
        return stopAfter >= 0 && writer.records >= stopAfter;
    });
    Result result{{}, {}, std::move(before), summary.interrupted};
    for (std::size_t i = 0; i < log.size(); ++i)
        result.transcript.emplace_back(log.line(i));
    snapshot(dir, "", result.tree);
    // The paths differ from run to run only in the temporary folder's name.
    for (std::string& line : result.transcript) {
        for (std::size_t at = line.find(dir.path()); at != std::string::npos;
             at = line.find(dir.path()))
            line.replace(at, dir.path().size(), "<tmp>/");
    }
    return result;
}

using ParallelParam = std::tuple<Outputs, unsigned>;

class ParallelRunTest : public ::testing::TestWithParam<ParallelParam>
{
};

TEST_P(ParallelRunTest, FourJobsGiveTheRecordsAndTreeOfOne)
{
    const auto& [outputs, seed] = GetParam();
    const Result serial = runOnce(outputs, seed, 1);
    const Result parallel = runOnce(outputs, seed, 4);
    EXPECT_EQ(serial.transcript, parallel.transcript);
    EXPECT_EQ(serial.tree, parallel.tree);
}

// The tree before the run with the renames the log reports made.
std::vector<std::string> renamedAsLogged(const Result& result)
{
    std::vector<std::string> tree = result.treeBefore;
    const std::string arrow = " --> ";
    for (const std::string& line : result.transcript) {
        const std::size_t at = line.find(arrow);
        if (!line.starts_with("Renamed <tmp>/") || at == std::string::npos)
            continue;
        const std::string from = line.substr(14, at - 14) + " ";
        const std::string to = line.substr(at + arrow.size() + 6) + " ";
        for (std::string& entry : tree) {
            if (entry.starts_with(from))
                entry.replace(0, from.size(), to);
        }
    }
    std::sort(tree.begin(), tree.end());
    return tree;
}

// Whether the records of `part` are those of `whole` with some left out
// (the summary lines at the end are not records).
bool isSubsequence(const std::vector<std::string>& part, const std::vector<std::string>& whole)
{
    auto at = whole.begin();
    for (const std::string& line : part) {
        if (line.starts_with("Processed ") || line.starts_with("Morphed "))
            continue;
        at = std::find(at, whole.end(), line);
        if (at == whole.end())
            return false;
        ++at;
    }
    return true;
}

TEST_P(ParallelRunTest, AStopMidwayCommitsAndCountsWhatASerialRunDoes)
{
    const auto& [outputs, seed] = GetParam();
    if (renamesOnWorkers(outputs)) {
        // Every rename made is logged, in walk order, and no other.
        const Result whole = runOnce(outputs, seed, 1);
        for (const int stopAfter : {1, 6, 15}) {
            const Result parallel = runOnce(outputs, seed, 4, stopAfter);
            EXPECT_TRUE(isSubsequence(parallel.transcript, whole.transcript));
            const auto renamed =
                std::count_if(parallel.transcript.begin(), parallel.transcript.end(),
                              [](const std::string& line) { return line.starts_with("Renamed "); });
            EXPECT_TRUE(parallel.transcript.back().starts_with(
                "Morphed " + std::to_string(renamed) + " unique file"))
                << parallel.transcript.back();
            std::vector<std::string> tree = parallel.tree;
            std::sort(tree.begin(), tree.end());
            EXPECT_EQ(renamedAsLogged(parallel), tree) << "stop after " << stopAfter;
            EXPECT_TRUE(parallel.interrupted);
        }
        return;
    }
    for (const int stopAfter : {1, 6, 15}) {
        const Result serial = runOnce(outputs, seed, 1, stopAfter);
        const Result parallel = runOnce(outputs, seed, 4, stopAfter);
        EXPECT_EQ(serial.transcript, parallel.transcript) << "stop after " << stopAfter;
        EXPECT_EQ(serial.tree, parallel.tree) << "stop after " << stopAfter;
        EXPECT_TRUE(parallel.interrupted);
    }
}

INSTANTIATE_TEST_SUITE_P(
    RandomTrees, ParallelRunTest,
    ::testing::Combine(::testing::Values(Outputs{true, false, false}, Outputs{true, false, true},
                                         Outputs{false, true, true}, Outputs{true, true, true},
                                         Outputs{true, false, true, true},
                                         Outputs{true, true, true, true}),
                       ::testing::Values(1u, 2u, 3u)));

} // namespace
} // namespace quarvel::test
