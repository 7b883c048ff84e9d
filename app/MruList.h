#pragma once

#include "app/SortedList.h"

#include <string>
#include <vector>

namespace quarvel {

// A history of used values (mask or pattern), oldest first. Entries keep the
// order in which they were first added; they compare as exact byte strings.
class MruList
{
public:
    const std::vector<std::string>& entries() const { return m_entries; }
    std::vector<std::string>& entries() { return m_entries; }

private:
    std::vector<std::string> m_entries;
};

// The separator of the stored form: the yen sign, in UTF-8 (C2 A5).
inline constexpr char kHistorySeparator[] = "\xC2\xA5";

// Splits the stored form held by `field` into `history` and `list`; the
// field keeps the newest entry. Empty pieces are entries; nothing is
// de-duplicated or trimmed.
void SplitHistory(std::string& field, MruList& history, SortedList& list);

// Remembers a value a run used: added as the newest entry unless present;
// then, if the history holds exactly 10 entries, the oldest is removed, and
// the first list item that begins with it (ignoring case) goes too.
void NoteHistory(MruList& history, SortedList& list, const std::string& value);

// The stored form: entries oldest first with the separator between them.
std::string JoinHistory(const MruList& history);

} // namespace quarvel
