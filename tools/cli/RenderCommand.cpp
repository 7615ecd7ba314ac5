// tovani-cli render LAYOUT --seed N [--winnable] --size WxH [--tileset NAME]
//                   [--background NAME] [--shadows] [--highlight N] --out FILE.png
// Draws the board of game number N on the layout as the game draws it in a play area of the
// given size, with the game's default drawing options (stretched tiles keeping their
// proportions, high-quality stretching, "Cool Tile Borders", romanized labels, a stretched
// background), and writes it as a PNG picture. NAME is an item of the Tileset or Background
// menu (a file of Tilesets/ or Backgrounds/ beside the program) or a picture file;
// --background None gives the solid background with its gradient. --highlight N shows tile N
// as the tile under the mouse, in the default highlight (green rectangle).
#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <memory>

#include "Commands.h"
#include "LayoutArgument.h"
#include "RenderArguments.h"
#include "core/Files.h"
#include "graphics/PlayArea.h"
#include "solitaire/Dealer.h"

namespace tovani::cli {

namespace {

// Labels are written with a font, which needs the application object; the command draws
// off screen, so no display is needed.
void EnsureGuiApplication() {
    if (QGuiApplication::instance() != nullptr)
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tovani-cli";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(argc, argv);
}

// A menu item name looked up in the content folder, or a picture file given directly.
std::optional<std::string> FindPicture(const std::string& name, const std::string& folder,
                                       bool tileset) {
    if (FileExists(name) && name.find('/') != std::string::npos)
        return name;
    const std::string dir = JoinPath(ContentDirectory(), folder);
    return tileset ? TilesetFileFor(dir, name) : BackgroundFileFor(dir, name);
}

bool ParseTile(const std::string& s, int& tile) {
    int v = 0;
    if (!ParseCount(s, v) || v > kTileCount)
        return false;
    tile = v;
    return true;
}

} // namespace

int RunRender(const std::vector<std::string>& args) {
    std::string layoutArg, out, tilesetName = "Ivory", backgroundName = "Garden";
    bool haveSeed = false, winnable = false, shadows = false;
    int32_t seed = 0;
    int width = 0, height = 0, highlight = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](const char* what) -> const std::string* {
            if (i + 1 >= args.size()) {
                Fail(std::string(a) + " needs " + what);
                return nullptr;
            }
            return &args[++i];
        };
        if (a == "--seed") {
            const std::string* v = value("a game number");
            if (!v)
                return 2;
            if (!ParseGameNumber(*v, seed))
                return Fail(GameNumberProblem(*v));
            haveSeed = true;
        } else if (a == "--winnable") {
            winnable = true;
        } else if (a == "--shadows") {
            shadows = true;
        } else if (a == "--size") {
            const std::string* v = value("WIDTHxHEIGHT");
            if (!v)
                return 2;
            if (std::string why = PictureSizeProblem(*v, width, height); !why.empty())
                return Fail(why);
        } else if (a == "--tileset") {
            const std::string* v = value("a tileset name");
            if (!v)
                return 2;
            tilesetName = *v;
        } else if (a == "--background") {
            const std::string* v = value("a background name");
            if (!v)
                return 2;
            backgroundName = *v;
        } else if (a == "--highlight") {
            const std::string* v = value("a tile number");
            if (!v || !ParseTile(*v, highlight))
                return Fail("--highlight needs a tile number from 1 to 144");
        } else if (a == "--out") {
            const std::string* v = value("a file name");
            if (!v)
                return 2;
            out = *v;
        } else if (a.size() > 1 && a[0] == '-') {
            return Fail("unknown option \"" + a + "\"");
        } else if (layoutArg.empty()) {
            layoutArg = a;
        } else {
            return Fail("one layout only, not \"" + a + "\" as well");
        }
    }
    if (layoutArg.empty())
        return Fail("render needs a layout");
    if (!haveSeed)
        return Fail("render needs --seed N (the game number)");
    if (width < 16 || height < 16)
        return Fail("render needs --size WIDTHxHEIGHT of at least 16x16");
    if (out.empty())
        return Fail("render needs --out FILE.png");

    std::string error;
    LayoutLoad load = LoadLayoutArgument(layoutArg, error);
    if (!load.ok)
        return Fail(error);
    Board board;
    if (!DealNumberedGame(load.layout, seed, winnable, board, error))
        return Fail(error);

    EnsureGuiApplication();
    PictureHolder tileset, background;
    const auto tilesetFile = FindPicture(tilesetName, "Tilesets", true);
    if (!tilesetFile)
        return Fail("no tileset \"" + tilesetName + "\" in " +
                    JoinPath(ContentDirectory(), "Tilesets"));
    if (std::string why = tileset.Load(*tilesetFile); !why.empty())
        return Fail("cannot use the tileset \"" + *tilesetFile + "\": " + why);
    const bool solid = backgroundName == "None" || backgroundName == "none";
    if (!solid) {
        const auto backgroundFile = FindPicture(backgroundName, "Backgrounds", false);
        if (!backgroundFile)
            return Fail("no background \"" + backgroundName + "\" in " +
                        JoinPath(ContentDirectory(), "Backgrounds"));
        if (std::string why = background.Load(*backgroundFile); !why.empty())
            return Fail("cannot use the background \"" + *backgroundFile + "\": " + why);
    }

    // The game's default drawing options.
    PlayArea area;
    area.tileOptions.stretchTileset = true;
    area.tileOptions.keepRatio = true;
    area.tileOptions.highQuality = true;
    area.tileOptions.gradientTiles = true;
    area.tileOptions.showRomanized = true;
    area.backgroundOptions = {true, true};
    area.coolBackground = true;
    area.SetTilesetPicture(&tileset.Picture());
    area.SetBackgroundPicture(solid ? nullptr : &background.Picture());
    area.Resize(width, height, 1.0, kModeSolitaire);
    if (area.sheets.IsEmpty())
        return Fail("the tileset \"" + *tilesetFile + "\" is too small to hold 9 x 5 faces");
    area.renderer.options.shadows = shadows;
    area.SetHighlightMode(kHighlightGreen);
    area.renderer.HoveredTile = highlight;
    BoardScene scene;
    scene.board = &board;
    area.FullRedraw(scene);

    const PixelBuffer& picture = area.renderer.BoardBuffer;
    const QImage image(reinterpret_cast<const uchar*>(picture.Data()), picture.Width(),
                       picture.Height(), picture.BytesPerLine(), QImage::Format_RGB32);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return Fail("cannot encode the picture");
    if (!WriteFileAtomic(out, std::string_view(bytes.constData(), size_t(bytes.size()))))
        return Fail("cannot write \"" + out + "\"");
    return 0;
}

} // namespace tovani::cli
