// tovani-cli: a small command-line companion of the game, for players who want to check a
// numbered deal and for layout designers. main() only finds the command and runs it.
#include <cstdio>
#include <string>
#include <vector>

#include "Commands.h"

using namespace tovani::cli;

namespace {

void PrintHelp(std::FILE* out) {
    std::fprintf(out, "usage: tovani-cli COMMAND ARGUMENTS\n\ncommands:\n");
    for (const Command& c : Commands())
        std::fprintf(out, "  %s %s\n      %s\n", c.name, c.usage, c.summary);
    std::fprintf(out, "\nLAYOUT is a \".lay\" or \".shp\" file, or the name of a layout in the "
                      "Layouts folder beside tovani-cli.\n");
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        PrintHelp(stderr);
        return 2;
    }
    std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        PrintHelp(stdout);
        return 0;
    }
    std::vector<std::string> args(argv + 2, argv + argc);
    for (const Command& c : Commands())
        if (name == c.name)
            return c.run(args);
    Fail("unknown command \"" + name + "\"");
    PrintHelp(stderr);
    return 2;
}
