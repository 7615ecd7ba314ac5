// A check shared by the games that keep their tiles in the Solitaire board grid (Rivers,
// Memory): the grid, the tile position table and the tile counters must tell the same story.
// Saved games are checked with it before they are resumed, and the tests after every move.
#pragma once

#include <array>
#include <string>

#include "solitaire/Board.h"
#include "solitaire/Play.h"

namespace tovani {

// True when every tile number in the grid stands in exactly one cell, the position table
// gives each of those tiles that cell and every other tile (0, 0, 0), no tile above tiles
// total is on the board, no cell holds a place marker, and tiles left is the number of tiles
// in the grid. Otherwise false, with the first disagreement in `why` (when given).
bool GridAgreesWithPositions(const Board& board, std::string* why = nullptr);

// Whether a Solitaire position read from a saved game can be played on `layout`: as many tiles
// dealt as the layout has places, the grid and positions in agreement, every tile on a place of
// the layout, and the history's first (tiles total - tiles left) entries the removed tiles, in
// matching pairs, each on an empty place of the layout of its own, so that every dealt tile is
// either on the board or in the history.
bool CheckSolitaireState(const Board& board, const std::array<HistoryEntry, kHistorySize>& history,
                         const Layout& layout, std::string* why = nullptr);

} // namespace tovani
