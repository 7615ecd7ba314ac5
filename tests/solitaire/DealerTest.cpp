// Deals: seeded deals reproduce draw by draw (golden dumps from an independent
// reimplementation of the draw order), winnable deals are cleared by their own removal order,
// and layouts that cannot give a winnable deal fall back soundly.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "TestBoards.h"
#include "core/Files.h"
#include "solitaire/Dealer.h"
#include "solitaire/FreeRules.h"
#include "solitaire/LayoutCatalog.h"

namespace tovani {
namespace {

Layout Shipped(const std::string& name) {
    LayoutCatalog cat = LayoutCatalog::Scan(test::ShippedLayoutsDir());
    int n = cat.NumberOf(name);
    EXPECT_GT(n, 0) << name;
    LayoutLoad l = LoadLayoutFile(cat.PathOf(n), cat);
    EXPECT_TRUE(l.ok) << name << ": " << LayoutErrorMessage(l.error);
    return l.layout;
}

std::string Dump(const Board& b) {
    std::ostringstream out;
    out << "tiles " << b.tilesTotal << "\n";
    for (int t = 1; t <= b.tilesTotal; ++t) {
        Cell c = b.Position(t);
        out << t << " " << c.column << " " << c.row << " " << c.layer << "\n";
    }
    return out.str();
}

std::string Golden(const std::string& name) {
    auto text = ReadWholeFile(std::string(TOVANI_SOURCE_DIR) + "/tests/solitaire/golden/" + name);
    EXPECT_TRUE(text.has_value()) << name;
    return text.value_or("");
}

// Replays a removal order with the play rules: each pair must be on the board, free under the
// side rule and matching when its turn comes; the board must end empty.
::testing::AssertionResult ClearedInOrder(Board b, const std::vector<Cell>& order) {
    if (order.size() != static_cast<size_t>(b.tilesTotal))
        return ::testing::AssertionFailure() << "order of " << order.size() << " places";
    for (size_t k = 0; k < order.size(); k += 2) {
        int a = b.TileAt(order[k]), c = b.TileAt(order[k + 1]);
        if (!a || !c || !TilesMatch(a, c) || !Dispo(b, a) || !Dispo(b, c))
            return ::testing::AssertionFailure()
                   << "pair " << k / 2 + 1 << " (tiles " << a << ", " << c << ") cannot be removed";
        b.Remove(a);
        b.Remove(c);
    }
    for (int t = 1; t <= kTileCount; ++t)
        if (b.Position(t).OnBoard())
            return ::testing::AssertionFailure() << "tile " << t << " is left";
    return ::testing::AssertionSuccess();
}

// Every place of the layout holds exactly one of tiles 1..places, and the table agrees.
void ExpectFullDeal(const Board& b, const Layout& lay) {
    std::vector<Cell> places = lay.Places();
    ASSERT_EQ(b.tilesTotal, static_cast<int>(places.size()));
    EXPECT_EQ(b.tilesLeft, b.tilesTotal);
    std::vector<int> tiles;
    for (const Cell& c : places) {
        int t = b.TileAt(c);
        ASSERT_NE(t, 0);
        EXPECT_EQ(b.Position(t), c);
        tiles.push_back(t);
    }
    std::sort(tiles.begin(), tiles.end());
    for (size_t i = 0; i < tiles.size(); ++i)
        EXPECT_EQ(tiles[i], static_cast<int>(i + 1));
}

TEST(Deal, SeededDealsMatchTheGoldenDumps) {
    ManualClock clock;
    RandomGenerator rng;
    Layout trad = Shipped("Traditional");
    for (int seed : {1, 12}) {
        for (bool winnable : {false, true}) {
            Board b;
            BeginGame(b, trad, rng, clock, DealOptions{winnable, true, seed});
            std::string name = "Traditional_seed" + std::to_string(seed) +
                               (winnable ? "_winnable.txt" : "_plain.txt");
            EXPECT_EQ(Dump(b), Golden(name)) << name;
        }
    }
    Board orb;
    BeginGame(orb, Shipped("Orbital"), rng, clock, DealOptions{true, true, 424242});
    EXPECT_EQ(Dump(orb), Golden("Orbital_seed424242_winnable.txt"));
}

TEST(Deal, TheFirstTileTakesTheFirstDrawsThatHitAPlace) {
    // Seed 1: the first draws below 34, 20 and 5 are 1, 17 and 1 (worked out from the
    // generator's formula), so a layout with a place at board cell (2, 18, 2) gets tile 1
    // there at once, and its other place gets tile 2.
    Layout lay = test::LayoutOf({{2, 18, 2}, {30, 1, 1}});
    ManualClock clock;
    RandomGenerator rng;
    Board b;
    Deal d = BeginGame(b, lay, rng, clock, DealOptions{false, true, 1});
    EXPECT_EQ(b.Position(1), (Cell{2, 18, 2}));
    EXPECT_EQ(b.Position(2), (Cell{30, 1, 1}));
    EXPECT_EQ(d.order, (std::vector<int>{1, 2}));
    EXPECT_TRUE(d.specific);
}

TEST(Deal, WithoutASeedNumberTheClockSeeds) {
    Layout trad = Shipped("Traditional");
    RandomGenerator rng;
    ManualClock a(1000), b(2000);
    Board x, y, z;
    Deal dx = BeginGame(x, trad, rng, a, DealOptions{false, false, 5});
    BeginGame(y, trad, rng, a, DealOptions{false, true, 0});
    BeginGame(z, trad, rng, b, DealOptions{false, false, 5});
    EXPECT_FALSE(dx.specific);
    EXPECT_EQ(x, y); // same clock reading, same deal
    EXPECT_NE(x, z);
}

TEST(Deal, SmallLayoutsGetTheLowestTiles) {
    Layout lay;
    for (int i = 0; i < 84; ++i)
        lay.Set(1, (i / 12) * 2, (i % 12) * 2, true);
    ManualClock clock;
    RandomGenerator rng;
    for (bool winnable : {false, true}) {
        Board b;
        Deal d = BeginGame(b, lay, rng, clock, DealOptions{winnable, true, 99});
        ExpectFullDeal(b, lay);
        EXPECT_EQ(d.order.size(), 84u);
        EXPECT_FALSE(b.Position(85).OnBoard());
    }
}

TEST(Deal, EveryWinnableDealOfEveryShippedLayoutIsClearedByItsRemovalOrder) {
    ManualClock clock;
    RandomGenerator rng;
    LayoutCatalog cat = LayoutCatalog::Scan(test::ShippedLayoutsDir());
    ASSERT_GE(cat.Count(), 14);
    for (int n = 1; n <= cat.Count(); ++n) {
        LayoutLoad l = LoadLayoutFile(cat.PathOf(n), cat);
        ASSERT_TRUE(l.ok) << cat.PathOf(n);
        for (int seed = 1; seed <= 60; ++seed) {
            Board b;
            Deal d = BeginGame(b, l.layout, rng, clock, DealOptions{true, true, seed * 7919});
            ASSERT_EQ(d.outcome, DealOutcome::Winnable) << cat.PathOf(n) << " seed " << seed;
            ExpectFullDeal(b, l.layout);
            EXPECT_TRUE(ClearedInOrder(b, d.removalOrder)) << cat.PathOf(n) << " seed " << seed;
            // The deal order is the removal order's pairs from the last back to the first.
            ASSERT_EQ(d.order.size(), d.removalOrder.size());
            for (size_t k = 0; k < d.order.size(); ++k)
                EXPECT_EQ(b.Position(d.order[k]),
                          d.removalOrder[d.order.size() - 2 - k / 2 * 2 + k % 2]);
        }
    }
}

TEST(Deal, AnOddLayoutIsDealtPlainWhenAWinnableDealIsAsked) {
    Layout lay = test::LayoutOf({{1, 1, 1}, {3, 1, 1}, {5, 1, 1}});
    ManualClock clock;
    RandomGenerator rng;
    Board b;
    Deal d = BeginGame(b, lay, rng, clock, DealOptions{true, true, 3});
    EXPECT_EQ(d.outcome, DealOutcome::WinnableGaveUp);
    ASSERT_TRUE(d.problem.has_value());
    EXPECT_EQ(d.problem->code, LayoutErrorCode::OddPlaces);
    ExpectFullDeal(b, lay);
}

TEST(Deal, ALayoutWithoutAWinnableDealGivesUpAfterBoundedRestarts) {
    // Two tiles stacked: only the upper one is ever free, so no pair can be taken.
    Layout stack = test::LayoutOf({{5, 5, 1}, {5, 5, 2}});
    ManualClock clock;
    RandomGenerator rng;
    Board b;
    Deal d = BeginGame(b, stack, rng, clock, DealOptions{true, true, 8});
    EXPECT_EQ(d.outcome, DealOutcome::WinnableGaveUp);
    EXPECT_EQ(d.restarts, kMaxDealRestarts);
    ASSERT_TRUE(d.problem.has_value());
    EXPECT_EQ(d.problem->code, LayoutErrorCode::NoWinnableDeal);
    ExpectFullDeal(b, stack);
    // The fallback is the plain deal from the same seed.
    Board plain;
    BeginGame(plain, stack, rng, clock, DealOptions{false, true, 8});
    EXPECT_EQ(b, plain);
}

TEST(Deal, TooManyPlacesAreRefused) {
    Layout lay;
    for (int i = 0; i < 300; i += 2)
        lay.SetRaw(i, 1);
    ManualClock clock;
    RandomGenerator rng;
    Board b;
    Deal d = BeginGame(b, lay, rng, clock, DealOptions{false, true, 3});
    EXPECT_EQ(d.outcome, DealOutcome::Refused);
    EXPECT_EQ(b.tilesTotal, 0);
    EXPECT_EQ(b, Board{});
}

TEST(Deal, AnEmptyLayoutDealsNothing) {
    ManualClock clock;
    RandomGenerator rng;
    for (bool winnable : {false, true}) {
        Board b;
        Deal d = BeginGame(b, Layout{}, rng, clock, DealOptions{winnable, true, 3});
        EXPECT_EQ(b.tilesTotal, 0);
        EXPECT_TRUE(d.order.empty());
    }
}

TEST(Deal, RandomLayoutIsDrawnFromTheGenerator) {
    RandomGenerator rng(1);
    // The first draw below 13 from seed 1: high bits of 134775814 * 13 = 0.
    EXPECT_EQ(PickRandomLayout(rng, 13), 1);
    EXPECT_EQ(PickRandomLayout(rng, 0), 0);
    RandomGenerator r2(5);
    for (int i = 0; i < 200; ++i) {
        int n = PickRandomLayout(r2, 13);
        EXPECT_GE(n, 1);
        EXPECT_LE(n, 13);
    }
}

} // namespace
} // namespace tovani
