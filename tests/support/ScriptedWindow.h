#pragma once

#include "engine/Confirmation.h"
#include "engine/RunObserver.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace quarvel::test {

// A front end's window for tests: answers confirmations from a script (Yes
// when the script runs out) and records what the run asked and showed.
class ScriptedWindow : public Confirmer, public RunObserver
{
public:
    ConfirmResult confirm(const ConfirmationQuestion& question) override;
    void runStarted(const RunOptions&) override { visibility.push_back(true); }
    void progressed(int position, std::int32_t) override { positions.push_back(position); }
    void operationDone(const Operation&) override {}
    void runFinished(const RunSummary&) override { visibility.push_back(false); }

    void writeControls() { ++writeControlsCalls; }
    void readControls()
    {
        if (onReadControls)
            onReadControls();
    }
    void showSummary(const std::string& text) { summaries.push_back(text); }
    // Asked between operations: true stops the run after the current one.
    virtual bool stopRequested() { return false; }

    std::deque<ConfirmResult> answers;
    std::vector<std::string> questions;
    std::vector<std::string> summaries;
    std::vector<int> positions;
    std::vector<bool> visibility;
    int writeControlsCalls = 0;
    std::function<void()> onReadControls;
};

} // namespace quarvel::test
