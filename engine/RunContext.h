#pragma once

#include "engine/ConfirmationGate.h"
#include "engine/Operation.h"
#include "engine/Progress.h"
#include "engine/RunObserver.h"
#include "engine/RunOptions.h"
#include "platform/FileSystem.h"

#include <cstdint>
#include <functional>
#include <string>

namespace quarvel {

// Asked between operations: true stops the run after the one under way.
using StopRequest = std::function<bool()>;

// What the per-folder steps work with during a run: the options, the file
// system, and the shared services (confirmation, records, output folders,
// progress, the stop request).
class RunContext
{
public:
    RunContext(const RunOptions& options, FileSystem& fs, Confirmer& confirmer,
               RunObserver& observer, StopRequest stop = {})
        : options(options), fs(fs), m_gate(options.interactive, confirmer), m_observer(observer),
          m_stop(std::move(stop))
    {
    }

    // True to go ahead with the operation the question is about.
    bool confirm(ConfirmationQuestion question);

    // Hands the record to the observers (and counts a failure).
    void record(Operation operation);
    void record(OperationKind kind, std::string source, std::string target = {},
                OperationStatus status = OperationStatus::done(), std::int64_t changes = 0);

    // Makes sure base + relative exists, creating it after confirmation;
    // false when it was refused or could not be created (a failure is then
    // already recorded).
    bool EnsureFolder(const std::string& base, const std::string& relative);

    // One step of the progress bar.
    void StepProgress();
    // A mask-selected file entry is about to be processed.
    void CountFile() { ++m_filesProcessed; }
    void FolderStarted(const std::string& relativePath) { m_observer.folderStarted(relativePath); }
    // True when the run is to stop; once true, it stays true.
    bool StopRequested();

    std::int32_t filesProcessed() const { return m_filesProcessed; }
    std::int32_t failures() const { return m_failures; }
    bool cancelledAll() const { return m_gate.cancelledAll(); }
    bool stopped() const { return m_stopped; }

    const RunOptions& options;
    FileSystem& fs;

private:
    ConfirmationGate m_gate;
    RunObserver& m_observer;
    StopRequest m_stop;
    Progress m_progress;
    std::int32_t m_filesProcessed = 0;
    std::int32_t m_failures = 0;
    bool m_stopped = false;
};

} // namespace quarvel
