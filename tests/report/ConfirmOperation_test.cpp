#include "report/ConfirmOperation.h"

#include <deque>
#include <gtest/gtest.h>

namespace quarvel {
namespace {

struct Prompt : ConfirmationPrompt
{
    std::deque<ConfirmResult> answers;
    std::vector<std::string> asked;
    int writes = 0;
    ConfirmResult askConfirmation(const std::string& message) override
    {
        asked.push_back(message);
        const ConfirmResult answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void writeControls() override { ++writes; }
};

struct ConfirmTest : ::testing::Test
{
    int confirm(const std::string* subject = nullptr, const std::string* target = nullptr)
    {
        return ConfirmOperation(ConfirmScope{interactive, cancelAll, prompt, log}, "Morph file",
                                subject, target);
    }
    std::int32_t interactive = 1;
    std::int32_t cancelAll = 0;
    Prompt prompt;
    OperationLog log;
};

TEST(ConfirmMessage, LaysOutActionSubjectAndTarget)
{
    const std::string subject = "/a/Old.TXT";
    const std::string target = "/a/old.txt";
    EXPECT_EQ(ConfirmMessage("Create Directory", nullptr, nullptr), "Create Directory");
    EXPECT_EQ(ConfirmMessage("Create file", &subject, nullptr), "Create file\r\n/a/Old.TXT");
    EXPECT_EQ(ConfirmMessage("Morph file", &subject, &target),
              "Morph file\r\n/a/Old.TXT to \r\n/a/old.txt");
}

TEST_F(ConfirmTest, NonInteractiveAnswersAtOnceAndHonoursCancelAll)
{
    interactive = 0;
    EXPECT_EQ(confirm(), 1);
    cancelAll = 1;
    EXPECT_EQ(confirm(), 0);
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_TRUE(log.empty());
}

TEST_F(ConfirmTest, YesAndNoAreNotLoggedAndAskAgain)
{
    prompt.answers = {ConfirmResult::Yes, ConfirmResult::No, ConfirmResult::Yes};
    EXPECT_EQ(confirm(), 1);
    EXPECT_EQ(confirm(), 0);
    EXPECT_EQ(confirm(), 1);
    EXPECT_EQ(prompt.asked.size(), 3u);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(interactive, 1);
}

TEST_F(ConfirmTest, YesAllClearsInteractiveShowsItAndLogsOnce)
{
    prompt.answers = {ConfirmResult::YesAll};
    EXPECT_EQ(confirm(), 1);
    EXPECT_EQ(interactive, 0);
    EXPECT_EQ(prompt.writes, 1);
    EXPECT_EQ(confirm(), 1);
    EXPECT_EQ(prompt.asked.size(), 1u);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log.line(0), "User confirmed all operations");
}

TEST_F(ConfirmTest, CancelAllRefusesEverythingLaterWithoutAsking)
{
    prompt.answers = {ConfirmResult::CancelAll};
    EXPECT_EQ(confirm(), 0);
    EXPECT_EQ(cancelAll, 1);
    EXPECT_EQ(confirm(), 0);
    EXPECT_EQ(confirm(), 0);
    EXPECT_EQ(prompt.asked.size(), 1u);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log.line(0), "User cancelled all operations");
}

} // namespace
} // namespace quarvel
