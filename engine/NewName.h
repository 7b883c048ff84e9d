#pragma once

#include "engine/RunOptions.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace quarvel {

// Offset of the first occurrence of `pattern` in `text` that starts on a
// character of its own, never inside a multi-byte UTF-8 sequence; npos when
// there is none. Bytes are compared exactly.
std::size_t findFirstOccurrence(std::string_view text, std::string_view pattern);

// True when `name` can stand for a file of a folder: not empty, not "." or
// "..", free of the separator and of NUL bytes. A replacement text that
// breaks this would move a file into another folder or name the folder itself.
bool isPlainName(std::string_view name);

// How file-name mode forms a file's new name, taken from the options once
// per folder.
//
// Replacement path (a pattern to find and "Replace pattern with" on): the
// whole name is lower-cased unless the case is matched, the first occurrence
// of the pattern is replaced by the replacement as typed, then the name part
// and the extension part (from the last dot) are lower-cased as the name
// case options ask.
//
// Lower-case path (otherwise): lowerName lower-cases the whole name,
// extension included; lowerExtension alone lower-cases the extension part;
// with neither the name stays as it is.
class NameRule
{
public:
    explicit NameRule(const RunOptions& options);

    bool replacing() const { return m_replacing; }
    std::string newName(std::string_view name) const;

private:
    std::string replacedName(std::string_view name) const;
    std::string lowerCasedName(std::string_view name) const;

    bool m_replacing;
    bool m_matchCase;
    bool m_lowerName;
    bool m_lowerExtension;
    std::string m_pattern; // lower-cased unless m_matchCase
    std::string m_replacement;
};

} // namespace quarvel
