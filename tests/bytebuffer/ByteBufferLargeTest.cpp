#include "engine/ByteBuffer.h"

#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace quarvel {
namespace {

std::int64_t AvailableMemory()
{
    std::ifstream meminfo("/proc/meminfo");
    std::string key;
    std::int64_t kibibytes = 0;
    while (meminfo >> key >> kibibytes) {
        if (key == "MemAvailable:")
            return kibibytes * 1024;
        meminfo.ignore(64, '\n');
    }
    return 0;
}

// Content beyond 2 GiB must keep working: positions and counts past the
// 32-bit range, a result that is larger still, and exact capacity figures.
TEST(ByteBufferLarge, ContentBeyondTwoGibibytes)
{
    constexpr std::int64_t kGiB = std::int64_t{1} << 30;
    constexpr std::int64_t kSize = 2 * kGiB + (std::int64_t{1} << 20);
    if (AvailableMemory() < 3 * kSize)
        GTEST_SKIP() << "needs about " << 3 * kSize / kGiB << " GiB of free memory";

    ByteBuffer buffer;
    ASSERT_TRUE(buffer.ReserveStorage(kSize));
    const std::string chunk(std::size_t{1} << 20, '.');
    while (buffer.length() < kSize)
        ASSERT_TRUE(buffer.AppendBytes(chunk.data(), std::int64_t(chunk.size())));
    ASSERT_EQ(buffer.length(), kSize);
    EXPECT_EQ(buffer.capacity(), 2148540000); // kSize rounded up to whole steps

    // Needles before, across and beyond the 2^31 boundary.
    char* bytes = const_cast<char*>(buffer.data());
    const std::int64_t places[] = {5, 2 * kGiB - 3, 2 * kGiB + 100, kSize - 6};
    for (std::int64_t at : places)
        std::memcpy(bytes + at, "needle", 6);

    ASSERT_EQ(ReplaceAll(buffer, "needle", "NEEDLES!", 0, 1, 0, 0), 4);
    ASSERT_EQ(buffer.length(), kSize + 8);
    for (int i = 0; i < 4; ++i) {
        const std::int64_t at = places[i] + 2 * i;
        EXPECT_EQ(buffer.view().substr(std::size_t(at - 1), 10),
                  ".NEEDLES!" + std::string(i < 3, '.'));
    }
    EXPECT_EQ(buffer.capacity(), 2148540000); // 8 more bytes still fit the last step
}

} // namespace
} // namespace quarvel
