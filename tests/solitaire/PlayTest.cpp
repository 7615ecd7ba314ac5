#include "solitaire/Play.h"

#include <gtest/gtest.h>

using namespace tovani;

namespace {

// Tiles standing alone in layer 1, four columns apart, so every one is free.
Board LooseBoard(const std::vector<int>& tiles) {
    Board b;
    int column = 1;
    for (int t : tiles) {
        b.Place(t, Cell{column, 1, 1});
        column += 4;
    }
    b.tilesTotal = b.tilesLeft = static_cast<int>(tiles.size());
    return b;
}

bool Has(const PlayEffects& fx, Sound s) {
    for (Sound x : fx.sounds)
        if (x == s)
            return true;
    return false;
}

} // namespace

TEST(SolitairePlay, SelectDeselectRefuseAndMoveTheSelection) {
    Board b = LooseBoard({1, 5, 9, 2});
    // Tile 3 sits on top of tile 1 (half a tile off), so tile 1 is covered and not free.
    b.Place(3, Cell{2, 1, 2});
    b.tilesTotal = b.tilesLeft = 5;
    SolitairePlay p;
    p.NewGame(0);

    auto fx = p.ChoisitPai(b, 1, FreeRule::Side, false, 0);
    EXPECT_TRUE(Has(fx, Sound::NoWay));
    EXPECT_EQ(p.firstPick, 0);

    fx = p.ChoisitPai(b, 5, FreeRule::Side, false, 0);
    EXPECT_TRUE(Has(fx, Sound::Select));
    EXPECT_EQ(p.firstPick, 5);

    fx = p.ChoisitPai(b, 5, FreeRule::Side, false, 0); // again: deselect
    EXPECT_TRUE(Has(fx, Sound::Select));
    EXPECT_EQ(p.firstPick, 0);

    p.ChoisitPai(b, 5, FreeRule::Side, false, 0);
    fx = p.ChoisitPai(b, 9, FreeRule::Side, false, 0); // free but no match: selection moves
    EXPECT_TRUE(Has(fx, Sound::Select));
    EXPECT_EQ(p.firstPick, 9);
    EXPECT_EQ(p.secondPick, 0);

    fx = p.ChoisitPai(b, 1, FreeRule::Side, false, 0); // covered: refused, selection kept
    EXPECT_TRUE(Has(fx, Sound::NoWay));
    EXPECT_EQ(p.firstPick, 9);

    fx = p.ChoisitPai(b, 0, FreeRule::Side, false, 0); // empty board: nothing at all
    EXPECT_TRUE(fx.sounds.empty());
    EXPECT_EQ(b.tilesLeft, 5);
}

TEST(SolitairePlay, RemovingAPairRecordsHistoryAndBackRedoRestart) {
    Board b = LooseBoard({1, 2, 5, 6, 9, 10});
    const Board deal = b;
    SolitairePlay p;
    p.NewGame(0);

    p.ChoisitPai(b, 1, FreeRule::Side, false, 0);
    auto fx = p.ChoisitPai(b, 2, FreeRule::Side, false, 0);
    ASSERT_TRUE(fx.removed);
    EXPECT_TRUE(Has(fx, Sound::Done));
    EXPECT_EQ(b.tilesLeft, 4);
    EXPECT_FALSE(b.Position(1).OnBoard());
    EXPECT_EQ(b.At(Cell{1, 1, 1}), 0);
    EXPECT_EQ(p.history[0], (HistoryEntry{1, Cell{1, 1, 1}}));
    EXPECT_EQ(p.history[1], (HistoryEntry{2, Cell{5, 1, 1}}));
    EXPECT_EQ(p.matchCounter, 1);

    // Back after the first pair gives exactly the deal.
    EXPECT_TRUE(p.BackHistory(b));
    EXPECT_EQ(b, deal);
    EXPECT_FALSE(p.BackHistory(b)); // untouched board: nothing
    EXPECT_EQ(p.matchCounter, 1);   // Back never changes the counter

    // Redo takes the same pair off again.
    EXPECT_TRUE(p.Redo(b, FreeRule::Side));
    EXPECT_EQ(b.tilesLeft, 4);
    EXPECT_FALSE(b.Position(2).OnBoard());
    EXPECT_FALSE(p.Redo(b, FreeRule::Side));

    // A new removal after a Back ends what Redo could replay.
    p.ChoisitPai(b, 5, FreeRule::Side, false, 0);
    p.ChoisitPai(b, 6, FreeRule::Side, false, 0);
    p.BackHistory(b);
    p.ChoisitPai(b, 9, FreeRule::Side, false, 0);
    p.ChoisitPai(b, 10, FreeRule::Side, false, 0);
    EXPECT_FALSE(p.CanRedo(b));

    EXPECT_EQ(p.Restart(b), 2);
    EXPECT_EQ(b, deal);
    EXPECT_EQ(p.Restart(b), 0);
}

TEST(SolitairePlay, RedoRefusedWhenTheTilesMoved) {
    Board b = LooseBoard({1, 2, 5, 6});
    SolitairePlay p;
    p.NewGame(0);
    p.ChoisitPai(b, 1, FreeRule::Side, false, 0);
    p.ChoisitPai(b, 2, FreeRule::Side, false, 0);
    p.BackHistory(b);
    // A shuffle swaps tiles 1 and 5.
    Cell c1 = b.Position(1), c5 = b.Position(5);
    b.Place(1, c5);
    b.Place(5, c1);
    EXPECT_FALSE(p.CanRedo(b));
    EXPECT_FALSE(p.Redo(b, FreeRule::Side));
    EXPECT_EQ(b.tilesLeft, 4);
}

TEST(SolitairePlay, HintsCycleThroughTheMoves) {
    // One block of four, all free: three moves (1-2, 2-3, 3-4) in the free list's order.
    Board b = LooseBoard({1, 2, 3, 4});
    SolitairePlay p;
    p.NewGame(0);
    std::vector<std::pair<int, int>> shown;
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(p.Hint(b, FreeRule::Side));
        shown.emplace_back(p.hintA, p.hintB);
    }
    std::vector<std::pair<int, int>> expected = {{1, 2}, {2, 3}, {3, 4}, {1, 2}, {2, 3}};
    EXPECT_EQ(shown, expected);

    // Three free tiles of three different blocks: no move, no hint.
    Board none = LooseBoard({1, 5, 9});
    none.tilesTotal = 12;
    EXPECT_FALSE(p.Hint(none, FreeRule::Side));
    EXPECT_EQ(p.hintA, 0);
}

TEST(SolitairePlay, TwoPlayersPassTheTurnAfterEachPair) {
    Board b = LooseBoard({1, 2, 5, 6});
    SolitairePlay p;
    p.NewGame(1000);
    p.ChoisitPai(b, 1, FreeRule::Side, true, 1500);
    auto fx = p.ChoisitPai(b, 2, FreeRule::Side, true, 4000);
    EXPECT_TRUE(fx.turnPassed);
    EXPECT_TRUE(p.clocks.player2Turn);
    EXPECT_EQ(p.clocks.player1Ms, 3000);
    // Player 1's clock is frozen while player 2 thinks.
    EXPECT_EQ(p.clocks.TimeOf(1, 9000), 3000);
    EXPECT_EQ(p.clocks.TimeOf(2, 9000), 5000);

    // A refused click does not pass the turn.
    p.ChoisitPai(b, 5, FreeRule::Side, true, 5000);
    p.ChoisitPai(b, 5, FreeRule::Side, true, 5100); // deselect
    EXPECT_TRUE(p.clocks.player2Turn);

    p.ChoisitPai(b, 5, FreeRule::Side, true, 6000);
    p.ChoisitPai(b, 6, FreeRule::Side, true, 6000);
    EXPECT_FALSE(p.clocks.player2Turn);
    EXPECT_EQ(p.clocks.player2Ms, 2000);
    EXPECT_EQ(SolitairePlay::WinnerOf(p.clocks), Winner::Player2);

    // Pausing keeps both clocks where they were.
    uint32_t paused1, paused2;
    p.clocks.Freeze(7000, paused1, paused2);
    p.clocks.Thaw(60000, paused1, paused2);
    EXPECT_EQ(p.clocks.TimeOf(1, 60000), 3000 + 1000);
    EXPECT_EQ(p.clocks.TimeOf(2, 60000), 2000);

    TwoPlayerClocks tie;
    tie.player1Ms = tie.player2Ms = 500;
    EXPECT_EQ(SolitairePlay::WinnerOf(tie), Winner::Tie);
}
