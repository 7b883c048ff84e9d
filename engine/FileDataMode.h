#pragma once

#include "engine/RegexStreamReplace.h"
#include "engine/RunContext.h"
#include "engine/StreamReplace.h"

#include <string>

namespace quarvel {

// File-data mode: rewrites the content of every mask-selected file in place
// and/or as a copy. Each file is streamed: read in chunks, its new content
// staged beside its destination from the first change on, asked about once
// it is complete and committed only then. One object serves a whole run.
class FileDataMode
{
public:
    // `byRegex`: contents are searched with `regex`, the run's compiled
    // expression (null when it could not be compiled: every file then fails).
    explicit FileDataMode(bool byRegex = false, const RegexMatcher* regex = nullptr);

    // One folder; returns the number of files written at least once.
    int MorphFolder(RunContext& run, const std::string& relativePath);

private:
    StreamReplacer m_replacer; // its window is reused from file to file
    bool m_byRegex;
    std::unique_ptr<RegexMatcher> m_regex;
    RegexStreamReplacer m_regexReplacer;
};

} // namespace quarvel
