#include "engine/OrderedPipeline.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>
#include <vector>

namespace quarvel::test {
namespace {

using namespace std::chrono_literals;

// Items in chains of three: the work of each item after the first in its
// chain waits for the one before. Unchained items run side by side.
TEST(OrderedPipelineTest, ChainedWorkNeverOverlapsAndCommitsFollowTheAdds)
{
    constexpr int kItems = 60;
    std::vector<std::atomic<int>> started(kItems); // 1 once its work began, 2 once done
    std::atomic<bool> overlapped{false};
    std::vector<int> committed;
    {
        OrderedPipeline pipeline(3, 8, {});
        for (int i = 0; i < kItems; ++i) {
            const bool chained = i % 3 != 0;
            pipeline.add(
                [&, i, chained](int) {
                    if (chained && started[i - 1] != 2)
                        overlapped = true;
                    started[i] = 1;
                    std::this_thread::sleep_for(std::chrono::microseconds((kItems - i) * 20));
                    started[i] = 2;
                },
                [&committed, i] { committed.push_back(i); }, chained);
        }
        pipeline.drain();
    }
    EXPECT_FALSE(overlapped);
    ASSERT_EQ(committed.size(), static_cast<std::size_t>(kItems));
    for (int i = 0; i < kItems; ++i)
        EXPECT_EQ(committed[i], i);
}

// A stop after the first commit: items whose work began are committed in
// order (CommitStarted) or not at all (DropStarted); the others never run.
TEST(OrderedPipelineTest, AStopCommitsOrDropsTheStartedItems)
{
    for (const auto onStop :
         {OrderedPipeline::OnStop::CommitStarted, OrderedPipeline::OnStop::DropStarted}) {
        constexpr int kItems = 40;
        std::vector<std::atomic<bool>> started(kItems);
        std::vector<int> committed;
        std::atomic<bool> stop{false};
        {
            OrderedPipeline pipeline(
                2, 10, [&stop] { return stop.load(); }, onStop);
            for (int i = 0; i < kItems; ++i) {
                pipeline.add(
                    [&started, i](int) {
                        started[i] = true;
                        std::this_thread::sleep_for(i == 0 ? 20ms : 1ms);
                    },
                    [&, i] {
                        committed.push_back(i);
                        stop = true;
                    });
            }
            pipeline.drain();
            EXPECT_TRUE(pipeline.abandoned());
        }
        ASSERT_FALSE(committed.empty());
        EXPECT_EQ(committed.front(), 0);
        int begun = 0;
        for (int i = 0; i < kItems; ++i)
            begun += started[i] ? 1 : 0;
        EXPECT_LT(begun, kItems);
        if (onStop == OrderedPipeline::OnStop::DropStarted) {
            EXPECT_EQ(committed.size(), 1u);
            continue;
        }
        // Every started item committed, in order, and no other.
        std::vector<int> expected;
        for (int i = 0; i < kItems; ++i) {
            if (started[i])
                expected.push_back(i);
        }
        EXPECT_EQ(committed, expected);
    }
}

} // namespace
} // namespace quarvel::test
