#include "engine/DirectoryWalk.h"

#include "platform/MaskMatch.h"
#include "platform/Path.h"

#include <vector>

namespace quarvel {

namespace {

// One folder on the walk's stack: its relative path and the subfolders
// still to visit. An explicit stack keeps very deep trees off the call stack.
struct Level
{
    std::string relative;
    std::vector<std::string> subfolders;
    std::size_t next = 0;
    bool listed = false;           // false: its search matched nothing, so it is not processed
    std::vector<DirEntry> entries; // the whole listing, kept only when there are no subfolders
};

bool isDotOrDotDot(const std::string& name)
{
    return name == "." || name == "..";
}

void collectSubfolders(const WalkOptions& options, const std::vector<DirEntry>& entries,
                       Level& level)
{
    for (const DirEntry& entry : entries) {
        if (!entry.isDirectory() || isDotOrDotDot(entry.name))
            continue;
        std::string child = level.relative + entry.name + kSeparator;
        if (!options.excludedRelative.empty() && child == options.excludedRelative)
            continue;
        level.subfolders.push_back(std::move(child));
    }
}

Level listLevel(FileSystem& fs, const WalkOptions& options, std::string relative)
{
    Level level;
    level.relative = std::move(relative);
    std::vector<DirEntry> entries;
    const std::string folder = options.startDir + level.relative;
    if (!fs.listFolder(folder, "*.*", entries) || entries.empty())
        return level;
    level.listed = true;
    if (options.recurse)
        collectSubfolders(options, entries, level);
    // Its step comes next: the listing is handed to it, not made again.
    if (level.subfolders.empty())
        level.entries = std::move(entries);
    return level;
}

} // namespace

int WalkDirectory(FileSystem& fs, const WalkOptions& options, const FolderStep& step,
                  const std::function<bool()>& stop)
{
    return WalkDirectory(
        fs, options,
        [&step](const std::string& relative, std::vector<DirEntry>*) { return step(relative); },
        stop);
}

int WalkDirectory(FileSystem& fs, const WalkOptions& options, const ListedFolderStep& step,
                  const std::function<bool()>& stop)
{
    int total = 0;
    std::vector<Level> stack;
    stack.push_back(listLevel(fs, options, std::string()));
    while (!stack.empty()) {
        Level& top = stack.back();
        if (top.next < top.subfolders.size() && !(stop && stop())) {
            std::string child = std::move(top.subfolders[top.next++]);
            stack.push_back(listLevel(fs, options, std::move(child)));
            continue;
        }
        if (top.listed && !(stop && stop()))
            total += step(top.relative, top.subfolders.empty() ? &top.entries : nullptr);
        stack.pop_back();
    }
    return total;
}

Status SelectedEntries(FileSystem& fs, const std::string& folder, std::string_view mask,
                       std::vector<DirEntry>* listing, std::vector<DirEntry>& entries)
{
    if (listing == nullptr)
        return fs.listFolder(folder, mask, entries);
    entries = std::move(*listing);
    std::erase_if(entries,
                  [mask](const DirEntry& entry) { return !maskMatches(mask, entry.name); });
    return Status::ok();
}

} // namespace quarvel
