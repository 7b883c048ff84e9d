#pragma once

#include "engine/NewName.h"
#include "engine/OrderedPipeline.h"
#include "engine/RunContext.h"

#include <atomic>
#include <memory>
#include <string>
#include <vector>

namespace quarvel {

// File-name mode renaming in place on several threads. A folder's files
// are renamed in listing order, in pieces one after the other, while the
// records and the counts follow on the run's thread in walk order, exactly
// as in a serial run. Renames in different folders do not depend on one
// another, and the kernel carries them out side by side on several cores.
//
// A rename is done once its system call returns, so a stop cannot undo the
// renames in flight: the workers stop before their next file, and every
// rename made is recorded and counted, in walk order.
class ParallelRenames
{
public:
    // Whether a run renames this way: in place only, asking no questions,
    // with more than one job, on a file system that takes moves from
    // several threads.
    static bool suits(RunContext& run);

    ParallelRenames(RunContext& run, const RegexMatcher* regex);
    ~ParallelRenames();
    ParallelRenames(const ParallelRenames&) = delete;
    ParallelRenames& operator=(const ParallelRenames&) = delete;

    // Hands one folder to the workers; `listing` as for MorphFileNames.
    void MorphFolder(const std::string& relativePath, std::vector<DirEntry>* listing);
    // Records what is still under way; the number of files renamed.
    int Finish();

private:
    struct FolderListing;
    struct Piece;

    void Rename(Piece& piece, int worker);
    void Commit(const Piece& piece);
    bool StopRequested();

    RunContext& m_run;
    std::vector<std::unique_ptr<NameRule>> m_rules; // one per worker and one for the run's thread
    std::atomic<bool> m_stopping{false};            // seen by the workers between files
    std::unique_ptr<OrderedPipeline> m_pipeline;
    int m_renamed = 0;
};

} // namespace quarvel
