// Rivers positions built by hand for the tests: chosen tiles on chosen places, every other
// tile removed in matching pairs with history entries on the places left over, so that the
// state is one a game can reach (CheckRiversState) and Back can put everything back.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "games/rivers/RiverSearch.h"
#include "games/rivers/RiversGame.h"

namespace tovani::test {

using Placement = std::map<int, Cell>; // tile -> place

// A place of layer 1.
inline Cell E(int column, int row) {
    return Cell{column, row, 1};
}

// Every place of the variant, layer by layer, row by row, column by column.
inline std::vector<Cell> RiversPlaces(RiversVariant v) {
    const RiversVariantInfo& info = RiversInfo(v);
    std::vector<Cell> out;
    for (int l = 1; l <= info.layers; ++l)
        for (int r = 0; r < info.rows; ++r)
            for (int c = 0; c < info.columns; ++c)
                out.push_back(Cell{info.firstColumn + 2 * c, info.firstRow + 2 * r, l});
    return out;
}

// A full board: tile t on the t-th place of its layer.
inline Placement FullPlacement(RiversVariant v) {
    Placement p;
    std::map<int, int> nextOnLayer;
    std::vector<Cell> places = RiversPlaces(v);
    const int total = RiversInfo(v).tiles;
    for (int t = 1; t <= total; ++t) {
        const int layer = RiversLayerOf(v, t);
        int& k = nextOnLayer[layer];
        while (places[static_cast<size_t>(k)].layer != layer)
            ++k;
        p[t] = places[static_cast<size_t>(k++)];
    }
    return p;
}

// Moves tile `t` to `place`, the tile that stood there to t's old place.
inline void Put(Placement& p, int t, const Cell& place) {
    for (auto& [other, cell] : p)
        if (cell == place) {
            cell = p[t];
            break;
        }
    p[t] = place;
}

// The state with exactly the tiles of `onBoard` on the board (an even number of each group).
// The others were removed in matching pairs, upper-layer pairs first, onto the free places.
inline RiversState BuildState(RiversVariant v, const Placement& onBoard) {
    const RiversVariantInfo& info = RiversInfo(v);
    RiversState s;
    s.board.tilesTotal = info.tiles;
    for (const auto& [t, c] : onBoard)
        s.board.Place(t, c);
    s.board.tilesLeft = static_cast<int>(onBoard.size());
    std::vector<HistoryEntry> removed;
    std::vector<Cell> places = RiversPlaces(v);
    for (int layer = info.layers; layer >= 1; --layer) {
        std::vector<Cell> free;
        for (const Cell& c : places)
            if (c.layer == layer && s.board.At(c) == 0)
                free.push_back(c);
        size_t next = 0;
        for (int t = 1; t <= info.tiles; ++t)
            if (RiversLayerOf(v, t) == layer && !onBoard.count(t))
                removed.push_back(HistoryEntry{t, free.at(next++)});
    }
    for (size_t i = 0; i < removed.size(); ++i)
        s.history[i] = removed[i];
    std::string why;
    EXPECT_TRUE(CheckRiversState(s, v, &why)) << why;
    return s;
}

inline RiversGame GameWith(RiversVariant v, const Placement& onBoard) {
    RiversGame g;
    std::string why;
    EXPECT_TRUE(g.SetState(BuildState(v, onBoard), &why)) << why;
    return g;
}

// Every pair a river joins, neither tile covered, in hint order, found with the full search.
inline std::vector<std::pair<int, int>> PairsBySearch(const Board& b) {
    std::vector<std::pair<int, int>> out;
    RiverSearch search(b);
    auto covered = [&](int t) {
        const Cell p = b.Position(t);
        return b.At(p.column, p.row, p.layer + 1) != 0;
    };
    for (int n = 1; n < b.tilesTotal; n += 4)
        for (int i = 0; i < 4; ++i)
            for (int j = i + 1; j < 4; ++j)
                if (search.CanBeReached(n + i, n + j) && !covered(n + i) && !covered(n + j))
                    out.emplace_back(n + i, n + j);
    return out;
}

inline bool Has(const std::vector<Sound>& sounds, Sound s) {
    for (Sound x : sounds)
        if (x == s)
            return true;
    return false;
}

// Checks that `steps` (the carried tile's places, its own first) is a river from the place
// `from` to a place next to `to`: steps of one place along a row or a column, at most three
// straight segments once the start is added, every place after the first empty on the layer.
inline ::testing::AssertionResult IsRiver(const Board& before, const std::vector<Cell>& steps,
                                          const Cell& from, const Cell& to) {
    if (steps.empty() || steps.front() != from)
        return ::testing::AssertionFailure() << "the river does not start at the carried tile";
    std::vector<Cell> line = steps;
    line.push_back(to);
    int segments = 0, lastDc = 0, lastDr = 0;
    for (size_t i = 1; i < line.size(); ++i) {
        const int dc = line[i].column - line[i - 1].column, dr = line[i].row - line[i - 1].row;
        if (!((dc == 0 && (dr == 2 || dr == -2)) || (dr == 0 && (dc == 2 || dc == -2))) ||
            line[i].layer != from.layer)
            return ::testing::AssertionFailure() << "step " << i << " is no step of one place";
        if (dc != lastDc || dr != lastDr)
            ++segments;
        lastDc = dc;
        lastDr = dr;
        if (i + 1 < line.size() && before.At(line[i]) != 0)
            return ::testing::AssertionFailure() << "the river passes an occupied place";
    }
    if (segments > 3)
        return ::testing::AssertionFailure() << segments << " segments";
    return ::testing::AssertionSuccess();
}

} // namespace tovani::test
