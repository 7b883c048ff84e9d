#pragma once

#include "engine/RunWindow.h"

#include <stdexcept>
#include <string>

namespace quarvel::bench {

// The window of a run nobody watches: every question answered Yes.
class SilentWindow : public RunWindow
{
public:
    ConfirmResult askConfirmation(const std::string&) override { return ConfirmResult::Yes; }
    void writeControls() override {}
    void readControls() override {}
    void setProgressPosition(int) override {}
    void setProgressVisible(bool) override {}
    void showSummary(const std::string&) override {}
};

// Stops the benchmark when a set-up step or a result check fails.
inline void check(bool ok, const char* what)
{
    if (!ok)
        throw std::runtime_error(what);
}

} // namespace quarvel::bench
