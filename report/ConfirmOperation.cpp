#include "report/ConfirmOperation.h"

#include "report/LogEntry.h"

namespace quarvel {

std::string ConfirmMessage(std::string_view action, const std::string* subject,
                           const std::string* target)
{
    std::string message(action);
    if (subject != nullptr)
        message.append("\r\n").append(*subject);
    if (target != nullptr)
        message.append(" to \r\n").append(*target);
    return message;
}

int ConfirmOperation(ConfirmScope scope, std::string_view action, const std::string* subject,
                     const std::string* target)
{
    if (scope.interactive == 0)
        return scope.cancelAll == 0 ? 1 : 0;
    if (scope.cancelAll != 0)
        return 0;
    switch (scope.prompt.askConfirmation(ConfirmMessage(action, subject, target))) {
    case ConfirmResult::YesAll:
        scope.interactive = 0;
        scope.prompt.writeControls();
        AddLogEntry(scope.log, LogEntryKind::Plain, "User confirmed all operations");
        return 1;
    case ConfirmResult::CancelAll:
        scope.cancelAll = 1;
        AddLogEntry(scope.log, LogEntryKind::Plain, "User cancelled all operations");
        return 0;
    case ConfirmResult::Yes:
        return 1;
    case ConfirmResult::No:
    default:
        return 0;
    }
}

} // namespace quarvel
