// Helpers for the Solitaire tests: boards and layouts drawn by hand, and the shipped layouts.
#pragma once

#include <string>
#include <vector>

#include "solitaire/Board.h"
#include "solitaire/Tiles.h"

namespace tovani::test {

// A layout from a list of board cells (column 1..34, row 1..20, layer 1..5).
inline Layout LayoutOf(const std::vector<Cell>& cells) {
    Layout lay;
    for (const Cell& c : cells)
        lay.Set(c.layer, c.row - 1, c.column - 1, true);
    return lay;
}

// A board holding tiles 1, 2, ... on the given cells, in order.
inline Board BoardOf(const std::vector<Cell>& cells) {
    Board b;
    int t = 0;
    for (const Cell& c : cells)
        b.Place(++t, c);
    b.tilesLeft = b.tilesTotal = t;
    return b;
}

inline std::string ShippedLayoutsDir() {
    return std::string(TOVANI_BIN_DIR) + "/Layouts";
}

// The thirteen layouts the favourites list starts with.
inline const std::vector<std::string>& ShippedLayoutNames() {
    static const std::vector<std::string> names = {
        "Arena",   "Big Hole", "Bizarre", "Castle",   "Karst",       "Hourglass",   "N for Zevade",
        "Orbital", "Portal",   "Pyramid", "Scorpion", "Traditional", "Yin and Yang"};
    return names;
}

} // namespace tovani::test
