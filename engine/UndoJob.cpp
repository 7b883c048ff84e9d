#include "engine/UndoJob.h"

#include "engine/JournalEntry.h"
#include "engine/PutBackReplaced.h"
#include "platform/JournalStore.h"
#include "platform/RemoveFolder.h"

#include <cerrno>
#include <set>
#include <vector>

namespace quarvel {

namespace {

using Action = UndoStep::Action;

Status loadJournal(const std::string& stateFolder, OpenJournal& journal,
                   std::vector<JournalEntry>& entries)
{
    JournalStore store(stateFolder);
    if (Status opened = store.openLast(journal); !opened)
        return opened;
    std::string text;
    if (Status read = JournalStore::read(journal, text); !read)
        return read;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            break; // a line cut short by a killed run, or the padding after the last
        const std::string_view line = std::string_view(text).substr(start, end - start);
        // No path holds a NUL byte: such a line is damaged.
        if (line.find('\0') == std::string_view::npos)
            if (auto entry = DecodeJournalEntry(line))
                entries.push_back(std::move(*entry));
        start = end + 1;
    }
    return Status::ok();
}

OperationStatus changedSinceRun(const FileState& now)
{
    return OperationStatus::failed(0,
                                   now.exists ? "changed since the run" : "missing since the run");
}

// The reversals, carried out (or, in a dry run, checked) one by one.
class Reverser
{
public:
    Reverser(FileSystem& fs, const std::string& journalFolder, bool dryRun)
        : m_fs(fs), m_folder(journalFolder), m_dryRun(dryRun)
    {
    }

    UndoStep reverse(const JournalEntry& entry);

private:
    UndoStep rename(const JournalEntry& entry);
    UndoStep remove(const JournalEntry& entry);
    UndoStep restore(const JournalEntry& entry);
    UndoStep removeFolder(const JournalEntry& entry);
    // True when `path` holds just what the run left (or, with `after` not
    // existing, nothing at all).
    bool asLeft(const std::string& path, const FileState& after, OperationStatus& status) const;
    bool nameFree(const std::string& path, OperationStatus& status) const;
    bool folderEmpty(const std::string& path);

    FileSystem& m_fs;
    const std::string& m_folder;
    const bool m_dryRun;
    std::set<std::string> m_gone; // dry run: what the steps so far would have removed
};

UndoStep Reverser::reverse(const JournalEntry& entry)
{
    switch (entry.kind) {
    case JournalEntry::Kind::Rename:
        return rename(entry);
    case JournalEntry::Kind::Created:
        return remove(entry);
    case JournalEntry::Kind::Replaced:
        return restore(entry);
    case JournalEntry::Kind::Folder:
        return removeFolder(entry);
    }
    return {};
}

bool Reverser::asLeft(const std::string& path, const FileState& after,
                      OperationStatus& status) const
{
    const FileState now = fileStateOf(path);
    const bool same = after.exists ? now.unchangedSince(after) : !now.exists;
    if (!same)
        status = after.exists ? changedSinceRun(now)
                              : OperationStatus::failed(EEXIST, "a file of that name exists now");
    return same;
}

bool Reverser::nameFree(const std::string& path, OperationStatus& status) const
{
    if (!fileStateOf(path).exists)
        return true;
    status = OperationStatus::failed(EEXIST, "a file of that name exists now");
    return false;
}

UndoStep Reverser::rename(const JournalEntry& entry)
{
    UndoStep step{Action::Rename, entry.path, entry.original, {}};
    if (asLeft(entry.path, entry.after, step.status) && nameFree(entry.original, step.status) &&
        !m_dryRun) {
        if (Status moved = m_fs.moveNoReplace(entry.path, entry.original); !moved)
            step.status = OperationStatus::failed(moved);
    }
    return step;
}

UndoStep Reverser::remove(const JournalEntry& entry)
{
    UndoStep step{Action::Remove, entry.path, {}, {}};
    if (!asLeft(entry.path, entry.after, step.status))
        return step;
    if (m_dryRun)
        m_gone.insert(entry.path);
    else if (Status removed = m_fs.removeFile(entry.path); !removed)
        step.status = OperationStatus::failed(removed);
    return step;
}

UndoStep Reverser::restore(const JournalEntry& entry)
{
    UndoStep step{Action::Restore, entry.path, entry.original, {}};
    const bool samePath = entry.path == entry.original;
    // A result removed since the run is no reason to keep the old content away.
    const bool resultGone = entry.after.exists && !fileStateOf(entry.path).exists;
    if ((!resultGone && !asLeft(entry.path, entry.after, step.status)) ||
        (!samePath && !nameFree(entry.original, step.status)) || m_dryRun)
        return step;
    const Status restored = PutBackReplaced(m_fs, m_folder + entry.kept, entry, !resultGone);
    if (!restored)
        step.status = OperationStatus::failed(restored);
    return step;
}

bool Reverser::folderEmpty(const std::string& path)
{
    std::vector<DirEntry> entries;
    if (!m_fs.listFolder(path, "*", entries))
        return true; // the removal itself says why
    for (const DirEntry& entry : entries) {
        if (entry.name != "." && entry.name != ".." && !m_gone.contains(path + entry.name) &&
            !m_gone.contains(path + entry.name + '/'))
            return false;
    }
    return true;
}

UndoStep Reverser::removeFolder(const JournalEntry& entry)
{
    UndoStep step{Action::RemoveFolder, entry.path, {}, {}};
    if (m_dryRun) {
        if (!m_fs.folderExists(entry.path))
            step.status = OperationStatus::failed(Status::error(ENOENT));
        else if (!folderEmpty(entry.path))
            step.status = OperationStatus::failed(Status::error(ENOTEMPTY));
        else
            m_gone.insert(entry.path);
    } else if (Status removed = removeEmptyFolder(entry.path); !removed) {
        step.status = OperationStatus::failed(removed);
    }
    return step;
}

// After the undo: the journal goes, or keeps only what could not be reversed.
void closeJournal(const std::string& stateFolder, OpenJournal& journal,
                  const std::vector<const JournalEntry*>& left)
{
    if (left.empty()) {
        JournalStore(stateFolder).remove(journal);
        return;
    }
    std::string text;
    for (auto it = left.rbegin(); it != left.rend(); ++it)
        text += EncodeJournalEntry(**it) + '\n';
    JournalStore::rewrite(journal, text);
    JournalStore::sync(journal);
}

} // namespace

Status LastRunOperations(const std::string& stateFolder, int& operations)
{
    OpenJournal journal;
    std::vector<JournalEntry> entries;
    const Status loaded = loadJournal(stateFolder, journal, entries);
    operations = static_cast<int>(entries.size());
    return loaded;
}

Status RunUndo(const std::string& stateFolder, FileSystem& fs, bool dryRun, UndoObserver& observer,
               UndoSummary& summary)
{
    OpenJournal journal;
    std::vector<JournalEntry> entries;
    if (Status loaded = loadJournal(stateFolder, journal, entries); !loaded)
        return loaded;
    summary = {static_cast<int>(entries.size()), 0, 0};
    Reverser reverser(fs, journal.folder, dryRun);
    std::vector<const JournalEntry*> left; // newest first
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        const UndoStep step = reverser.reverse(*it);
        if (step.status.isFailure()) {
            ++summary.failures;
            left.push_back(&*it);
        } else {
            ++summary.reversed;
        }
        observer.stepDone(step);
    }
    if (!dryRun) {
        fs.syncWritten();
        closeJournal(stateFolder, journal, left);
    }
    observer.undoFinished(summary);
    return Status::ok();
}

} // namespace quarvel
