// The options the game answers on the command line before any window is made: "--help" and
// "--version" print to standard output and end the program, so they work without a display.
#pragma once

#include <optional>
#include <string>

namespace tovani {

// The version the program calls itself by (the About box and "--version").
inline constexpr const char* kProgramVersion = "10.21";

// The text "--help" prints.
std::string CommandLineHelp();

// When the arguments ask for help or the version (or name an option the game does not know),
// prints the answer and gives the exit code; nothing otherwise, and the game starts.
std::optional<int> AnswerCommandLine(int argc, const char* const* argv);

} // namespace tovani
