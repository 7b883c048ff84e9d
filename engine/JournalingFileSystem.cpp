#include "engine/JournalingFileSystem.h"

#include "engine/PutBackReplaced.h"
#include "platform/Path.h"
#include "platform/RemoveFolder.h"

#include <sys/stat.h>

namespace quarvel {

namespace {

const Status kUnjournaled = Status::error(Status::kJournalUnavailable);

} // namespace

JournalEntry JournalingFileSystem::entryFor(JournalEntry::Kind kind, const std::string& path,
                                            const std::string& original) const
{
    JournalEntry entry;
    entry.kind = kind;
    // The undo may run from another folder.
    entry.path = absolutePathIn(m_currentFolder, path);
    entry.original = original.empty() ? original : absolutePathIn(m_currentFolder, original);
    return entry;
}

Status JournalingFileSystem::listFolder(const std::string& folder, std::string_view mask,
                                        std::vector<DirEntry>& entries)
{
    return m_real.listFolder(folder, mask, entries);
}

Status JournalingFileSystem::readFile(const std::string& path, bool followLink, ContentSink& sink)
{
    return m_real.readFile(path, followLink, sink);
}

bool JournalingFileSystem::keepOld(const std::string& path, JournalEntry& entry)
{
    entry.before = fileStateOf(path);
    if (!entry.before.exists || !S_ISREG(entry.before.mode))
        return true; // nothing to keep; the change itself refuses what it cannot replace
    return m_journal.keep(path, entry.kept).isOk();
}

Status JournalingFileSystem::finish(const Status& status, JournalEntry entry)
{
    if (!status) {
        m_journal.discard(entry.kept);
        return status;
    }
    entry.after = fileStateOf(entry.path);
    return journaled(entry);
}

Status JournalingFileSystem::journaled(const JournalEntry& entry)
{
    if (m_journal.add(entry))
        return Status::ok();
    // The undo would not know of the change, so it is reversed here and
    // fails as unjournaled. Should the reversal fail too, the change stays
    // and counts as made (a replaced content is still kept in the journal
    // folder).
    return reverse(entry) ? kUnjournaled : Status::ok();
}

Status JournalingFileSystem::reverse(const JournalEntry& entry)
{
    switch (entry.kind) {
    case JournalEntry::Kind::Rename:
        return m_real.moveNoReplace(entry.path, entry.original);
    case JournalEntry::Kind::Created:
        return m_real.removeFile(entry.path);
    case JournalEntry::Kind::Folder:
        return removeEmptyFolder(entry.path);
    case JournalEntry::Kind::Replaced:
        break;
    }
    if (entry.kept.empty())
        return Status::error(ENOENT);
    return PutBackReplaced(m_real, m_journal.keptPath(entry.kept), entry, true);
}

Status JournalingFileSystem::rewriteFile(const std::string& source, const std::string& target,
                                         std::string_view content)
{
    return journaledRewrite(source, target,
                            [&] { return m_real.rewriteFile(source, target, content); });
}

Status JournalingFileSystem::writeCopy(const std::string& source, const std::string& target,
                                       std::string_view content)
{
    return journaledCopy(target, [&] { return m_real.writeCopy(source, target, content); });
}

Status JournalingFileSystem::journaledRewrite(const std::string& source, const std::string& target,
                                              const std::function<Status()>& change)
{
    JournalEntry entry = entryFor(JournalEntry::Kind::Replaced, target, source);
    if (!m_journal.ready() || !keepOld(source, entry))
        return kUnjournaled;
    return finish(change(), std::move(entry));
}

Status JournalingFileSystem::journaledCopy(const std::string& target,
                                           const std::function<Status()>& change)
{
    JournalEntry entry = entryFor(JournalEntry::Kind::Replaced, target, target);
    if (!m_journal.ready() || !keepOld(target, entry))
        return kUnjournaled;
    if (entry.kept.empty()) {
        entry.kind = JournalEntry::Kind::Created;
        entry.original.clear();
        entry.before = {};
    }
    return finish(change(), std::move(entry));
}

namespace {

// Staged content of the file system behind, whose commit goes through the
// journal.
class JournaledStage : public StagedContent
{
public:
    using Commit = std::function<Status(StagedContent& inner)>;

    JournaledStage(std::unique_ptr<StagedContent> inner, Commit commit)
        : m_inner(std::move(inner)), m_commit(std::move(commit))
    {
    }
    Status write(std::span<const std::string_view> pieces) override
    {
        return m_inner->write(pieces);
    }
    Status copyFrom(const OpenedContent& from, std::int64_t offset, std::int64_t length) override
    {
        return m_inner->copyFrom(from, offset, length);
    }
    Status copyContentOf(const StagedContent& other) override
    {
        const auto* journaled = dynamic_cast<const JournaledStage*>(&other);
        return m_inner->copyContentOf(journaled != nullptr ? *journaled->m_inner : other);
    }
    Status commit() override { return m_commit(*m_inner); }

private:
    std::unique_ptr<StagedContent> m_inner;
    Commit m_commit;
};

} // namespace

Status JournalingFileSystem::stageRewrite(const std::string& source, const std::string& target,
                                          std::unique_ptr<StagedContent>& staged)
{
    std::unique_ptr<StagedContent> inner;
    if (Status status = m_real.stageRewrite(source, target, inner); !status)
        return status;
    staged = std::make_unique<JournaledStage>(
        std::move(inner), [this, source, target](StagedContent& content) {
            return journaledRewrite(source, target, [&content] { return content.commit(); });
        });
    return Status::ok();
}

Status JournalingFileSystem::stageCopy(const std::string& source, const std::string& target,
                                       std::unique_ptr<StagedContent>& staged)
{
    std::unique_ptr<StagedContent> inner;
    if (Status status = m_real.stageCopy(source, target, inner); !status)
        return status;
    staged =
        std::make_unique<JournaledStage>(std::move(inner), [this, target](StagedContent& content) {
            return journaledCopy(target, [&content] { return content.commit(); });
        });
    return Status::ok();
}

Status JournalingFileSystem::openContent(const std::string& path, bool followLink,
                                         std::unique_ptr<OpenedContent>& opened)
{
    return m_real.openContent(path, followLink, opened);
}

Status JournalingFileSystem::copyFileNoReplace(const std::string& source, const std::string& target)
{
    if (!m_journal.ready())
        return kUnjournaled;
    return finish(m_real.copyFileNoReplace(source, target),
                  entryFor(JournalEntry::Kind::Created, target));
}

Status JournalingFileSystem::moveNoReplace(const std::string& from, const std::string& to)
{
    if (!m_journal.ready())
        return kUnjournaled;
    return finish(m_real.moveNoReplace(from, to), entryFor(JournalEntry::Kind::Rename, to, from));
}

Status JournalingFileSystem::removeFile(const std::string& path)
{
    JournalEntry entry = entryFor(JournalEntry::Kind::Replaced, path, path);
    if (!m_journal.ready() || !keepOld(path, entry))
        return kUnjournaled;
    return finish(m_real.removeFile(path), std::move(entry));
}

Status JournalingFileSystem::moveExamined(const std::string& from, const std::string& to,
                                          const FileState& examined)
{
    if (!m_journal.ready())
        return kUnjournaled;
    const Status moved = m_real.moveExamined(from, to, examined);
    if (!moved)
        return moved;
    // One entry a thread serves all its renames: its strings keep their room.
    thread_local JournalEntry entry; // its kind is Rename
    assignAbsolutePathIn(entry.path, m_currentFolder, to);
    assignAbsolutePathIn(entry.original, m_currentFolder, from);
    // An entry that was not there when examined has appeared since: what
    // the move left is examined after all.
    entry.after = examined.exists ? examined : fileStateOf(entry.path);
    return journaled(entry);
}

bool JournalingFileSystem::folderExists(const std::string& path)
{
    return m_real.folderExists(path);
}

Status JournalingFileSystem::createFolder(const std::string& path)
{
    if (!m_journal.ready())
        return kUnjournaled;
    const Status created = m_real.createFolder(path);
    if (!created)
        return created;
    return journaled(entryFor(JournalEntry::Kind::Folder, path));
}

std::vector<std::string> JournalingFileSystem::roots()
{
    return m_real.roots();
}

void JournalingFileSystem::syncWritten()
{
    m_real.syncWritten();
    m_journal.sync();
}

} // namespace quarvel
