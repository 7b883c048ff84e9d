#pragma once

#include "engine/RegexMatcher.h"
#include "engine/RunOptions.h"

#include <memory>
#include <optional>
#include <string>

namespace quarvel {

// Why these pattern options cannot be run together, or nothing. The
// whole-word and CR/LF rules belong to the literal matcher: an expression
// says them itself. A case-blind literal under Unicode rules is searched as
// an expression, which keeps the whole-word rule exactly but not the CR/LF
// rules (their bytes would have to sit between the letters of case
// variants of different lengths).
std::optional<std::string> patternConflict(const PatternOptions& pattern, RunMode mode);

// True when the mode searches the pattern with an expression: always with
// `regex`; in file-data mode also a literal matched case-blind by Unicode
// rules (its text valid UTF-8). Never for an empty pattern. File-name mode matches such a literal
// in the lower-cased name instead.
bool searchesByRegex(const PatternOptions& pattern, RunMode mode);

// The expression searchesByRegex means, compiled; null with `error` set
// when it is bad.
std::unique_ptr<RegexMatcher> compilePattern(const PatternOptions& pattern, std::string& error);

// The literal as an expression that matches exactly its characters, under
// the whole-word rule when asked.
std::string literalExpression(std::string_view text, bool wholeWord);

} // namespace quarvel
