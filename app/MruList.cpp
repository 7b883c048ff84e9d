#include "app/MruList.h"

#include <algorithm>
#include <cstring>

namespace quarvel {

namespace {

constexpr std::size_t kHistoryLimit = 10;

bool beginsWithIgnoringCase(const std::string& text, const std::string& prefix)
{
    if (prefix.size() > text.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        unsigned char a = static_cast<unsigned char>(text[i]);
        unsigned char b = static_cast<unsigned char>(prefix[i]);
        if (a >= 'A' && a <= 'Z')
            a = static_cast<unsigned char>(a - 'A' + 'a');
        if (b >= 'A' && b <= 'Z')
            b = static_cast<unsigned char>(b - 'A' + 'a');
        if (a != b)
            return false;
    }
    return true;
}

void addEntry(MruList& history, SortedList& list, const std::string& entry)
{
    history.entries().push_back(entry);
    list.addItem(entry);
}

} // namespace

void SplitHistory(std::string& field, MruList& history, SortedList& list)
{
    const std::size_t separatorLength = std::strlen(kHistorySeparator);
    std::size_t found;
    while ((found = field.find(kHistorySeparator)) != std::string::npos) {
        addEntry(history, list, field.substr(0, found));
        field.erase(0, found + separatorLength);
    }
    addEntry(history, list, field);
}

void NoteHistory(MruList& history, SortedList& list, const std::string& value)
{
    auto& entries = history.entries();
    if (std::find(entries.begin(), entries.end(), value) == entries.end())
        addEntry(history, list, value);
    if (entries.size() != kHistoryLimit)
        return;
    const std::string oldest = entries.front();
    entries.erase(entries.begin());
    for (int i = 0; i < list.count(); ++i) {
        if (beginsWithIgnoringCase(list.itemText(i), oldest)) {
            list.removeItem(i);
            return;
        }
    }
}

std::string JoinHistory(const MruList& history)
{
    std::string joined;
    const auto& entries = history.entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i > 0)
            joined += kHistorySeparator;
        joined += entries[i];
    }
    return joined;
}

} // namespace quarvel
