#pragma once

#include "platform/FileSystem.h"

#include <string>
#include <string_view>
#include <vector>

namespace quarvel {

// Reads the whole listing of `folder` into `entries` (replacing what they
// held): the names the mask selects, in the order the system delivers them,
// "." and ".." included, our own temporary files left out. On failure
// `entries` is left empty.
Status listDirectory(const std::string& folder, std::string_view mask,
                     std::vector<DirEntry>& entries);

} // namespace quarvel
