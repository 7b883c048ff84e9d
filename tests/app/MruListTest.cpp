#include "app/MruList.h"

#include "app/VectorSortedList.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace quarvel {
namespace {

const std::string Y = kHistorySeparator;

struct History
{
    explicit History(std::string stored) : field(std::move(stored))
    {
        SplitHistory(field, history, list);
    }
    std::string field;
    MruList history;
    VectorSortedList list;
};

using Entries = std::vector<std::string>;

TEST(SplitHistory, SplitsOldestFirstAndKeepsTheNewestInTheField)
{
    History h("X" + Y + "Y" + Y + "Z");
    EXPECT_EQ(h.history.entries(), (Entries{"X", "Y", "Z"}));
    EXPECT_EQ(h.field, "Z");
    EXPECT_EQ(JoinHistory(h.history), "X" + Y + "Y" + Y + "Z");
}

TEST(SplitHistory, EmptyPiecesAndDuplicatesAreEntries)
{
    History h(Y + "a" + Y + Y + "a" + Y);
    EXPECT_EQ(h.history.entries(), (Entries{"", "a", "", "a", ""}));
    EXPECT_EQ(h.list.count(), 5);
    EXPECT_EQ(h.field, "");
}

TEST(SplitHistory, AnEmptyStoreGivesOneEmptyEntry)
{
    History h("");
    EXPECT_EQ(h.history.entries(), (Entries{""}));
    EXPECT_EQ(h.list.count(), 1);
}

TEST(SplitHistory, AnEntryHoldingTheSeparatorComesBackAsTwo)
{
    History h("*.txt");
    NoteHistory(h.history, h.list, "a" + Y + "b");
    History next(JoinHistory(h.history));
    EXPECT_EQ(next.history.entries(), (Entries{"*.txt", "a", "b"}));
}

TEST(SplitHistory, OnlyTheTwoByteSeparatorSplits)
{
    // A lone 0xA5 byte (not the UTF-8 yen sign) is part of an entry.
    History h("a\xA5"
              "b");
    EXPECT_EQ(h.history.entries(), (Entries{"a\xA5"
                                            "b"}));
}

TEST(NoteHistory, AddsANewValueAsNewestAndLeavesAPresentOneWhereItIs)
{
    History h("a" + Y + "b");
    NoteHistory(h.history, h.list, "a");
    EXPECT_EQ(h.history.entries(), (Entries{"a", "b"}));
    NoteHistory(h.history, h.list, "c");
    EXPECT_EQ(h.history.entries(), (Entries{"a", "b", "c"}));
    EXPECT_EQ(h.list.items(), (Entries{"a", "b", "c"}));
}

std::string stored(int n)
{
    std::string text;
    for (int i = 0; i < n; ++i)
        text += (i ? Y : "") + "m" + std::to_string(i);
    return text;
}

TEST(NoteHistory, NinePlusOneNewDropsTheOldestFromHistoryAndList)
{
    History h(stored(9));
    NoteHistory(h.history, h.list, "new");
    ASSERT_EQ(h.history.entries().size(), 9u);
    EXPECT_EQ(h.history.entries().front(), "m1");
    EXPECT_EQ(h.history.entries().back(), "new");
    EXPECT_EQ(h.list.count(), 9);
    for (const std::string& item : h.list.items())
        EXPECT_NE(item, "m0");
}

TEST(NoteHistory, ExactlyTenLoadedLosesTheOldestEvenWhenNothingIsAdded)
{
    History h(stored(10));
    NoteHistory(h.history, h.list, "m5");
    EXPECT_EQ(h.history.entries().size(), 9u);
    EXPECT_EQ(h.history.entries().front(), "m1");
}

TEST(NoteHistory, MoreThanTenLoadedIsNeverTrimmed)
{
    History h(stored(11));
    NoteHistory(h.history, h.list, "new");
    EXPECT_EQ(h.history.entries().size(), 12u);
    EXPECT_EQ(h.list.count(), 12);
}

TEST(NoteHistory, RemovesOnlyTheListItemOfTheOldestEntry)
{
    History h("Ab" + Y + "ab2" + Y + stored(7));
    ASSERT_EQ(h.history.entries().size(), 9u);
    NoteHistory(h.history, h.list, "new");
    EXPECT_EQ(h.history.entries().front(), "ab2");
    const Entries& items = h.list.items();
    EXPECT_EQ(std::count(items.begin(), items.end(), "Ab"), 0);
    EXPECT_EQ(std::count(items.begin(), items.end(), "ab2"), 1);
    EXPECT_EQ(items.size(), 9u);
}

TEST(VectorSortedList, SortsAlphabeticallyIgnoringCase)
{
    VectorSortedList list;
    for (const char* item : {"b", "A", "a", "C", ""})
        list.addItem(item);
    EXPECT_EQ(list.items(), (Entries{"", "A", "a", "b", "C"}));
}

} // namespace
} // namespace quarvel
