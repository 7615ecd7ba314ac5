// Boards for the solver's tests: shipped layouts, their plain or winnable deals, and the plain
// search that tries every sequence of moves, against which the solver is checked.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "TestBoards.h"
#include "core/Clock.h"
#include "core/Random.h"
#include "solitaire/Dealer.h"
#include "solitaire/FreeRules.h"
#include "solitaire/LayoutCatalog.h"
#include "solitaire/Tiles.h"

namespace tovani::test {

inline Layout Shipped(const std::string& name) {
    LayoutCatalog cat = LayoutCatalog::Scan(ShippedLayoutsDir());
    LayoutLoad l = LoadLayoutFile(cat.PathOf(cat.NumberOf(name)), cat);
    EXPECT_TRUE(l.ok) << name;
    return l.layout;
}

inline Board Dealt(const Layout& layout, int seed, bool winnable = false) {
    ManualClock clock;
    RandomGenerator rng;
    Board b;
    BeginGame(b, layout, rng, clock, DealOptions{winnable, true, seed});
    return b;
}

// Every sequence of moves, tried one by one, with the positions already found lost remembered.
class BruteForce {
public:
    BruteForce(const Board& b, FreeRule rule) : board_(b), rule_(rule) {
        for (int t = 1; t <= kTileCount; ++t)
            if (b.Position(t).OnBoard())
                tiles_.push_back(t);
    }
    bool Winnable() { return Search((1u << tiles_.size()) - 1); }

private:
    bool Search(uint32_t left) {
        if (left == 0)
            return true;
        if (auto it = seen_.find(left); it != seen_.end())
            return it->second;
        Board b = board_;
        for (size_t i = 0; i < tiles_.size(); ++i)
            if (!(left & (1u << i)))
                b.Remove(tiles_[i]);
        bool won = false;
        for (size_t i = 0; i < tiles_.size() && !won; ++i) {
            if (!(left & (1u << i)) || !Dispo(b, tiles_[i], rule_))
                continue;
            for (size_t j = i + 1; j < tiles_.size() && !won; ++j)
                if ((left & (1u << j)) && TilesMatch(tiles_[i], tiles_[j]) &&
                    Dispo(b, tiles_[j], rule_))
                    won = Search(left & ~(1u << i) & ~(1u << j));
        }
        seen_[left] = won;
        return won;
    }
    Board board_;
    FreeRule rule_;
    std::vector<int> tiles_;
    std::unordered_map<uint32_t, bool> seen_;
};

} // namespace tovani::test
