#pragma once

#include "platform/FileSystem.h"

#include <map>
#include <string>

namespace quarvel {

// The file tree as a run's changes would have left it, without making them:
// the disk as it is first seen, with every change laid over it. A folder is
// read from the disk once, when it is first looked into; after that only
// the changes entered here alter it, so every answer follows from the
// disk's state when the folder was first seen. Paths are taken textually
// (runs of separators and "." collapse; links and ".." are not resolved),
// as the engine builds all of its paths from the same two folders.
class ForeseenTree
{
public:
    struct Node
    {
        EntryType type = EntryType::Regular;
        bool folder = false;  // a folder, or a link to one
        bool written = false; // content put there by the run
        // Where the content lies on the disk when it is not under the
        // node's own path (a renamed file); empty otherwise.
        std::string movedFrom;
    };

    // What a path leads to: `status` is ENOENT or ENOTDIR when the folder it
    // lies in is missing or is not a folder; `node` is null when there is no
    // entry of that name.
    struct Lookup
    {
        Status status;
        const Node* node = nullptr;
    };

    explicit ForeseenTree(FileSystem& disk) : m_disk(disk) {}

    // A folder path as the tree knows it: runs of separators and "."
    // collapsed, ending with the separator; empty for the current folder.
    static std::string folderKey(std::string_view folder);

    Lookup lookup(const std::string& path);
    // Enters `node` at `path` (whose folder must be there); a new folder
    // starts empty.
    void put(const std::string& path, Node node);
    void remove(const std::string& path);

private:
    using Folder = std::map<std::string, Node, std::less<>>;

    Folder* folderAt(const std::string& key, Status& status);
    Status folderStatus(const std::string& key);
    Folder loadFromDisk(const std::string& key);

    FileSystem& m_disk;
    std::map<std::string, Folder> m_folders; // by folderKey
    Node m_root{EntryType::Directory, true, false, {}};
};

} // namespace quarvel
