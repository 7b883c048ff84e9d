#pragma once

#include "app/MorphSettings.h"
#include "app/MruList.h"
#include "app/SortedList.h"
#include "engine/RunState.h"
#include "engine/RunWindow.h"
#include "platform/FileSystem.h"
#include "report/OperationLog.h"

namespace quarvel {

// The state a run works on; owned by the main dialog (or the command line).
struct EngineParts
{
    MorphSettings& settings;
    RunState& state;
    OperationLog& log;
    MruList& maskHistory;
    SortedList& maskList;
    MruList& patternHistory;
    SortedList& patternList;
    RunWindow& window;
    FileSystem& fs;
};

// One morph run, from "Morph Files" to the dismissed summary box.
void MorphFiles(EngineParts parts);

// The summary box text for a finished run: the two summary lines joined by
// CR LF, plus a failure line when operations failed.
std::string SummaryText(const std::string& processedLine, const std::string& morphedLine,
                        int failures);

} // namespace quarvel
