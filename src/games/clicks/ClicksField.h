// The Clicks field and the rules that work on it alone: the group under a click, its removal,
// the settling passes (tiles fall, empty columns close to the left) and the count of groups
// that can still be removed.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "games/FieldCursor.h"

namespace tovani {

// The playing field is columns 1..18 and rows 1..12 of a grid with an empty frame around it
// (columns 0 and 19, rows 0, 13 and 14), so a neighbour of a field cell always exists.
constexpr int kClicksColumns = 18;
constexpr int kClicksRows = 12;
constexpr int kClicksGridColumns = 20;
constexpr int kClicksGridRows = 15;
constexpr int kClicksTiles = kClicksColumns * kClicksRows; // 216

// grid[column][row]: 0 = empty, 1..k = picture number (drawn with small picture k - 1).
using ClicksGrid = std::array<std::array<uint8_t, kClicksGridRows>, kClicksGridColumns>;
// The playing field alone, as the undo store keeps it: field[column - 1][row - 1].
using ClicksField = std::array<std::array<uint8_t, kClicksRows>, kClicksColumns>;

ClicksField FieldOf(const ClicksGrid& grid);
// The grid with `field` in its playing area and an empty frame.
ClicksGrid GridOf(const ClicksField& field);

// Whether one of the four side neighbours holds the same picture as the tile at (c, r). A cell
// of the frame or an empty cell has none.
bool HasLikeNeighbour(const ClicksGrid& grid, int column, int row);

// Clears the group at (c, r): the tile and every like tile joined to it side by side (corners do
// not join). Answers the cleared cells; none when the cell is empty.
std::vector<FieldCell> RemoveGroup(ClicksGrid& grid, int column, int row);

// One settling pass. First the fall: rows 1..11 from the top, columns 1..18, a tile over an
// empty cell moves down one; a tile that moved is met again on the next row and keeps falling,
// so the lowest tile of every column reaches the bottom row in one pass, while a tile resting
// on one that fell waits for the next pass. Then the close: walking the columns from the left,
// an empty column with a tile anywhere to its right takes the columns right of it one place
// left; the walk goes on with the next column, so two empty columns side by side take two
// passes. Answers whether anything moved.
bool SettlePass(ClicksGrid& grid);

// Settles completely. Answers the grid after every pass that moved something, in order: the
// frames of the falling and closing animation (the last one is the settled grid).
std::vector<ClicksGrid> Settle(ClicksGrid& grid);

// Whether no pass would move anything: every column stands on the bottom row without gaps and
// the empty columns are all to the right.
bool IsSettled(const ClicksGrid& grid);

// The groups that one click can remove: connected sets of two or more like tiles.
int CountGroups(const ClicksGrid& grid);

int CountTiles(const ClicksGrid& grid);
int CountTiles(const ClicksField& field);

} // namespace tovani
