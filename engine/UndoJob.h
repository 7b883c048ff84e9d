#pragma once

#include "engine/Operation.h"
#include "platform/FileSystem.h"

#include <string>

namespace quarvel {

// One reversal of an undo.
struct UndoStep
{
    enum class Action
    {
        Rename,       // `path` renamed back to `target`
        Restore,      // the old content put back at `target` (`path` is what the run left)
        Remove,       // `path`, a file the run created, removed
        RemoveFolder, // `path`, a folder the run created, removed
    };

    Action action = Action::Rename;
    std::string path;
    std::string target;
    OperationStatus status;
};

struct UndoSummary
{
    int operations = 0; // entries in the journal
    int reversed = 0;
    int failures = 0;
};

// Told of each reversal as it happens.
class UndoObserver
{
public:
    virtual ~UndoObserver() = default;
    virtual void stepDone(const UndoStep& step) = 0;
    virtual void undoFinished(const UndoSummary& summary) { (void)summary; }
};

// The number of operations the last run's journal below `stateFolder` holds;
// ENOENT when there is none, EBUSY while that run is still under way.
Status LastRunOperations(const std::string& stateFolder, int& operations);

// Reverses the last run, newest operation first. A file that is no longer
// what the run left (another file, size, mode or modification time), or a
// name the reversal needs that is taken now, is left alone with a failure
// and the rest goes on; a rewritten file removed since gets its old content
// back all the same, as nothing is overwritten then. With `dryRun` nothing is changed: each step is
// checked and reported as it would be done. Afterwards the journal is gone;
// when some reversals failed it keeps just those (with their old content),
// so that nothing of the user's is lost. ENOENT / EBUSY as above.
Status RunUndo(const std::string& stateFolder, FileSystem& fs, bool dryRun, UndoObserver& observer,
               UndoSummary& summary);

} // namespace quarvel
