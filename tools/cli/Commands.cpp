#include "Commands.h"

#include <cstdio>

namespace tovani::cli {

const std::vector<Command>& Commands() {
    static const std::vector<Command> table = {
        {"deal", "LAYOUT --seed N [--winnable] [--vertical]",
         "print the deal of game number N: \"tiles T\", then \"tile column row layer\" per tile",
         RunDeal},
        {"layout-info", "LAYOUT", "print a layout's name, places and free places", RunLayoutInfo},
        {"resample", "IN OUT --size WxH --filter NAME [--bench N]",
         "resize a BMP or JPEG picture with the game's resampler into a 24-bit BMP", RunResample},
        {"render",
         "LAYOUT --seed N [--winnable] --size WxH [--tileset NAME] [--background NAME] "
         "[--shadows] [--highlight N] --out FILE.png",
         "draw the board of game number N as the game draws it, into a PNG picture", RunRender},
        {"solve", "LAYOUT --seed N [--winnable] [--vertical]",
         "solve game number N: \"winnable\" and one \"tileA tileB\" removal a line, or "
         "\"unwinnable\", or \"unknown\"",
         RunSolve},
        {"stats", "LAYOUT --deals K [--first-seed S] [--vertical]",
         "solve the plain deals of game numbers S (1) to S+K-1; print how many are winnable and "
         "the solve times",
         RunStats},
    };
    return table;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "tovani-cli: %s\n", message.c_str());
    return 2;
}

} // namespace tovani::cli
