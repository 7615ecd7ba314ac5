// The Slider grid and the rules that work on it alone: the path a tile slides along through
// empty cells, and the lines of five or more like tiles that vanish.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "games/FieldCursor.h"

namespace tovani {

constexpr int kSliderSize = 9;
constexpr int kSliderCells = kSliderSize * kSliderSize;
constexpr uint8_t kSliderJoker = 7; // Easy only: counts as any picture

// Cells by column 1..9 (left to right) and row 1..9 (top to bottom): 0 empty, 1..6 a picture,
// 7 the joker.
struct SliderGrid {
    std::array<std::array<uint8_t, kSliderSize>, kSliderSize> cells{}; // [column - 1][row - 1]

    uint8_t& operator()(int column, int row) { return cells[column - 1][row - 1]; }
    uint8_t operator()(int column, int row) const { return cells[column - 1][row - 1]; }
    uint8_t& operator()(FieldCell c) { return (*this)(c.column, c.row); }
    uint8_t operator()(FieldCell c) const { return (*this)(c.column, c.row); }

    static bool Inside(FieldCell c) {
        return c.column >= 1 && c.column <= kSliderSize && c.row >= 1 && c.row <= kSliderSize;
    }
    int Tiles() const;
    bool Full() const { return Tiles() == kSliderCells; }
    friend bool operator==(const SliderGrid&, const SliderGrid&) = default;
};

// The path from `source` to `destination` through empty cells, by side steps, in the order the
// tile walks it: source first, destination last. Empty when there is none.
//
// The search is depth first from the destination. From each cell it tries the neighbours in an
// order that leans towards the source cell (OrderTowards), so the path found is the first
// chain that arrives, not necessarily a shortest one.
std::vector<FieldCell> FindPath(const SliderGrid& grid, FieldCell source, FieldCell destination);

// The cells standing in a line of five or more like tiles, across, down or on a diagonal. A
// joker matches any picture; a line that starts with jokers takes the picture of its first
// other tile. Cells in column order, each once.
std::vector<FieldCell> FindLines(const SliderGrid& grid);

// Empties the cells of every line; answers them.
std::vector<FieldCell> RemoveLines(SliderGrid& grid);

} // namespace tovani
