// tovani-cli layout-info LAYOUT
// Prints the layout's name, its places and the places free before any tile is taken (the
// counts the layout chooser shows).
#include <cstdio>

#include "Commands.h"
#include "LayoutArgument.h"
#include "solitaire/FreeRules.h"

namespace tovani::cli {

int RunLayoutInfo(const std::vector<std::string>& args) {
    if (args.size() != 1)
        return Fail("layout-info needs exactly one layout");
    std::string error;
    LayoutLoad load = LoadLayoutArgument(args[0], error);
    if (!load.ok)
        return Fail(error);
    std::printf("name %s\n", load.layout.name.c_str());
    std::printf("places %d\n", load.layout.PlaceCount());
    std::printf("free %d\n", LayoutFreePlaces(load.layout));
    return 0;
}

} // namespace tovani::cli
