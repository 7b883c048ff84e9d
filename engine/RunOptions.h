#pragma once

#include "engine/MatchOptions.h"

#include <optional>
#include <string>

namespace quarvel {

// What a run changes: the files' names or their contents.
enum class RunMode
{
    Names,
    Data,
};

// Which files a run visits.
struct FileSelection
{
    std::string startFolder;  // ends with the separator once the run has begun
    std::string mask = "*.*"; // the file mask, as the platform matches it
    bool recurse = false;     // the folders below the start folder too
};

// The text to find and what it becomes.
struct PatternOptions
{
    std::string text;
    std::string replacement;
    MatchOptions match;
    bool regex = false;       // `text` is a PCRE2 expression, `replacement` may name its groups
    bool unicodeCase = false; // case-blind matching follows Unicode for valid UTF-8
};

// How file contents change, and whether names have the pattern replaced.
// `replace` ("Replace pattern with"): names get their first occurrence
// replaced, contents every occurrence. With it off, contents still have every
// occurrence replaced, and the replacement text is then put in front
// (`prepend`) and/or behind (`append`).
struct EditOptions
{
    bool replace = false;
    bool prepend = false;
    bool append = false;
};

// The letter case of new names: file-name mode lower-cases them, file-data
// mode names its results so.
struct NameCaseOptions
{
    bool lowerName = false;      // the part before the last dot
    bool lowerExtension = false; // the last dot and what follows
    bool unicode = false;        // valid UTF-8 is lower-cased by Unicode rules, not ASCII only
};

// Where the results go.
struct OutputOptions
{
    bool inPlace = false;                  // over the files themselves
    std::optional<std::string> copyFolder; // a parallel tree below this folder
};

// Everything one run does.
struct RunOptions
{
    RunMode mode = RunMode::Names;
    FileSelection selection;
    PatternOptions pattern;
    EditOptions edit;
    NameCaseOptions nameCase;
    OutputOptions outputs;
    bool interactive = false; // ask before every operation
    // Threads that read and stage file contents at once (file-data mode,
    // runs that ask nothing); commits stay in walk order whatever it is.
    int jobs = 1;
};

// True when file-name mode replaces the pattern in names (a pattern to find
// and "Replace pattern with" on); otherwise it only lower-cases them.
inline bool replacesInNames(const RunOptions& options)
{
    return !options.pattern.text.empty() && options.edit.replace;
}

} // namespace quarvel
