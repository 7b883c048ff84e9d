#include "tests/support/EngineFixture.h"

#include "app/SettingsRun.h"
#include "engine/MorphJob.h"
#include "report/LogWriter.h"

namespace quarvel::test {

namespace {

// The front end's side of the records: "Yes All" changes the settings.
struct SettingsUpdater : RunObserver
{
    SettingsUpdater(MorphSettings& settings, ScriptedWindow& window)
        : settings(settings), window(window)
    {
    }
    void operationDone(const Operation& operation) override
    {
        if (ApplyToSettings(operation, settings))
            window.writeControls();
    }
    MorphSettings& settings;
    ScriptedWindow& window;
};

} // namespace

EngineFixture::EngineFixture()
{
    settings.StartDir = dir / "src/";
    settings.CopyDir = dir / "out/";
    settings.Mask = "*.*";
    settings.LowerFile = 0;
    settings.LowerExt = 0;
    settings.Recurse = 1;
    settings.SearchMode = 0;
    dir.makeDir("src");
}

void EngineFixture::run()
{
    run(fs);
}

void EngineFixture::run(FileSystem& fileSystem)
{
    run(fileSystem, window);
}

void EngineFixture::run(FileSystem& fileSystem, ScriptedWindow& runWindow)
{
    runWindow.readControls();
    const RunOptions options = BeginSettingsRun(settings);
    LogWriter logWriter(log);
    SettingsUpdater updater(settings, runWindow);
    ObserverList observers{&logWriter, &updater, &runWindow};
    const RunSummary summary = RunMorphJob(options, fileSystem, runWindow, observers,
                                           [&runWindow] { return runWindow.stopRequested(); });
    state.filesProcessed = summary.filesProcessed;
    state.cancelAll = summary.cancelledAll ? 1 : 0;
    NoteRunInHistories(settings, {maskHistory, maskList, patternHistory, patternList});
    runWindow.showSummary(SummaryText(summary, options.selection.mask));
}

std::vector<std::string> EngineFixture::logLines() const
{
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < log.size(); ++i)
        lines.emplace_back(log.line(i));
    return lines;
}

std::vector<std::string> EngineFixture::operationLines() const
{
    std::vector<std::string> lines = logLines();
    if (lines.size() >= 2)
        lines.resize(lines.size() - 2);
    return lines;
}

} // namespace quarvel::test
