// Tile faces: the size rules, cutting plain and framed pictures, the drawn sides (outlines, flood
// fills, double height, shading, chamfers), the shape mask, the dark and bright sheets, labels
// and small tiles. Expected pixels are worked out by hand from the drawing rules.
#include "graphics/Tileset.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tovani {
namespace {

TEST(TileSize, PlainFramedAndStretched) {
    // 369 x 250: cells 41 x 50, the width made even; sides 42 * 2/13 = 6.46 or 42 * 0.2 = 8.4.
    auto g = ComputeTileSize(369, 250, 800, 600, {});
    ASSERT_TRUE(g);
    EXPECT_EQ(g->sourceCellWidth, 41);
    EXPECT_EQ(g->tileWidth, 42);
    EXPECT_EQ(g->tileHeight, 50);
    EXPECT_EQ(g->edgeSize, 6);
    EXPECT_FALSE(g->framed);
    TileOptions twoStorey;
    twoStorey.doubleHeight = true;
    EXPECT_EQ(ComputeTileSize(369, 250, 800, 600, twoStorey)->edgeSize, 8);

    // 370 x 568 is the framed layout: 40 x 50 faces whatever 370 / 9 and 568 / 5 say.
    auto f = ComputeTileSize(370, 568, 800, 600, {});
    ASSERT_TRUE(f);
    EXPECT_TRUE(f->framed);
    EXPECT_EQ(f->sourceCellWidth, 40);
    EXPECT_EQ(f->sourceCellHeight, 50);
    EXPECT_EQ(f->tileWidth, 40);
    EXPECT_EQ(f->edgeSize, 6); // 6.15

    // Stretched: the whole grid fits, sides and four layer shifts included. A tile may start on
    // the last column and row, so the width is the play area over 17.5 + 5 * 2/13 = 18.27
    // (1020 -> 55.8 -> 55, made even downwards: 54); the height is what is left after five
    // sides, over 10.5 ((600 - 5 * 54 * 2/13) / 10.5 = 53.2).
    TileOptions stretch;
    stretch.stretchTileset = true;
    auto s = ComputeTileSize(360, 250, 1020, 600, stretch);
    EXPECT_EQ(s->tileWidth, 54);
    EXPECT_EQ(s->tileHeight, 53);
    EXPECT_EQ(s->edgeSize, 8); // 8.3
    // Keeping the 40 x 50 proportions on a wide area: the width shrinks to 53 / 50 * 40 = 42.4
    // -> 42; sides 42 * 2/13 = 6.5 -> 6.
    stretch.keepRatio = true;
    s = ComputeTileSize(360, 250, 1020, 600, stretch);
    EXPECT_EQ(s->tileWidth, 42);
    EXPECT_EQ(s->tileHeight, 53);
    EXPECT_EQ(s->edgeSize, 6);
    // 1190 x 370: 64 wide, (370 - 49.2) / 10.5 = 30.6 -> 30 high; kept in proportion
    // 30 / 50 * 40 = 24 wide; sides 3.7 -> 4.
    s = ComputeTileSize(360, 250, 1190, 370, stretch);
    EXPECT_EQ(s->tileWidth, 24);
    EXPECT_EQ(s->tileHeight, 30);
    EXPECT_EQ(s->edgeSize, 4);
    // A tall area: the height shrinks instead, 54 wide, 54 / 40 * 50 = 67.5 -> 67 high.
    s = ComputeTileSize(360, 250, 1020, 1000, stretch);
    EXPECT_EQ(s->tileWidth, 54);
    EXPECT_EQ(s->tileHeight, 67);
    // Double height has wider sides: 1020 / 18.5 = 55.1 -> 54; (600 - 5 * 0.2 * 54) / 10.5 = 52.
    stretch.keepRatio = false;
    stretch.doubleHeight = true;
    s = ComputeTileSize(360, 250, 1020, 600, stretch);
    EXPECT_EQ(s->tileWidth, 54);
    EXPECT_EQ(s->tileHeight, 52);

    // The usual size is kept when the board in play fits at it: a board over columns 2..29 and
    // rows 1..15 on 3 layers in a 1020 x 600 area takes 1020 div 17 = 60 by 600 div 10 = 60.
    TileOptions usual;
    usual.stretchTileset = true;
    usual.extent = ExtentOfPlaces({{3, 2, 1}, {30, 16, 1}, {3, 2, 3}, {30, 16, 3}});
    s = ComputeTileSize(360, 250, 1020, 600, usual);
    EXPECT_EQ(s->tileWidth, 60);
    EXPECT_EQ(s->tileHeight, 60);
    // Fitted to the window, the same board grows until one way is full, keeping the shape:
    // width 60 x (13.5 + 2 x 2/13 + 1 + 2/13) = 897.7 of 1020 -> x 1.136 -> 68 by 68.
    usual.fitBoard = true;
    s = ComputeTileSize(360, 250, 1020, 600, usual);
    EXPECT_EQ(s->tileWidth, 68);
    EXPECT_EQ(s->tileHeight, 68);
    // A small board grows no more than twice the usual size.
    usual.extent = ExtentOfPlaces({{11, 9, 1}, {14, 10, 1}});
    s = ComputeTileSize(360, 250, 1020, 600, usual);
    EXPECT_EQ(s->tileWidth, 120);
    EXPECT_EQ(s->tileHeight, 120);

    // A high-density screen without stretching: the cells times the scale.
    TileOptions dense;
    dense.scale = 2.0;
    auto d = ComputeTileSize(369, 250, 1600, 1200, dense);
    EXPECT_EQ(d->tileWidth, 82);
    EXPECT_EQ(d->tileHeight, 100);
    EXPECT_EQ(d->edgeSize, 13); // 12.6

    EXPECT_FALSE(ComputeTileSize(8, 100, 800, 600, {}));
    EXPECT_FALSE(ComputeTileSize(100, 4, 800, 600, {}));
}

TEST(TileSize, TinyPicturesAndAreasStillGiveWholeSheets) {
    // One-pixel cells, or stretching into a play area of 20 x 20: faces of at least 2 x 2
    // pixels, sides of 0 or 1, and sheets drawn without reading or writing outside them.
    for (bool stretch : {false, true}) {
        for (bool twoStorey : {false, true}) {
            TileOptions o;
            o.stretchTileset = stretch;
            o.doubleHeight = twoStorey;
            o.gradientTiles = true;
            o.showRomanized = true;
            FaceSheets sheets;
            ASSERT_TRUE(ChangeTexture(sheets, PixelBuffer(9, 5, kWhite), 20, 20, o));
            EXPECT_GE(sheets.TileWidth(), 2);
            EXPECT_GE(sheets.TileHeight(), 2);
            EXPECT_EQ(sheets.FaceSheet.Width(), 9 * sheets.geometry.CellWidth());
            EXPECT_EQ(sheets.DarkFaceSheet.Height(), 5 * sheets.geometry.CellHeight());
        }
    }
}

TEST(TileFaces, PositionsAndLabels) {
    struct Case {
        int face, column, row;
        const char* label;
    };
    const Case cases[] = {{1, 0, 2, "1"},    {9, 8, 2, "9"},    {10, 0, 1, "1"},
                          {18, 8, 1, "9"},   {19, 0, 0, "1"},   {23, 4, 0, "5"},
                          {28, 0, 4, "BAM"}, {31, 3, 4, "ORC"}, {32, 0, 3, "WIN"},
                          {35, 3, 3, "AUT"}, {36, 4, 4, "D1"},  {38, 6, 4, "D3"},
                          {39, 4, 3, "N"},   {42, 7, 3, "W"},   {43, 7, 4, ""}};
    for (const Case& c : cases) {
        EXPECT_EQ(FacePosition(c.face).x, c.column) << c.face;
        EXPECT_EQ(FacePosition(c.face).y, c.row) << c.face;
        EXPECT_EQ(FaceLabel(c.face), c.label) << c.face;
    }
}

// A 9 x 5 grid picture of 20 x 30 cells, each cell one colour that names its cell.
Pixel CellColour(int c, int r) {
    return MakePixel(20 * c + 10, 40 * r + 20, 200);
}
PixelBuffer GridPicture(int cw = 20, int ch = 30) {
    PixelBuffer p(9 * cw, 5 * ch);
    for (int r = 0; r < 5; ++r) {
        for (int c = 0; c < 9; ++c) {
            p.FillRect(Rect::FromSize(c * cw, r * ch, cw, ch), CellColour(c, r));
        }
    }
    return p;
}

TEST(TileFaces, PlainPictureIsCutIntoItsCells) {
    FaceSheets sheets;
    int progressed = 0;
    ASSERT_TRUE(ChangeTexture(sheets, GridPicture(), 800, 600, {}, [&](int n) { progressed = n; }));
    EXPECT_EQ(progressed, 43);
    // 20 x 30 faces, sides round(20 * 2/13) = 3: cells 23 x 33.
    EXPECT_EQ(sheets.EdgeSize(), 3);
    EXPECT_EQ(sheets.FaceSheet.Width(), 23 * 9);
    EXPECT_EQ(sheets.FaceSheet.Height(), 33 * 5);
    for (int face = 1; face <= 43; ++face) {
        const Point cell = FacePosition(face);
        const Point o = sheets.FaceCellOrigin(face);
        // The face stands at the top right of its cell.
        EXPECT_EQ(sheets.FaceSheet.At(o.x + 3 + 10, o.y + 15), CellColour(cell.x, cell.y)) << face;
        EXPECT_EQ(sheets.FaceSheet.At(o.x + 3 + 19, o.y + 29), CellColour(cell.x, cell.y)) << face;
    }
    // A picture too small leaves the sheets as they were.
    const PixelBuffer before = sheets.FaceSheet;
    EXPECT_FALSE(ChangeTexture(sheets, PixelBuffer(8, 4), 800, 600, {}));
    EXPECT_EQ(sheets.FaceSheet, before);
}

TEST(TileFaces, FramedPictureCombinesBlankMaskAndFace) {
    PixelBuffer p(370, 568, MakePixel(1, 2, 3));
    const Pixel blank = MakePixel(0xC0, 0xB0, 0xA0), ink = MakePixel(0x10, 0x20, 0x30);
    p.FillRect(Rect::FromSize(6, 256, 40, 50), blank);
    // Face 1 is cell (0, 2): face at (1, 103), its mask 312 pixels lower. The mask is white
    // (keep the blank) on the left half and black on the right; the face is black on the left
    // half and ink on the right.
    p.FillRect(Rect::FromSize(1, 103, 20, 50), kBlack);
    p.FillRect(Rect::FromSize(21, 103, 20, 50), ink);
    p.FillRect(Rect::FromSize(1, 415, 20, 50), kWhite);
    p.FillRect(Rect::FromSize(21, 415, 20, 50), kBlack);
    FaceSheets sheets;
    ASSERT_TRUE(ChangeTexture(sheets, p, 800, 600, {}));
    EXPECT_TRUE(sheets.geometry.framed);
    const int E = sheets.EdgeSize();
    const Point o1 = sheets.FaceCellOrigin(1);
    EXPECT_EQ(sheets.FaceSheet.At(o1.x + E + 5, o1.y + 10), blank);
    EXPECT_EQ(sheets.FaceSheet.At(o1.x + E + 30, o1.y + 10), ink);
    // Face 43 is the blank tile itself.
    const Point o43 = sheets.FaceCellOrigin(43);
    EXPECT_EQ(sheets.FaceSheet.At(o43.x + E + 30, o43.y + 10), blank);
}

TEST(TileSides, OutlinesFillsChamfersAndMask) {
    FaceSheets sheets;
    TileOptions o;
    ASSERT_TRUE(ChangeTexture(sheets, GridPicture(), 800, 600, o));
    const PixelBuffer& s = sheets.FaceSheet;
    const Pixel main = PixelFromColour(kDefaultBorderMainColour);
    // W 20, H 30, E 3. Left side x 0..2, bottom side y 30..32.
    EXPECT_EQ(s.At(0, 0), kBlack);   // top chamfer (x + y <= E - 2)
    EXPECT_EQ(s.At(1, 0), kBlack);   // still the chamfer (x + y = 1)
    EXPECT_EQ(s.At(2, 0), kBlack);   // the chamfer's outline (x + y = E - 1)
    EXPECT_EQ(s.At(0, 15), kBlack);  // outer left outline
    EXPECT_EQ(s.At(1, 15), main);    // inside the left side
    EXPECT_EQ(s.At(2, 15), main);    // the face's left edge, top edges off
    EXPECT_EQ(s.At(10, 30), main);   // the face's bottom edge
    EXPECT_EQ(s.At(10, 31), main);   // inside the bottom side
    EXPECT_EQ(s.At(10, 32), kBlack); // outer bottom outline
    EXPECT_EQ(s.At(1, 31), kBlack);  // the crease from (0, 32) to (3, 29)
    EXPECT_EQ(s.At(22, 32), kBlack); // lower chamfer
    EXPECT_EQ(s.At(21, 31), kBlack); // x + y = W + E - 1 + H: its outline
    EXPECT_EQ(s.At(20, 31), main);
    // Every other cell has the same sides.
    const Point c = sheets.CellOrigin(5, 3);
    for (int y = 0; y < 33; ++y) {
        for (int x = 0; x < 3; ++x) {
            ASSERT_EQ(s.At(c.x + x, c.y + y), s.At(x, y)) << x << "," << y;
        }
    }
    EXPECT_EQ(s.At(c.x + 12, c.y + 31), main);
    // The shape mask: white in the two cut-off corners, black elsewhere.
    const Point m = sheets.MaskCellOrigin();
    EXPECT_EQ(s.At(m.x, m.y), kWhite);
    EXPECT_EQ(s.At(m.x + 1, m.y), kWhite); // x + y <= E - 2
    EXPECT_EQ(s.At(m.x + 2, m.y), kBlack);
    EXPECT_EQ(s.At(m.x + 22, m.y + 32), kWhite);
    EXPECT_EQ(s.At(m.x + 22, m.y + 31), kWhite); // x + y >= 23 + 33 - 3
    EXPECT_EQ(s.At(m.x + 22, m.y + 30), kBlack);
    EXPECT_EQ(s.At(m.x + 21, m.y + 31), kBlack);
    EXPECT_EQ(s.At(m.x + 10, m.y + 10), kBlack);
    // Dark and bright copies: each channel times 0.78 and 1.18 (capped).
    const Pixel face = s.At(c.x + 10, c.y + 10);
    const Pixel dark = sheets.DarkFaceSheet.At(c.x + 10, c.y + 10);
    const Pixel bright = sheets.BrightFaceSheet.At(c.x + 10, c.y + 10);
    EXPECT_EQ(RedOf(dark), int(std::nearbyint(RedOf(face) * 0.78)));
    EXPECT_EQ(BlueOf(dark), int(std::nearbyint(200 * 0.78)));
    EXPECT_EQ(BlueOf(bright), 236);
    EXPECT_EQ(sheets.BrightFaceSheet.At(0, 0), kBlack);

    // Top edges on: the face's left and bottom edges take the edge colour.
    o.enableTopEdges = true;
    ChangeBorders(sheets, o);
    EXPECT_EQ(sheets.FaceSheet.At(2, 15), kBlack);
    EXPECT_EQ(sheets.FaceSheet.At(10, 30), kBlack);
    EXPECT_EQ(sheets.FaceSheet.At(1, 15), main);
}

TEST(TileSides, DoubleHeightAndCoolBorders) {
    // 369 x 250 with double height: W 42, H 50, E 8, the middle line at h = 4.
    FaceSheets sheets;
    TileOptions o;
    o.doubleHeight = true;
    o.borderMainColour = 0x102030;
    ASSERT_TRUE(ChangeTexture(sheets, GridPicture(41, 50), 800, 600, o));
    ASSERT_EQ(sheets.EdgeSize(), 8);
    const Pixel inverted = PixelFromColour(0xFFFFFF - 0x102030);
    const Pixel main = PixelFromColour(0x102030);
    EXPECT_EQ(sheets.FaceSheet.At(2, 25), inverted);  // outer half of the left side
    EXPECT_EQ(sheets.FaceSheet.At(4, 25), inverted);  // the middle line itself
    EXPECT_EQ(sheets.FaceSheet.At(6, 25), main);      // inner half
    EXPECT_EQ(sheets.FaceSheet.At(20, 56), inverted); // outer half of the bottom side (y > 54)
    EXPECT_EQ(sheets.FaceSheet.At(20, 52), main);

    // "Cool Tile Borders" on W 20, H 30, E 3, side colour red 206, green 148, blue 140.
    FaceSheets cool;
    TileOptions c;
    c.gradientTiles = true;
    ASSERT_TRUE(ChangeTexture(cool, GridPicture(), 800, 600, c));
    // Left side at (1, 15): F = (20 sin(0) + 120 - (6/3)(2 * 10)) / 100 = 0.8.
    EXPECT_EQ(cool.FaceSheet.At(1, 15), MakePixel(165, 118, 112));
    // Bottom side at (10, 31): F = (20 sin(15/7) + 120 - 2 * 15) / 100.
    const double f = (20 * std::sin(15.0 / 7.0) + 90.0) / 100.0;
    EXPECT_EQ(cool.FaceSheet.At(10, 31),
              MakePixel(int(std::nearbyint(206 * f)), int(std::nearbyint(148 * f)),
                        int(std::nearbyint(140 * f))));
    // The chamfers stay black: they are not shaded.
    EXPECT_EQ(cool.FaceSheet.At(0, 0), kBlack);
    EXPECT_EQ(cool.FaceSheet.At(22, 32), kBlack);
}

TEST(TileFaces, RomanizedLabelsOnAllButTheBlank) {
    // Faces 1, 10, 19 and 2, 11, 20 (the first two columns of cells) all of one colour.
    PixelBuffer picture = GridPicture(44, 50);
    picture.FillRect(Rect::FromSize(0, 0, 88, 150), MakePixel(240, 230, 200));
    FaceSheets plain, labelled;
    TileOptions o;
    ASSERT_TRUE(ChangeTexture(plain, picture, 800, 600, o));
    o.showRomanized = true;
    ASSERT_TRUE(ChangeTexture(labelled, picture, 800, 600, o));
    auto cellDiffers = [&](int face) {
        const Point p = plain.FaceCellOrigin(face);
        for (int y = 0; y < plain.geometry.CellHeight(); ++y) {
            for (int x = 0; x < plain.geometry.CellWidth(); ++x) {
                if (plain.FaceSheet.At(p.x + x, p.y + y) !=
                    labelled.FaceSheet.At(p.x + x, p.y + y)) {
                    return true;
                }
            }
        }
        return false;
    };
    for (int face : {1, 10, 19, 28, 36, 42}) {
        EXPECT_TRUE(cellDiffers(face)) << face;
    }
    EXPECT_FALSE(cellDiffers(43));
    // Faces 1, 10 and 19 carry the same "1".
    const int E = plain.EdgeSize();
    auto face = [&](int f) {
        PixelBuffer cut(plain.TileWidth(), plain.TileHeight());
        const Point p = labelled.FaceCellOrigin(f);
        Blit(cut, 0, 0, labelled.FaceSheet, p.x + E, p.y, cut.Width(), cut.Height());
        return cut;
    };
    EXPECT_EQ(face(1), face(10));
    EXPECT_EQ(face(1), face(19));
    EXPECT_NE(face(1), face(2));
}

TEST(TileFaces, OneTileOnItsOwn) {
    FaceSheets sheets;
    ASSERT_TRUE(ChangeTexture(sheets, GridPicture(), 800, 600, {}));
    const Pixel paper = MakePixel(1, 2, 3);
    PixelBuffer panel(40, 40, paper);
    DrawTile(panel, 5, 2, 28, sheets, sheets.FaceSheet); // cell (0, 4), 23 x 33, face from x 3
    EXPECT_EQ(panel.At(5 + 3 + 10, 2 + 10), CellColour(0, 4));
    EXPECT_EQ(panel.At(5, 2), paper); // the cut corner lets the panel through
    EXPECT_EQ(panel.At(5 + 22, 2 + 32), paper);
    EXPECT_EQ(panel.At(5, 2 + 15), kBlack);     // the side's outline
    EXPECT_EQ(panel.At(5 + 23, 2 + 10), paper); // right of the cell
}

TEST(SmallTiles, WithAndWithoutBorders) {
    // Seven 38-pixel cells: a frame colour around a face colour; the mask at x 266 is white
    // in its top-left corner pixel only.
    PixelBuffer strip(304, 38, kBlack);
    for (int i = 0; i < 7; ++i) {
        strip.FillRect(Rect::FromSize(38 * i, 0, 38, 38), MakePixel(10 * i, 100, 0));
        strip.FillRect(Rect::FromSize(38 * i + 6, 0, 32, 32), MakePixel(10 * i, 200, 0));
        strip.Set(38 * i, 0, kBlack);
    }
    strip.Set(266, 0, kWhite);
    const Pixel paper = MakePixel(7, 7, 7);
    PixelBuffer canvas(60, 60, paper);
    ClickoDraw(canvas, 5, 5, 3, strip, true, false);
    EXPECT_EQ(canvas.At(5, 5), paper);                 // the transparent corner
    EXPECT_EQ(canvas.At(6, 5), MakePixel(30, 100, 0)); // side
    EXPECT_EQ(canvas.At(5 + 20, 5 + 10), MakePixel(30, 200, 0));
    PixelBuffer flat(60, 60, paper);
    ClickoDraw(flat, 5, 5, 2, strip, false, false);
    EXPECT_EQ(flat.At(8, 8), MakePixel(20, 200, 0));
    EXPECT_EQ(flat.At(7, 8), paper);
    EXPECT_EQ(flat.At(39, 39), MakePixel(20, 200, 0));
    EXPECT_EQ(flat.At(40, 40), paper);
    PixelBuffer slider(60, 60, paper);
    ClickoDraw(slider, 5, 5, 2, strip, false, true);
    EXPECT_EQ(slider.At(5, 11), MakePixel(20, 200, 0));
    EXPECT_EQ(slider.At(5, 10), paper);
}

} // namespace
} // namespace tovani
