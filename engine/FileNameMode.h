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

// The platform would take a name holding the separator as a path into
// another folder; such a new name is refused like an invalid argument.
Status checkedName(const std::string& name);

// Renames a file of a listing, examined (FileSystem::entryState) just
// before the move: refused when a folder has taken its place since the
// listing.
Status MoveListedFile(FileSystem& fs, const std::string& source, const std::string& target);

} // namespace quarvel
