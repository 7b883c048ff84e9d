#pragma once

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
    // One folder; returns the number of files written at least once.
    int MorphFolder(RunContext& run, const std::string& relativePath);

private:
    StreamReplacer m_replacer; // its window is reused from file to file
};

} // namespace quarvel
