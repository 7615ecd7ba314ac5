#include "games/TileBoardCheck.h"

#include <array>
#include <vector>

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

bool CheckSolitaireState(const Board& board, const std::array<HistoryEntry, kHistorySize>& history,
                         const Layout& layout, std::string* why) {
    const int places = layout.PlaceCount();
    if (board.tilesTotal != places)
        return Fail(why, std::to_string(board.tilesTotal) + " tiles dealt on a layout of " +
                             std::to_string(places) + " places");
    if (board.tilesLeft < 0 || board.tilesLeft > board.tilesTotal ||
        (board.tilesTotal - board.tilesLeft) % 2 != 0)
        return Fail(why, "tiles left is " + std::to_string(board.tilesLeft));
    if (!GridAgreesWithPositions(board, why))
        return false;
    auto onPlace = [&layout](const Cell& c) {
        return layout.Has(c.layer, c.row - 1, c.column - 1);
    };
    for (int t = 1; t <= board.tilesTotal; ++t) {
        const Cell c = board.Position(t);
        if (c.OnBoard() && !onPlace(c))
            return Fail(why,
                        "tile " + std::to_string(t) + " stands off the layout at " + CellText(c));
    }
    std::array<bool, kTileCount + 1> removed{};
    std::vector<Cell> freed;
    const int count = board.tilesTotal - board.tilesLeft;
    for (int i = 0; i < count; ++i) {
        const HistoryEntry& e = history[static_cast<size_t>(i)];
        if (e.tile < 1 || e.tile > board.tilesTotal)
            return Fail(why, "history entry " + std::to_string(i) + " names tile " +
                                 std::to_string(e.tile));
        if (board.Position(e.tile).OnBoard() || removed[static_cast<size_t>(e.tile)])
            return Fail(why, "tile " + std::to_string(e.tile) +
                                 " of the history is still on the board or removed twice");
        removed[static_cast<size_t>(e.tile)] = true;
        if (!onPlace(e.cell) || board.At(e.cell) != 0)
            return Fail(why, "history entry " + std::to_string(i) + " puts its tile at " +
                                 CellText(e.cell) + ", which is no free place");
        for (const Cell& f : freed)
            if (f == e.cell)
                return Fail(why, "two removed tiles had the place " + CellText(e.cell));
        freed.push_back(e.cell);
        if (i % 2 == 1 && !TilesMatch(history[static_cast<size_t>(i - 1)].tile, e.tile))
            return Fail(why, "history entries " + std::to_string(i - 1) + " and " +
                                 std::to_string(i) + " are no matching pair");
    }
    return true;
}

} // namespace tovani
