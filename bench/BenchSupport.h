#pragma once

#include "engine/RunWindow.h"

#include <cstdlib>
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

// A fresh folder for a benchmark's corpus, ending with '/': under
// $QUARVEL_BENCH_DIR, or /var/tmp (a disk, unlike /tmp on some systems).
inline std::string makeBenchFolder(const std::string& name)
{
    const char* base = std::getenv("QUARVEL_BENCH_DIR");
    std::string pattern = std::string(base != nullptr ? base : "/var/tmp") + "/" + name + "-XXXXXX";
    check(mkdtemp(pattern.data()) != nullptr, "mkdtemp");
    return pattern + "/";
}

} // namespace quarvel::bench
