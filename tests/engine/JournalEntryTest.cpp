#include "engine/JournalEntry.h"

#include <gtest/gtest.h>

namespace quarvel::test {
namespace {

TEST(JournalEntryTest, PathsOfAnyBytesSurviveTheLineAndDamageIsRefused)
{
    JournalEntry entry;
    entry.kind = JournalEntry::Kind::Replaced;
    entry.path = std::string("/t/a\tb\nc%41\r\xff\xfe", 14);
    entry.original = "/t/A B.TXT";
    entry.kept = "kept-7";
    entry.before = {true, 0100640, 1000, 100, 12, 1796910680412679034, 65024, 42};
    entry.after = {true, 0100640, 1000, 100, 13, 1796910680428679034, 65024, 43};
    const std::string line = EncodeJournalEntry(entry);
    EXPECT_EQ(line.find('\n'), std::string::npos);

    const auto back = DecodeJournalEntry(line);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->path, entry.path);
    EXPECT_EQ(back->original, entry.original);
    EXPECT_EQ(back->kept, entry.kept);
    EXPECT_TRUE(back->after.unchangedSince(entry.after));
    EXPECT_EQ(back->before.uid, 1000u);
    EXPECT_FALSE(back->before.unchangedSince(entry.after));

    for (const std::size_t cut : {std::size_t{3}, line.size() / 2})
        EXPECT_FALSE(DecodeJournalEntry(line.substr(0, cut))) << cut;
    EXPECT_FALSE(DecodeJournalEntry("moved\t/a\t/b\t\t-\t-"));
    EXPECT_FALSE(DecodeJournalEntry("folder\t/a%4\t\t\t-\t-"));
}

} // namespace
} // namespace quarvel::test
