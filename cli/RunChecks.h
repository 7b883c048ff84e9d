#pragma once

#include "app/MorphSettings.h"

#include <optional>
#include <string>

namespace quarvel {
class FileSystem;
}

namespace quarvel::cli {

// Checks made before a run, on the settings it will use.

// The message that stops the run when copies are asked for and the output
// folder does not exist: the run would only log a failure for every file.
std::optional<std::string> missingOutputFolder(const MorphSettings& settings, FileSystem& fs);

// Why a run with these settings cannot change any file (the option that is
// missing), or nothing when it can.
std::optional<std::string> nothingWillChange(const MorphSettings& settings);

// Why the pattern options cannot run: options that do not go together, or
// an expression PCRE2 refuses (its message and offset); nothing when they
// can. The literal rules are taken from `typed`, the settings the command
// line gave: stored ones that the window greys out beside an expression are
// left out of the run, as the window leaves them out.
std::optional<std::string> patternProblem(const MorphSettings& settings,
                                          const MorphSettings& typed);

// The checks with their messages on `errorFd`: the exit status when the
// run must not start, nothing when it may.
// `typed`: as for patternProblem.
std::optional<int> checkBeforeRun(const MorphSettings& settings, const MorphSettings& typed,
                                  FileSystem& fs, int errorFd);

} // namespace quarvel::cli
