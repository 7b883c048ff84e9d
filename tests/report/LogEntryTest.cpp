#include "report/LogEntry.h"

#include <gtest/gtest.h>

namespace quarvel {
namespace {

std::string only(const OperationLog& log)
{
    EXPECT_EQ(log.size(), 1u);
    return std::string(log.line(0));
}

TEST(LogEntry, EveryKindBuildsItsExactLine)
{
    struct Case
    {
        LogEntryKind kind;
        std::string expected;
    };
    const Case cases[] = {
        {LogEntryKind::Copied, "Copied /a/x --> /b/x"},
        {LogEntryKind::Renamed, "Renamed /a/x --> /b/x"},
        {LogEntryKind::CreatedDirectory, "Created directory /a/x"},
        {LogEntryKind::Pair, "/a/x --> /b/x"},
        {LogEntryKind::Plain, "/a/x"},
        {static_cast<LogEntryKind>(9), "/a/x"},
        {static_cast<LogEntryKind>(-1), "/a/x"},
    };
    for (const Case& c : cases) {
        OperationLog log;
        AddLogEntry(log, c.kind, "/a/x", "/b/x");
        EXPECT_EQ(only(log), c.expected) << static_cast<int>(c.kind);
    }
}

TEST(LogEntry, CountsKeepThePluralAndAbsentCountReadsZero)
{
    OperationLog log;
    AddLogEntry(log, LogEntryKind::UpdatedFile, "/f", 1);
    AddLogEntry(log, LogEntryKind::CreatedFile, "/g", 12);
    AddLogEntry(log, LogEntryKind::UpdatedFile, "/h");
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log.line(0), "Updated file /f (1 changes)");
    EXPECT_EQ(log.line(1), "Created file /g (12 changes)");
    EXPECT_EQ(log.line(2), "Updated file /h (0 changes)");
    AddLogEntry(log, LogEntryKind::CreatedFile, "/big", std::int64_t{5000000000});
    EXPECT_EQ(log.line(3), "Created file /big (5000000000 changes)");
}

TEST(LogEntry, AbsentSecondTextAddsNothing)
{
    OperationLog log;
    AddLogEntry(log, LogEntryKind::Copied, "/a");
    AddLogEntry(log, LogEntryKind::Renamed, "/a");
    AddLogEntry(log, LogEntryKind::Pair, "User cancelled file morph");
    EXPECT_EQ(log.line(0), "Copied /a --> ");
    EXPECT_EQ(log.line(1), "Renamed /a --> ");
    EXPECT_EQ(log.line(2), "User cancelled file morph --> ");
}

TEST(LogEntry, FailureLinesAreCountedAndClearedWithTheLog)
{
    OperationLog log;
    AddLogEntry(log, LogEntryKind::Plain, "fine");
    AddFailure(log, "update file", "/a/b", "Permission denied");
    AddFailure(log, "rename", "/a/b", "/a/c", "File exists");
    EXPECT_EQ(log.failureCount(), 2);
    EXPECT_EQ(log.line(1), "Failed to update file /a/b: Permission denied");
    EXPECT_EQ(log.line(2), "Failed to rename /a/b --> /a/c: File exists");
    log.clear();
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(log.failureCount(), 0);
}

TEST(OperationLog, KeepsLinesWithAnyBytesInOrderAndTellsTheListener)
{
    struct Recorder : LogListener
    {
        std::vector<std::string> seen;
        void lineAdded(std::string_view line) override { seen.emplace_back(line); }
    } recorder;
    OperationLog log;
    log.setListener(&recorder);
    const std::string odd("a\0b\xff\r\n", 6);
    log.append("");
    log.append(odd);
    log.append("last");
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log.line(0), "");
    EXPECT_EQ(log.line(1), odd);
    EXPECT_EQ(log.line(2), "last");
    EXPECT_EQ(recorder.seen, (std::vector<std::string>{"", odd, "last"}));
}

} // namespace
} // namespace quarvel
