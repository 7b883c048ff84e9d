#include "tests/support/TestEnvironment.h"

#include <cstdlib>
#include <string>
#include <sys/stat.h>

namespace quarvel::test {

void isolateEnvironment()
{
    const std::string home = QUARVEL_TEST_HOME;
    ::mkdir(home.c_str(), 0755);
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
    ::setenv("XDG_STATE_HOME", (home + "/.local/state").c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
}

} // namespace quarvel::test
