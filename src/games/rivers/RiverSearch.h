// The river between two tiles of Rivers: a path of one, two or three straight segments (at most
// two right-angle turns) from one tile's place to the other's, through empty places of their
// layer only, that may leave the grid as far as columns 0 and 34 and rows 0 and 20 (Easy) or 1
// and 19 (Hard). Tiles of other layers do not matter, so a river of the upper layer passes over
// the tiles below it.
//
// `RiverSearch` walks the paths in the game's own order and keeps the first river it finds,
// with the cells the reached tile visits when it is carried along it. `RiverMap` only answers
// whether a river exists, from a snapshot of the board, fast enough for the count of moves that
// runs on every 50 ms tick; both always give the same answer.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "solitaire/Board.h"

namespace tovani {

class RiverSearch {
public:
    explicit RiverSearch(const Board& board) : board_(board) {}

    // Looks for a river from tile `start` to tile `target` (the tile that would be carried).
    // False when the two lie on different layers or either is off the board. The directions are
    // tried in this order: the first segment right, left, down, up from the start; at every
    // empty place on it the second segment turns (down then up from a horizontal first segment,
    // right then left from a vertical one); at every empty place of the second segment the
    // third turns back parallel to the first (increasing direction first). A segment ends at
    // the first occupied place, which is the target or a dead end. The first river found is
    // the one kept.
    bool CanBeReached(int start, int target);

    bool riverFound = false;
    int carriedTile = 0; // the target, once the river reaches it
    // Where the carried tile stands once carried: the place next to the start tile.
    Cell carried;
    // The places the carried tile visits as it is carried back along the river, in order: its
    // own place first, then every place of the river, the last one next to the start tile.
    std::vector<Cell> carriedSteps;

private:
    // The second segment from a corner: vertical (down, then up), or horizontal (right, then
    // left). True when it stopped because the river was found.
    bool TestVertical(int column, int row, int layer, int targetRow, int targetColumn);
    bool TestHorizontal(int column, int row, int layer, int targetRow, int targetColumn);
    // The third segment: no further turn.
    bool TestVertical2(int column, int row, int layer, int targetRow, int targetColumn);
    bool TestHorizontal2(int column, int row, int layer, int targetRow, int targetColumn);
    // An occupied place ends the segment (always true); when it is the target's place the
    // river is found and the target becomes the carried tile.
    bool IsIt(int column, int row, int layer, int targetRow, int targetColumn);
    // The carried tile moves to this place.
    void MoveRiverTiles(int column, int row, int layer);

    using Turn = bool (RiverSearch::*)(int, int, int, int, int);
    // Steps from (column, row) by (dc, dr) while the bounds allow another step; at an empty
    // place runs `turn` from it (none on the third segment). On a find, carries the tile back
    // along this segment's places and answers true.
    bool Walk(int column, int row, int layer, int dc, int dr, int targetRow, int targetColumn,
              Turn turn);

    const Board& board_;
};

// A snapshot of which places are occupied, layer by layer, for answering many river questions
// on one board. Take a new one after the board changes.
class RiverMap {
public:
    explicit RiverMap(const Board& board);

    // Whether `RiverSearch::CanBeReached(a, b)` would find a river.
    bool Reachable(int a, int b) const;

private:
    // The places a river can visit on one layer form a lattice two cells apart; bit x of
    // rowBits[y] (and bit y of columnBits[x]) is set when lattice place (x, y) is occupied.
    // Columns 0..34 (18 places two apart), rows 0..20 (11 places).
    static constexpr int kMaxWidth = 18;
    static constexpr int kMaxHeight = 11;
    struct Lattice {
        bool uniform = true;   // every tile of the layer lies on the lattice
        int columnParity = -1; // of the tiles' columns and rows (-1: no tile yet)
        int rowParity = -1;
        int width = 0, height = 0;
        std::array<uint32_t, kMaxHeight> rowBits{};
        std::array<uint32_t, kMaxWidth> columnBits{};
    };
    bool Occupied(const Lattice& m, int x, int y) const {
        return (m.rowBits[static_cast<size_t>(y)] >> x) & 1u;
    }
    // No occupied place strictly between x1 and x2 on lattice row y (y1 and y2 on column x).
    bool RowClear(const Lattice& m, int y, int x1, int x2) const;
    bool ColumnClear(const Lattice& m, int x, int y1, int y2) const;

    const Board& board_;
    std::array<Lattice, kGridLayers> layers_{};
};

} // namespace tovani
