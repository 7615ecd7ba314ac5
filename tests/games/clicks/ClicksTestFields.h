// Small Clicks fields drawn as text for the tests.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "games/clicks/Clicks.h"

namespace tovani::test {

// The rows given are the lowest rows of the field, the last string the bottom row; character k
// of a string is column k + 1: '.' empty, '1'..'6' a picture.
inline ClicksGrid GridFromRows(const std::vector<std::string>& rows) {
    ClicksGrid g{};
    const int top = kClicksRows - static_cast<int>(rows.size()) + 1;
    for (size_t i = 0; i < rows.size(); ++i)
        for (size_t k = 0; k < rows[i].size(); ++k)
            if (rows[i][k] != '.')
                g[k + 1][top + static_cast<int>(i)] = static_cast<uint8_t>(rows[i][k] - '0');
    return g;
}

// The same lowest rows as text, for readable failures.
inline std::vector<std::string> RowsOf(const ClicksGrid& g, int rows, int columns) {
    std::vector<std::string> out;
    for (int r = kClicksRows - rows + 1; r <= kClicksRows; ++r) {
        std::string line;
        for (int c = 1; c <= columns; ++c)
            line += g[c][r] ? static_cast<char>('0' + g[c][r]) : '.';
        out.push_back(line);
    }
    return out;
}

// A game standing on `grid` one move after a deal (any whole field of ones), so that the state
// is one a game can be in. The grid must be settled and hold at most 214 tiles.
inline ClicksGame GameOn(const ClicksGrid& grid, ClicksLevel level = ClicksLevel::Hard) {
    ClicksState s;
    s.level = level;
    s.grid = grid;
    s.tilesLeft = CountTiles(grid);
    s.moveDepth = 1;
    for (auto& column : s.snapshots[0])
        column.fill(1);
    s.gameOver = s.tilesLeft == 0;
    ClicksGame game;
    if (game.SetState(s) != ClicksStateProblem::None)
        throw std::runtime_error("test field is not a state a game can be in");
    return game;
}

} // namespace tovani::test
