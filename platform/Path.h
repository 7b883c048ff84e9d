#pragma once

#include <string>
#include <string_view>

namespace quarvel {

// The platform's folder separator; every rule that appends or splits folder
// paths uses this one constant.
inline constexpr char kSeparator = '/';

// Appends the separator unless the path already ends with it; an empty path
// becomes the separator alone.
inline void ensureTrailingSeparator(std::string& path)
{
    if (path.empty() || path.back() != kSeparator)
        path.push_back(kSeparator);
}

// The user's home folder from $HOME, "/" when that is unset or empty.
std::string homeFolder();

// `path` made absolute against the current folder (unchanged when it is
// absolute already, or when the current folder cannot be found).
std::string absolutePath(const std::string& path);

// The current folder, ending with the separator; empty when it cannot be found.
std::string currentFolder();

// `path` made absolute against `folder` (an absolute folder ending with the
// separator, as currentFolder() gives it; unchanged when it is empty or
// `path` is absolute already).
std::string absolutePathIn(const std::string& folder, const std::string& path);
// The same into `out` (which keeps its room).
void assignAbsolutePathIn(std::string& out, const std::string& folder, const std::string& path);

} // namespace quarvel

namespace quarvel {

// A folder path with runs of separators collapsed and "." components
// removed, ending with the separator; a relative path stays relative
// ("./a//b" is "a/b/", "." is empty). Purely textual: links are not
// resolved.
std::string normalizedFolder(std::string_view path);

// True when `inner` lies strictly below `outer` (both folders, compared
// after normalizedFolder).
bool isStrictlyInside(std::string_view inner, std::string_view outer);

} // namespace quarvel
