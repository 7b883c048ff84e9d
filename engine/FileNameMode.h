#pragma once

#include "engine/RegexMatcher.h"
#include "engine/RunContext.h"

#include <string>

namespace quarvel {

// File-name mode for one folder: renames and/or copies every mask-selected
// file under its new name. Returns the number of files changed.
// `regex`: the run's compiled expression under --regex.
int MorphFileNames(RunContext& run, const std::string& relativePath,
                   const RegexMatcher* regex = nullptr);

} // namespace quarvel
