#include "games/TileBoardCheck.h"

#include <array>

namespace tovani {

namespace {

bool Fail(std::string* why, std::string text) {
    if (why)
        *why = std::move(text);
    return false;
}

std::string CellText(const Cell& c) {
    return "(" + std::to_string(c.column) + ", " + std::to_string(c.row) + ", " +
           std::to_string(c.layer) + ")";
}

} // namespace

bool GridAgreesWithPositions(const Board& board, std::string* why) {
    std::array<Cell, kTileCount + 1> seen{};
    int onBoard = 0;
    for (int c = 0; c < kGridColumns; ++c)
        for (int r = 0; r < kGridRows; ++r)
            for (int l = 0; l < kGridLayers; ++l) {
                const int v = board.At(c, r, l);
                if (v == 0)
                    continue;
                const Cell here{c, r, l};
                if (!IsTileNumber(v))
                    return Fail(why, "cell " + CellText(here) + " holds " + std::to_string(v) +
                                         ", which is no tile");
                if (v > board.tilesTotal)
                    return Fail(why, "tile " + std::to_string(v) + " is on the board but only " +
                                         std::to_string(board.tilesTotal) + " were dealt");
                if (seen[static_cast<size_t>(v)].OnBoard())
                    return Fail(why, "tile " + std::to_string(v) + " stands in two cells");
                seen[static_cast<size_t>(v)] = here;
                ++onBoard;
            }
    for (int t = 1; t <= kTileCount; ++t)
        if (board.Position(t) != seen[static_cast<size_t>(t)])
            return Fail(why, "the position of tile " + std::to_string(t) + " is " +
                                 CellText(board.Position(t)) + " but the grid has it at " +
                                 CellText(seen[static_cast<size_t>(t)]));
    if (onBoard != board.tilesLeft)
        return Fail(why, std::to_string(onBoard) + " tiles on the board but tiles left is " +
                             std::to_string(board.tilesLeft));
    return true;
}

} // namespace tovani
