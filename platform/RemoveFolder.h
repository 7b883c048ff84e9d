#pragma once

#include "platform/Status.h"

#include <string>

namespace quarvel {

// Removes the folder at `path` only when it is empty (ENOTEMPTY otherwise).
Status removeEmptyFolder(const std::string& path);

} // namespace quarvel
