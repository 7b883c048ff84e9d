#pragma once

namespace quarvel {

// SIGINT and SIGTERM ask the run to stop after the operation under way:
// the handler only records the request (and wakes a waiting prompt through
// a pipe), so no operation is cut off half done. Used by the command line
// and the window alike.
void installStopSignalHandlers();

// True once SIGINT or SIGTERM has arrived.
bool stopSignalled();

// The stop signal that arrived last (SIGINT or SIGTERM), 0 before any.
int stopSignalNumber();

// A descriptor that becomes readable when a stop signal arrives (-1 before
// the handlers are installed): a prompt waits on it beside its input, the
// window watches it from its event loop. Reading from it is allowed; the
// request itself stays recorded.
int stopSignalWakeFd();

// Empties the wake-up descriptor after it became readable, so that a watcher
// is woken once per signal.
void drainStopSignalWakeFd();

// Blocks the stop signals in the calling thread, so that they are delivered
// to the run's thread (for helper threads).
void blockStopSignalsInThisThread();

} // namespace quarvel
