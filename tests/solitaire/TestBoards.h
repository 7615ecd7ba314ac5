// Helpers for the Solitaire tests: boards and layouts drawn by hand, and the shipped layouts.
#pragma once

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "solitaire/Board.h"
#include "solitaire/Tiles.h"

namespace tovani::test {

// A layout from a list of board cells (column 1..34, row 1..20, layer 1..5).
// `n` cells at random on a small board (9 columns, 5 rows, 3 layers), no two overlapping on one
// layer: tiles stacked and side by side, with half-tile offsets.
inline std::vector<Cell> RandomCells(std::mt19937& gen, int n) {
    std::vector<Cell> cells;
    while (static_cast<int>(cells.size()) < n) {
        Cell c{std::uniform_int_distribution<int>(1, 9)(gen),
               std::uniform_int_distribution<int>(1, 5)(gen),
               std::uniform_int_distribution<int>(1, 3)(gen)};
        bool clash = false;
        for (const Cell& o : cells)
            clash = clash || (o.layer == c.layer && std::abs(o.column - c.column) < 2 &&
                              std::abs(o.row - c.row) < 2);
        if (!clash)
            cells.push_back(c);
    }
    return cells;
}

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
