#include "cli/CliRun.h"

#include "app/RunOptionsFromSettings.h"
#include "cli/AnswerReader.h"
#include "cli/CliCommand.h"
#include "cli/CliConfirmer.h"
#include "cli/CliObservers.h"
#include "cli/CliUndo.h"
#include "cli/LineOutput.h"
#include "cli/LogPrinter.h"
#include "cli/ProgressLine.h"
#include "cli/RunChecks.h"
#include "cli/StartingSettings.h"
#include "cli/UsageText.h"
#include "engine/DryRunFileSystem.h"
#include "engine/JournalingFileSystem.h"
#include "engine/MorphJob.h"
#include "platform/OnlineCpus.h"
#include "platform/PosixFileSystem.h"
#include "platform/StateFolder.h"
#include "platform/StopSignal.h"
#include "platform/WriteAll.h"
#include "platform/qt/QSettingsStore.h"
#include "report/JsonRecord.h"
#include "report/LogWriter.h"

#include <cstring>
#include <signal.h>
#include <unistd.h>

namespace quarvel::cli {

namespace {

int usageError(const std::string& message)
{
    writeAll(STDERR_FILENO, "quarvel-cli: " + message + "\n" + usageLine() +
                                "Try 'quarvel-cli --help' for more information.\n");
    return kExitUsage;
}

MorphSettings settingsFor(const CliCommand& command)
{
    MorphSettings settings;
    if (command.saved) {
        QSettingsStore store;
        settings = storedSettings(store);
    } else {
        settings = allOffSettings();
    }
    command.applyTo(settings);
    settings.StartDir = command.startDir;
    return settings;
}

// Where the run's records go: the log text (streamed line by line) or, with
// --json, one JSON object per record; the progress line either way.
class CliOutput
{
public:
    CliOutput(bool json, LineOutput& output, ProgressLine& progress, bool sharesTerminal)
        : m_progressObserver(progress), m_printer(output, progress, sharesTerminal),
          m_logWriter(m_log), m_json(output, progress, sharesTerminal)
    {
        m_log.setListener(&m_printer);
        m_log.setKeepsLines(false); // printed as they come, never read back
        m_observers.add(m_progressObserver);
        if (json)
            m_observers.add(m_json);
        else
            m_observers.add(m_logWriter);
    }

    RunObserver& observer() { return m_observers; }

private:
    ProgressObserver m_progressObserver;
    OperationLog m_log;
    LogPrinter m_printer;
    LogWriter m_logWriter;
    JsonObserver m_json;
    ObserverList m_observers;
};

// One run through the engine with its records streamed to standard output.
int morph(const RunOptions& options, FileSystem& fs, bool json)
{
    ::signal(SIGPIPE, SIG_IGN); // a closed output shows up as a write error
    installStopSignalHandlers();
    const bool stdoutIsTerminal = ::isatty(STDOUT_FILENO) == 1;
    const bool stderrIsTerminal = ::isatty(STDERR_FILENO) == 1;

    LineOutput output(STDOUT_FILENO, stdoutIsTerminal);
    ProgressLine progress(STDERR_FILENO, stderrIsTerminal);
    AnswerReader answers(STDIN_FILENO, stopSignalWakeFd());
    const StopRequest stop = [&output] { return stopSignalled() || output.error() != 0; };
    CliConfirmer confirmer(output, progress, answers, STDERR_FILENO, stop);
    CliOutput records(json, output, progress, stdoutIsTerminal && stderrIsTerminal);

    const RunSummary summary = RunMorphJob(options, fs, confirmer, records.observer(), stop);

    progress.clear();
    const bool interrupted = stopSignalled();
    if (json)
        output.writeLine(SummaryJson(summary, interrupted || summary.interrupted));
    else if (interrupted)
        output.writeLine("Interrupted");
    output.close();
    if (const int error = output.error()) {
        writeAll(STDERR_FILENO,
                 std::string("quarvel-cli: cannot write the log to standard output: ") +
                     std::strerror(error) + "\n");
        return interrupted ? kExitInterrupted : kExitFailures;
    }
    if (interrupted)
        return kExitInterrupted;
    return summary.failures > 0 ? kExitFailures : kExitOk;
}

} // namespace

int runCli(const std::vector<std::string>& arguments)
{
    const CliCommand command = parseCommandLine(arguments);
    switch (command.action) {
    case CliCommand::Action::Help:
        writeAll(STDOUT_FILENO, helpText());
        return kExitOk;
    case CliCommand::Action::Version:
        writeAll(STDOUT_FILENO, versionText());
        return kExitOk;
    case CliCommand::Action::UsageError:
        return usageError(command.error);
    case CliCommand::Action::Undo:
        return undoLastRun(command.dryRun);
    case CliCommand::Action::Run:
        break;
    }
    PosixFileSystem disk;
    if (command.startDir.empty() || !disk.folderExists(command.startDir))
        return usageError("START_DIR '" + command.startDir + "' is not an existing folder");

    const MorphSettings settings = settingsFor(command);
    MorphSettings typed = allOffSettings();
    command.applyTo(typed);
    if (const std::optional<int> stop = checkBeforeRun(settings, typed, disk, STDERR_FILENO))
        return *stop;
    RunOptions options = RunOptionsFrom(settings);
    options.jobs = command.jobs > 0 ? command.jobs : onlineCpuCount();
    if (!command.dryRun && !command.journal)
        return morph(options, disk, command.json);
    if (!command.dryRun) {
        RunJournal journal(stateFolder());
        JournalingFileSystem journaled(disk, journal);
        return morph(options, journaled, command.json);
    }
    DryRunFileSystem dryRun(disk);
    return morph(options, dryRun, command.json);
}

} // namespace quarvel::cli
