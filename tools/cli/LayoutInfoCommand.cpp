// tovani-cli layout-info LAYOUT
// Prints the layout's name, its places and the places free before any tile is taken (the
// counts the layout chooser shows), and for a shipped layout its winnable share from the table
// "Winnable.ini" beside the layouts.
#include <cstdio>

#include "Commands.h"
#include "LayoutArgument.h"
#include "core/Files.h"
#include "core/TextCodec.h"
#include "solitaire/FreeRules.h"
#include "solitaire/WinnableShare.h"

namespace tovani::cli {

int RunLayoutInfo(const std::vector<std::string>& args) {
    if (args.size() != 1)
        return Fail("layout-info needs exactly one layout");
    std::string error;
    LayoutLoad load = LoadLayoutArgument(args[0], error);
    if (!load.ok)
        return Fail(error);
    std::printf("name %s\n", PrintableText(load.layout.name).c_str());
    std::printf("places %d\n", load.layout.PlaceCount());
    std::printf("free %d\n", LayoutFreePlaces(load.layout));
    // A shipped layout is named as the layout list names it; a file given by its path is
    // looked up by its file name ("Spiral.shp", or "Traditional" for "Traditional.lay").
    std::string key = FileExists(args[0]) ? FileNameOf(args[0]) : args[0];
    if (key.size() > 4 && EqualsNoCase(key.substr(key.size() - 4), ".lay"))
        key.resize(key.size() - 4);
    if (auto bytes =
            ReadWholeFile(JoinPath(JoinPath(ContentDirectory(), "Layouts"), "Winnable.ini"))) {
        std::string error;
        auto table = WinnableTable::Parse(*bytes, error);
        if (!table)
            std::fprintf(stderr, "tovani-cli: Winnable.ini: %s\n", error.c_str());
        else if (auto share = table->Find(key))
            std::printf("winnable %.1f%% of %d plain deals\n", share->Percent(), share->Deals());
    }
    return 0;
}

} // namespace tovani::cli
