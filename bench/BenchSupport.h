#pragma once

#include "app/MorphSettings.h"
#include "app/MruList.h"
#include "app/VectorSortedList.h"
#include "engine/MorphEngine.h"
#include "engine/RunState.h"
#include "engine/RunWindow.h"
#include "platform/PosixFileSystem.h"
#include "report/OperationLog.h"

#include <cstdlib>
#include <stdexcept>
#include <string>

namespace quarvel::bench {

// The window of a run nobody watches: every question answered Yes.
class SilentWindow : public RunWindow
{
public:
    ConfirmResult askConfirmation(const std::string&) override { return ConfirmResult::Yes; }
    void writeControls() override {}
    void readControls() override {}
    void setProgressPosition(int) override {}
    void setProgressVisible(bool) override {}
    void showSummary(const std::string&) override {}
};

// One MorphFiles run over `settings` on the real file system, with
// histories nobody keeps; `state` and `log` show what it did.
inline void runEngine(MorphSettings& settings, RunState& state, OperationLog& log,
                      RunWindow& window)
{
    MruList maskHistory, patternHistory;
    VectorSortedList maskList, patternList;
    PosixFileSystem fs;
    MorphFiles(EngineParts{settings, state, log, maskHistory, maskList, patternHistory, patternList,
                           window, fs});
}

inline void runEngine(MorphSettings& settings, RunState& state, OperationLog& log)
{
    SilentWindow window;
    runEngine(settings, state, log, window);
}

// File-data mode replacing `pattern` by `replacement`, case matched, in
// the files of `folder` themselves.
inline MorphSettings inPlaceReplacement(const std::string& folder, const std::string& pattern,
                                        const std::string& replacement)
{
    MorphSettings settings;
    settings.StartDir = folder;
    settings.CopyDir = folder;
    settings.SearchMode = 0;
    settings.Rename = 1;
    settings.Replace = 1;
    settings.LowerFile = 0;
    settings.LowerExt = 0;
    settings.PatternCase = 1;
    settings.Pattern = pattern;
    settings.RepPattern = replacement;
    return settings;
}

// Stops the benchmark when a set-up step or a result check fails.
inline void check(bool ok, const char* what)
{
    if (!ok)
        throw std::runtime_error(what);
}

// A fresh folder for a benchmark's corpus, ending with '/': under
// $QUARVEL_BENCH_DIR, or /var/tmp (a disk, unlike /tmp on some systems).
inline std::string makeBenchFolder(const std::string& name)
{
    const char* base = std::getenv("QUARVEL_BENCH_DIR");
    std::string pattern = std::string(base != nullptr ? base : "/var/tmp") + "/" + name + "-XXXXXX";
    check(mkdtemp(pattern.data()) != nullptr, "mkdtemp");
    return pattern + "/";
}

} // namespace quarvel::bench
