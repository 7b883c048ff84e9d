#pragma once

#include "engine/UnicodeCase.h" // isValidUtf8

#include <string>
#include <string_view>

namespace quarvel {

// Appends `text` as a JSON string literal (quotes included); `text` must be
// valid UTF-8. Quotes, backslashes and control characters are escaped.
void appendJsonString(std::string& out, std::string_view text);

// Appends a path or other byte text as an object that round-trips every
// byte: {"text":"..."} for valid UTF-8, {"bytes":"<base64>"} otherwise.
void appendJsonBytes(std::string& out, std::string_view bytes);

// Standard base64 with padding.
std::string base64(std::string_view bytes);

} // namespace quarvel
