#pragma once

#include "engine/Confirmation.h"

#include <string>

namespace quarvel {

// The text of a question: the action; then CR LF + subject; then " to " +
// CR LF + target.
std::string ConfirmMessage(const ConfirmationQuestion& question);

} // namespace quarvel
