#include "engine/EntryLookahead.h"

namespace quarvel {

EntryLookahead::EntryLookahead(FileSystem& fs, std::string folder,
                               const std::vector<DirEntry>& entries)
    : m_fs(fs), m_folder(std::move(folder)), m_entries(entries), m_ring(kAhead),
      m_thread([this] { examine(); })
{
}

EntryLookahead::~EntryLookahead()
{
    m_stop.store(true);
    // Wakes the examining when it waits for room.
    m_taken.store(m_entries.size(), std::memory_order_release);
    m_taken.notify_one();
    m_thread.join();
}

void EntryLookahead::examine()
{
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        // Room for entries[i]: the state it replaces in the ring is taken.
        for (std::size_t taken = m_taken.load(std::memory_order_acquire); i >= taken + kAhead;
             taken = m_taken.load(std::memory_order_acquire))
            m_taken.wait(taken, std::memory_order_acquire);
        if (m_stop.load(std::memory_order_relaxed))
            return;
        const DirEntry& entry = m_entries[i];
        m_ring[i % kAhead] =
            entry.isDirectory() ? FileState{} : m_fs.entryState(m_folder + entry.name);
        m_examined.store(i + 1, std::memory_order_release);
        m_examined.notify_one();
    }
}

FileState EntryLookahead::take(std::size_t index)
{
    // Everything before `index` is dropped: the examining may go on while
    // this waits.
    m_taken.store(index, std::memory_order_release);
    m_taken.notify_one();
    for (std::size_t examined = m_examined.load(std::memory_order_acquire); examined <= index;
         examined = m_examined.load(std::memory_order_acquire))
        m_examined.wait(examined, std::memory_order_acquire);
    const FileState state = m_ring[index % kAhead];
    m_taken.store(index + 1, std::memory_order_release);
    m_taken.notify_one();
    return state;
}

} // namespace quarvel
