#pragma once
// Options answered before any window exists: --version and --help.

#include <optional>

namespace app {

// What --help prints.
const char* helpText();

// Prints the version or the help when asked and returns the exit status;
// nullopt when the program should start normally.
std::optional<int> answerInfoOptions(int argc, char** argv);

} // namespace app
