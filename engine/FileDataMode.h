#pragma once

#include "engine/ContentSearch.h"
#include "engine/OrderedPipeline.h"
#include "engine/RunContext.h"

#include <memory>
#include <string>
#include <vector>

namespace quarvel {

// File-data mode: rewrites the content of every mask-selected file in place
// and/or as a copy. Each file is streamed: read in chunks, its new content
// staged beside its destination from the first change on, asked about once
// it is complete and committed only then. One object serves a whole run.
//
// With more than one job (a run that asks no questions, on a file system
// that can stage from several threads), the reading, matching and staging
// run on worker threads, while the commits, the records and the counts
// follow on the run's thread in walk order, exactly as in a serial run.
class FileDataMode
{
public:
    // `regex`: the run's compiled expression when it searches by one (null
    // when it could not be compiled: every file then fails).
    FileDataMode(RunContext& run, const RegexMatcher* regex);
    ~FileDataMode();
    FileDataMode(const FileDataMode&) = delete;
    FileDataMode& operator=(const FileDataMode&) = delete;

    // One folder. In a parallel run its files may still be under way.
    // `listing`: the walk's complete listing of the folder, or nullptr.
    void MorphFolder(const std::string& relativePath, std::vector<DirEntry>* listing);
    // Commits what is still under way; the number of files written at
    // least once.
    int Finish();

private:
    struct FileTask;

    void Submit(std::shared_ptr<FileTask> task);
    void InOrder(OrderedPipeline::Commit step);
    void CommitTask(FileTask& task);

    RunContext& m_run;
    const StreamRules m_rules;
    const bool m_byRegex;
    const RegexMatcher* m_regex;
    ContentSearch m_search; // the run's thread's; its storage is reused from file to file
    std::vector<std::unique_ptr<ContentSearch>> m_workerSearches;
    std::unique_ptr<OrderedPipeline> m_pipeline; // null in a serial run
    int m_written = 0;
};

} // namespace quarvel
