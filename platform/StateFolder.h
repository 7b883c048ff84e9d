#pragma once

#include <string>

namespace quarvel {

// The program's folder for state that outlives a run (the undo journal):
// $XDG_STATE_HOME/quarvel/, or $HOME/.local/state/quarvel/ when that is unset
// or not an absolute path. Ends with the separator; nothing is created.
std::string stateFolder();

} // namespace quarvel
