#pragma once

#include "app/MorphSettings.h"

#include <optional>
#include <string>

namespace quarvel {

// PCRE2's reason (message and offset) why the expression these settings
// would search with does not compile, or nothing when it does or when the
// literal matcher searches. Front ends ask before a run, so that a bad
// expression never starts one.
std::optional<std::string> expressionError(const MorphSettings& settings);

} // namespace quarvel
