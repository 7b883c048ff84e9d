#pragma once

#include "engine/ByteBuffer.h"
#include "engine/RunOptions.h"
#include "platform/FileSystem.h"

#include <cstdint>
#include <string>

namespace quarvel {

// How file-data mode changes one file's content: every occurrence of the
// pattern replaced under the four matching options, then, with "Replace
// pattern with" off, the replacement text put in front and/or behind.
struct ContentRules
{
    PatternOptions pattern;
    EditOptions edit;

    static ContentRules From(const RunOptions& options) { return {options.pattern, options.edit}; }
};

// Applies the rules to `content` and returns the change count: the number of
// replacements, or 1 when there were none but text was put in front or
// behind. -1 when memory ran out (the content is then unusable).
std::int64_t MorphContent(const ContentRules& rules, ByteBuffer& content);

// What became of one file's content.
enum class LoadOutcome
{
    Changed,    // changes > 0: there is new content to write
    Unchanged,  // nothing to write
    NotRegular, // the opened entry was a FIFO, device, socket...
    Failed,     // could not be read or held; `status` says why
};

struct LoadedContent
{
    LoadOutcome outcome = LoadOutcome::Unchanged;
    std::int64_t changes = 0;
    Status status;
};

// Reads the whole file at `path` into `content` (reset first) and applies the
// rules. Touches nothing but `content`, so several files can be loaded at
// once on separate buffers.
LoadedContent LoadMorphedContent(FileSystem& fs, const ContentRules& rules, const std::string& path,
                                 bool followLink, ByteBuffer& content);

} // namespace quarvel
