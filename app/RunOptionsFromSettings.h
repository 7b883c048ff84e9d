#pragma once

#include "app/MorphSettings.h"
#include "engine/RunOptions.h"

namespace quarvel {

// The run the stored settings describe: a flag is on when it is not 0, the
// output folder counts only while "Copy updated files to" is on. Mask and
// Pattern must hold their working values (not the joined histories).
RunOptions RunOptionsFrom(const MorphSettings& settings);

} // namespace quarvel
