#include "tests/support/SortedListingFileSystem.h"

#include <algorithm>

namespace quarvel::test {

Status SortedListingFileSystem::listFolder(const std::string& folder, std::string_view mask,
                                           std::vector<DirEntry>& entries)
{
    const Status status = m_inner.listFolder(folder, mask, entries);
    std::sort(entries.begin(), entries.end(),
              [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
    return status;
}

} // namespace quarvel::test
