#pragma once

#include <string>
#include <vector>

namespace quarvel::cli {

// Exit statuses of quarvel-cli.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailures = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitInterrupted = 130;

// The whole command: reads the arguments (without the program name), runs
// one morph run through the engine with the log streamed to standard
// output, and returns the exit status.
int runCli(const std::vector<std::string>& arguments);

} // namespace quarvel::cli
