#pragma once

#include "engine/Operation.h"
#include "engine/RunOptions.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace quarvel {

// What a run did, handed to the observers when it ends.
struct RunSummary
{
    std::int32_t filesProcessed = 0; // every mask-selected file entry
    std::int32_t filesMorphed = 0;   // files changed (renamed, rewritten or copied) at least once
    std::int32_t failures = 0;       // operations that failed
    bool interrupted = false;        // a stop request ended the run early
    bool cancelledAll = false;       // the user answered "Cancel All"
};

// Told of everything a run does, as it happens, on the thread the run runs
// on. The run knows nothing of what observers make of it: the log text, the
// command line's output and progress line, the window's progress bar.
class RunObserver
{
public:
    virtual ~RunObserver() = default;
    // Before the walk; `options` are the run's, folders ending with the separator.
    virtual void runStarted(const RunOptions& options) { (void)options; }
    // A folder's files are about to be processed (path relative to the start folder).
    virtual void folderStarted(const std::string& relativePath) { (void)relativePath; }
    // The progress position moved (0 to 100, in steps; see Progress).
    virtual void progressed(int position, std::int32_t filesProcessed)
    {
        (void)position;
        (void)filesProcessed;
    }
    virtual void operationDone(const Operation& operation) = 0;
    // After the walk and the flush to disk.
    virtual void runFinished(const RunSummary& summary) { (void)summary; }
};

// Hands every event to several observers, in the order they were added.
class ObserverList : public RunObserver
{
public:
    ObserverList() = default;
    ObserverList(std::initializer_list<RunObserver*> observers) : m_observers(observers) {}
    void add(RunObserver& observer) { m_observers.push_back(&observer); }

    void runStarted(const RunOptions& options) override;
    void folderStarted(const std::string& relativePath) override;
    void progressed(int position, std::int32_t filesProcessed) override;
    void operationDone(const Operation& operation) override;
    void runFinished(const RunSummary& summary) override;

private:
    std::vector<RunObserver*> m_observers;
};

} // namespace quarvel
