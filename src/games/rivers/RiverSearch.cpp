#include "games/rivers/RiverSearch.h"

#include <algorithm>

namespace tovani {

namespace {

// Rivers run as far as columns 0 and 34 and rows 0 and 20 (1 and 19 for places on odd rows):
// one more step is allowed while the place is inside these bounds.
bool CanStep(int column, int row, int dc, int dr) {
    if (dc > 0)
        return column < 33;
    if (dc < 0)
        return column > 1;
    if (dr > 0)
        return row < 19;
    return row > 1;
}

} // namespace

bool RiverSearch::CanBeReached(int start, int target) {
    riverFound = false;
    carriedTile = 0;
    carried = Cell{};
    carriedSteps.clear();
    const Cell s = board_.Position(start);
    const Cell f = board_.Position(target);
    if (s.layer != f.layer || !s.OnBoard() || !f.OnBoard())
        return false;
    const int l = s.layer;
    // The first segment: right, left, down, up; from a horizontal one the river turns
    // vertically, from a vertical one horizontally.
    return Walk(s.column, s.row, l, 2, 0, f.row, f.column, &RiverSearch::TestVertical) ||
           Walk(s.column, s.row, l, -2, 0, f.row, f.column, &RiverSearch::TestVertical) ||
           Walk(s.column, s.row, l, 0, 2, f.row, f.column, &RiverSearch::TestHorizontal) ||
           Walk(s.column, s.row, l, 0, -2, f.row, f.column, &RiverSearch::TestHorizontal);
}

bool RiverSearch::TestVertical(int column, int row, int layer, int targetRow, int targetColumn) {
    return Walk(column, row, layer, 0, 2, targetRow, targetColumn, &RiverSearch::TestHorizontal2) ||
           Walk(column, row, layer, 0, -2, targetRow, targetColumn, &RiverSearch::TestHorizontal2);
}

bool RiverSearch::TestHorizontal(int column, int row, int layer, int targetRow, int targetColumn) {
    return Walk(column, row, layer, 2, 0, targetRow, targetColumn, &RiverSearch::TestVertical2) ||
           Walk(column, row, layer, -2, 0, targetRow, targetColumn, &RiverSearch::TestVertical2);
}

bool RiverSearch::TestVertical2(int column, int row, int layer, int targetRow, int targetColumn) {
    return Walk(column, row, layer, 0, 2, targetRow, targetColumn, nullptr) ||
           Walk(column, row, layer, 0, -2, targetRow, targetColumn, nullptr);
}

bool RiverSearch::TestHorizontal2(int column, int row, int layer, int targetRow, int targetColumn) {
    return Walk(column, row, layer, 2, 0, targetRow, targetColumn, nullptr) ||
           Walk(column, row, layer, -2, 0, targetRow, targetColumn, nullptr);
}

bool RiverSearch::IsIt(int column, int row, int layer, int targetRow, int targetColumn) {
    if (column == targetColumn && row == targetRow) {
        riverFound = true;
        carriedTile = board_.At(column, row, layer);
        carried = Cell{column, row, layer};
    }
    return true;
}

void RiverSearch::MoveRiverTiles(int column, int row, int layer) {
    carried = Cell{column, row, layer};
    carriedSteps.push_back(carried);
}

bool RiverSearch::Walk(int column, int row, int layer, int dc, int dr, int targetRow,
                       int targetColumn, Turn turn) {
    int c = column, r = row;
    while (CanStep(c, r, dc, dr)) {
        c += dc;
        r += dr;
        const bool occupied = board_.At(c, r, layer) != 0;
        if (occupied)
            IsIt(c, r, layer, targetRow, targetColumn);
        else if (turn)
            (this->*turn)(c, r, layer, targetRow, targetColumn);
        if (riverFound) {
            // Carry the tile back along this segment, from the place of the find to the place
            // after the segment's start; the segments that led here do the same after us.
            for (int x = c, y = r; x != column || y != row; x -= dc, y -= dr)
                MoveRiverTiles(x, y, layer);
            return true;
        }
        if (occupied)
            return false;
    }
    return false;
}

// ---- RiverMap ---------------------------------------------------------------------------------

RiverMap::RiverMap(const Board& board) : board_(board) {
    for (int l = 1; l < kGridLayers; ++l) {
        Lattice& m = layers_[static_cast<size_t>(l)];
        for (int c = 0; c < kGridColumns && m.uniform; ++c)
            for (int r = 0; r < kGridRows; ++r) {
                if (board.At(c, r, l) == 0)
                    continue;
                if (m.columnParity < 0) {
                    m.columnParity = c & 1;
                    m.rowParity = r & 1;
                    m.width = ((m.columnParity ? 33 : 34) - m.columnParity) / 2 + 1;
                    m.height = ((m.rowParity ? 19 : 20) - m.rowParity) / 2 + 1;
                }
                const int x = (c - m.columnParity) / 2, y = (r - m.rowParity) / 2;
                if ((c & 1) != m.columnParity || (r & 1) != m.rowParity || x >= m.width ||
                    y >= m.height) {
                    m.uniform = false; // the full search answers for this layer
                    break;
                }
                m.rowBits[static_cast<size_t>(y)] |= 1u << x;
                m.columnBits[static_cast<size_t>(x)] |= 1u << y;
            }
    }
}

bool RiverMap::RowClear(const Lattice& m, int y, int x1, int x2) const {
    const int lo = std::min(x1, x2) + 1, hi = std::max(x1, x2) - 1;
    if (lo > hi)
        return true;
    const uint32_t between = ((1u << (hi - lo + 1)) - 1u) << lo;
    return (m.rowBits[static_cast<size_t>(y)] & between) == 0;
}

bool RiverMap::ColumnClear(const Lattice& m, int x, int y1, int y2) const {
    const int lo = std::min(y1, y2) + 1, hi = std::max(y1, y2) - 1;
    if (lo > hi)
        return true;
    const uint32_t between = ((1u << (hi - lo + 1)) - 1u) << lo;
    return (m.columnBits[static_cast<size_t>(x)] & between) == 0;
}

bool RiverMap::Reachable(int a, int b) const {
    if (a == b)
        return false; // no river leads back to its own start
    const Cell pa = board_.Position(a), pb = board_.Position(b);
    if (!pa.OnBoard() || !pb.OnBoard() || pa.layer != pb.layer)
        return false;
    if (pa.layer < 1 || pa.layer >= kGridLayers || board_.At(pa) != a || board_.At(pb) != b ||
        !layers_[static_cast<size_t>(pa.layer)].uniform) {
        RiverSearch search(board_); // a board the snapshot cannot describe
        return search.CanBeReached(a, b);
    }
    const Lattice& m = layers_[static_cast<size_t>(pa.layer)];
    const int ax = (pa.column - m.columnParity) / 2, ay = (pa.row - m.rowParity) / 2;
    const int bx = (pb.column - m.columnParity) / 2, by = (pb.row - m.rowParity) / 2;

    // One segment.
    if (ay == by && RowClear(m, ay, ax, bx))
        return true;
    if (ax == bx && ColumnClear(m, ax, ay, by))
        return true;
    // Two segments, turning at the empty place in line with both tiles. (When the tiles share
    // a row or a column that place is one of the tiles, which is occupied.)
    if (!Occupied(m, bx, ay) && RowClear(m, ay, ax, bx) && ColumnClear(m, bx, ay, by))
        return true;
    if (!Occupied(m, ax, by) && ColumnClear(m, ax, ay, by) && RowClear(m, by, ax, bx))
        return true;
    // Three segments: across, along a column x, across again; or down, along a row y, down.
    if (ay != by)
        for (int x = 0; x < m.width; ++x)
            if (x != ax && x != bx && !Occupied(m, x, ay) && !Occupied(m, x, by) &&
                RowClear(m, ay, ax, x) && ColumnClear(m, x, ay, by) && RowClear(m, by, x, bx))
                return true;
    if (ax != bx)
        for (int y = 0; y < m.height; ++y)
            if (y != ay && y != by && !Occupied(m, ax, y) && !Occupied(m, bx, y) &&
                ColumnClear(m, ax, ay, y) && RowClear(m, y, ax, bx) && ColumnClear(m, bx, y, by))
                return true;
    return false;
}

} // namespace tovani
