#pragma once

#include "engine/RegexMatcher.h"
#include "engine/RunContext.h"

#include <string>
#include <vector>

namespace quarvel {

// File-name mode for one folder: renames and/or copies every mask-selected
// file under its new name. Returns the number of files changed.
// `listing`: the walk's complete listing of the folder, or nullptr (the
// folder is listed then). `regex`: the run's compiled expression under --regex.
int MorphFileNames(RunContext& run, const std::string& relativePath, std::vector<DirEntry>* listing,
                   const RegexMatcher* regex = nullptr);

} // namespace quarvel
