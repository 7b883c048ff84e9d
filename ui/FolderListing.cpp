#include "ui/FolderListing.h"

#include "platform/FileSystem.h"

#include <algorithm>

namespace quarvel {

namespace {

unsigned char foldAscii(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

bool isDotEntry(const std::string& name)
{
    return name == "." || name == "..";
}

bool isBrowsableFolder(FileSystem& fs, const std::string& folder, const DirEntry& entry)
{
    if (entry.type == EntryType::Directory)
        return true;
    // Browsing through a linked folder is harmless: the walk itself still
    // never follows links.
    return entry.type == EntryType::Symlink && fs.folderExists(folder + entry.name);
}

} // namespace

bool folderNameLess(std::string_view a, std::string_view b)
{
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (foldAscii(a[i]) != foldAscii(b[i]))
            return foldAscii(a[i]) < foldAscii(b[i]);
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

std::vector<std::string> listSubfolders(FileSystem& fs, const std::string& folder)
{
    std::vector<DirEntry> entries;
    std::vector<std::string> names;
    if (!fs.listFolder(folder, "*.*", entries))
        return names;
    for (DirEntry& entry : entries) {
        if (!isDotEntry(entry.name) && isBrowsableFolder(fs, folder, entry))
            names.push_back(std::move(entry.name));
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return folderNameLess(a, b); });
    return names;
}

} // namespace quarvel
