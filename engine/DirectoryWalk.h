#pragma once

#include "platform/FileSystem.h"

#include <functional>
#include <string>

namespace quarvel {

// The per-folder step: given a relative folder path, returns how many files
// of that folder it changed.
using FolderStep = std::function<int(const std::string& relativePath)>;

struct WalkOptions
{
    std::string startDir; // ends with kSeparator
    bool recurse = true;
    std::string excludedRelative; // a relative folder path never entered; empty: none
};

// Visits the start folder and, with recurse, every folder below it, depth
// first and post-order, handing each folder once to `step`; returns the sum
// of the steps' results. Symbolic links are never descended. A missing or
// unreadable start folder gives 0.
int WalkDirectory(FileSystem& fs, const WalkOptions& options, const FolderStep& step,
                  const std::function<bool()>& stop = {});

} // namespace quarvel
