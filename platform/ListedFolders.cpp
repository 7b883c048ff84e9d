#include "platform/ListedFolders.h"

#include "platform/Path.h"

namespace quarvel {

namespace {

bool directlyIn(const std::string& folder, const std::string& path)
{
    return path.size() > folder.size() && path.starts_with(folder) &&
           path.find(kSeparator, folder.size()) == std::string::npos;
}

} // namespace

void ListedFolders::remember(const std::string& folder, FileDescriptor opened)
{
    auto shared = std::make_shared<const FileDescriptor>(std::move(opened));
    const std::lock_guard lock(m_mutex);
    for (Listed& listed : m_listed) {
        if (listed.opened && listed.folder == folder) {
            listed.opened = std::move(shared);
            return;
        }
    }
    m_listed[m_next] = Listed{folder, std::move(shared)};
    m_next = (m_next + 1) % kKept;
}

void ListedFolders::forget(const std::string& folder)
{
    const std::lock_guard lock(m_mutex);
    for (Listed& listed : m_listed) {
        if (listed.folder == folder)
            listed = Listed{};
    }
}

void ListedFolders::clear()
{
    const std::lock_guard lock(m_mutex);
    m_listed.fill(Listed{});
    m_next = 0;
}

std::shared_ptr<const FileDescriptor>
ListedFolders::holding(const std::string& from, const std::string& to, std::size_t& folderLength)
{
    const std::lock_guard lock(m_mutex);
    for (const Listed& listed : m_listed) {
        if (listed.opened && directlyIn(listed.folder, from) && directlyIn(listed.folder, to)) {
            folderLength = listed.folder.size();
            return listed.opened;
        }
    }
    return nullptr;
}

} // namespace quarvel
