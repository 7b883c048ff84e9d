#include "engine/ByteBuffer.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

// Allocation failure is part of the contract; let the sanitizer allocator
// answer an impossible request with null, as the system allocator does.
extern "C" const char* __asan_default_options()
{
    return "allocator_may_return_null=1";
}

namespace quarvel {
namespace {

std::string Bytes(std::int64_t n, char fill = 'x')
{
    return std::string(static_cast<std::size_t>(n), fill);
}

TEST(ByteBuffer, NewBufferHasNothing)
{
    ByteBuffer buffer;
    EXPECT_EQ(buffer.capacity(), 0);
    EXPECT_EQ(buffer.length(), 0);
    EXPECT_FALSE(buffer.hasStorage());
    EXPECT_TRUE(buffer.view().empty());
}

TEST(ByteBuffer, CapacityGrowsInSteps)
{
    ByteBuffer buffer;
    ASSERT_TRUE(buffer.AppendBytes("a", 1));
    EXPECT_EQ(buffer.capacity(), 10000);
    EXPECT_EQ(buffer.length(), 1);

    // Reaching the capacity exactly keeps it; passing it adds one step.
    ASSERT_TRUE(buffer.AppendBytes(Bytes(9999).data(), 9999));
    EXPECT_EQ(buffer.capacity(), 10000);
    ASSERT_TRUE(buffer.AppendBytes("b", 1));
    EXPECT_EQ(buffer.capacity(), 20000);

    // One large append takes as many steps as it needs.
    ASSERT_TRUE(buffer.AppendBytes(Bytes(25000).data(), 25000));
    EXPECT_EQ(buffer.length(), 35001);
    EXPECT_EQ(buffer.capacity(), 40000);
    // Appended piece by piece: GCC 12 takes `"a" + std::string&&` at -O3 for an
    // overlapping copy (a false -Wrestrict).
    std::string expected("a");
    expected += Bytes(9999);
    expected += 'b';
    expected += Bytes(25000);
    EXPECT_EQ(buffer.view(), expected);
}

TEST(ByteBuffer, AppendingNothingToNewBufferObtainsStorageOnly)
{
    ByteBuffer buffer;
    ASSERT_TRUE(buffer.AppendBytes(nullptr, 0));
    EXPECT_TRUE(buffer.hasStorage());
    EXPECT_EQ(buffer.capacity(), 0);
    EXPECT_EQ(buffer.length(), 0);
}

TEST(ByteBuffer, ResetKeepsCapacityAndStorage)
{
    ByteBuffer buffer;
    ASSERT_TRUE(buffer.AppendBytes(Bytes(15000).data(), 15000));
    const char* storage = buffer.data();
    buffer.Reset();
    EXPECT_EQ(buffer.length(), 0);
    EXPECT_EQ(buffer.capacity(), 20000);
    EXPECT_EQ(buffer.data(), storage);
    EXPECT_EQ(buffer.data()[0], 0);

    // The next file fits without growing the figure.
    ASSERT_TRUE(buffer.AppendText("next"));
    EXPECT_EQ(buffer.capacity(), 20000);
    EXPECT_EQ(buffer.view(), "next");
}

TEST(ByteBuffer, AssignMakesAnIndependentCopy)
{
    ByteBuffer source;
    ASSERT_TRUE(source.AppendBytes(Bytes(12345, 'q').data(), 12345));
    ByteBuffer target;
    ASSERT_TRUE(target.AppendText("old"));
    ASSERT_TRUE(target.Assign(source));
    EXPECT_EQ(target.capacity(), 20000);
    EXPECT_EQ(target.length(), 12345);
    EXPECT_NE(target.data(), source.data());

    source.Reset();
    ASSERT_TRUE(source.AppendText("changed"));
    EXPECT_EQ(target.view(), Bytes(12345, 'q'));
}

TEST(ByteBuffer, AssignFromEmptyLeavesNoStorage)
{
    ByteBuffer empty;
    ByteBuffer target;
    ASSERT_TRUE(target.AppendText("content"));
    ASSERT_TRUE(target.Assign(empty));
    EXPECT_FALSE(target.hasStorage());
    EXPECT_EQ(target.capacity(), 0);
    EXPECT_EQ(target.length(), 0);
}

TEST(ByteBuffer, ReservedStorageIsFilledWithoutMoving)
{
    constexpr std::int64_t kTotal = 1 << 20;
    ByteBuffer buffer;
    ASSERT_TRUE(buffer.ReserveStorage(kTotal));
    EXPECT_EQ(buffer.capacity(), 0);
    const std::string chunk = Bytes(2048, 'c');
    ASSERT_TRUE(buffer.AppendBytes(chunk.data(), 2048));
    const char* storage = buffer.data();
    for (std::int64_t done = 2048; done < kTotal; done += 2048)
        ASSERT_TRUE(buffer.AppendBytes(chunk.data(), 2048));
    EXPECT_EQ(buffer.data(), storage);
    EXPECT_EQ(buffer.length(), kTotal);
    EXPECT_EQ(buffer.capacity(), 1050000); // 1048576 rounded up to whole steps
}

TEST(ByteBuffer, FilledRoomCountsAsAppendedContent)
{
    ByteBuffer buffer;
    std::int64_t room = -1;
    EXPECT_EQ(buffer.FreeRoom(room), nullptr);
    EXPECT_EQ(room, 0);
    ASSERT_TRUE(buffer.AppendText("ab"));
    ASSERT_TRUE(buffer.ReserveStorage(25002));
    char* free = buffer.FreeRoom(room);
    ASSERT_EQ(free, buffer.data() + 2);
    ASSERT_GE(room, 25000);
    std::memset(free, 'z', 25000);
    buffer.CommitRoom(25000);
    EXPECT_EQ(buffer.length(), 25002);
    EXPECT_EQ(buffer.capacity(), 30000); // as appending the bytes would give
    EXPECT_EQ(buffer.view().substr(0, 3), "abz");
    // More than the room holds is not taken.
    buffer.CommitRoom(room);
    EXPECT_EQ(buffer.length(), 25002);
}

TEST(ByteBuffer, AppendsItsOwnContentAcrossGrowth)
{
    ByteBuffer buffer;
    ASSERT_TRUE(buffer.AppendText("abc"));
    for (int round = 0; round < 16; ++round)
        ASSERT_TRUE(buffer.AppendBytes(buffer.data(), buffer.length()));
    EXPECT_EQ(buffer.length(), 3 << 16);
    EXPECT_EQ(buffer.view().substr(buffer.view().size() - 6), "abcabc");
}

TEST(ByteBuffer, RejectedAppendsLeaveBufferUnchanged)
{
    ByteBuffer buffer;
    ASSERT_TRUE(buffer.AppendText("keep"));
    EXPECT_FALSE(buffer.AppendBytes("x", -1));
    EXPECT_FALSE(buffer.AppendBytes(nullptr, 3));
    EXPECT_FALSE(buffer.AppendBytes("x", INT64_MAX));
    EXPECT_FALSE(buffer.ReserveStorage(std::int64_t{1} << 50));
    EXPECT_EQ(buffer.view(), "keep");
    EXPECT_EQ(buffer.capacity(), 10000);
}

TEST(ByteBuffer, MoveHandsStorageOver)
{
    ByteBuffer source;
    ASSERT_TRUE(source.AppendText("moved"));
    const char* storage = source.data();
    ByteBuffer target(std::move(source));
    EXPECT_EQ(target.data(), storage);
    EXPECT_EQ(target.view(), "moved");
    EXPECT_FALSE(source.hasStorage()); // NOLINT(bugprone-use-after-move)
    EXPECT_EQ(source.capacity(), 0);   // NOLINT(bugprone-use-after-move)

    ByteBuffer other;
    ASSERT_TRUE(other.AppendText("old"));
    other = std::move(target);
    EXPECT_EQ(other.view(), "moved");
    EXPECT_EQ(other.capacity(), 10000);
}

} // namespace
} // namespace quarvel
