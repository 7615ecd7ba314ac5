// The board renderer and its hit test.
#include "graphics/BoardRenderer.h"

#include "solitaire/Tiles.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tovani {

namespace {

// A redraw's dirty rectangle is kept 26 pixels right of and 19 below buffer coordinates.
constexpr int kDirtyOffsetX = 26;
constexpr int kDirtyOffsetY = 19;
// Shadows take this much from each colour channel.
constexpr int kShadowDepth = 60;

bool IsDrawnTile(int v) {
    return v >= 1 && v <= 154;
}

bool Overlaps(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The cells of the layer above that cast shadows, and the zones each darkens.
struct ShadowSource {
    int dc, dr;
    uint16_t zones;
};
constexpr uint16_t Z(std::initializer_list<int> zones) {
    uint16_t m = 0;
    for (int z : zones) {
        m = uint16_t(m | (1u << z));
    }
    return m;
}
constexpr ShadowSource kShadowSources[] = {
    {+1, -2, Z({0, 1})},
    {0, -2, Z({0, 1, 2, 3, 4})},
    {-1, -2, Z({1, 2, 3, 4, 5})},
    {-2, -2, Z({4, 5})},
    {+1, -1, Z({11, 12})},
    {0, -1, Z({7, 11, 12, 13, 14})},
    {-1, -1, Z({1, 2, 7, 8, 10, 12, 13, 14})},
    {-2, -1, Z({4, 5, 6, 7, 8})},
    {-2, 0, Z({5, 6, 7, 8, 9})},
    {-2, +1, Z({8, 9})},
    {-1, 0, Z({2, 10, 12, 13, 15})},
    {-1, +1, Z({13, 15})},
};

} // namespace

void BoardRenderer::Resize(int width, int height, double scale) {
    scale_ = scale > 0 ? scale : 1.0;
    ComposeBuffer.Reset(width, height);
    BoardBuffer.Reset(width, height);
    DirtyRect = kEverything;
}

void BoardRenderer::SetSheets(const FaceSheets* sheets) {
    sheets_ = sheets;
    runCache_.clear();
}

int BoardRenderer::Scaled(int pixels) const {
    return scale_ == 1.0 ? pixels : int(std::lround(pixels * scale_));
}

int BoardRenderer::CoordX(int c, int l) const {
    const int W = sheets_ ? sheets_->TileWidth() : 0, E = sheets_ ? sheets_->EdgeSize() : 0;
    return c * (W / 2) + l * E + MarginLeft - Scaled(20);
}

int BoardRenderer::CoordY(int r, int l) const {
    const int H = sheets_ ? sheets_->TileHeight() : 0, E = sheets_ ? sheets_->EdgeSize() : 0;
    return r * (H / 2) + MarginTop - l * E - Scaled(40);
}

void BoardRenderer::SetMargeHaute(int gameMode) {
    MarginLeft = 0;
    MarginTop = 0;
    if (gameMode == kModeClicks || gameMode == kModeSlider || gameMode == kModeHashira) {
        return;
    }
    // The usual centring, between the tiles of columns 1 and 33 and rows 1 and 20.
    const int a = CoordX(1, 1), b = CoordX(33, 1), c = CoordY(1, 1), d = CoordY(20, 1);
    MarginLeft = (BoardBuffer.Width() + a - b) / 2 - a + Scaled(6);
    MarginTop = (BoardBuffer.Height() + c - d) / 2 - c + Scaled(10);
    if (sheets_ == nullptr)
        return;
    // The box the board in play is drawn in (sides and the shift of the upper layers included).
    const int W = sheets_->TileWidth(), H = sheets_->TileHeight(), E = sheets_->EdgeSize();
    int left = INT32_MAX, right = INT32_MIN, top = INT32_MAX, bottom = INT32_MIN;
    for (const Cell& c : extent.Bounds()) {
        left = std::min(left, CoordX(c.column - 1, c.layer - 1) - E);
        right = std::max(right, CoordX(c.column - 1, c.layer - 1) + W);
        top = std::min(top, CoordY(c.row - 1, c.layer - 1));
        bottom = std::max(bottom, CoordY(c.row - 1, c.layer - 1) + H + E);
    }
    if (fitBoard) {
        // Fitted: that box in the middle of the play area.
        MarginLeft += (BoardBuffer.Width() - (right - left)) / 2 - left;
        MarginTop += (BoardBuffer.Height() - (bottom - top)) / 2 - top;
        return;
    }
    // Centred as usual, the board may stick out by a few pixels: when it fits, nudge it in.
    if (right - left <= BoardBuffer.Width()) {
        if (left < 0)
            MarginLeft -= left;
        else if (right > BoardBuffer.Width())
            MarginLeft -= right - BoardBuffer.Width();
    }
    if (bottom - top <= BoardBuffer.Height()) {
        if (top < 0)
            MarginTop -= top;
        else if (bottom > BoardBuffer.Height())
            MarginTop -= bottom - BoardBuffer.Height();
    }
}

Rect BoardRenderer::AreaInBuffer() const {
    if (DirtyRect.bottom == -1) {
        return ComposeBuffer.Bounds();
    }
    const int ox = Scaled(kDirtyOffsetX), oy = Scaled(kDirtyOffsetY);
    return Rect{DirtyRect.left - ox, DirtyRect.top - oy, DirtyRect.right - ox,
                DirtyRect.bottom - oy}
        .Intersected(ComposeBuffer.Bounds());
}

Rect BoardRenderer::Redraw(const BoardScene& scene, const PixelBuffer& background) {
    const bool everything = DirtyRect.bottom == -1;
    clip_ = AreaInBuffer();
    if (clip_.IsEmpty()) {
        return {};
    }
    // Every mode starts from the background: in Slider the grid lies in a box of its own over
    // the play area, and what another game drew there before must not show around it.
    Blit(ComposeBuffer, clip_.left, clip_.top, background, clip_.left, clip_.top, clip_.Width(),
         clip_.Height());
    const int mode = scene.gameMode;
    const bool tiles = (mode >= kModeSolitaire && mode <= kModeMemory) || mode == kModeEditor;
    if (tiles && scene.board != nullptr && sheets_ != nullptr && !sheets_->IsEmpty()) {
        // Lower layers first; within a layer right to left and top to bottom, so that a tile
        // covers the sides of its neighbours to the left and below.
        const Board& board = *scene.board;
        for (int layer = 0; layer <= 4; ++layer) {
            for (int column = 33; column >= 0; --column) {
                for (int row = 0; row <= 19; ++row) {
                    const int v = board.At(column + 1, row + 1, layer + 1);
                    const bool ghost = column == scene.ghostColumn && row == scene.ghostRow &&
                                       layer == scene.ghostLayer;
                    if (IsDrawnTile(v) || (ghost && mode == kModeEditor)) {
                        ShowIt(column, row, IsDrawnTile(v) ? v : 0, layer, scene);
                    }
                }
            }
        }
    }
    if (everything && ComposeBuffer.Width() == BoardBuffer.Width() &&
        ComposeBuffer.Height() == BoardBuffer.Height()) {
        std::swap(ComposeBuffer, BoardBuffer);
    } else {
        Blit(BoardBuffer, clip_.left, clip_.top, ComposeBuffer, clip_.left, clip_.top,
             clip_.Width(), clip_.Height());
    }
    return clip_;
}

Rect BoardRenderer::FullRedraw(const BoardScene& scene, const PixelBuffer& background) {
    DirtyRect = kEverything;
    return Redraw(scene, background);
}

Rect BoardRenderer::RedrawArea(Rect dirty, const BoardScene& scene, const PixelBuffer& background) {
    DirtyRect = dirty;
    const Rect changed = Redraw(scene, background);
    DirtyRect = kEverything;
    return changed;
}

Rect BoardRenderer::RedrawTile(int tile, const BoardScene& scene, const PixelBuffer& background) {
    if (scene.board == nullptr) {
        return {};
    }
    return RedrawPlace(scene.board->Position(tile), scene, background);
}

Rect BoardRenderer::RedrawPlace(const Cell& cell, const BoardScene& scene,
                                const PixelBuffer& background) {
    if (scene.board == nullptr || sheets_ == nullptr || !cell.OnBoard()) {
        return {};
    }
    const int x1 = CoordX(cell.column, cell.layer), y1 = CoordY(cell.row, cell.layer);
    // The neighbourhood reaches as far as the sides and shadows that the tile touches, and
    // those grow with the side: 36, 30 and 66 pixels with the classic 6-pixel sides.
    const int e = std::max(6, sheets_->EdgeSize());
    const int left = std::max(Scaled(36), 6 * e), top = std::max(Scaled(30), 5 * e);
    const int extra = std::max(Scaled(66), 11 * e);
    return RedrawArea(Rect::FromSize(x1 - left, y1 - top, sheets_->TileWidth() + extra,
                                     sheets_->TileHeight() + extra),
                      scene, background);
}

Rect BoardRenderer::HLRedrawTile(int tile, const BoardScene& scene, const PixelBuffer& background) {
    if (scene.board == nullptr || sheets_ == nullptr) {
        return {};
    }
    const Cell cell = scene.board->Position(tile);
    if (!cell.OnBoard()) {
        return {};
    }
    const int x1 = CoordX(cell.column, cell.layer), y1 = CoordY(cell.row, cell.layer);
    return RedrawArea(Rect::FromSize(x1 - Scaled(26), y1 - Scaled(30),
                                     sheets_->TileWidth() + Scaled(36),
                                     sheets_->TileHeight() + Scaled(38)),
                      scene, background);
}

namespace {
Rect Unite(const Rect& a, const Rect& b) {
    if (a.IsEmpty()) {
        return b;
    }
    if (b.IsEmpty()) {
        return a;
    }
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}
} // namespace

Rect BoardRenderer::SetHover(int tile, const BoardScene& scene, const PixelBuffer& background) {
    Rect changed;
    if (tile != 0) {
        currentHover_ = tile;
        if (currentHover_ == previousHover_ && HoveredTile == tile) {
            return changed;
        }
        const int old = HoveredTile;
        HoveredTile = 0;
        if (old != 0) {
            changed = HLRedrawTile(old, scene, background);
        }
        HoveredTile = currentHover_;
        changed = Unite(changed, HLRedrawTile(HoveredTile, scene, background));
        previousHover_ = currentHover_;
        return changed;
    }
    if (HoveredTile != 0) {
        const int old = HoveredTile;
        HoveredTile = 0;
        changed = HLRedrawTile(old, scene, background);
    }
    currentHover_ = previousHover_ = 0;
    return changed;
}

Rect BoardRenderer::GhostArea(int column, int row, int layer) const {
    if (sheets_ == nullptr) {
        return {};
    }
    const int x = CoordX(column, layer), y = CoordY(row, layer);
    return Rect::FromSize(x - Scaled(26), y - Scaled(18), sheets_->TileWidth() + Scaled(116),
                          sheets_->TileHeight() + Scaled(28));
}

Rect BoardRenderer::ShowFond(const PixelBuffer& background) {
    Blit(ComposeBuffer, 0, 0, background, 0, 0, background.Width(), background.Height());
    Blit(BoardBuffer, 0, 0, background, 0, 0, background.Width(), background.Height());
    return BoardBuffer.Bounds().Intersected(background.Bounds());
}

int BoardRenderer::WhatTileThere(const Board& board, int X, int Y) const {
    if (sheets_ == nullptr) {
        return 0;
    }
    const int W = sheets_->TileWidth(), H = sheets_->TileHeight(), E = sheets_->EdgeSize();
    int found = 0;
    // The drawing order, so the last hit is the tile drawn on top. A tile answers on the
    // pixels it covers: its side from E pixels left of the face, down to E pixels below it.
    for (int layer = 0; layer <= 4; ++layer) {
        for (int column = 33; column >= 0; --column) {
            for (int row = 0; row <= 19; ++row) {
                const int v = board.At(column + 1, row + 1, layer + 1);
                if (!IsDrawnTile(v)) {
                    continue;
                }
                const int x = CoordX(column, layer) - MarginLeft;
                const int y = CoordY(row, layer) - MarginTop;
                if (x - E <= X && X < x + W && y <= Y && Y < y + H + E) {
                    found = v;
                }
            }
        }
    }
    return found;
}

void BoardRenderer::ShowIt(int column, int row, int tile, int layer, const BoardScene& scene) {
    const FaceSheets& fs = *sheets_;
    const int W = fs.TileWidth(), H = fs.TileHeight(), E = fs.EdgeSize();
    const int x = CoordX(column, layer), y = CoordY(row, layer);
    if (!Overlaps(Rect{x - E, y, x + W, y + H + E}, clip_)) {
        return;
    }
    const int mode = scene.gameMode;
    const bool picked = tile != 0 && (tile == scene.firstPick || tile == scene.secondPick);
    int face = FaceOf(tile);
    if (face == 0 || mode == kModeEditor || (mode == kModeMemory && !picked)) {
        face = kBlankFace;
    }
    const bool bright = tile != 0 && (tile == scene.hint1 || tile == scene.hint2 ||
                                      (tile == HoveredTile && HighlightMode == kHighlightColoured));
    const bool marked =
        mode != kModeMemory && mode != kModeEditor && !scene.riverFound && (picked || bright);
    const PixelBuffer* sheet = &fs.FaceSheet;
    if (marked && !options.invert) {
        sheet = picked ? &fs.DarkFaceSheet : &fs.BrightFaceSheet;
    }
    const Point src = fs.FaceCellOrigin(face);
    const Point mask = fs.MaskCellOrigin();
    const PixelBuffer& shape = fs.FaceSheet;

    // Every transfer is kept inside the area being redrawn.
    auto blit = [this](const PixelBuffer& from, int sx, int sy, int dx, int dy, int w, int h,
                       RasterOp op) {
        const Rect r = Rect::FromSize(dx, dy, w, h).Intersected(clip_);
        if (!r.IsEmpty()) {
            Blit(ComposeBuffer, r.left, r.top, from, sx + r.left - dx, sy + r.top - dy, r.Width(),
                 r.Height(), op);
        }
    };

    // The bottom side would cover the face of the tile one column right and two rows down on
    // the same layer, so then it is drawn only up to the middle and closed with a chamfer.
    const int below = scene.board ? scene.board->At(column + 2, row + 3, layer + 1) : 0;
    const bool ghostBelow = scene.gameMode == kModeEditor && column + 1 == scene.ghostColumn &&
                            row + 2 == scene.ghostRow && layer == scene.ghostLayer;
    // A tile: the board AND the shape mask, then OR the tile (one pass).
    auto masked = [&](int cx, int cy, int dx, int dy, int w, int h) {
        const Rect r = Rect::FromSize(dx, dy, w, h).Intersected(clip_);
        if (!r.IsEmpty()) {
            BlitMasked(ComposeBuffer, r.left, r.top, shape, mask.x + cx + r.left - dx,
                       mask.y + cy + r.top - dy, *sheet, src.x + cx + r.left - dx,
                       src.y + cy + r.top - dy, r.Width(), r.Height());
        }
    };
    if (IsDrawnTile(below) || ghostBelow) {
        masked(0, 0, x - E, y, W + E, H);
        blit(*sheet, src.x, src.y + H, x - E, y + H, W / 2 + E, E, RasterOp::Copy);
        masked(0, 0, x + W / 2 - E, y + H, E, E);
    } else {
        masked(0, 0, x - E, y, W + E, H + E);
    }

    const bool rectangle = HighlightMode == kHighlightRed || HighlightMode == kHighlightGreen ||
                           HighlightMode == kHighlightBlue;
    if (tile != 0 && tile == HoveredTile && rectangle && mode != kModeEditor) {
        // FrameRect clips to the buffer; keep it to the area too.
        PixelBuffer& b = ComposeBuffer;
        const Pixel pen = PixelFromColour(highlightColour);
        const int width = Scaled(3);
        const int before = (width - 1) / 2, after = width - 1 - before;
        const int inset = Scaled(1);
        const int l = x + inset, t = y + inset, r = x + W - 1 - inset, btm = y + H - 1 - inset;
        const Rect bands[] = {{l - before, t - before, r + after + 1, t + after + 1},
                              {l - before, btm - before, r + after + 1, btm + after + 1},
                              {l - before, t - before, l + after + 1, btm + after + 1},
                              {r - before, t - before, r + after + 1, btm + after + 1}};
        for (const Rect& band : bands) {
            b.FillRect(band.Intersected(clip_), pen);
        }
    }
    if (marked && options.invert) {
        BlitConstant(ComposeBuffer, Rect::FromSize(x, y + 1, W - 1, H - 1).Intersected(clip_),
                     kWhite, RasterOp::Xor);
    }
    if (options.shadows && layer < 4 && column >= 0 && row >= 0 && scene.board) {
        const uint16_t zones = ProcessShadows(*scene.board, column + 1, row + 1, layer + 1);
        if (zones != 0) {
            Darken(x, y, zones);
        }
    }
}

uint16_t BoardRenderer::ProcessShadows(const Board& board, int column, int row, int layer) {
    auto occupied = [&](int dc, int dr) { return board.At(column + dc, row + dr, layer + 1) != 0; };
    if (occupied(0, 0) || (occupied(-1, 0) && occupied(1, 0)) ||
        (occupied(0, -1) && occupied(0, 1)) ||
        (occupied(-1, -1) && occupied(-1, 1) && occupied(1, -1) && occupied(1, 1))) {
        return 0;
    }
    uint16_t zones = 0;
    for (const ShadowSource& s : kShadowSources) {
        if (s.dc == -2 && column < 2) {
            continue; // column 0 of the grid is an empty margin
        }
        if (occupied(s.dc, s.dr)) {
            zones = uint16_t(zones | s.zones);
        }
    }
    return zones;
}

std::vector<BoardRenderer::Run> BoardRenderer::ZoneRuns(uint16_t zones) const {
    std::vector<Run> runs;
    if (sheets_ == nullptr) {
        return runs;
    }
    const int W = sheets_->TileWidth(), H = sheets_->TileHeight();
    const int s = std::max(2, H / 4), hw = W / 2, hh = H / 2;
    std::vector<std::pair<int, int>> spans;
    for (int i = 0; i < H; ++i) {
        spans.clear();
        auto add = [&](int zone, int from, int to) {
            if ((zones >> zone) & 1u) {
                if (from <= to) {
                    spans.push_back({from, to});
                }
            }
        };
        if (i <= s) {
            add(0, hw + s + 1, W - 1);
            add(1, hw + i, hw + s);
            add(2, hw, hw + i);
            add(3, s + 1, hw - 1);
            add(4, i, s);
            add(5, 0, i);
        }
        if (i >= s + 1 && i <= hh - 1) {
            add(6, 0, s);
            add(10, hw, hw + s);
        }
        if (i >= hh && i <= hh + s) {
            add(7, i - hh, s);
            add(8, 0, i - hh);
            add(11, hw + s + 1, W - 1);
            add(12, hw + (i - hh), hw + s);
            add(13, hw, hw + (i - hh));
            add(14, s + 1, hw - 1);
        }
        if (i >= hh + s + 1) {
            add(9, 0, s);
            add(15, hw, hw + s);
        }
        // A pixel in two zones that are both cast is darkened once.
        std::sort(spans.begin(), spans.end());
        for (const auto& [from, to] : spans) {
            if (!runs.empty() && runs.back().row == i && from <= runs.back().to + 1) {
                runs.back().to = std::max(runs.back().to, to);
            } else {
                runs.push_back({i, from, to});
            }
        }
    }
    return runs;
}

const std::vector<BoardRenderer::Run>& BoardRenderer::CachedRuns(uint16_t zones) {
    auto it = runCache_.find(zones);
    if (it == runCache_.end()) {
        it = runCache_.emplace(zones, ZoneRuns(zones)).first;
    }
    return it->second;
}

void BoardRenderer::Darken(int x, int y, uint16_t zones) {
    for (const Run& run : CachedRuns(zones)) {
        const int py = y + run.row;
        if (py < clip_.top || py >= clip_.bottom) {
            continue;
        }
        const int from = std::max(x + run.from, clip_.left);
        const int to = std::min(x + run.to, clip_.right - 1);
        Pixel* line = ComposeBuffer.ScanLine(py);
        for (int px = from; px <= to; ++px) {
            const Pixel p = line[px];
            const int r = std::max(RedOf(p) - kShadowDepth, 0);
            const int g = std::max(GreenOf(p) - kShadowDepth, 0);
            const int b = std::max(BlueOf(p) - kShadowDepth, 0);
            line[px] = MakePixel(r, g, b);
        }
    }
}

} // namespace tovani
