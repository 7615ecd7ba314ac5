// The commands of tovani-cli. Each command lives in its own file and is listed once in the
// table of Commands.cpp; main() finds it there by name.
#pragma once

#include <string>
#include <vector>

namespace tovani::cli {

struct Command {
    const char* name;
    const char* usage;   // the arguments after the command's name
    const char* summary; // one line for the help text
    int (*run)(const std::vector<std::string>& args);
};

// Every command, in the order the help text lists them.
const std::vector<Command>& Commands();

// Writes "tovani-cli: <message>" to standard error and answers the exit code 2.
int Fail(const std::string& message);

// Commands (one file each).
int RunDeal(const std::vector<std::string>& args);
int RunLayoutInfo(const std::vector<std::string>& args);
int RunResample(const std::vector<std::string>& args);
int RunRender(const std::vector<std::string>& args);

} // namespace tovani::cli
