// Speed of Solitaire play: a click on a free tile (selection, sound choice and the redraw of its
// neighbourhood into the board picture), a click that removes a pair, and the free-tile scan
// that runs on every 50 ms tick. Figures are medians over many repetitions on "Traditional".
#include "core/Clock.h"
#include "core/Files.h"
#include "core/Random.h"
#include "graphics/ImageIO.h"
#include "graphics/PlayArea.h"
#include "solitaire/Dealer.h"
#include "solitaire/FreeRules.h"
#include "solitaire/LayoutFile.h"
#include "solitaire/Play.h"

#include <QGuiApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

using namespace tovani;

namespace {

using Steady = std::chrono::steady_clock;

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void Report(const char* what, double value, double target, const char* unit) {
    std::printf("%-62s %9.4f %s   target %7.3f %s   %s\n", what, value, unit, target, unit,
                value <= target ? "ok" : "OVER");
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    auto lay = ReadWholeFile(JoinPath(TOVANI_BIN_DIR, "Layouts/Traditional.lay"));
    PictureResult tileset = LoadPictureFile(JoinPath(TOVANI_BIN_DIR, "Tilesets/Ivory.bmp"));
    if (!lay || !tileset) {
        std::printf("bench_play: build the content first (Layouts/Traditional.lay, "
                    "Tilesets/Ivory.bmp)\n");
        return 1;
    }
    auto parsed = ParseLay(*lay);
    if (Failed(parsed)) {
        std::printf("bench_play: Traditional.lay does not read\n");
        return 1;
    }
    const Layout layout = std::get<LayFile>(parsed).layout;

    PlayArea area;
    area.tileOptions.stretchTileset = true;
    area.tileOptions.keepRatio = true;
    area.tileOptions.highQuality = true;
    area.tileOptions.gradientTiles = true;
    area.SetTilesetPicture(&*tileset.picture);
    area.Resize(1920, 1080, 1.0, kModeSolitaire);
    area.renderer.options.shadows = true;
    area.SetHighlightMode(kHighlightGreen);

    ManualClock clock;
    std::vector<double> select, removal, scan;
    int failures = 0;
    for (int seed = 1; seed <= 40; ++seed) {
        Board board;
        RandomGenerator rng;
        Deal deal = BeginGame(board, layout, rng, clock, DealOptions{true, true, seed});
        if (deal.removalOrder.empty()) {
            ++failures;
            continue;
        }
        BoardScene scene;
        scene.board = &board;
        area.FullRedraw(scene);
        SolitairePlay play;
        play.NewGame(0);
        // Play the deal by its removal order: each pair is two clicks.
        for (size_t k = 0; k + 1 < deal.removalOrder.size(); k += 2) {
            const int a = board.TileAt(deal.removalOrder[k]);
            const int b = board.TileAt(deal.removalOrder[k + 1]);
            auto t0 = Steady::now();
            PlayEffects fx = play.ChoisitPai(board, a, FreeRule::Side, false, 0);
            scene.firstPick = play.firstPick;
            for (int t : fx.redrawTiles)
                area.RedrawTile(t, scene);
            auto t1 = Steady::now();
            // The second click takes the pair off; its two places are redrawn.
            PlayEffects fx2 = play.ChoisitPai(board, b, FreeRule::Side, false, 0);
            scene.firstPick = play.firstPick;
            if (fx2.removed) {
                // Only the two places the pair left are drawn again.
                for (const Cell& c : {fx2.pair.firstCell, fx2.pair.secondCell})
                    area.RedrawPlace(c, scene);
            }
            auto t2 = Steady::now();
            select.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
            removal.push_back(std::chrono::duration<double, std::milli>(t2 - t1).count());
            if (!fx2.removed)
                ++failures;
            // On the first deal, check that the two redrawn places give the same picture as
            // drawing the whole board again.
            if (seed == 1) {
                PixelBuffer partial = area.renderer.BoardBuffer;
                area.FullRedraw(scene);
                if (!(partial == area.renderer.BoardBuffer)) {
                    ++failures;
                    int n = 0, x0 = 99999, y0 = 99999, x1 = -1, y1 = -1;
                    for (int y = 0; y < partial.Height(); ++y)
                        for (int x = 0; x < partial.Width(); ++x)
                            if (partial.At(x, y) != area.renderer.BoardBuffer.At(x, y)) {
                                ++n;
                                x0 = std::min(x0, x), y0 = std::min(y0, y);
                                x1 = std::max(x1, x), y1 = std::max(y1, y);
                            }
                    std::printf("bench_play: pair %zu: the redrawn places differ from a full "
                                "redraw (%d pixels in %d,%d-%d,%d); removed at x %d,%d y %d,%d (layers %d,%d), tile %dx%d side %d margin %d\n", k / 2 + 1, n, x0, y0, x1, y1,
                        area.renderer.CoordX(fx2.pair.firstCell.column, fx2.pair.firstCell.layer), area.renderer.CoordX(fx2.pair.secondCell.column, fx2.pair.secondCell.layer),
                        area.renderer.CoordY(fx2.pair.firstCell.row, fx2.pair.firstCell.layer), area.renderer.CoordY(fx2.pair.secondCell.row, fx2.pair.secondCell.layer),
                        fx2.pair.firstCell.layer, fx2.pair.secondCell.layer, area.sheets.TileWidth(), area.sheets.TileHeight(), area.sheets.EdgeSize(), area.renderer.MarginLeft);
                }
            }
            auto s0 = Steady::now();
            for (int rep = 0; rep < 10; ++rep) {
                FreeScan f = IsItFree(board, FreeRule::Side);
                if (f.freeTiles.size() > 144)
                    ++failures;
            }
            scan.push_back(std::chrono::duration<double, std::micro>(Steady::now() - s0).count() /
                           10.0);
        }
    }
    std::printf("bench_play: 40 winnable Traditional deals played to the end, 1920 x 1080 with "
                "shadows\n");
    Report("click on a free tile to its redrawn area (median)", Median(select), 0.5, "ms");
    Report("click that removes a pair to the redrawn board (median)", Median(removal), 0.5, "ms");
    Report("free-tile scan IsItFree on Traditional (median)", Median(scan), 10.0, "us");
    if (failures)
        std::printf("bench_play: %d deals or pairs did not play as expected\n", failures);
    return failures ? 1 : 0;
}
