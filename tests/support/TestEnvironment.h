#pragma once

namespace quarvel::test {

// Points HOME and XDG_CONFIG_HOME at a folder in the build tree and selects
// Qt's offscreen platform, so that no test ever touches the real home folder
// or settings, however the test binary is started.
void isolateEnvironment();

} // namespace quarvel::test
