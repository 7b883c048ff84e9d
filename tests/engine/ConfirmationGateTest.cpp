#include "engine/ConfirmationGate.h"

#include <deque>
#include <gtest/gtest.h>

namespace quarvel {
namespace {

struct Script : Confirmer
{
    std::deque<ConfirmResult> answers;
    int asked = 0;
    ConfirmResult confirm(const ConfirmationQuestion&) override
    {
        ++asked;
        const ConfirmResult answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

// Each decision as (go ahead, the rule change it records).
using Decision = std::pair<bool, std::optional<OperationKind>>;

std::vector<Decision> decide(ConfirmationGate& gate, int times)
{
    std::vector<Decision> decisions;
    for (int i = 0; i < times; ++i) {
        const auto d = gate.decide({"Morph file", std::nullopt, std::nullopt});
        decisions.emplace_back(d.goAhead, d.ruleChange);
    }
    return decisions;
}

TEST(ConfirmationGate, NonInteractiveGoesAheadWithoutAsking)
{
    Script script;
    ConfirmationGate gate(false, script);
    EXPECT_EQ(decide(gate, 2), (std::vector<Decision>{{true, {}}, {true, {}}}));
    EXPECT_EQ(script.asked, 0);
}

TEST(ConfirmationGate, YesAndNoAskEveryTime)
{
    Script script;
    script.answers = {ConfirmResult::Yes, ConfirmResult::No, ConfirmResult::Yes};
    ConfirmationGate gate(true, script);
    EXPECT_EQ(decide(gate, 3), (std::vector<Decision>{{true, {}}, {false, {}}, {true, {}}}));
    EXPECT_EQ(script.asked, 3);
    EXPECT_FALSE(gate.cancelledAll());
}

TEST(ConfirmationGate, YesAllAndCancelAllAreRecordedOnceAndLast)
{
    Script yes;
    yes.answers = {ConfirmResult::YesAll};
    ConfirmationGate yesGate(true, yes);
    EXPECT_EQ(decide(yesGate, 3),
              (std::vector<Decision>{{true, OperationKind::ConfirmAll}, {true, {}}, {true, {}}}));
    EXPECT_EQ(yes.asked, 1);

    Script cancel;
    cancel.answers = {ConfirmResult::CancelAll};
    ConfirmationGate cancelGate(true, cancel);
    EXPECT_EQ(decide(cancelGate, 3),
              (std::vector<Decision>{{false, OperationKind::CancelAll}, {false, {}}, {false, {}}}));
    EXPECT_EQ(cancel.asked, 1);
    EXPECT_TRUE(cancelGate.cancelledAll());
}

} // namespace
} // namespace quarvel
