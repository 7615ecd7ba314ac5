// Tile faces: cutting a tileset picture (43 faces in a 9 x 5 grid) into faces of the size the
// window needs, writing the romanized labels, drawing the 3D sides with their outlines, shading
// and transparent chamfers, the shape mask, and the darker and brighter copies used for
// selected and highlighted tiles. Also the small tiles of Clicks, Slider and Hashira.
//
// The board is later drawn only by copying rectangles out of these sheets.
#pragma once

#include "graphics/BoardExtent.h"
#include "graphics/PixelBuffer.h"

#include <functional>
#include <optional>
#include <string>

namespace tovani {

constexpr Colour kDefaultBorderMainColour = 0x8C94CE;
constexpr Colour kDefaultBorderEdgeColour = 0x000000;
// Drawn into the corners first, so that the flood fills can find them again and make them black.
constexpr Colour kKeyColour = 0x123456;

constexpr int kSheetColumns = 9;
constexpr int kSheetRows = 5;
constexpr int kSheetFaces = 43;

// The tile options, as the menu check marks and settings hold them.
struct TileOptions {
    bool stretchTileset = false; // "Stretch Tileset"
    bool keepRatio = false;      // "Maintain Tileset's aspect ratio"
    bool highQuality = false;    // "High Quality Stretching (Slow)"
    bool doubleHeight = false;   // "Double Height" (DeuxEtages)
    bool showRomanized = false;  // "Show Romanized Tilesets"
    bool gradientTiles = false;  // "Cool Tile Borders"
    bool enableTopEdges = false; // "Enable Top Edges"
    Colour borderMainColour = kDefaultBorderMainColour;
    Colour borderEdgeColour = kDefaultBorderEdgeColour;
    // Device pixels per window pixel. Without "Stretch Tileset" the faces are scaled by it, so
    // tiles keep their size on a high-density screen; the board size is given in device pixels.
    double scale = 1.0;
    // "Fit Board to Window": with "Stretch Tileset", the tiles are sized so that `extent`, the
    // part of the grid the board in play uses, fills the play area (at most kMaxFitGrowth times
    // the usual size). Off, the tiles keep the usual size (the play area's width div 17 and
    // height div 10) and shrink only as much as `extent` needs to fit.
    bool fitBoard = false;
    BoardExtent extent;
};
constexpr double kMaxFitGrowth = 2.0;

struct TileGeometry {
    int sourceCellWidth = 0; // SourceCellWidth
    int sourceCellHeight = 0;
    int tileWidth = 0; // TileWidth: the flat face, always even
    int tileHeight = 0;
    int edgeSize = 0;    // EdgeSize: the drawn side
    bool framed = false; // a 370 x 568 picture with frame lines and masks

    int CellWidth() const { return tileWidth + edgeSize; }
    int CellHeight() const { return tileHeight + edgeSize; }
    bool operator==(const TileGeometry&) const = default;
};

// The tile size rules. `boardWidth` and `boardHeight` are the play area (BoardBuffer). Nothing
// when the picture is smaller than 9 x 5 pixels.
std::optional<TileGeometry> ComputeTileSize(int pictureWidth, int pictureHeight, int boardWidth,
                                            int boardHeight, const TileOptions& options);

// The sheet cell (column, row) of a face 1..43; cell (8, 4) is the shape mask.
Point FacePosition(int face);
// The romanized label of a face: "1".."9" for the suits, "BAM", "N", "D1"...; "" for 43.
std::string FaceLabel(int face);

// Rounds to the nearest integer, ties to the even one (one definition for the whole program,
// with the Solitaire flight's).
int RoundHalfEven(double v);

// The prepared tiles.
struct FaceSheets {
    TileGeometry geometry;
    PixelBuffer FaceSheet;
    PixelBuffer DarkFaceSheet;
    PixelBuffer BrightFaceSheet;

    bool IsEmpty() const { return FaceSheet.IsEmpty(); }
    int TileWidth() const { return geometry.tileWidth; }
    int TileHeight() const { return geometry.tileHeight; }
    int EdgeSize() const { return geometry.edgeSize; }
    // Top-left corner of a sheet cell.
    Point CellOrigin(int column, int row) const {
        return {column * geometry.CellWidth(), row * geometry.CellHeight()};
    }
    Point FaceCellOrigin(int face) const {
        const Point p = FacePosition(face);
        return CellOrigin(p.x, p.y);
    }
    Point MaskCellOrigin() const { return CellOrigin(8, 4); }
};

// `ChangeTexture`: computes the tile size and cuts the picture into the face sheet, then draws
// the sides (ChangeBorders). `progress` is told each face done (1..43). Answers false and leaves
// the sheets as they were when the picture is too small to hold a grid of faces.
bool ChangeTexture(FaceSheets& sheets, const PixelBuffer& tilesetPicture, int boardWidth,
                   int boardHeight, const TileOptions& options,
                   const std::function<void(int)>& progress = {});

// `ChangeBordersClick` without its colour dialog: draws the sides into every cell of the face
// sheet, the shape mask, and rebuilds the dark and bright sheets. For an option that changes
// only the sides ("Cool Tile Borders", "Enable Top Edges", the border colours), after the faces
// are cut.
void ChangeBorders(FaceSheets& sheets, const TileOptions& options);

// Draws one finished tile (its face's cell) with its top-left cell corner at (x, y): the shape
// mask by AND, then the cell by OR, from `sheet` (FaceSheet, DarkFaceSheet or BrightFaceSheet).
// For pictures of single tiles outside the board (the hall-of-fame panel's current tile).
void DrawTile(PixelBuffer& canvas, int x, int y, int face, const FaceSheets& sheets,
              const PixelBuffer& sheet);

// Small tilesets: a strip of 38-pixel cells; seven tiles and their outline mask at x 266.
constexpr int kSmallTileCell = 38;
constexpr int kSmallTileFace = 32;
constexpr int kSmallTileCount = 7;

// `ClickoDraw`: small tile `index` (0..6) with its top-left corner at (x, y). With 3D borders
// ("Enable 3D borders on Small Tiles") the mask is combined by AND and the 38 x 38 tile by OR;
// without, only the 32 x 32 face is copied to (x + 3, y + 3), or (x, y + 6) in Slider.
void ClickoDraw(PixelBuffer& canvas, int x, int y, int index, const PixelBuffer& smallTileset,
                bool small3D, bool slider);

// The file of a tileset item: Tilesets/<caption>.bmp, else .jpg (case does not matter).
std::optional<std::string> TilesetFileFor(const std::string& tilesetsDir,
                                          const std::string& caption);
// The file of a small tileset item: Small/<caption>.bmp.
std::optional<std::string> SmallTilesetFileFor(const std::string& smallDir,
                                               const std::string& caption);

} // namespace tovani
