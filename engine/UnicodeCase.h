#pragma once

#include <string>
#include <string_view>

namespace quarvel {

// True when `text` is well-formed UTF-8: no stray continuation bytes, no
// overlong forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(std::string_view text);

// The text lower-cased by Unicode's rules (ICU, root locale), stretch by
// stretch of valid UTF-8; bytes that are not valid UTF-8 stay as they are.
// The byte length may change (Ä is two bytes, İ lower-cases to three).
std::string lowerUnicode(std::string_view text);

} // namespace quarvel
