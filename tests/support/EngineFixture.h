#pragma once

#include "app/MorphSettings.h"
#include "app/MruList.h"
#include "app/VectorSortedList.h"
#include "engine/MorphEngine.h"
#include "engine/RunState.h"
#include "platform/PosixFileSystem.h"
#include "report/OperationLog.h"
#include "tests/support/ScriptedWindow.h"
#include "tests/support/TempDir.h"

#include <string>
#include <vector>

namespace quarvel::test {

// Everything a run needs, over a temporary folder: settings start with
// StartDir = <tmp>/src/ and CopyDir = <tmp>/out/, every flag off except
// Recurse, mask "*.*".
struct EngineFixture
{
    EngineFixture();

    // One run through MorphFiles over `fs` (the real file system unless a
    // test passes its own).
    void run();
    void run(FileSystem& fileSystem);
    std::vector<std::string> logLines() const;
    // The log without its two summary lines.
    std::vector<std::string> operationLines() const;

    TempDir dir;
    MorphSettings settings;
    RunState state;
    OperationLog log;
    MruList maskHistory, patternHistory;
    VectorSortedList maskList, patternList;
    ScriptedWindow window;
    PosixFileSystem fs;
};

} // namespace quarvel::test
