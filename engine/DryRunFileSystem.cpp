#include "engine/DryRunFileSystem.h"

#include <cerrno>

namespace quarvel {

namespace {

// Opens a file as a read or a copy would, and stops before reading: a
// regular file that could be read answers ENOMEM.
class ProbeSink : public ContentSink
{
public:
    bool reserve(std::uint64_t) override { return false; }
    bool append(const char*, std::size_t) override { return false; }
};

ForeseenTree::Node writtenFile()
{
    ForeseenTree::Node node;
    node.written = true;
    return node;
}

// Why an entry of this kind cannot be replaced by a written file.
Status replaceable(const ForeseenTree::Node& node)
{
    switch (node.type) {
    case EntryType::Symlink:
        return Status::error(Status::kIsSymbolicLink);
    case EntryType::Directory:
        return Status::error(EISDIR);
    case EntryType::Special:
        return Status::error(Status::kNotRegularFile);
    case EntryType::Regular:
        break;
    }
    return Status::ok();
}

} // namespace

Status DryRunFileSystem::listFolder(const std::string& folder, std::string_view mask,
                                    std::vector<DirEntry>& entries)
{
    return m_real.listFolder(folder, mask, entries);
}

Status DryRunFileSystem::readFile(const std::string& path, bool followLink, ContentSink& sink)
{
    // The walk lists each folder before the run changes anything in it, and
    // no file is read after a change to it, so reads go to the disk.
    return m_real.readFile(path, followLink, sink);
}

Status DryRunFileSystem::rewriteFile(const std::string& source, const std::string& target,
                                     std::string_view)
{
    const ForeseenTree::Lookup from = m_tree.lookup(source);
    if (!from.status)
        return from.status;
    if (from.node == nullptr)
        return Status::error(ENOENT);
    if (Status kind = replaceable(*from.node); !kind)
        return kind;
    if (target != source) {
        const ForeseenTree::Lookup to = m_tree.lookup(target);
        if (!to.status)
            return to.status;
        if (to.node != nullptr)
            return Status::error(EEXIST);
        m_tree.remove(source);
    }
    m_tree.put(target, writtenFile());
    return Status::ok();
}

Status DryRunFileSystem::writeCopy(const std::string&, const std::string& target, std::string_view)
{
    const ForeseenTree::Lookup to = m_tree.lookup(target);
    if (!to.status)
        return to.status;
    if (to.node != nullptr) {
        if (Status kind = replaceable(*to.node); !kind)
            return kind;
    }
    m_tree.put(target, writtenFile());
    return Status::ok();
}

Status DryRunFileSystem::stageRewrite(const std::string& source, const std::string& target,
                                      std::unique_ptr<StagedContent>& staged)
{
    return stageWhole(false, source, target, false, staged);
}

Status DryRunFileSystem::stageCopy(const std::string& source, const std::string& target,
                                   std::unique_ptr<StagedContent>& staged)
{
    return stageWhole(true, source, target, false, staged);
}

Status DryRunFileSystem::copyFileNoReplace(const std::string& source, const std::string& target)
{
    if (Status opened = openable(source); !opened)
        return opened;
    const ForeseenTree::Lookup to = m_tree.lookup(target);
    if (!to.status)
        return to.status;
    if (to.node != nullptr)
        return Status::error(EEXIST);
    ForeseenTree::Node copy = *m_tree.lookup(source).node;
    copy.type = EntryType::Regular;
    copy.folder = false;
    if (!copy.written && copy.movedFrom.empty())
        copy.movedFrom = source;
    m_tree.put(target, std::move(copy));
    return Status::ok();
}

Status DryRunFileSystem::moveNoReplace(const std::string& from, const std::string& to)
{
    const ForeseenTree::Lookup source = m_tree.lookup(from);
    if (!source.status)
        return source.status;
    if (source.node == nullptr)
        return Status::error(ENOENT);
    const ForeseenTree::Lookup target = m_tree.lookup(to);
    if (!target.status)
        return target.status;
    if (target.node != nullptr)
        return Status::error(EEXIST);
    ForeseenTree::Node moved = *source.node;
    if (!moved.written && moved.movedFrom.empty())
        moved.movedFrom = from;
    m_tree.remove(from);
    m_tree.put(to, std::move(moved));
    return Status::ok();
}

Status DryRunFileSystem::removeFile(const std::string& path)
{
    const ForeseenTree::Lookup found = m_tree.lookup(path);
    if (!found.status)
        return found.status;
    if (found.node == nullptr)
        return Status::error(ENOENT);
    if (found.node->type == EntryType::Directory)
        return Status::error(EISDIR);
    m_tree.remove(path);
    return Status::ok();
}

bool DryRunFileSystem::folderExists(const std::string& path)
{
    const ForeseenTree::Lookup found = m_tree.lookup(path);
    return found.node != nullptr && found.node->folder;
}

Status DryRunFileSystem::createFolder(const std::string& path)
{
    const ForeseenTree::Lookup found = m_tree.lookup(path);
    if (!found.status)
        return found.status;
    if (found.node != nullptr)
        return Status::error(EEXIST);
    // Not on the disk: nothing of it is read from there.
    m_tree.put(path, ForeseenTree::Node{EntryType::Directory, true, true, {}});
    return Status::ok();
}

std::vector<std::string> DryRunFileSystem::roots()
{
    return m_real.roots();
}

// Whether a copy could open `path` for reading: a file the run wrote can
// be; anything else is asked of the disk, where its content lies.
Status DryRunFileSystem::openable(const std::string& path)
{
    const ForeseenTree::Lookup found = m_tree.lookup(path);
    if (!found.status)
        return found.status;
    if (found.node == nullptr)
        return Status::error(ENOENT);
    if (found.node->written)
        return found.node->type == EntryType::Directory ? Status::error(EISDIR) : Status::ok();
    ProbeSink probe;
    const std::string& origin = found.node->movedFrom.empty() ? path : found.node->movedFrom;
    const Status opened = m_real.readFile(origin, true, probe);
    return opened.code() == ENOMEM ? Status::ok() : opened;
}

} // namespace quarvel
