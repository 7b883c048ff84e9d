#pragma once

#include <string>

namespace quarvel::cli {

// "Usage: quarvel-cli [OPTIONS] START_DIR" and a newline.
std::string usageLine();
// The full --help text.
std::string helpText();
// The --version text.
std::string versionText();

} // namespace quarvel::cli
