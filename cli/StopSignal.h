#pragma once

namespace quarvel::cli {

// SIGINT and SIGTERM ask the run to stop after the operation under way:
// the handler only records the request (and wakes a waiting prompt through
// a pipe), so no operation is cut off half done.
void installStopSignalHandlers();

// True once SIGINT or SIGTERM has arrived.
bool stopSignalled();

// A descriptor that becomes readable when a stop signal arrives (-1 before
// the handlers are installed); a prompt waits on it beside its input.
int stopSignalWakeFd();

// Blocks the stop signals in the calling thread, so that they are delivered
// to the run's thread (for helper threads).
void blockStopSignalsInThisThread();

} // namespace quarvel::cli
