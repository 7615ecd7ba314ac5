// Layouts made to be hard for the solver, shared by the solver's benchmark tools.
#pragma once

#include <cstdio>
#include <vector>

#include "solitaire/Board.h"

namespace tovani::bench {

// A slab of long rows with a second, narrower slab on it: `rows` rows of `len` tiles below, and
// above them, from the second row on and centred, rows of `upper` tiles shifted by dc columns
// and dr rows (half a tile each) until the two layers hold 144 tiles. Long rows leave few tiles
// free at a time, and the upper slab holds back most of the lower one.
inline Layout HardSlab(int len, int rows, int upper, int dc, int dr) {
    Layout l;
    int placed = 0;
    for (int r = 0; r < rows && placed < kTileCount; ++r)
        for (int k = 0; k < len && placed < kTileCount; ++k, ++placed)
            l.Set(1, 2 * r, 2 * k, true);
    int c0 = (len - upper) + dc;
    for (int row = 2 + dr; placed < kTileCount && row + 1 < kLayoutRows; row += 2)
        for (int k = 0; k < upper && placed < kTileCount; ++k, ++placed)
            l.Set(2, row, c0 + 2 * k, true);
    char name[80];
    std::snprintf(name, sizeof name, "slab %dx%d under rows of %d, +%d,+%d", rows, len, upper, dc,
                  dr);
    l.name = name;
    return l;
}

inline std::vector<Layout> HardLayouts() {
    const int shapes[][5] = {{14, 7, 12, 1, 0}, {17, 6, 10, 0, 0}, {15, 8, 12, 1, 1},
                             {16, 7, 8, 0, 0},  {13, 8, 10, 1, 0}, {16, 6, 12, 0, 0},
                             {12, 9, 9, 1, 1},  {17, 7, 8, 1, 0}};
    std::vector<Layout> v;
    for (const auto& s : shapes) {
        Layout l = HardSlab(s[0], s[1], s[2], s[3], s[4]);
        if (l.PlaceCount() == kTileCount)
            v.push_back(l);
    }
    return v;
}

} // namespace tovani::bench
