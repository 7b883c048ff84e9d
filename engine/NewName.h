#pragma once

#include "engine/RegexMatcher.h"
#include "engine/RunOptions.h"

#include <cstddef>
#include <memory>
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
// With an expression (`regex`) the first match in the name as it is is
// replaced, the replacement's group references filled in; the case rule is
// the expression's and the name is not lower-cased for it. With
// `unicodeCase` (or the name case's `unicode`) lower-casing follows Unicode.
//
// Lower-case path (otherwise): lowerName lower-cases the whole name,
// extension included; lowerExtension alone lower-cases the extension part;
// with neither the name stays as it is.
class NameRule
{
public:
    // `regex`: the compiled pattern when options.pattern.regex (the rule
    // uses a copy of its own).
    explicit NameRule(const RunOptions& options, const RegexMatcher* regex = nullptr);

    bool replacing() const { return m_replacing; }
    // The new name. When the expression's search hits a limit, the name is
    // returned as it is and `failure` (if given) says why.
    std::string newName(std::string_view name, Status* failure = nullptr) const;

private:
    std::string replacedName(std::string_view name, Status* failure) const;
    std::string regexReplaced(std::string_view name, Status* failure) const;
    std::string lowerCasedName(std::string_view name) const;

    bool m_replacing;
    bool m_matchCase;
    bool m_lowerName;
    bool m_lowerExtension;
    bool m_unicodeMatch;
    bool m_unicodeLower;
    std::unique_ptr<RegexMatcher> m_regex;
    std::string m_pattern; // lower-cased unless m_matchCase
    std::string m_replacement;
};

} // namespace quarvel
