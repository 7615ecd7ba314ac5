#include "solitaire/FreeRules.h"

namespace tovani {

namespace {

// Nothing lies on the tile: the nine cells of the layer above that a tile overlapping it would
// be stored in are empty. The top layer has nothing above it.
bool NothingOnTop(const Board& b, const Cell& t) {
    if (t.layer >= kLayoutLayers)
        return true;
    for (int c = t.column - 1; c <= t.column + 1; ++c)
        for (int r = t.row - 1; r <= t.row + 1; ++r)
            if (b.At(c, r, t.layer + 1) != 0)
                return false;
    return true;
}

// No tile of the same layer touches the side at column offset dc (-2 or +2), at any of the
// three row offsets that overlap the tile's height.
bool SideOpen(const Board& b, const Cell& t, int dc) {
    for (int dr = -1; dr <= 1; ++dr)
        if (b.At(t.column + dc, t.row + dr, t.layer) != 0)
            return false;
    return true;
}

// The same for the top (dr = -2) and bottom (dr = +2) sides.
bool EndOpen(const Board& b, const Cell& t, int dr) {
    for (int dc = -1; dc <= 1; ++dc)
        if (b.At(t.column + dc, t.row + dr, t.layer) != 0)
            return false;
    return true;
}

} // namespace

bool IsCellFreeSide(const Board& board, const Cell& cell) {
    return (SideOpen(board, cell, -2) || SideOpen(board, cell, 2)) && NothingOnTop(board, cell);
}

bool IsCellFreeVertical(const Board& board, const Cell& cell) {
    return (EndOpen(board, cell, -2) || EndOpen(board, cell, 2)) && NothingOnTop(board, cell);
}

bool IsCellFree(const Board& board, const Cell& cell, FreeRule rule) {
    return rule == FreeRule::Vertical ? IsCellFreeVertical(board, cell)
                                      : IsCellFreeSide(board, cell);
}

bool Dispo(const Board& board, int tile, FreeRule rule) {
    Cell c = board.Position(tile);
    if (!c.OnBoard())
        return false;
    return IsCellFree(board, c, rule);
}

bool Dispo_Vertical(const Board& board, int tile) {
    return Dispo(board, tile, FreeRule::Vertical);
}

FreeScan IsItFree(const Board& board, FreeRule rule) {
    FreeScan scan;
    int total = board.tilesTotal < kTileCount ? board.tilesTotal : kTileCount;
    for (int t = 1; t <= total; ++t)
        if (Dispo(board, t, rule))
            scan.freeTiles.push_back(t);
    for (size_t k = 0; k + 1 < scan.freeTiles.size(); ++k)
        if (TilesMatch(scan.freeTiles[k], scan.freeTiles[k + 1]))
            ++scan.movesAvailable;
    return scan;
}

int FreeTiles(const Board& board) {
    int n = 0;
    for (int t = 1; t <= kTileCount; ++t)
        if (Dispo(board, t, FreeRule::Side))
            ++n;
    return n;
}

int LayoutFreePlaces(const Layout& layout) {
    Board b;
    b.FillFromLayout(layout);
    int n = 0;
    for (const Cell& c : layout.Places())
        if (IsCellFreeSide(b, c))
            ++n;
    return n;
}

} // namespace tovani
