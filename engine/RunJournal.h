#pragma once

#include "engine/JournalEntry.h"
#include "platform/JournalStore.h"
#include "platform/KeptFile.h"
#include "platform/MappedLineWriter.h"
#include "platform/WriteTracker.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

namespace quarvel {

// The undo journal of one run, written as the run goes: each entry goes to
// the entry file as soon as its change is made (through a mapping of the
// file, with no system call per entry and no flush; sync() flushes once at
// the end), so a run killed half-way leaves a journal of what it did. The
// journal is made at its first use, so a run that changes nothing leaves
// the previous run's journal in place. Its calls may come from several
// threads at once.
class RunJournal
{
public:
    explicit RunJournal(std::string stateFolder) : m_store(std::move(stateFolder)) {}

    // Ok when entries can be written (the journal is made on the first call).
    Status ready();
    // Keeps the file at `path` in the journal folder before it is replaced;
    // `kept` receives its name there.
    Status keep(const std::string& path, std::string& kept);
    // A kept file whose change did not happen after all.
    void discard(const std::string& kept);
    // Where a kept file lies.
    std::string keptPath(const std::string& kept);
    // Writes the entry's line. Once a line could not be written (no space
    // left, say), the journal is no longer ready.
    Status add(const JournalEntry& entry);
    // Flushes the journal's file system once.
    void sync();

    // How the kept files were kept, counted (for the benchmark's notes).
    std::int64_t keptBy(KeepMethod method) const { return m_keptBy[static_cast<int>(method)]; }

private:
    Status readyLocked(); // ready(), m_mutex held

    std::mutex m_mutex;
    JournalStore m_store;
    OpenJournal m_journal;
    bool m_tried = false;
    Status m_status;
    std::int64_t m_nextKept = 0;
    std::int64_t m_keptBy[3] = {0, 0, 0};
    WriteTracker m_written;
    // Declared after m_journal: the file is cut to its content before it closes.
    std::unique_ptr<MappedLineWriter> m_lines;
};

} // namespace quarvel
