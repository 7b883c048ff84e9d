#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quarvel {

// File-name text rules. Names are byte strings, UTF-8 in practice: only
// ASCII A-Z are lower-cased (the byte length never changes), a byte inside a
// multi-byte UTF-8 sequence is never taken for a dot, and a match never
// starts inside such a sequence.

// The name with ASCII A-Z turned into a-z.
std::string lowerAscii(std::string_view text);

// True when the byte at `index` continues a multi-byte UTF-8 sequence that
// began before it (so a character cannot start there).
bool isInsideSequence(std::string_view text, std::size_t index);

// Offset of the last dot that is a character of its own, npos when none.
std::size_t lastDot(std::string_view name);

// Splits the name at its last dot into a name part and an extension part
// (the dot and what follows; empty without a dot), lower-cases the name part
// when `lowerName` and the extension part when `lowerExtension`, and joins
// them again. With `unicode`, valid UTF-8 is lower-cased by Unicode's rules
// (see lowerUnicode) and the byte length may change.
std::string lowerNameParts(std::string_view name, bool lowerName, bool lowerExtension,
                           bool unicode = false);

// lowerAscii, or lowerUnicode when `unicode`.
std::string lowerText(std::string_view text, bool unicode);

} // namespace quarvel
