#pragma once

#include "platform/FileState.h"

#include <optional>
#include <string>
#include <string_view>

namespace quarvel {

// One committed change of a run, with what it takes to reverse it.
struct JournalEntry
{
    enum class Kind
    {
        Rename,   // `original` was renamed to `path`
        Created,  // `path` is a new file (a copy, a written copy)
        Replaced, // the file at `original` got new content at `path` (the same
                  // path, or its new name); the old file is kept as `kept`
        Folder,   // `path` is a folder the run created
    };

    Kind kind = Kind::Rename;
    std::string path;     // where the run left its result
    std::string original; // where the file was before (Rename, Replaced)
    std::string kept;     // the kept old file, a name in the journal folder (Replaced)
    FileState before;     // the old file (Replaced)
    FileState after;      // what the run left at `path` (every kind but Folder)
};

// One line of the journal's entry file (without the line break). Every
// path is kept byte for byte: '%', tab and line breaks are escaped.
std::string EncodeJournalEntry(const JournalEntry& entry);
// The same line into `line` (replacing what it held, keeping its room).
void EncodeJournalEntry(const JournalEntry& entry, std::string& line);
// The entry of such a line; nothing when the line is damaged (a run killed
// in the middle of writing it).
std::optional<JournalEntry> DecodeJournalEntry(std::string_view line);

} // namespace quarvel
