#pragma once

#include <string_view>

namespace quarvel {

// Directory-search mask matching: `*` matches any run of characters (also
// none), `?` exactly one character (a whole UTF-8 character), ASCII letters
// match regardless of case, and a mask ending in ".*" also matches names
// holding no dot, so "*.*" selects every name.
bool maskMatches(std::string_view mask, std::string_view name);

} // namespace quarvel
