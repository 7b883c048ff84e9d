#include "cli/CliRun.h"

#include "cli/AnswerReader.h"
#include "cli/CliCommand.h"
#include "cli/CliWindow.h"
#include "cli/LineOutput.h"
#include "cli/LogPrinter.h"
#include "cli/ProgressLine.h"
#include "cli/RunChecks.h"
#include "cli/StartingSettings.h"
#include "cli/UsageText.h"
#include "engine/DryRunFileSystem.h"
#include "engine/MorphEngine.h"
#include "platform/PosixFileSystem.h"
#include "platform/StopSignal.h"
#include "platform/qt/QSettingsStore.h"

#include <cstring>
#include <signal.h>
#include <unistd.h>

namespace quarvel::cli {

namespace {

void writeText(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
        if (written <= 0)
            return;
        done += static_cast<std::size_t>(written);
    }
}

int usageError(const std::string& message)
{
    writeText(STDERR_FILENO, "quarvel-cli: " + message + "\n" + usageLine() +
                                 "Try 'quarvel-cli --help' for more information.\n");
    return kExitUsage;
}

MorphSettings settingsFor(const CliCommand& command, Histories& histories)
{
    MorphSettings settings;
    if (command.saved) {
        QSettingsStore store;
        settings = storedSettings(store, histories);
    } else {
        settings = allOffSettings();
    }
    command.applyTo(settings);
    settings.StartDir = command.startDir;
    return settings;
}

// One run through the engine with the log streamed to standard output.
int morph(MorphSettings& settings, Histories& histories, FileSystem& fs)
{
    ::signal(SIGPIPE, SIG_IGN); // a closed output shows up as a write error
    installStopSignalHandlers();
    const bool stdoutIsTerminal = ::isatty(STDOUT_FILENO) == 1;
    const bool stderrIsTerminal = ::isatty(STDERR_FILENO) == 1;

    LineOutput output(STDOUT_FILENO, stdoutIsTerminal);
    ProgressLine progress(STDERR_FILENO, stderrIsTerminal);
    AnswerReader answers(STDIN_FILENO, stopSignalWakeFd());
    RunState state;
    OperationLog log;
    CliWindow window(state, settings.StartDir, output, progress, answers, STDERR_FILENO);
    LogPrinter printer(output, progress, stdoutIsTerminal && stderrIsTerminal);
    log.setListener(&printer);

    MorphFiles(EngineParts{settings, state, log, histories.mask, histories.maskList,
                           histories.pattern, histories.patternList, window, fs});

    progress.clear();
    const bool interrupted = stopSignalled();
    if (interrupted)
        output.writeLine("Interrupted");
    output.close();
    if (const int error = output.error()) {
        writeText(STDERR_FILENO,
                  std::string("quarvel-cli: cannot write the log to standard output: ") +
                      std::strerror(error) + "\n");
        return interrupted ? kExitInterrupted : kExitFailures;
    }
    if (interrupted)
        return kExitInterrupted;
    return log.failureCount() > 0 ? kExitFailures : kExitOk;
}

} // namespace

int runCli(const std::vector<std::string>& arguments)
{
    const CliCommand command = parseCommandLine(arguments);
    switch (command.action) {
    case CliCommand::Action::Help:
        writeText(STDOUT_FILENO, helpText());
        return kExitOk;
    case CliCommand::Action::Version:
        writeText(STDOUT_FILENO, versionText());
        return kExitOk;
    case CliCommand::Action::UsageError:
        return usageError(command.error);
    case CliCommand::Action::Run:
        break;
    }
    PosixFileSystem disk;
    if (command.startDir.empty() || !disk.folderExists(command.startDir))
        return usageError("START_DIR '" + command.startDir + "' is not an existing folder");

    Histories histories;
    MorphSettings settings = settingsFor(command, histories);
    if (const std::optional<int> stop = checkBeforeRun(settings, disk, STDERR_FILENO))
        return *stop;
    if (!command.dryRun)
        return morph(settings, histories, disk);
    DryRunFileSystem dryRun(disk);
    return morph(settings, histories, dryRun);
}

} // namespace quarvel::cli
