// The content beside the executable, read the way the game reads it: every tileset is decoded
// and cut into its 43 faces, every small tileset has its seven cells and mask, every background
// decodes and fills a play area, and every layout loads and deals a winnable game.
#include "core/Files.h"
#include "core/TextCodec.h"
#include "graphics/Background.h"
#include "graphics/ImageIO.h"
#include "graphics/Tileset.h"
#include "solitaire/Dealer.h"
#include "solitaire/LayoutCatalog.h"
#include "solitaire/Solver.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

#include <algorithm>

using namespace tovani;

namespace {

std::vector<std::string> FilesIn(const char* folder, std::initializer_list<const char*> exts) {
    std::vector<std::string> out;
    for (const auto& name : ListFiles(JoinPath(TOVANI_BIN_DIR, folder))) {
        std::string lower = AsciiLower(name);
        for (const char* e : exts)
            if (lower.size() > 4 && lower.substr(lower.size() - 4) == e)
                out.push_back(JoinPath(JoinPath(TOVANI_BIN_DIR, folder), name));
    }
    std::sort(out.begin(), out.end());
    return out;
}

} // namespace

TEST(ShippedContent, TilesetsDecodeAndCutIntoFaces) {
    auto files = FilesIn("Tilesets", {".bmp", ".jpg"});
    ASSERT_GE(files.size(), 6u);
    for (const auto& path : files) {
        PictureResult r = LoadPictureFile(path);
        ASSERT_TRUE(r) << path << ": " << r.error;
        FaceSheets sheets;
        TileOptions options;
        options.stretchTileset = true;
        options.keepRatio = true;
        EXPECT_TRUE(ChangeTexture(sheets, *r.picture, 1280, 800, options)) << path;
        EXPECT_GT(sheets.TileWidth(), 30) << path;
        EXPECT_GT(sheets.TileHeight(), 40) << path;
    }
}

TEST(ShippedContent, SmallTilesetsHaveSevenCellsAndAMask) {
    auto files = FilesIn("Small", {".bmp"});
    ASSERT_GE(files.size(), 2u);
    for (const auto& path : files) {
        PictureResult r = LoadPictureFile(path);
        ASSERT_TRUE(r) << path << ": " << r.error;
        EXPECT_GE(r.picture->Width(), 266 + 38) << path;
        EXPECT_GE(r.picture->Height(), 38) << path;
    }
}

TEST(ShippedContent, BackgroundsDecodeAndFillThePlayArea) {
    auto files = FilesIn("Backgrounds", {".bmp", ".jpg"});
    ASSERT_GE(files.size(), 11u);
    for (const auto& path : files) {
        PictureResult r = LoadPictureFile(path);
        ASSERT_TRUE(r) << path << ": " << r.error;
        PixelBuffer b = MakePictureBackground(*r.picture, 800, 600, BackgroundOptions{true, true});
        EXPECT_EQ(b.Width(), 800) << path;
        EXPECT_EQ(b.Height(), 600) << path;
    }
}

TEST(ShippedContent, EveryLayoutLoadsAndDealsAWinnableGame) {
    LayoutCatalog catalog = LayoutCatalog::Scan(JoinPath(TOVANI_BIN_DIR, "Layouts"));
    ASSERT_GE(catalog.Count(), 60);
    for (int n = 1; n <= catalog.Count(); ++n) {
        LayoutLoad load = LoadLayoutFile(catalog.PathOf(n), catalog);
        ASSERT_TRUE(load.ok) << catalog.PathOf(n);
        Board board;
        RandomGenerator rng;
        ManualClock clock;
        Deal deal = BeginGame(board, load.layout, rng, clock, DealOptions{true, true, 2026});
        EXPECT_EQ(deal.outcome, DealOutcome::Winnable) << catalog.PathOf(n);
        // The solver, knowing nothing of how the deal was made, clears it too.
        SolveResult solved = SolvePosition(board, FreeRule::Side);
        EXPECT_EQ(solved.verdict, SolveVerdict::Winnable) << catalog.PathOf(n);
        EXPECT_TRUE(ReplayClears(board, solved.removal, FreeRule::Side)) << catalog.PathOf(n);
        EXPECT_TRUE(ClearsByRemovalOrder(board, deal.removalOrder)) << catalog.PathOf(n);
    }
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // face labels are drawn with Qt's fonts
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
