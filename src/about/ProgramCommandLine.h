#pragma once
// The arguments the program answers without a window: "--version" and "--help".
#include <optional>

namespace tarnis {

// For "--version" or "--help" as the only argument: writes the answer to standard
// output and gives the exit code; nothing for any other command line.
std::optional<int> AnswerInfoArguments(int argc, const char *const *argv);

}  // namespace tarnis
