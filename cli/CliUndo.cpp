#include "cli/CliUndo.h"

#include "cli/CliRun.h"
#include "cli/LineOutput.h"
#include "cli/LogPrinter.h"
#include "engine/UndoJob.h"
#include "platform/PosixFileSystem.h"
#include "platform/StateFolder.h"
#include "platform/WriteAll.h"
#include "report/UndoLogWriter.h"

#include <cerrno>
#include <cstring>
#include <signal.h>
#include <unistd.h>

namespace quarvel::cli {

namespace {

int cannotUndo(const Status& status)
{
    std::string message = "quarvel-cli: ";
    if (status.code() == ENOENT)
        message += "there is no run to undo";
    else if (status.code() == EBUSY)
        message += "the last run is still under way";
    else
        message += "cannot read the undo journal: " + status.message();
    writeAll(STDERR_FILENO, message + "\n");
    return kExitFailures;
}

} // namespace

int undoLastRun(bool dryRun)
{
    ::signal(SIGPIPE, SIG_IGN);
    LineOutput output(STDOUT_FILENO, ::isatty(STDOUT_FILENO) == 1);
    ProgressLine progress(STDERR_FILENO, false);
    LogPrinter printer(output, progress, false);
    OperationLog log;
    log.setListener(&printer);
    log.setKeepsLines(false);
    UndoLogWriter writer(log);
    PosixFileSystem disk;
    UndoSummary summary;
    const Status undone = RunUndo(stateFolder(), disk, dryRun, writer, summary);
    output.close();
    if (!undone)
        return cannotUndo(undone);
    if (const int error = output.error()) {
        writeAll(STDERR_FILENO, std::string("quarvel-cli: cannot write the log to standard "
                                            "output: ") +
                                    std::strerror(error) + "\n");
        return kExitFailures;
    }
    return summary.failures > 0 ? kExitFailures : kExitOk;
}

} // namespace quarvel::cli
