#include "platform/StateFolder.h"

#include "platform/Path.h"

#include <cstdlib>

namespace quarvel {

std::string stateFolder()
{
    const char* state = std::getenv("XDG_STATE_HOME");
    std::string folder;
    if (state != nullptr && state[0] == kSeparator) {
        folder = state;
    } else {
        folder = homeFolder();
        ensureTrailingSeparator(folder);
        folder += ".local/state";
    }
    ensureTrailingSeparator(folder);
    return folder + "quarvel/";
}

} // namespace quarvel
