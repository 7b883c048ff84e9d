#pragma once

#include "report/OperationLog.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quarvel {

enum class ConfirmResult : int
{
    No = 0,
    CancelAll = 1,
    Yes = 2,
    YesAll = 3,
};

// Where a confirmation question goes: the window's ConfirmDialog, the
// command line's prompt, or a scripted double in tests.
class ConfirmationPrompt
{
public:
    virtual ~ConfirmationPrompt() = default;
    virtual ConfirmResult askConfirmation(const std::string& message) = 0;
    // Shows every setting in the controls again ("Yes All" unticks
    // "Interactive mode" at once).
    virtual void writeControls() = 0;
};

// The state a confirmation reads and changes.
struct ConfirmScope
{
    std::int32_t& interactive; // MorphSettings::Interactive
    std::int32_t& cancelAll;   // RunState::cancelAll
    ConfirmationPrompt& prompt;
    OperationLog& log;
};

// The message: action; then CR LF + subject; then " to " CR LF + target.
std::string ConfirmMessage(std::string_view action, const std::string* subject,
                           const std::string* target);

// Returns 1 to go ahead, 0 not to. Interactive off answers at once;
// "Yes All" clears Interactive and logs; "Cancel All" sets cancelAll and logs.
int ConfirmOperation(ConfirmScope scope, std::string_view action, const std::string* subject,
                     const std::string* target);

} // namespace quarvel
