#pragma once

#include "app/MorphSettings.h"
#include "app/MruList.h"
#include "app/VectorSortedList.h"
#include "platform/PosixFileSystem.h"
#include "report/OperationLog.h"
#include "tests/support/ScriptedWindow.h"
#include "tests/support/TempDir.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quarvel::test {

// What the last run reported.
struct RunCounts
{
    std::int32_t filesProcessed = 0;
    std::int32_t cancelAll = 0; // 1 after "Cancel All"
};

// Everything a run needs, over a temporary folder: settings start with
// StartDir = <tmp>/src/ and CopyDir = <tmp>/out/, every flag off except
// Recurse, mask "*.*". A run goes as the window's does: the controls are
// read, the run's records go to the log, "Yes All" unticks Interactive, the
// histories note the mask and pattern and the summary box is shown.
struct EngineFixture
{
    EngineFixture();

    // One run over `fs` (the real file system unless a test passes its own).
    void run();
    void run(FileSystem& fileSystem);
    void run(FileSystem& fileSystem, ScriptedWindow& runWindow);
    std::vector<std::string> logLines() const;
    // The log without its two summary lines.
    std::vector<std::string> operationLines() const;

    TempDir dir;
    MorphSettings settings;
    RunCounts state;
    OperationLog log;
    MruList maskHistory, patternHistory;
    VectorSortedList maskList, patternList;
    ScriptedWindow window;
    PosixFileSystem fs;
};

} // namespace quarvel::test
