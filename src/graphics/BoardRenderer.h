// Drawing the tile board of Solitaire, Rivers, Memory and the layout editor into the play area:
// tiles stacked on up to five layers (each layer shifted up and right by the tile side), shadows
// cast by higher tiles, the looks of picked, hinted and hovered tiles, and the hit test that maps
// a point back to the tile drawn on top there.
//
// Everything is composed in our own buffers: the background is copied into `ComposeBuffer`,
// tiles are combined in with AND (shape mask) and OR (tile), and the finished area goes to
// `BoardBuffer`, which the window shows. The renderer works in device pixels: on a
// high-density screen the shell gives it the buffer size in device pixels and the scale.
#pragma once

#include "core/GameMode.h"
#include "graphics/PixelBuffer.h"
#include "graphics/Tileset.h"
#include "solitaire/Board.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace tovani {

// Highlight looks of the tile under the mouse.
enum HighlightModes : uint8_t {
    kHighlightNone = 0,
    kHighlightRed = 1,
    kHighlightColoured = 2, // drawn from the bright sheet
    kHighlightGreen = 3,
    kHighlightBlue = 4,
};

// What the board shows, gathered from the game models each time it is drawn.
struct BoardScene {
    const Board* board = nullptr;
    int gameMode = kModeSolitaire;
    int firstPick = 0; // tile numbers, 0 for none
    int secondPick = 0;
    int hint1 = 0;
    int hint2 = 0;
    bool riverFound = false; // Rivers: a path is being shown; picks keep their normal look
    // Layout editor: where a tile would be added, 0-based (column, row, layer); -1 when none.
    int ghostColumn = -1, ghostRow = -1, ghostLayer = -1;
};

struct RenderOptions {
    bool shadows = false; // "Enable 3D shadows on Tiles"
    bool invert = false;  // "&Invert selection"
};

class BoardRenderer {
public:
    // The dirty rectangle meaning "everything".
    static constexpr Rect kEverything = {-1, -1, -1, -1};

    // Sizes `ComposeBuffer` and `BoardBuffer` to the play area in device pixels (`FormResize`).
    // `scale` is device pixels per window pixel; the fixed pixel distances of the drawing (the
    // margins' nudges, the redraw areas, the highlight pen) grow with it.
    void Resize(int width, int height, double scale = 1.0);
    // The face sheets to draw from; geometry follows them. Call SetMargeHaute afterwards.
    void SetSheets(const FaceSheets* sheets);
    // Centres the board in the play area; both margins are 0 in Clicks, Slider and Hashira.
    // With `fitBoard`, the box of `extent` is centred; otherwise the usual centring, nudged in
    // only when the board in play would stick out.
    void SetMargeHaute(int gameMode);
    BoardExtent extent;
    bool fitBoard = false;

    // Face top-left corner of grid column c / row r on layer l (all 0-based).
    int CoordX(int c, int l) const;
    int CoordY(int r, int l) const;

    // Composes the area of `DirtyRect` (or everything) and copies it to `BoardBuffer`. Answers
    // the area of `BoardBuffer` that changed, for the window to repaint.
    Rect Redraw(const BoardScene& scene, const PixelBuffer& background);
    Rect FullRedraw(const BoardScene& scene, const PixelBuffer& background);
    // Redraw around one tile (selection and hints / the hover), then back to "everything".
    Rect RedrawTile(int tile, const BoardScene& scene, const PixelBuffer& background);
    Rect HLRedrawTile(int tile, const BoardScene& scene, const PixelBuffer& background);
    // The same area as RedrawTile around a board cell: the place a removed tile has left.
    Rect RedrawPlace(const Cell& cell, const BoardScene& scene, const PixelBuffer& background);
    // Redraws a rectangle given in `DirtyRect` coordinates (the editor's ghost area).
    Rect RedrawArea(Rect dirty, const BoardScene& scene, const PixelBuffer& background);

    // The layout editor's ghost area around the 1-based cell (column, row, layer), in
    // `DirtyRect` coordinates, for RedrawArea when the ghost moves.
    Rect GhostArea(int column, int row, int layer) const;
    // `ShowFond`: the bare background on the board (Slider and Hashira without the 3D view).
    Rect ShowFond(const PixelBuffer& background);

    // The tile drawn on top at a point of the play area already taken relative to the margins
    // (point minus MarginLeft, MarginTop); 0 when there is none.
    int WhatTileThere(const Board& board, int X, int Y) const;

    // The hover: `tile` is what lies under the pointer when it may be highlighted, else 0.
    // Redraws the previous and the new hovered tile as needed and answers the changed area
    // (empty when nothing changed).
    Rect SetHover(int tile, const BoardScene& scene, const PixelBuffer& background);
    // Forgets the hover without drawing (a new game, a mode change).
    void ClearHover() { HoveredTile = 0, currentHover_ = 0, previousHover_ = 0; }

    // The shadow zones (bit z for zone z) that the layer above casts on the tile in board cell
    // (column, row, layer), 1-based. 0 when the tile is covered or nothing lies near it above.
    static uint16_t ProcessShadows(const Board& board, int column, int row, int layer);
    // The pixels of zone `zone`, as (row, first column, last column) runs within a face.
    struct Run {
        int row, from, to;
    };
    std::vector<Run> ZoneRuns(uint16_t zones) const;

    // State the window reads and sets.
    int MarginLeft = 0;
    int MarginTop = 0;
    Rect DirtyRect = kEverything;
    uint8_t HighlightMode = kHighlightNone;
    int HoveredTile = 0;
    Colour highlightColour = 0x0000FF; // the pen of the rectangle modes
    RenderOptions options;

    PixelBuffer ComposeBuffer;
    // The finished picture. A full redraw exchanges it with `ComposeBuffer` instead of copying,
    // so wrap its memory for display at paint time rather than keeping a wrapper.
    PixelBuffer BoardBuffer;

private:
    void ShowIt(int column, int row, int tile, int layer, const BoardScene& scene);
    void Darken(int x, int y, uint16_t zones);
    Rect AreaInBuffer() const;
    int Scaled(int pixels) const;
    const std::vector<Run>& CachedRuns(uint16_t zones);

    const FaceSheets* sheets_ = nullptr;
    double scale_ = 1.0;
    Rect clip_;
    int currentHover_ = 0;
    int previousHover_ = 0;
    std::unordered_map<uint16_t, std::vector<Run>> runCache_;
};

} // namespace tovani
