#pragma once

namespace quarvel {

// The window program from start to end: checks that there is a display to
// show the window on, sets up the application (company key "Brantwick
// Labs", application "Quarvel") and runs the session over the user's
// settings store and the real file system. Returns the exit code.
int startQuarvel(int argc, char** argv);

} // namespace quarvel
