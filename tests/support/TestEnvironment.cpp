#include "tests/support/TestEnvironment.h"

#include "tests/support/TempDir.h"

#include <cstdlib>
#include <string>
#include <sys/stat.h>

namespace quarvel::test {

void isolateEnvironment()
{
    // A home of its own for each test process, removed at exit: ctest runs
    // tests in parallel, and two of them sharing the state folder would see
    // each other's undo journal (a run "still under way", or the wrong run).
    const std::string base = QUARVEL_TEST_HOME;
    ::mkdir(base.c_str(), 0755);
    static const TempDir home(base);
    const std::string path = home.path().substr(0, home.path().size() - 1);
    ::setenv("HOME", path.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (path + "/.config").c_str(), 1);
    ::setenv("XDG_STATE_HOME", (path + "/.local/state").c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
}

} // namespace quarvel::test
