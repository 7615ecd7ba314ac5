// Shuffles keep the tiles, never bring back a removed tile, and a winnable shuffle leaves a
// board that its own removal order clears.
#include <gtest/gtest.h>

#include <map>

#include "TestBoards.h"
#include "solitaire/Dealer.h"
#include "solitaire/LayoutCatalog.h"
#include "solitaire/Shuffle.h"

namespace tovani {
namespace {

Layout Traditional() {
    LayoutCatalog cat = LayoutCatalog::Scan(test::ShippedLayoutsDir());
    LayoutLoad l = LoadLayoutFile(cat.PathOf(cat.NumberOf("Traditional")), cat);
    EXPECT_TRUE(l.ok);
    return l.layout;
}

// A winnable Traditional deal with its first `pairs` pairs removed in removal order.
Board GameInProgress(int seed, int pairs, std::vector<int>* removed = nullptr) {
    ManualClock clock;
    RandomGenerator rng;
    Board b;
    Deal d = BeginGame(b, Traditional(), rng, clock, DealOptions{true, true, seed});
    for (int k = 0; k < pairs * 2; ++k) {
        int t = b.TileAt(d.removalOrder[static_cast<size_t>(k)]);
        if (removed)
            removed->push_back(t);
        b.Remove(t);
    }
    b.tilesLeft -= pairs * 2;
    return b;
}

// Which tile is on the board, and where the table says it is, must agree with the cells.
std::map<int, Cell> TilesOnBoard(const Board& b) {
    std::map<int, Cell> on;
    for (int c = 0; c < kGridColumns; ++c)
        for (int r = 0; r < kGridRows; ++r)
            for (int l = 0; l < kGridLayers; ++l)
                if (int t = b.TileAt(Cell{c, r, l})) {
                    EXPECT_EQ(on.count(t), 0u) << "tile " << t << " twice";
                    EXPECT_EQ(b.Position(t), (Cell{c, r, l}));
                    on[t] = Cell{c, r, l};
                }
    return on;
}

std::vector<int> Keys(const std::map<int, Cell>& m) {
    std::vector<int> k;
    for (const auto& [t, c] : m)
        k.push_back(t);
    return k;
}

std::vector<Cell> Cells(const std::map<int, Cell>& m) {
    std::vector<Cell> v;
    for (const auto& [t, c] : m)
        v.push_back(c);
    std::sort(v.begin(), v.end(), [](const Cell& a, const Cell& b) {
        return std::tie(a.layer, a.row, a.column) < std::tie(b.layer, b.row, b.column);
    });
    return v;
}

TEST(PlainShuffle, KeepsTheTilesAndThePlacesAndLeavesRemovedTilesOff) {
    std::vector<int> removed;
    Board b = GameInProgress(31, 10, &removed);
    auto before = TilesOnBoard(b);
    RandomGenerator rng(77);
    int calls = 0;
    PlainShuffleResult r = PlainShuffle(b, rng, false, [&](const Board& x) {
        ++calls;
        return IsItFree(x, FreeRule::Side).movesAvailable;
    });
    auto after = TilesOnBoard(b);
    EXPECT_EQ(Keys(after), Keys(before));
    EXPECT_EQ(Cells(after), Cells(before));
    EXPECT_NE(after, before);
    for (int t : removed)
        EXPECT_FALSE(b.Position(t).OnBoard()) << t;
    EXPECT_GE(r.passes, 1);
    EXPECT_EQ(calls, r.passes);
    EXPECT_GE(r.movesAvailable, 1);
}

TEST(PlainShuffle, StopsAfter101PassesWithoutAMove) {
    Board b = test::BoardOf({{5, 5, 1}, {5, 5, 2}}); // tile 2 on tile 1: never a move
    RandomGenerator rng(3);
    PlainShuffleResult r = PlainShuffle(
        b, rng, false, [](const Board& x) { return IsItFree(x, FreeRule::Side).movesAvailable; });
    EXPECT_EQ(r.passes, kMaxPlainShufflePasses);
    EXPECT_EQ(r.movesAvailable, 0);
    EXPECT_EQ(Keys(TilesOnBoard(b)), (std::vector<int>{1, 2}));

    Board empty;
    EXPECT_EQ(PlainShuffle(empty, rng, false, [](const Board&) { return 0; }).passes, 0);
}

TEST(PlainShuffle, RiversKeepsEachTileInItsLayer) {
    Board b = GameInProgress(5, 0);
    std::map<int, std::vector<int>> byLayer;
    for (const auto& [t, c] : TilesOnBoard(b))
        byLayer[c.layer].push_back(t);
    RandomGenerator rng(11);
    PlainShuffle(b, rng, true, [](const Board&) { return 1; });
    std::map<int, std::vector<int>> after;
    for (const auto& [t, c] : TilesOnBoard(b))
        after[c.layer].push_back(t);
    EXPECT_EQ(after, byLayer);
}

TEST(WinnableShuffle, StaysWinnableAndKeepsTheTiles) {
    for (int seed : {2, 40, 97}) {
        for (int pairs : {0, 11, 50, 70}) {
            std::vector<int> removed;
            Board b = GameInProgress(seed, pairs, &removed);
            auto before = TilesOnBoard(b);
            RandomGenerator rng;
            ManualClock clock(static_cast<uint32_t>(seed * 1000 + pairs));
            WinnableShuffleResult r = ShuffleBoard(b, rng, clock);
            ASSERT_TRUE(r.shuffled) << seed << " " << pairs;
            auto after = TilesOnBoard(b);
            EXPECT_EQ(Keys(after), Keys(before));
            EXPECT_EQ(Cells(after), Cells(before));
            for (int t : removed)
                EXPECT_FALSE(b.Position(t).OnBoard());
            // Replay the removal order with the play rules.
            Board replay = b;
            ASSERT_EQ(r.removalOrder.size(), before.size());
            for (size_t k = 0; k < r.removalOrder.size(); k += 2) {
                int x = replay.TileAt(r.removalOrder[k]), y = replay.TileAt(r.removalOrder[k + 1]);
                ASSERT_TRUE(x && y && TilesMatch(x, y) && Dispo(replay, x) && Dispo(replay, y))
                    << "seed " << seed << " pairs " << pairs << " step " << k / 2;
                replay.Remove(x);
                replay.Remove(y);
            }
            EXPECT_TRUE(TilesOnBoard(replay).empty());
        }
    }
}

TEST(WinnableShuffle, ReseedsFromTheClock) {
    Board a = GameInProgress(8, 20), b = a;
    RandomGenerator r1(1), r2(999);
    ManualClock clock(123456);
    ShuffleBoard(a, r1, clock);
    ShuffleBoard(b, r2, clock);
    EXPECT_EQ(a, b);
    EXPECT_EQ(r1.State(), r2.State());
}

TEST(WinnableShuffle, LeavesTheBoardAsItWasWhenItCannot) {
    RandomGenerator rng;
    ManualClock clock;
    // At most one free place.
    Board stack = test::BoardOf({{5, 5, 1}, {5, 5, 2}});
    Board before = stack;
    EXPECT_FALSE(ShuffleBoard(stack, rng, clock).shuffled);
    EXPECT_EQ(stack, before);
    // Tiles that do not pair up (1 and 5 never match).
    Board odd;
    odd.Place(1, {3, 3, 1});
    odd.Place(5, {13, 3, 1});
    odd.tilesLeft = 2;
    odd.tilesTotal = 8;
    Board oddBefore = odd;
    EXPECT_FALSE(ShuffleBoard(odd, rng, clock).shuffled);
    EXPECT_EQ(odd, oddBefore);
    // Two free tiles at first, but taking them leaves a pile of two with only its top free:
    // every attempt dead-ends and the bound of 200 attempts ends it.
    Board piles = test::BoardOf({{5, 5, 1}, {5, 5, 2}, {5, 5, 3}, {15, 5, 1}});
    Board pilesBefore = piles;
    WinnableShuffleResult r = ShuffleBoard(piles, rng, clock);
    EXPECT_FALSE(r.shuffled);
    EXPECT_EQ(piles, pilesBefore);
    EXPECT_GT(r.attempts, kMaxShuffleAttempts);
}

TEST(ShuffleCommand, PenaltiesAndMessages) {
    RandomGenerator rng(4);
    ManualClock clock(5000);
    Board b = GameInProgress(12, 5);
    ShuffleOutcome one =
        Shuffle(b, rng, clock, ShuffleOptions{false, false, false, FreeRule::Side});
    EXPECT_FALSE(one.winnable);
    EXPECT_EQ(one.movesAvailable, IsItFree(b, FreeRule::Side).movesAvailable);
    EXPECT_EQ(one.penaltySeconds, 10 * one.movesAvailable);
    EXPECT_EQ(one.message, one.movesAvailable >= 2   ? ShuffleMessage::NewMoves
                           : one.movesAvailable == 1 ? ShuffleMessage::OneNewMove
                                                     : ShuffleMessage::NoMoves);

    ShuffleOutcome two = Shuffle(b, rng, clock, ShuffleOptions{true, false, true, FreeRule::Side});
    EXPECT_TRUE(two.winnable);
    EXPECT_TRUE(two.winnableResult.shuffled);
    EXPECT_EQ(two.penaltySeconds, 0); // two players: no penalty

    // One move left exactly: tiles 1 and 2 apart and free.
    Board pair = test::BoardOf({{3, 3, 1}, {13, 3, 1}});
    ShuffleOutcome p =
        Shuffle(pair, rng, clock, ShuffleOptions{false, false, false, FreeRule::Side});
    EXPECT_EQ(p.movesAvailable, 1);
    EXPECT_EQ(p.message, ShuffleMessage::OneNewMove);
    EXPECT_EQ(p.penaltySeconds, 10);

    // The rule in force counts the moves: three tiles of one block in a row offer one move
    // under the side rule (the two ends) and two under the vertical rule (all three free).
    Board row = test::BoardOf({{3, 3, 1}, {5, 3, 1}, {7, 3, 1}});
    Board row2 = row;
    ShuffleOutcome side =
        Shuffle(row, rng, clock, ShuffleOptions{false, false, false, FreeRule::Side});
    EXPECT_EQ(side.movesAvailable, 1);
    ShuffleOutcome vert =
        Shuffle(row2, rng, clock, ShuffleOptions{false, false, false, FreeRule::Vertical});
    EXPECT_EQ(vert.movesAvailable, 2);
    EXPECT_EQ(vert.penaltySeconds, 20);

    // No move at all.
    Board stuck = test::BoardOf({{5, 5, 1}, {5, 5, 2}});
    ShuffleOutcome s =
        Shuffle(stuck, rng, clock, ShuffleOptions{false, false, false, FreeRule::Side});
    EXPECT_EQ(s.message, ShuffleMessage::NoMoves);
    EXPECT_EQ(s.penaltySeconds, 0);

    // Rivers: its own move count, 40 seconds, the layer kept.
    Board rivers = test::BoardOf({{3, 3, 1}, {13, 3, 1}});
    int counted = 0;
    ShuffleOutcome r =
        Shuffle(rivers, rng, clock, ShuffleOptions{true, true, false, FreeRule::Side},
                [&](const Board&) { return ++counted; });
    EXPECT_FALSE(r.winnable); // no winnable shuffle in Rivers
    EXPECT_EQ(r.penaltySeconds, 40);
    EXPECT_EQ(r.message, ShuffleMessage::RiversShuffled);
    EXPECT_EQ(r.movesAvailable, 2); // one count after the first pass, one for the status
}

} // namespace
} // namespace tovani
