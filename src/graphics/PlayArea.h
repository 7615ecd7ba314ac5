// The play area's pictures in one place: the tileset cut into face sheets, the background
// buffer, and the board renderer with its compose and board buffers. The window owns one and
// calls it with plain option values from its menus; `tovani-cli render` drives the same object,
// so both draw a board the same way.
#pragma once

#include "graphics/Background.h"
#include "graphics/BoardRenderer.h"
#include "graphics/Tileset.h"

namespace tovani {

// The pen of the rectangle highlight modes (`ColorHighlight`): red, green or blue.
Colour HighlightPenColour(uint8_t highlightMode);

class PlayArea {
public:
    // Options, as the menus hold them. Change them, then call the matching Rebuild.
    TileOptions tileOptions;
    BackgroundOptions backgroundOptions;
    bool coolBackground = true; // "Cool Game Background": the gradient of the solid background
    Colour backgroundColour = kDefaultBackgroundColour;

    // The pictures to draw from; the caller keeps them alive (PictureHolder). A null or empty
    // background picture means the solid background ("None (Solid)").
    void SetTilesetPicture(const PixelBuffer* picture) { tileset_ = picture; }
    void SetBackgroundPicture(const PixelBuffer* picture) { backgroundPicture_ = picture; }
    // The area's size in device pixels (0 before the first Resize).
    int Width() const { return width_; }
    int Height() const { return height_; }

    // `FormResize`: buffers at the new size (device pixels, with the device pixel ratio), the
    // tiles cut again, the margins, and the background rebuilt.
    // `progress` is told each face cut (1..43).
    void Resize(int width, int height, double scale, int gameMode,
                const std::function<void(int)>& progress = {});
    // After a tile option change ("Show Romanized Tilesets", "Double Height", stretching) or a
    // new tileset: cut the faces again (`ChangeTexture`). False when the tileset is too small;
    // the previous sheets stay.
    bool RebuildTiles(int gameMode, const std::function<void(int)>& progress = {});
    // After a side option change ("Cool Tile Borders", "Enable Top Edges", colours).
    void RebuildBorders() { ChangeBorders(sheets, tileOptions); }
    // After a background option or picture change (`ReloadBackground`).
    void RebuildBackground();

    Rect FullRedraw(const BoardScene& scene) {
        return renderer.FullRedraw(scene, BackgroundBuffer);
    }
    Rect Redraw(const BoardScene& scene) { return renderer.Redraw(scene, BackgroundBuffer); }
    Rect RedrawTile(int tile, const BoardScene& scene) {
        return renderer.RedrawTile(tile, scene, BackgroundBuffer);
    }
    // The neighbourhood of a place a tile has just left (a removed pair).
    Rect RedrawPlace(const Cell& cell, const BoardScene& scene) {
        return renderer.RedrawPlace(cell, scene, BackgroundBuffer);
    }
    Rect HLRedrawTile(int tile, const BoardScene& scene) {
        return renderer.HLRedrawTile(tile, scene, BackgroundBuffer);
    }
    Rect SetHover(int tile, const BoardScene& scene) {
        return renderer.SetHover(tile, scene, BackgroundBuffer);
    }
    Rect ShowFond() { return renderer.ShowFond(BackgroundBuffer); }
    // The highlight menu: mode 0..4 and its pen.
    void SetHighlightMode(uint8_t mode) {
        renderer.HighlightMode = mode;
        renderer.highlightColour = HighlightPenColour(mode);
    }
    // The tile under a point of the play area (in device pixels), or 0.
    int TileAt(const Board& board, int x, int y) const {
        return renderer.WhatTileThere(board, x - renderer.MarginLeft, y - renderer.MarginTop);
    }

    FaceSheets sheets;
    PixelBuffer BackgroundBuffer;
    BoardRenderer renderer;

private:
    const PixelBuffer* tileset_ = nullptr;
    const PixelBuffer* backgroundPicture_ = nullptr;
    int width_ = 0, height_ = 0;
};

} // namespace tovani
