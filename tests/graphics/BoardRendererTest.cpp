// The board renderer on small synthetic boards: coordinates and margins, tile pixels, the
// half-hidden bottom side, picks, hints, highlights and Invert, shadow zones and rules, partial
// redraws, the hover, and the hit test. Expected pixels are worked out by hand from the tile
// geometry (faces 42 x 50, sides 6, play area 800 x 600, margins 63 and 93).
#include "graphics/BoardRenderer.h"
#include "graphics/PlayArea.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace tovani {
namespace {

Pixel CellColour(int c, int r) {
    return MakePixel(20 * c + 10, 40 * r + 20, 200);
}

PixelBuffer GridPicture(int cw, int ch) {
    PixelBuffer p(9 * cw, 5 * ch);
    for (int r = 0; r < 5; ++r) {
        for (int c = 0; c < 9; ++c) {
            p.FillRect(Rect::FromSize(c * cw, r * ch, cw, ch), CellColour(c, r));
        }
    }
    return p;
}

const Pixel kGround = MakePixel(150, 160, 170);
const Pixel kMain = PixelFromColour(kDefaultBorderMainColour);
const Pixel kFace1 = CellColour(0, 2);  // tile 1
const Pixel kFace10 = CellColour(0, 1); // tile 37
const Pixel kBlank = CellColour(7, 4);  // face 43

Pixel Scale(Pixel p, double f) {
    auto s = [f](int v) { return std::min(255, int(std::nearbyint(v * f))); };
    return MakePixel(s(RedOf(p)), s(GreenOf(p)), s(BlueOf(p)));
}
Pixel Shade(Pixel p) {
    return MakePixel(std::max(0, RedOf(p) - 60), std::max(0, GreenOf(p) - 60),
                     std::max(0, BlueOf(p) - 60));
}

class RendererTest : public ::testing::Test {
protected:
    void SetUp() override { Prepare(42); }

    void Prepare(int cellWidth) {
        ASSERT_TRUE(ChangeTexture(sheets, GridPicture(cellWidth, 50), 800, 600, {}));
        renderer.Resize(800, 600);
        renderer.SetSheets(&sheets);
        renderer.SetMargeHaute(kModeSolitaire);
        scene.board = &board;
    }
    // Face top-left corner of the tile in board cell (column, row, layer), 1-based.
    Point FaceAt(int column, int row, int layer) const {
        return {renderer.CoordX(column - 1, layer - 1), renderer.CoordY(row - 1, layer - 1)};
    }
    const PixelBuffer& Draw() {
        renderer.FullRedraw(scene, background);
        return renderer.BoardBuffer;
    }

    FaceSheets sheets;
    BoardRenderer renderer;
    Board board;
    BoardScene scene;
    PixelBuffer background{800, 600, kGround};
};

TEST_F(RendererTest, CoordinatesAndMargins) {
    // a = CoordX(1,1) = 21 + 6 - 20 = 7, b = CoordX(33,1) = 693 + 6 - 20 = 679:
    // MarginLeft = (800 + 7 - 679) div 2 - 7 + 6 = 63.
    // c = CoordY(1,1) = 25 - 6 - 40 = -21, d = CoordY(20,1) = 500 - 6 - 40 = 454:
    // MarginTop = (600 - 21 - 454) div 2 + 21 + 10 = 93.
    // Then the whole grid is nudged inside: a tile starting on the last column in the fifth
    // layer would end at 33 * 21 + 4 * 6 + 63 - 20 + 42 = 802, two pixels past the edge, so
    // MarginLeft = 61. Vertically the last row ends at 19 * 25 + 93 - 40 + 50 + 6 = 584: kept.
    EXPECT_EQ(renderer.MarginLeft, 61);
    EXPECT_EQ(renderer.MarginTop, 93);
    EXPECT_EQ(renderer.CoordX(4, 0), 4 * 21 + 61 - 20);
    EXPECT_EQ(renderer.CoordX(4, 2), 4 * 21 + 12 + 61 - 20);
    EXPECT_EQ(renderer.CoordY(4, 2), 4 * 25 + 93 - 12 - 40);
    renderer.SetMargeHaute(kModeSlider);
    EXPECT_EQ(renderer.MarginLeft, 0);
    EXPECT_EQ(renderer.MarginTop, 0);
}

TEST_F(RendererTest, OneTileWithItsSidesAndTransparentCorners) {
    board.Place(1, {5, 5, 1});
    const PixelBuffer& b = Draw();
    const Point f = FaceAt(5, 5, 1); // (125, 153)
    EXPECT_EQ(f.x, 125);
    EXPECT_EQ(f.y, 153);
    EXPECT_EQ(b.At(f.x + 5, f.y + 5), kFace1);
    EXPECT_EQ(b.At(f.x + 41, f.y + 49), kFace1);
    EXPECT_EQ(b.At(f.x - 1, f.y + 25), kMain);    // the face's left edge
    EXPECT_EQ(b.At(f.x - 6, f.y + 25), kBlack);   // the outer outline
    EXPECT_EQ(b.At(f.x - 3, f.y + 25), kMain);    // inside the side
    EXPECT_EQ(b.At(f.x + 20, f.y + 52), kMain);   // the bottom side
    EXPECT_EQ(b.At(f.x - 6, f.y), kGround);       // top-left chamfer
    EXPECT_EQ(b.At(f.x + 41, f.y + 55), kGround); // bottom-right chamfer
    EXPECT_EQ(b.At(f.x + 42, f.y + 5), kGround);  // right of the face
    EXPECT_EQ(b.At(f.x + 5, f.y - 1), kGround);   // above it
    EXPECT_EQ(b.At(f.x - 7, f.y + 25), kGround);
    // A place marker is not drawn.
    board.Set(20, 10, 1, kPlaceMarker);
    const Point m = FaceAt(20, 10, 1);
    EXPECT_EQ(Draw().At(m.x + 5, m.y + 5), kGround);
}

TEST_F(RendererTest, BottomSideIsHalfHiddenByTheLowerRightNeighbour) {
    board.Place(1, {5, 5, 1});
    const Point f = FaceAt(5, 5, 1);
    EXPECT_EQ(Draw().At(f.x + 30, f.y + 52), kMain);
    // The neighbour one column right and two rows down: its face starts 21 right of and 50
    // below ours, where our bottom side would lie.
    board.Place(37, {6, 7, 1});
    const PixelBuffer& b = Draw();
    EXPECT_EQ(b.At(f.x + 30, f.y + 52), kFace10);
    EXPECT_EQ(b.At(f.x + 21, f.y + 50), kFace10);
    EXPECT_EQ(b.At(f.x + 5, f.y + 52), kMain); // the left half is still drawn
    EXPECT_EQ(b.At(f.x + 5, f.y + 5), kFace1);
}

TEST_F(RendererTest, PicksHintsHighlightsAndInvert) {
    board.Place(1, {5, 5, 1});
    const Point f = FaceAt(5, 5, 1);
    const Point inFace{f.x + 5, f.y + 5};
    scene.firstPick = 1;
    EXPECT_EQ(Draw().At(inFace.x, inFace.y), Scale(kFace1, 0.78));
    EXPECT_EQ(renderer.BoardBuffer.At(f.x - 3, f.y + 25), Scale(kMain, 0.78));
    scene.firstPick = 0;
    scene.hint2 = 1;
    EXPECT_EQ(Draw().At(inFace.x, inFace.y), Scale(kFace1, 1.18));
    scene.hint2 = 0;
    renderer.HoveredTile = 1;
    renderer.HighlightMode = kHighlightColoured;
    EXPECT_EQ(Draw().At(inFace.x, inFace.y), Scale(kFace1, 1.18));
    // Rectangle modes keep the normal look and add a 3-pixel frame centred 1 inside the face.
    renderer.HighlightMode = kHighlightRed;
    renderer.highlightColour = 0x0000FF;
    const PixelBuffer& r = Draw();
    EXPECT_EQ(r.At(inFace.x, inFace.y), kFace1);
    EXPECT_EQ(r.At(f.x, f.y), MakePixel(255, 0, 0));
    EXPECT_EQ(r.At(f.x + 2, f.y + 20), MakePixel(255, 0, 0));
    EXPECT_EQ(r.At(f.x + 3, f.y + 20), kFace1);
    EXPECT_EQ(r.At(f.x + 41, f.y + 49), MakePixel(255, 0, 0));
    renderer.HighlightMode = kHighlightNone;
    // Invert: the plain sheet, then the face rectangle (x, y+1, W-1, H-1) inverted.
    renderer.options.invert = true;
    scene.firstPick = 1;
    const PixelBuffer& inv = Draw();
    EXPECT_EQ(inv.At(inFace.x, inFace.y), kFace1 ^ 0x00FFFFFFu);
    EXPECT_EQ(inv.At(f.x + 5, f.y), kFace1);      // top row not inverted
    EXPECT_EQ(inv.At(f.x + 41, f.y + 5), kFace1); // last column not inverted
    renderer.options.invert = false;
    // Rivers showing a path: picks keep their normal look.
    scene.riverFound = true;
    scene.gameMode = kModeRivers;
    EXPECT_EQ(Draw().At(inFace.x, inFace.y), kFace1);
}

TEST_F(RendererTest, MemoryAndEditorShowTheBlankFace) {
    board.Place(1, {5, 5, 1});
    const Point f = FaceAt(5, 5, 1);
    scene.gameMode = kModeMemory;
    EXPECT_EQ(Draw().At(f.x + 5, f.y + 5), kBlank);
    scene.firstPick = 1; // turned face up, but never darkened
    EXPECT_EQ(Draw().At(f.x + 5, f.y + 5), kFace1);
    scene.firstPick = 0;
    renderer.HoveredTile = 1;
    renderer.HighlightMode = kHighlightGreen;
    renderer.highlightColour = 0x008000;
    const PixelBuffer& m = Draw();
    EXPECT_EQ(m.At(f.x + 1, f.y + 1), MakePixel(0, 128, 0)); // a face-down tile gets the frame
    EXPECT_EQ(m.At(f.x + 5, f.y + 5), kBlank);
    renderer.HighlightMode = kHighlightNone;
    scene.gameMode = kModeEditor;
    scene.firstPick = 1;
    EXPECT_EQ(Draw().At(f.x + 5, f.y + 5), kBlank);
    // The editor's ghost is drawn as a blank tile where nothing stands yet.
    scene.ghostColumn = 9, scene.ghostRow = 9, scene.ghostLayer = 0;
    const Point g = FaceAt(10, 10, 1);
    EXPECT_EQ(Draw().At(g.x + 5, g.y + 5), kBlank);
}

TEST(Shadows, RulesOfTheLayerAbove) {
    auto zones = [](std::initializer_list<std::array<int, 2>> above) {
        Board b;
        b.Place(1, {10, 10, 1});
        int tile = 2;
        for (const auto& a : above) {
            b.Place(tile++, {10 + a[0], 10 + a[1], 2});
        }
        return BoardRenderer::ProcessShadows(b, 10, 10, 1);
    };
    auto bits = [](std::initializer_list<int> list) {
        uint16_t m = 0;
        for (int z : list) {
            m = uint16_t(m | (1u << z));
        }
        return m;
    };
    EXPECT_EQ(zones({}), 0);
    // Covered: a tile right on it, or on both sides, or above and below, or on all four
    // quarters.
    EXPECT_EQ(zones({{0, 0}}), 0);
    EXPECT_EQ(zones({{-1, 0}, {1, 0}}), 0);
    EXPECT_EQ(zones({{0, -1}, {0, 1}}), 0);
    EXPECT_EQ(zones({{-1, -1}, {-1, 1}, {1, -1}, {1, 1}}), 0);
    // One neighbour at a time.
    EXPECT_EQ(zones({{1, -2}}), bits({0, 1}));
    EXPECT_EQ(zones({{0, -2}}), bits({0, 1, 2, 3, 4}));
    EXPECT_EQ(zones({{-1, -2}}), bits({1, 2, 3, 4, 5}));
    EXPECT_EQ(zones({{-2, -2}}), bits({4, 5}));
    EXPECT_EQ(zones({{1, -1}}), bits({11, 12}));
    EXPECT_EQ(zones({{0, -1}}), bits({7, 11, 12, 13, 14}));
    EXPECT_EQ(zones({{-1, -1}}), bits({1, 2, 7, 8, 10, 12, 13, 14}));
    EXPECT_EQ(zones({{-2, -1}}), bits({4, 5, 6, 7, 8}));
    EXPECT_EQ(zones({{-2, 0}}), bits({5, 6, 7, 8, 9}));
    EXPECT_EQ(zones({{-2, 1}}), bits({8, 9}));
    EXPECT_EQ(zones({{-1, 0}}), bits({2, 10, 12, 13, 15}));
    EXPECT_EQ(zones({{-1, 1}}), bits({13, 15}));
    // Cells that cast nothing: below-right, two rows down, the same layer.
    EXPECT_EQ(zones({{1, 1}, {0, 2}, {2, 0}}), 0);
    // Three of the four quarters do not cover it.
    EXPECT_EQ(zones({{-1, -1}, {-1, 1}, {1, -1}}), bits({1, 2, 7, 8, 10, 11, 12, 13, 14, 15}));
}

TEST_F(RendererTest, ShadowZonesOnTheFace) {
    // W 42, H 50: s = max(2, 50 div 4) = 12, hw 21, hh 25.
    const auto runs = renderer.ZoneRuns(uint16_t(1u << 4)); // zone 4: rows 0..12, columns i..12
    ASSERT_EQ(runs.size(), 13u);
    EXPECT_EQ(runs[3].row, 3);
    EXPECT_EQ(runs[3].from, 3);
    EXPECT_EQ(runs[3].to, 12);
    const auto z15 = renderer.ZoneRuns(uint16_t(1u << 15)); // rows 38..49, columns 21..33
    ASSERT_EQ(z15.size(), 12u);
    EXPECT_EQ(z15.front().row, 38);
    EXPECT_EQ(z15.front().from, 21);
    EXPECT_EQ(z15.front().to, 33);

    renderer.options.shadows = true;
    board.Place(1, {5, 5, 1});
    board.Place(5, {5, 3, 2}); // two rows up, one layer higher: the top band, zones 0..4
    const PixelBuffer& b = Draw();
    const Point f = FaceAt(5, 5, 1);
    // Zones 0..4 cover rows 0..12 from the diagonal j = i rightwards; zone 5, the triangle left
    // of it, stays lit.
    for (int j : {0, 1, 2, 5, 11, 12, 13, 21, 23, 33, 34, 41}) {
        EXPECT_EQ(b.At(f.x + j, f.y + 2), j >= 2 ? Shade(kFace1) : kFace1) << "column " << j;
        EXPECT_EQ(b.At(f.x + j, f.y + 12), j >= 12 ? Shade(kFace1) : kFace1) << "column " << j;
        EXPECT_EQ(b.At(f.x + j, f.y + 13), kFace1) << "column " << j;
    }
    // The diagonal between zones 1 and 2 belongs to both, and is darkened once.
    EXPECT_EQ(b.At(f.x + 21 + 2, f.y + 2), Shade(kFace1));
    // The upper tile has nothing above it and stays clean.
    const Point u = FaceAt(5, 3, 2);
    EXPECT_EQ(b.At(u.x + 5, u.y + 5), CellColour(1, 2));
    // Shadows off: clean.
    renderer.options.shadows = false;
    EXPECT_EQ(Draw().At(f.x + 5, f.y + 2), kFace1);
}

TEST_F(RendererTest, PartialRedrawsMatchAFullRedraw) {
    renderer.options.shadows = true;
    int tile = 1;
    for (int c = 3; c <= 15; c += 2) {
        for (int r = 2; r <= 14; r += 2) {
            board.Place(tile++, {c, r, 1});
        }
    }
    for (int c = 4; c <= 12; c += 2) {
        board.Place(tile++, {c, 5, 2});
    }
    board.Place(tile++, {7, 6, 3});
    Draw();
    scene.firstPick = 10;
    scene.hint1 = 40;
    const Rect area = renderer.RedrawTile(10, scene, background);
    EXPECT_FALSE(area.IsEmpty());
    renderer.RedrawTile(40, scene, background);
    EXPECT_EQ(renderer.DirtyRect, BoardRenderer::kEverything);
    const PixelBuffer partial = renderer.BoardBuffer;
    EXPECT_EQ(partial, Draw());

    // The hover redraws the old and the new tile only.
    renderer.HighlightMode = kHighlightBlue;
    renderer.highlightColour = 0xFF0000;
    const Rect first = renderer.SetHover(12, scene, background);
    EXPECT_FALSE(first.IsEmpty());
    EXPECT_EQ(renderer.HoveredTile, 12);
    EXPECT_TRUE(renderer.SetHover(12, scene, background).IsEmpty());
    renderer.SetHover(13, scene, background);
    EXPECT_EQ(renderer.HoveredTile, 13);
    EXPECT_EQ(renderer.BoardBuffer, Draw());
    const Cell c13 = board.Position(13);
    const Point p13 = FaceAt(c13.column, c13.row, c13.layer);
    EXPECT_EQ(renderer.BoardBuffer.At(p13.x + 1, p13.y + 1), MakePixel(0, 0, 255));
    renderer.SetHover(0, scene, background);
    EXPECT_EQ(renderer.HoveredTile, 0);
    EXPECT_EQ(renderer.BoardBuffer, Draw());
}

TEST_F(RendererTest, HitTestFindsTheTopmostTile) {
    board.Place(1, {5, 5, 1});
    board.Place(2, {6, 6, 2});
    // Relative to the margins, tile 1's face is at (64, 60): it answers for x 58..105 and
    // y 60..115; tile 2's at (91, 79) for x 85..132, y 79..134.
    EXPECT_EQ(renderer.WhatTileThere(board, 74, 70), 1);
    EXPECT_EQ(renderer.WhatTileThere(board, 100, 90), 2);
    EXPECT_EQ(renderer.WhatTileThere(board, 58, 70), 1);
    EXPECT_EQ(renderer.WhatTileThere(board, 57, 70), 0);
    EXPECT_EQ(renderer.WhatTileThere(board, 70, 115), 1);
    EXPECT_EQ(renderer.WhatTileThere(board, 70, 116), 0);
    EXPECT_EQ(renderer.WhatTileThere(board, 132, 134), 2);
    EXPECT_EQ(renderer.WhatTileThere(board, 133, 100), 0);
}

TEST_F(RendererTest, HitTestFollowsNarrowSides) {
    // Faces 26 wide: sides round(4.0) = 4. The strip 6 pixels left of the face is no longer
    // all side: only its last 4 pixels belong to the tile, and the face's own last columns do.
    Prepare(26);
    ASSERT_EQ(sheets.EdgeSize(), 4);
    board.Place(1, {5, 5, 1});
    const int x = renderer.CoordX(4, 0) - renderer.MarginLeft;
    const int y = renderer.CoordY(4, 0) - renderer.MarginTop;
    EXPECT_EQ(renderer.WhatTileThere(board, x - 5, y + 10), 0);
    EXPECT_EQ(renderer.WhatTileThere(board, x - 4, y + 10), 1);
    EXPECT_EQ(renderer.WhatTileThere(board, x + 25, y + 10), 1);
    EXPECT_EQ(renderer.WhatTileThere(board, x + 26, y + 10), 0);
    // The hit area is exactly what is drawn.
    const PixelBuffer& b = Draw();
    const int X = x + renderer.MarginLeft, Y = y + renderer.MarginTop;
    EXPECT_NE(b.At(X - 4, Y + 10), kGround);
    EXPECT_EQ(b.At(X - 5, Y + 10), kGround);
}

TEST(HighDensity, TilesAndDistancesGrowWithTheScale) {
    // The same board at scale 1 on 800 x 600 and at scale 2 on 1600 x 1200 device pixels:
    // twice the faces and sides, the board at twice the place, and the hit test answering in
    // device pixels.
    const PixelBuffer tiles = GridPicture(42, 50);
    Board board;
    board.Place(1, {5, 5, 1});
    board.Place(2, {7, 5, 2});
    BoardScene scene;
    scene.board = &board;
    PlayArea one, two;
    for (PlayArea* a : {&one, &two}) {
        a->SetTilesetPicture(&tiles);
        a->Resize(a == &one ? 800 : 1600, a == &one ? 600 : 1200, a == &one ? 1.0 : 2.0,
                  kModeSolitaire);
        a->FullRedraw(scene);
    }
    EXPECT_EQ(two.sheets.TileWidth(), 84);
    EXPECT_EQ(two.sheets.TileHeight(), 100);
    EXPECT_EQ(two.sheets.EdgeSize(), 13); // round(84 * 2 / 13) = round(12.9)
    // Centred: a = 42 + 13 - 40 = 15, b = 33 * 42 + 13 - 40 = 1359, so
    // MarginLeft = (1600 + 15 - 1359) div 2 - 15 + 12 = 125 (63 at scale 1, so about twice);
    // the fifth layer's last column would end at 33 * 42 + 4 * 13 + 125 - 40 + 84 = 1607, so
    // the grid is nudged 7 pixels left.
    EXPECT_EQ(two.renderer.MarginLeft, 118);
    const int x1 = one.renderer.CoordX(4, 0), y1 = one.renderer.CoordY(4, 0);
    const int x2 = two.renderer.CoordX(4, 0), y2 = two.renderer.CoordY(4, 0);
    EXPECT_NEAR(x2, 2 * x1, 4);
    EXPECT_NEAR(y2, 2 * y1, 4);
    // The faces are resampled (Lanczos3, whose weights are not normalised, so a plain colour
    // may lose a unit or two).
    const Pixel big = two.renderer.BoardBuffer.At(x2 + 60, y2 + 80);
    const Pixel small = one.renderer.BoardBuffer.At(x1 + 30, y1 + 40);
    EXPECT_NEAR(RedOf(big), RedOf(small), 3);
    EXPECT_NEAR(GreenOf(big), GreenOf(small), 3);
    EXPECT_NEAR(BlueOf(big), BlueOf(small), 3);
    EXPECT_EQ(two.TileAt(board, x2 + 60, y2 + 80), 1);
    EXPECT_EQ(two.TileAt(board, x2 - 13, y2 + 50), 1);
    EXPECT_EQ(two.TileAt(board, x2 - 14, y2 + 50), 0);
    // The highlight pen is 6 device pixels wide at scale 2, over the face's first 6 columns
    // as the 3-pixel pen covers the first 3 at scale 1.
    two.SetHighlightMode(kHighlightRed);
    two.SetHover(1, scene);
    EXPECT_EQ(two.renderer.BoardBuffer.At(x2, y2 + 40), MakePixel(255, 0, 0));
    EXPECT_EQ(two.renderer.BoardBuffer.At(x2 + 5, y2 + 40), MakePixel(255, 0, 0));
    EXPECT_NE(two.renderer.BoardBuffer.At(x2 + 6, y2 + 40), MakePixel(255, 0, 0));
    EXPECT_NE(two.renderer.BoardBuffer.At(x2 - 1, y2 + 40), MakePixel(255, 0, 0));
    EXPECT_EQ(two.renderer.BoardBuffer.At(x2 + 83, y2 + 99), MakePixel(255, 0, 0));
}

} // namespace
} // namespace tovani

namespace tovani {
namespace {

// A pair taken off a crowded board of large tiles: redrawing the two places it left gives the
// same picture as drawing the whole board again. Large tiles have wide sides and shadows that
// reach further than the classic fixed redraw margins.
TEST(RedrawPlace, LargeTilesLeaveNothingBehind) {
    FaceSheets sheets;
    ASSERT_TRUE(ChangeTexture(sheets, GridPicture(120, 150), 1920, 1080, {}));
    ASSERT_GT(sheets.EdgeSize(), 6);
    BoardRenderer renderer;
    renderer.Resize(1920, 1080);
    renderer.SetSheets(&sheets);
    renderer.SetMargeHaute(kModeSolitaire);
    renderer.options.shadows = true;
    Board board;
    BoardScene scene;
    scene.board = &board;
    const PixelBuffer background(1920, 1080, kGround);
    int tile = 1;
    for (int c = 3; c <= 15; c += 2)
        for (int r = 2; r <= 14; r += 2)
            board.Place(tile++, {c, r, 1});
    for (int c = 4; c <= 12; c += 2)
        board.Place(tile++, {c, 5, 2});
    board.Place(tile++, {7, 6, 3});
    renderer.FullRedraw(scene, background);
    // Take off a tile of the top layer and one of the middle layer, as a removed pair does.
    for (int t : {tile - 1, tile - 3}) {
        const Cell place = board.Position(t);
        board.Remove(t);
        renderer.RedrawPlace(place, scene, background);
    }
    const PixelBuffer partial = renderer.BoardBuffer;
    renderer.FullRedraw(scene, background);
    EXPECT_EQ(partial, renderer.BoardBuffer);
}

} // namespace
} // namespace tovani

namespace tovani {
namespace {

// With the tileset stretched to the window, a layout that uses every column and row of the grid
// and all five layers stays inside the play area, at any window shape.
TEST(StretchedBoard, TheWholeGridFitsThePlayArea) {
    for (auto [w, h] : {std::pair{800, 600}, {1280, 800}, {1920, 1080}, {1000, 1000}, {640, 400}}) {
        FaceSheets sheets;
        TileOptions options;
        options.stretchTileset = true;
        options.keepRatio = true;
        ASSERT_TRUE(ChangeTexture(sheets, GridPicture(128, 160), w, h, options));
        BoardRenderer renderer;
        renderer.Resize(w, h);
        renderer.SetSheets(&sheets);
        renderer.SetMargeHaute(kModeSolitaire);
        const int W = sheets.TileWidth(), H = sheets.TileHeight(), E = sheets.EdgeSize();
        // 0-based: a tile may start on the last column (33) and the last row (19); the
        // leftmost of the first layer and the rightmost of the fifth.
        EXPECT_GE(renderer.CoordX(0, 0) - E, 0) << w << "x" << h;
        EXPECT_LE(renderer.CoordX(33, 4) + W, w) << w << "x" << h;
        EXPECT_GE(renderer.CoordY(0, 4), 0) << w << "x" << h;
        EXPECT_LE(renderer.CoordY(19, 0) + H + E, h) << w << "x" << h;
    }
}

} // namespace
} // namespace tovani
