#pragma once

#include <cstdint>

namespace quarvel {

// The counters of one run, reset at the start of every run.
struct RunState
{
    std::int32_t filesProcessed = 0; // every mask-selected file entry
    std::int32_t cancelAll = 0;      // 1 after "Cancel All": every confirmation refused
};

} // namespace quarvel
