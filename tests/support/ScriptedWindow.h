#pragma once

#include "engine/RunWindow.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace quarvel::test {

// A RunWindow for tests: answers confirmations from a script (Yes when the
// script runs out) and records what the engine asked and showed.
class ScriptedWindow : public RunWindow
{
public:
    ConfirmResult askConfirmation(const std::string& message) override;
    void writeControls() override { ++writeControlsCalls; }
    void readControls() override
    {
        if (onReadControls)
            onReadControls();
    }
    void setProgressPosition(int position) override { positions.push_back(position); }
    void setProgressVisible(bool visible) override { visibility.push_back(visible); }
    void showSummary(const std::string& text) override { summaries.push_back(text); }

    std::deque<ConfirmResult> answers;
    std::vector<std::string> questions;
    std::vector<std::string> summaries;
    std::vector<int> positions;
    std::vector<bool> visibility;
    int writeControlsCalls = 0;
    std::function<void()> onReadControls;
};

} // namespace quarvel::test
