// Runs the built tovani-cli (its path in TOVANI_CLI) with arguments, as a player would from a
// shell, and keeps what it printed and its exit code.
#pragma once

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace tovani::test {

struct CliRun {
    int exitCode = -1;
    std::string output; // standard output and standard error together
};

inline CliRun RunCli(const std::string& args) {
    CliRun run;
    std::string command = std::string("\"") + TOVANI_CLI + "\" " + args + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.output.append(buffer, n);
    int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

} // namespace tovani::test
