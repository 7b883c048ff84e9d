#include "engine/RunJournal.h"

namespace quarvel {

Status RunJournal::ready()
{
    const std::lock_guard lock(m_mutex);
    return readyLocked();
}

Status RunJournal::readyLocked()
{
    if (!m_tried) {
        m_tried = true;
        m_status = m_store.create(m_journal);
        if (m_status)
            m_lines = std::make_unique<MappedLineWriter>(m_journal.file.get());
    }
    return m_status;
}

Status RunJournal::keep(const std::string& path, std::string& kept)
{
    const std::lock_guard lock(m_mutex);
    if (Status opened = readyLocked(); !opened)
        return opened;
    kept = "kept-" + std::to_string(++m_nextKept);
    KeepMethod method = KeepMethod::Copy;
    const Status status = keepFile(path, m_journal.folder + kept, m_written, method);
    if (status)
        ++m_keptBy[static_cast<int>(method)];
    else
        kept.clear();
    return status;
}

void RunJournal::discard(const std::string& kept)
{
    const std::lock_guard lock(m_mutex);
    if (!kept.empty())
        JournalStore::removeEntry(m_journal, kept);
}

std::string RunJournal::keptPath(const std::string& kept)
{
    const std::lock_guard lock(m_mutex);
    return m_journal.folder + kept;
}

Status RunJournal::add(const JournalEntry& entry)
{
    // Formed outside the lock, in a string each thread keeps for its next line.
    thread_local std::string line;
    EncodeJournalEntry(entry, line);
    const std::lock_guard lock(m_mutex);
    if (Status opened = readyLocked(); !opened)
        return opened;
    const Status written = m_lines->append(line);
    // A journal missing a line cannot undo the run: no later change is made.
    if (!written)
        m_status = written;
    return written;
}

void RunJournal::sync()
{
    const std::lock_guard lock(m_mutex);
    if (m_lines)
        m_lines->finish();
    JournalStore::sync(m_journal);
}

} // namespace quarvel
