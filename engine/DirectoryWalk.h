#pragma once

#include "platform/FileSystem.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel {

// The per-folder step: given a relative folder path, returns how many files
// of that folder it changed.
using FolderStep = std::function<int(const std::string& relativePath)>;
// The same, also handed the walk's own complete listing of a folder that
// holds no subfolder to visit (which the step may take over instead of
// listing the folder again), or nullptr.
using ListedFolderStep =
    std::function<int(const std::string& relativePath, std::vector<DirEntry>* listing)>;

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
int WalkDirectory(FileSystem& fs, const WalkOptions& options, const ListedFolderStep& step,
                  const std::function<bool()>& stop = {});

// The entries of `folder` that `mask` selects: taken from `listing` (a
// complete listing handed to a ListedFolderStep) when there is one, else
// listed now.
Status SelectedEntries(FileSystem& fs, const std::string& folder, std::string_view mask,
                       std::vector<DirEntry>* listing, std::vector<DirEntry>& entries);

} // namespace quarvel
