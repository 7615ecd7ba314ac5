// Slider grids drawn as text for the tests.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "games/slider/Slider.h"

namespace tovani::test {

// Rows from the top, character k of a row is column k + 1: '.' empty, '1'..'7' a tile. Rows
// not given stay empty.
inline SliderGrid SliderFromRows(const std::vector<std::string>& rows) {
    SliderGrid g;
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c)
            if (rows[r][c] != '.')
                g(static_cast<int>(c) + 1, static_cast<int>(r) + 1) =
                    static_cast<uint8_t>(rows[r][c] - '0');
    return g;
}

// A full grid in which no two touching tiles (also corner to corner) are alike, so no line can
// form through it: picture ((column + 2 * row) mod 6) + 1.
inline SliderGrid FullGridWithoutLines() {
    SliderGrid g;
    for (int c = 1; c <= kSliderSize; ++c)
        for (int r = 1; r <= kSliderSize; ++r)
            g(c, r) = static_cast<uint8_t>((c + 2 * r) % 6 + 1);
    return g;
}

inline SliderGame SliderOn(const SliderGrid& grid, std::array<uint8_t, 3> next = {0, 1, 2},
                           SliderLevel level = SliderLevel::Hard) {
    SliderState s;
    s.level = level;
    s.grid = grid;
    s.next = next;
    s.undoNext = next;
    SliderGame game;
    if (game.SetState(s) != SliderStateProblem::None)
        throw std::runtime_error("test grid is not a state a game can be in");
    return game;
}

} // namespace tovani::test
