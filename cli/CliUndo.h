#pragma once

namespace quarvel::cli {

// --undo: reverses the last run (with `dryRun`, only tells what it would do),
// streaming one log line per reversal to standard output. Returns the exit
// status: 1 when a reversal failed or there is nothing to undo.
int undoLastRun(bool dryRun);

} // namespace quarvel::cli
