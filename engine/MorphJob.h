#pragma once

#include "engine/Confirmation.h"
#include "engine/RunContext.h"
#include "engine/RunObserver.h"
#include "engine/RunOptions.h"
#include "platform/FileSystem.h"

namespace quarvel {

// One morph run: walks the selected files, carries out every operation the
// options ask for, hands each record to `observer` as it happens and asks
// `confirmer` before each one in an interactive run. `stop` is asked between
// operations. The folders of `options` get their trailing separator here.
// Ends with one flush per written file system, so that the results are on
// disk when the summary is handed on.
RunSummary RunMorphJob(RunOptions options, FileSystem& fs, Confirmer& confirmer,
                       RunObserver& observer, const StopRequest& stop = {});

} // namespace quarvel
