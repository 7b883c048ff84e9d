#pragma once

#include "platform/FileDescriptor.h"
#include "platform/FileSystem.h"

#include <string>
#include <string_view>
#include <vector>

namespace quarvel {

// Reads the whole listing of `folder` into `entries` (replacing what they
// held): the names the mask selects, in the order the system delivers them,
// "." and ".." included, our own temporary files left out. On failure
// `entries` is left empty. With `opened` given, the folder's descriptor
// (open for reading) is handed over in it once the listing is read.
Status listDirectory(const std::string& folder, std::string_view mask,
                     std::vector<DirEntry>& entries, FileDescriptor* opened = nullptr);

} // namespace quarvel
