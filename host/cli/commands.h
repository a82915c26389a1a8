// The commands of explorer-cli over the library's entry points and folder store.
#pragma once

#include <string>
#include <vector>

namespace explorer_cli {

// Exit codes: success, a negative answer (a folder that does not exist), bad input or a failure.
constexpr int kExitOk = 0;
constexpr int kExitNo = 1;
constexpr int kExitError = 2;

// Runs the whole command line (without the program name) and returns the exit code; results go
// to standard output, messages to standard error.
int Run(const std::vector<std::string>& args);

} // namespace explorer_cli
