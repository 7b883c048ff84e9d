#pragma once

namespace quarvel::test {

// Points HOME, XDG_CONFIG_HOME and XDG_STATE_HOME at a folder in the build tree and selects
// Qt's offscreen platform, so that no test ever touches the real home folder
// settings or state, however the test binary is started.
void isolateEnvironment();

} // namespace quarvel::test
