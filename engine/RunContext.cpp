#include "engine/RunContext.h"

#include "platform/Path.h"
#include "report/ConfirmOperation.h"
#include "report/LogEntry.h"

#include <cerrno>

namespace quarvel {

int RunContext::confirm(std::string_view action, const std::string* subject,
                        const std::string* target)
{
    return ConfirmOperation(ConfirmScope{settings.Interactive, state.cancelAll, window, log},
                            action, subject, target);
}

int RunContext::EnsureFolder(const std::string& base, const std::string& relative)
{
    const std::string wanted = base + relative;
    if (fs.folderExists(wanted))
        return 1;
    if (confirm("Create Directory", &wanted) == 0)
        return 0;
    Status reason = fs.createFolder(wanted);
    if (!reason) {
        // The parent is missing too: create the relative part level by
        // level, from the outside in. A level that exists already fails
        // harmlessly; the base folder itself is never created here.
        for (std::size_t at = relative.find(kSeparator); at != std::string::npos;
             at = relative.find(kSeparator, at + 1)) {
            const Status level = fs.createFolder(base + relative.substr(0, at + 1));
            if (!level && level.code() != EEXIST)
                reason = level;
        }
    }
    // Log the creation only when the folder is really there now.
    if (!fs.folderExists(wanted)) {
        AddFailure(log, "create directory", wanted, reason.message());
        return 0;
    }
    AddLogEntry(log, LogEntryKind::CreatedDirectory, wanted);
    return 1;
}

void RunContext::StepProgress()
{
    window.setProgressPosition(progress.step());
}

} // namespace quarvel
