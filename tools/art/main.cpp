// tovani_art: paints the program's tilesets, small tilesets, backgrounds and own pictures.
//   tovani_art <what> <bin dir> [preview dir]
// <what> is tilesets, small, backgrounds, resources, all, or preview (contact sheets of the
// content already made in <bin dir>, written to [preview dir]). Every run gives the same bytes.
#include "ArtCommon.h"
#include "Content.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr,
                     "usage: tovani_art tilesets|small|backgrounds|resources|all|preview <bin dir> "
                     "[preview dir]\n");
        return 2;
    }
    using namespace tovani::art;
    LoadFonts();
    const QString what = args[1];
    const QString bin = args[2];
    bool ok = true;
    bool known = false;
    if (what == "tilesets" || what == "all") {
        ok &= MakeTilesets(bin);
        known = true;
    }
    if (what == "small" || what == "all") {
        ok &= MakeSmallTilesets(bin);
        known = true;
    }
    if (what == "backgrounds" || what == "all") {
        ok &= MakeBackgrounds(bin);
        known = true;
    }
    if (what == "resources" || what == "all") {
        ok &= MakeResources(bin);
        known = true;
    }
    if (what == "preview") {
        ok &= MakePreviews(bin, args.size() > 3 ? args[3] : bin + "/preview");
        known = true;
    }
    if (!known) {
        std::fprintf(stderr, "tovani_art: unknown content '%s'\n", qPrintable(what));
        return 2;
    }
    return ok ? 0 : 1;
}
