#include "shell/CommandLine.h"

#include <cstdio>
#include <string_view>

namespace tovani {

std::string CommandLineHelp() {
    return "Usage: tovani [FILE]\n"
           "Six tile-matching games played with one set of mahjong tiles.\n"
           "\n"
           "FILE is a layout (\".lay\") to play, or a saved game (\".tvg\") to go on with.\n"
           "\n"
           "Options:\n"
           "  -h, --help     show this help and exit\n"
           "  -v, --version  show the version and exit\n"
           "\n"
           "The player's settings, high scores, saved games and layouts are kept in\n"
           "$XDG_DATA_HOME/tovani (by default ~/.local/share/tovani) when the game is installed,\n"
           "or beside the program when its folder may be written to.\n"
           "See also tovani-cli(6).\n";
}

std::optional<int> AnswerCommandLine(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i] ? argv[i] : "";
        if (arg == "--help" || arg == "-h") {
            std::fputs(CommandLineHelp().c_str(), stdout);
            return 0;
        }
        if (arg == "--version" || arg == "-v") {
            std::printf("Tovani %s\n", kProgramVersion);
            return 0;
        }
        // Qt's own options (-platform, -style...) take a single dash and are left to Qt; an
        // unknown double-dash option is a typing mistake, not a file to open.
        if (arg.size() > 2 && arg.substr(0, 2) == "--") {
            std::fprintf(stderr, "tovani: unknown option \"%s\"\n\n", argv[i]);
            std::fputs(CommandLineHelp().c_str(), stderr);
            return 2;
        }
    }
    return std::nullopt;
}

} // namespace tovani
