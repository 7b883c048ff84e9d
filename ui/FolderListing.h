#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quarvel {

class FileSystem;

// The names of the subfolders of `folder` (which ends with the separator),
// as raw bytes, sorted with folderNameLess. Symbolic links that lead to a
// folder count as folders; files, "." and ".." are left out. A folder that
// cannot be listed gives no names.
std::vector<std::string> listSubfolders(FileSystem& fs, const std::string& folder);

// The tree's order: bytes compared with ASCII letters folded to lower case,
// so "apple" < "Banana" < "cherry"; names equal but for case fall back to
// plain byte order, which keeps the order total and stable. UTF-8 sorts by
// code point this way, independent of the locale.
bool folderNameLess(std::string_view a, std::string_view b);

} // namespace quarvel
