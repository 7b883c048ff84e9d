#pragma once

#include "app/MorphSettings.h"
#include "app/SettingsRun.h"
#include "engine/MorphJob.h"
#include "platform/PosixFileSystem.h"
#include "report/LogWriter.h"
#include "report/OperationLog.h"

#include <cstdlib>
#include <stdexcept>
#include <string>

namespace quarvel::bench {

// The questions of a run nobody watches: every one answered Yes.
class SilentConfirmer : public Confirmer
{
public:
    ConfirmResult confirm(const ConfirmationQuestion&) override { return ConfirmResult::Yes; }
};

// One run over `settings` on the real file system, its log text in `log`,
// as a front end runs it.
inline RunSummary runEngine(MorphSettings& settings, OperationLog& log)
{
    PosixFileSystem fs;
    SilentConfirmer confirmer;
    LogWriter writer(log);
    return RunMorphJob(BeginSettingsRun(settings), fs, confirmer, writer);
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
