// Which tiles are free, and how many moves the free tiles offer.
//
// Side rule: a tile is free when nothing lies on it and its whole left side or its whole right
// side is open. Vertical rule (the "Vertical Variation"): the same with the top and bottom
// sides. Only the layer directly above counts, and nothing lies on a tile of the top layer.
#pragma once

#include <vector>

#include "solitaire/Board.h"

namespace tovani {

enum class FreeRule {
    Side,     // left or right side open
    Vertical, // top or bottom side open
};

// The rules on a cell of the grid; any non-zero cell (a tile or a place marker) is occupied.
// The cell itself need not hold anything: dealing tests places before they hold a tile.
bool IsCellFreeSide(const Board& board, const Cell& cell);
bool IsCellFreeVertical(const Board& board, const Cell& cell);
bool IsCellFree(const Board& board, const Cell& cell, FreeRule rule);

// The rules on a tile number; a tile that is not on the board is never free.
bool Dispo(const Board& board, int tile, FreeRule rule = FreeRule::Side);
bool Dispo_Vertical(const Board& board, int tile);

// What the free-tile scan finds: the free tiles in increasing order and the moves available,
// the number of places in that list where two neighbouring entries match. Since matching tiles
// have consecutive numbers this is, per block of four, its free tiles less one.
struct FreeScan {
    std::vector<int> freeTiles;
    int movesAvailable = 0;
};

// Scans tile numbers 1..tiles total under the rule in force.
FreeScan IsItFree(const Board& board, FreeRule rule);

// The number of tiles on the board that are free under the side rule.
int FreeTiles(const Board& board);

// The places of a layout that would be free under the side rule if every place held a tile:
// the "free tiles" count of a layout before any tile is taken.
int LayoutFreePlaces(const Layout& layout);

} // namespace tovani
