#pragma once

namespace quarvel {

// How the pattern is matched in file contents (and, for the case, in names).
struct MatchOptions
{
    bool wholeWord = false;   // an occurrence must be a word of its own
    bool matchCase = false;   // false: letters match in either case
    bool ignoreCrLf = false;  // "pass over CR/LF": CR and LF in the content are skipped
    bool crLfAsSpace = false; // a space in the pattern matches a run of CR and LF
};

} // namespace quarvel
