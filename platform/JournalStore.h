#pragma once

#include "platform/FileDescriptor.h"
#include "platform/Status.h"

#include <string>

namespace quarvel {

// An open journal: its folder (ending with the separator) and its entry
// file, locked for as long as this object lives.
struct OpenJournal
{
    std::string folder;
    FileDescriptor file;
};

// Where the undo journals live: one folder per run (run-XXXXXX) below the
// state folder, and "last", a symbolic link naming the newest. Each journal's
// entry file is locked (flock) while a run writes it or an undo reads it, so
// that neither removes the other's folder. Only the last run's journal is
// kept: starting a new one removes every older one that is not in use.
class JournalStore
{
public:
    explicit JournalStore(std::string stateFolder) : m_state(std::move(stateFolder)) {}

    // Makes a new, empty journal (the state folder too, private to the
    // user), points "last" at it and removes the older ones.
    Status create(OpenJournal& journal);

    // Opens the last run's journal for reading: ENOENT when there is none,
    // EBUSY while its run is still under way.
    Status openLast(OpenJournal& journal);

    // Removes a journal folder and, when it is the last one, "last".
    void remove(OpenJournal& journal);

    // Replaces the journal's entries with `text` (an undo that could not
    // reverse everything keeps what is left).
    static Status rewrite(OpenJournal& journal, const std::string& text);

    // The whole entry file.
    static Status read(const OpenJournal& journal, std::string& text);

    // Removes one file of the journal folder (a kept file).
    static void removeEntry(const OpenJournal& journal, const std::string& name);

    // Flushes the file system the journal is on.
    static void sync(const OpenJournal& journal);

    static constexpr const char* kEntryFile = "journal";

private:
    Status makeStateFolder();
    void removeOthers(const std::string& keep);

    std::string m_state;
};

} // namespace quarvel
