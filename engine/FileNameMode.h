#pragma once

#include "engine/RunContext.h"

#include <string>

namespace quarvel {

// File-name mode for one folder: renames and/or copies every mask-selected
// file under its new name. Returns the number of files changed.
int MorphFileNames(RunContext& run, const std::string& relativePath);

} // namespace quarvel
