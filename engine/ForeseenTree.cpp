#include "engine/ForeseenTree.h"

#include "platform/Path.h"

#include <cerrno>
#include <vector>

namespace quarvel {

namespace {

struct PathParts
{
    std::string folder; // its folderKey
    std::string name;   // empty for the root
};

PathParts split(std::string_view path)
{
    std::size_t end = path.size();
    while (end > 1 && path[end - 1] == kSeparator)
        --end;
    path = path.substr(0, end);
    const std::size_t slash = path.rfind(kSeparator);
    if (slash == std::string_view::npos)
        return {std::string(), std::string(path)};
    return {ForeseenTree::folderKey(path.substr(0, slash + 1)),
            std::string(path.substr(slash + 1))};
}

// The folder key as a path the disk can list.
std::string listable(const std::string& key)
{
    return key.empty() ? std::string(".") + kSeparator : key;
}

} // namespace

std::string ForeseenTree::folderKey(std::string_view folder)
{
    return normalizedFolder(folder);
}

ForeseenTree::Lookup ForeseenTree::lookup(const std::string& path)
{
    const PathParts parts = split(path);
    if (parts.name.empty())
        return {Status::ok(), &m_root};
    Status status;
    const Folder* folder = folderAt(parts.folder, status);
    if (folder == nullptr)
        return {status, nullptr};
    const auto it = folder->find(parts.name);
    return {Status::ok(), it == folder->end() ? nullptr : &it->second};
}

void ForeseenTree::put(const std::string& path, Node node)
{
    const PathParts parts = split(path);
    Status status;
    Folder* folder = folderAt(parts.folder, status);
    if (folder == nullptr || parts.name.empty())
        return;
    if (node.type == EntryType::Directory)
        m_folders[folderKey(path)] = Folder();
    (*folder)[parts.name] = std::move(node);
}

void ForeseenTree::remove(const std::string& path)
{
    const PathParts parts = split(path);
    Status status;
    if (Folder* folder = folderAt(parts.folder, status))
        folder->erase(parts.name);
}

// The entries of the folder `key`, read from the disk on first use; null
// (with the reason in `status`) when the folder is not there.
ForeseenTree::Folder* ForeseenTree::folderAt(const std::string& key, Status& status)
{
    if (const auto it = m_folders.find(key); it != m_folders.end())
        return &it->second;
    status = folderStatus(key);
    if (!status)
        return nullptr;
    return &m_folders.emplace(key, loadFromDisk(key)).first->second;
}

// As the system resolves a path: the first part that is missing gives
// ENOENT, the first that is not a folder ENOTDIR.
Status ForeseenTree::folderStatus(const std::string& key)
{
    if (key.empty())
        return Status::ok();
    const Lookup found = lookup(key);
    if (!found.status)
        return found.status;
    if (found.node == nullptr)
        return Status::error(ENOENT);
    return found.node->folder ? Status::ok() : Status::error(ENOTDIR);
}

ForeseenTree::Folder ForeseenTree::loadFromDisk(const std::string& key)
{
    std::vector<DirEntry> entries;
    Folder folder;
    if (!m_disk.listFolder(listable(key), "*", entries))
        return folder; // unreadable: nothing is known to be in it
    for (DirEntry& entry : entries) {
        Node node;
        node.type = entry.type;
        node.folder = entry.type == EntryType::Directory ||
                      (entry.type == EntryType::Symlink && m_disk.folderExists(key + entry.name));
        folder.emplace(std::move(entry.name), std::move(node));
    }
    return folder;
}

} // namespace quarvel
