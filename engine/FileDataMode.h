#pragma once

#include "engine/RunContext.h"

#include <string>

namespace quarvel {

// File-data mode for one folder: rewrites the content of every
// mask-selected file in place and/or as a copy. Returns the number of files
// written at least once.
int MorphFileData(RunContext& run, const std::string& relativePath);

} // namespace quarvel
