#pragma once

#include "platform/FileSystem.h"

#include <atomic>
#include <cstddef>
#include <string>
#include <thread>
#include <vector>

namespace quarvel {

// Examines the entries of one listing (FileSystem::entryState) on a thread
// of its own, a bounded stretch ahead of the thread that uses the states:
// the two overlap the kernel's work for each entry on two cores. Folders in
// the listing are not examined.
class EntryLookahead
{
public:
    // `folder` ends with the separator; `entries` outlives this object.
    EntryLookahead(FileSystem& fs, std::string folder, const std::vector<DirEntry>& entries);
    // Stops the examining and waits for it.
    ~EntryLookahead();
    EntryLookahead(const EntryLookahead&) = delete;
    EntryLookahead& operator=(const EntryLookahead&) = delete;

    // The state of entries[index], waiting for it when it is not examined
    // yet. Indexes are asked in rising order; the ones skipped are dropped.
    FileState take(std::size_t index);

    // How far ahead of the last index taken the examining goes.
    static constexpr std::size_t kAhead = 1024;

private:
    void examine();

    FileSystem& m_fs;
    const std::string m_folder;
    const std::vector<DirEntry>& m_entries;
    std::vector<FileState> m_ring;          // entries[i] at i % kAhead
    std::atomic<std::size_t> m_examined{0}; // entries [0, m_examined) are examined
    std::atomic<std::size_t> m_taken{0};    // no state below it is asked for any more
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace quarvel
