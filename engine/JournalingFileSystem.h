#pragma once

#include "engine/RunJournal.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"

#include <functional>

namespace quarvel {

// Puts the undo journal in front of the file system a run changes: before a
// file is replaced (a rewrite in place, a copy over an existing file) its old
// content is kept in the journal; after each change that succeeded, the
// journal gets the entry that reverses it, with the state of what the change
// left. A change whose old content cannot be kept is not made
// (Status::kJournalUnavailable), so that everything the run did can be
// reversed. Reads and listings go straight through; the fault hooks and the
// dry run stay in the file system behind it.
class JournalingFileSystem : public FileSystem
{
public:
    // The current folder is taken now: relative paths are made absolute
    // against it without asking the system again for every entry.
    JournalingFileSystem(FileSystem& real, RunJournal& journal)
        : m_real(real), m_journal(journal), m_currentFolder(currentFolder())
    {
    }

    Status listFolder(const std::string& folder, std::string_view mask,
                      std::vector<DirEntry>& entries) override;
    Status readFile(const std::string& path, bool followLink, ContentSink& sink) override;
    Status rewriteFile(const std::string& source, const std::string& target,
                       std::string_view content) override;
    Status writeCopy(const std::string& source, const std::string& target,
                     std::string_view content) override;
    Status stageRewrite(const std::string& source, const std::string& target,
                        std::unique_ptr<StagedContent>& staged) override;
    Status stageCopy(const std::string& source, const std::string& target,
                     std::unique_ptr<StagedContent>& staged) override;
    Status openContent(const std::string& path, bool followLink,
                       std::unique_ptr<OpenedContent>& opened) override;
    Status copyFileNoReplace(const std::string& source, const std::string& target) override;
    Status moveNoReplace(const std::string& from, const std::string& to) override;
    Status moveExamined(const std::string& from, const std::string& to,
                        const FileState& examined) override;
    Status removeFile(const std::string& path) override;
    bool folderExists(const std::string& path) override;
    Status createFolder(const std::string& path) override;
    std::vector<std::string> roots() override;
    void syncWritten() override;
    // Staging is never journaled (the journal is written at commits), and
    // examined moves may come from several threads.
    bool concurrentStaging() override { return m_real.concurrentStaging(); }

private:
    // The old file at `path`, kept when it is a regular file; false when it
    // should have been kept but could not be.
    bool keepOld(const std::string& path, JournalEntry& entry);
    // A rewrite in place and a copy that may replace a file, made by
    // `change` once the old content is kept.
    Status journaledRewrite(const std::string& source, const std::string& target,
                            const std::function<Status()>& change);
    Status journaledCopy(const std::string& target, const std::function<Status()>& change);
    // The change was made (`status` ok): journaled. Else the kept file goes.
    Status finish(const Status& status, JournalEntry entry);
    // The entry of a change made, written; when it cannot be, the change is
    // reversed where it can be and then fails (Status::kJournalUnavailable).
    Status journaled(const JournalEntry& entry);
    // Undoes a change just made, as the undo would.
    Status reverse(const JournalEntry& entry);

    JournalEntry entryFor(JournalEntry::Kind kind, const std::string& path,
                          const std::string& original = {}) const;

    FileSystem& m_real;
    RunJournal& m_journal;
    const std::string m_currentFolder;
};

} // namespace quarvel
