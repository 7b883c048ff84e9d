#pragma once

#include <optional>
#include <string>

namespace quarvel {

enum class ConfirmResult : int
{
    No = 0,
    CancelAll = 1,
    Yes = 2,
    YesAll = 3,
};

// One question before an operation: the action ("Morph file", "Create file",
// "Create Directory"), the path it is about and, for a rename, the new path.
struct ConfirmationQuestion
{
    std::string action;
    std::optional<std::string> subject;
    std::optional<std::string> target;
};

// Where a run's questions go: the window's confirmation dialog, the command
// line's prompt, or a script in tests. Called on the run's thread; the answer
// may come from another thread (the window's), so the call blocks until it
// has one.
class Confirmer
{
public:
    virtual ~Confirmer() = default;
    virtual ConfirmResult confirm(const ConfirmationQuestion& question) = 0;
};

} // namespace quarvel
