// Playing Rivers: clicks and selections, the carried tile and its river, Hard Rivers' two
// layers, Back, Redo and Restart, hints, a board without moves, shuffles, saved states and the
// end of a game.
#include "RiversTestBoards.h"

#include <algorithm>

#include "games/TileBoardCheck.h"
#include "scores/HallOfFame.h"

using namespace tovani;
using namespace tovani::test;

TEST(RiversPlay, SelectDropAndMoveTheSelection) {
    RandomGenerator rng(3);
    RiversGame g;
    g.NewGame(RiversVariant::Easy, rng);
    auto fx = g.ChoisitPai(0); // no tile under the point
    EXPECT_TRUE(fx.sounds.empty());
    fx = g.ChoisitPai(10);
    EXPECT_EQ(fx.sounds, std::vector<Sound>{Sound::Select});
    EXPECT_EQ(g.FirstPick(), 10);
    fx = g.ChoisitPai(10); // again: dropped
    EXPECT_EQ(fx.sounds, std::vector<Sound>{Sound::Select});
    EXPECT_EQ(g.FirstPick(), 0);
    EXPECT_EQ(g.SecondPick(), 0);
    g.ChoisitPai(10);
    fx = g.ChoisitPai(40); // another group: the selection moves
    EXPECT_EQ(fx.sounds, std::vector<Sound>{Sound::Select});
    EXPECT_EQ(fx.redrawTiles, (std::vector<int>{10, 40}));
    EXPECT_EQ(g.FirstPick(), 40);
    EXPECT_EQ(g.SecondPick(), 0);
    EXPECT_FALSE(Has(fx.sounds, Sound::NoWay));
}

TEST(RiversPlay, ASideBySidePairLeavesTheBoard) {
    Placement p = FullPlacement(RiversVariant::Easy);
    Put(p, 1, E(6, 4));
    Put(p, 2, E(8, 4));
    RiversGame g = GameWith(RiversVariant::Easy, p);
    g.ChoisitPai(1);
    auto fx = g.ChoisitPai(2);
    ASSERT_TRUE(fx.removed);
    EXPECT_EQ(fx.sounds, std::vector<Sound>{Sound::Done});
    EXPECT_EQ(fx.pair.first, 1);
    EXPECT_EQ(fx.pair.second, 2);
    EXPECT_EQ(fx.pair.firstCell, E(6, 4));
    EXPECT_EQ(fx.pair.secondCell, E(8, 4));
    EXPECT_EQ(fx.river, std::vector<Cell>{E(6, 4)});
    EXPECT_EQ(g.TilesLeft(), 82);
    EXPECT_EQ(g.GameBoard().At(E(6, 4)), 0);
    EXPECT_EQ(g.GameBoard().At(E(8, 4)), 0);
    EXPECT_FALSE(g.GameBoard().Position(1).OnBoard());
    EXPECT_FALSE(g.GameBoard().Position(2).OnBoard());
    EXPECT_EQ(g.FirstPick(), 0);
    EXPECT_EQ(g.History()[0], (HistoryEntry{1, E(6, 4)}));
    EXPECT_EQ(g.History()[1], (HistoryEntry{2, E(8, 4)}));
    EXPECT_EQ(g.MatchCounter(), 1);
    EXPECT_TRUE(GridAgreesWithPositions(g.GameBoard()));

    // One above the other in the middle of a full board; tiles that are not neighbours there
    // are not joined.
    Put(p, 3, E(16, 10));
    Put(p, 4, E(16, 12));
    RiversGame m = GameWith(RiversVariant::Easy, p);
    EXPECT_FALSE(RiverMap(m.GameBoard()).Reachable(1, 3));
    m.ChoisitPai(4);
    fx = m.ChoisitPai(3);
    ASSERT_TRUE(fx.removed);
    EXPECT_EQ(fx.river, std::vector<Cell>{E(16, 12)});
}

TEST(RiversPlay, TheCarriedTileGoesAlongTheUShapedRiverAndBackWhenUndone) {
    Placement p = FullPlacement(RiversVariant::Easy);
    Put(p, 1, E(6, 4));
    Put(p, 2, E(6, 16));
    RiversGame g = GameWith(RiversVariant::Easy, p);
    const Board before = g.GameBoard();
    g.ChoisitPai(1);
    auto fx = g.ChoisitPai(2);
    ASSERT_TRUE(fx.removed);
    // Tile 1 was selected first: it is carried from its place, out into the band and down it,
    // to the place next to tile 2.
    const std::vector<Cell> river = {E(6, 4),  E(4, 4),  E(4, 6),  E(4, 8),
                                     E(4, 10), E(4, 12), E(4, 14), E(4, 16)};
    EXPECT_EQ(fx.river, river);
    EXPECT_EQ(fx.pair.firstCell, E(6, 4));
    // The board is final: nothing is left on the river or at either end.
    for (const Cell& c : river)
        EXPECT_EQ(g.GameBoard().At(c), 0);
    EXPECT_EQ(g.GameBoard().At(E(6, 16)), 0);
    // Undo puts the carried tile back where it started, not where the river ended.
    EXPECT_EQ(g.History()[0], (HistoryEntry{1, E(6, 4)}));
    ASSERT_TRUE(g.Back());
    EXPECT_EQ(g.GameBoard().Position(1), E(6, 4));
    EXPECT_EQ(g.GameBoard().Position(2), E(6, 16));
    EXPECT_EQ(g.GameBoard().At(E(4, 16)), 0);
    EXPECT_EQ(g.GameBoard(), before);
    // Redo takes the pair off again along the same river.
    ASSERT_TRUE(g.CanRedo());
    fx = g.Redo();
    ASSERT_TRUE(fx.removed);
    EXPECT_EQ(fx.river, river);
    EXPECT_EQ(fx.sounds, std::vector<Sound>{Sound::Done});
    EXPECT_EQ(g.TilesLeft(), 82);
    EXPECT_FALSE(g.CanRedo());
}

TEST(RiversPlay, APairThatNeedsThreeTurnsIsRefusedAndTheSecondTileIsSelected) {
    Placement p = FullPlacement(RiversVariant::Easy);
    Put(p, 1, E(8, 8));
    Put(p, 2, E(14, 8));
    const Cell path[] = {E(8, 10), E(10, 10), E(12, 10), E(12, 8)};
    for (int i = 0; i < 4; ++i)
        Put(p, 5 + i, path[i]);
    for (int t = 5; t <= 8; ++t)
        p.erase(t);
    RiversGame g = GameWith(RiversVariant::Easy, p);
    const Board before = g.GameBoard();
    for (const Cell& c : path)
        ASSERT_EQ(before.At(c), 0);
    RiverSearch search(before);
    EXPECT_FALSE(search.CanBeReached(1, 2));
    EXPECT_FALSE(RiverMap(before).Reachable(2, 1));
    g.ChoisitPai(1);
    auto fx = g.ChoisitPai(2);
    EXPECT_FALSE(fx.removed);
    EXPECT_EQ(fx.sounds, std::vector<Sound>{Sound::Select});
    EXPECT_EQ(fx.redrawTiles, (std::vector<int>{1, 2}));
    EXPECT_TRUE(fx.river.empty());
    EXPECT_EQ(g.FirstPick(), 2);
    EXPECT_EQ(g.SecondPick(), 0);
    EXPECT_EQ(g.GameBoard(), before);
    EXPECT_EQ(g.TilesLeft(), 80);
}

TEST(RiversPlay, HardRiversPlaysOnlyUncoveredTilesEachOnItsOwnLayer) {
    RandomGenerator rng(11);
    RiversGame g;
    g.NewGame(RiversVariant::Hard, rng);
    // At the start every tile of layer 1 lies under one of layer 2.
    for (int t = 1; t <= 72; ++t)
        ASSERT_TRUE(g.Covered(t)) << t;
    for (int t = 73; t <= 144; ++t)
        ASSERT_FALSE(g.Covered(t)) << t;
    auto fx = g.ChoisitPai(5);
    EXPECT_TRUE(fx.sounds.empty());
    EXPECT_EQ(g.FirstPick(), 0);
    for (int t : g.IsItFree().freeTiles)
        EXPECT_GT(t, 72);

    // Layer 1 full; on layer 2 the tiles above (6, 5) and (8, 5) are gone. Tiles 1 and 2 lie
    // there side by side and play; tile 3 beside them is still covered and does not.
    Placement p = FullPlacement(RiversVariant::Hard);
    Put(p, 1, Cell{6, 5, 1});
    Put(p, 2, Cell{8, 5, 1});
    Put(p, 3, Cell{10, 5, 1});
    Put(p, 4, Cell{12, 5, 1});
    Put(p, 141, Cell{6, 5, 2});
    Put(p, 142, Cell{8, 5, 2});
    p.erase(141);
    p.erase(142);
    RiversGame h = GameWith(RiversVariant::Hard, p);
    EXPECT_FALSE(h.Covered(1));
    EXPECT_TRUE(h.Covered(3));
    RiversScan scan = h.IsItFree();
    bool found12 = false;
    for (auto [a, b] : scan.pairs) {
        EXPECT_NE(a, 3);
        EXPECT_NE(b, 3);
        found12 |= a == 1 && b == 2;
    }
    EXPECT_TRUE(found12);
    EXPECT_TRUE(h.ChoisitPai(3).sounds.empty()); // covered: as if no tile were there
    h.ChoisitPai(1);
    // A layer-2 tile next to tile 1's place (above tile 3) is of another layer: the selection
    // just moves to it.
    const int above3 = h.GameBoard().TileAt(Cell{10, 5, 2});
    auto moved = h.ChoisitPai(above3);
    EXPECT_FALSE(moved.removed);
    EXPECT_EQ(h.FirstPick(), above3);
    h.ChoisitPai(1);
    h.ChoisitPai(1); // dropped
    h.ChoisitPai(2);
    fx = h.ChoisitPai(1);
    ASSERT_TRUE(fx.removed);
    EXPECT_EQ(fx.river, (std::vector<Cell>{Cell{8, 5, 1}}));
    std::string why;
    EXPECT_TRUE(CheckRiversState(h.State(), RiversVariant::Hard, &why)) << why;
}

TEST(RiversPlay, ALayerTwoRiverPassesOverTheTilesOfLayerOne) {
    Placement p = FullPlacement(RiversVariant::Hard);
    Put(p, 73, Cell{6, 5, 2});
    Put(p, 74, Cell{28, 5, 2});
    for (int t = 75; t <= 144; ++t)
        p.erase(t);
    RiversGame g = GameWith(RiversVariant::Hard, p);
    const auto pairs = g.IsItFree().pairs;
    EXPECT_NE(std::find(pairs.begin(), pairs.end(), std::make_pair(73, 74)), pairs.end());
    // Tiles of different layers are never joined, even with nothing between them; removed
    // tiles never are.
    const int under = g.GameBoard().TileAt(Cell{8, 5, 1});
    RiverSearch search(g.GameBoard());
    EXPECT_FALSE(search.CanBeReached(73, under));
    EXPECT_FALSE(RiverMap(g.GameBoard()).Reachable(under, 73));
    EXPECT_FALSE(search.CanBeReached(75, 76));
    EXPECT_FALSE(RiverMap(g.GameBoard()).Reachable(73, 75));
    g.ChoisitPai(73);
    auto fx = g.ChoisitPai(74);
    ASSERT_TRUE(fx.removed);
    std::vector<Cell> straight; // (6, 5) to (26, 5) on layer 2, over the tiles of layer 1
    for (int c = 6; c <= 26; c += 2)
        straight.push_back(Cell{c, 5, 2});
    EXPECT_EQ(fx.river, straight);
    EXPECT_EQ(fx.river.back(), (Cell{26, 5, 2}));
    // The tiles below are uncovered now and play among themselves.
    const int below = g.GameBoard().TileAt(Cell{6, 5, 1});
    EXPECT_FALSE(g.Covered(below));
    EXPECT_EQ(g.ChoisitPai(below).sounds, std::vector<Sound>{Sound::Select});
}

TEST(RiversPlay, HintsStepThroughEveryPairAndStartOver) {
    for (RiversVariant v : {RiversVariant::Easy, RiversVariant::Hard}) {
        RandomGenerator rng(v == RiversVariant::Easy ? 5 : 6);
        RiversGame g;
        g.NewGame(v, rng);
        const auto expected = PairsBySearch(g.GameBoard());
        ASSERT_GE(expected.size(), 2u);
        const RiversScan scan = g.IsItFree();
        EXPECT_EQ(scan.pairs, expected);
        EXPECT_EQ(scan.movesAvailable, static_cast<int>(expected.size()));
        int penalty = 0;
        const size_t presses = expected.size() * 2 + 1;
        for (size_t i = 0; i < presses; ++i) {
            auto fx = g.Hint();
            penalty += fx.penaltySeconds;
            EXPECT_EQ(fx.penaltySeconds, RiversGame::kHintPenalty);
            EXPECT_TRUE(fx.fullRedraw);
            EXPECT_EQ(std::make_pair(g.HintA(), g.HintB()), expected[i % expected.size()]) << i;
            EXPECT_LT(g.HintA(), g.HintB());
        }
        EXPECT_EQ(penalty, 40 * static_cast<int>(presses));
        // Following a hint removes the pair; Back drops the hint marks.
        const int a = g.HintA(), b = g.HintB();
        g.ChoisitPai(a);
        EXPECT_TRUE(g.ChoisitPai(b).removed);
        g.Back();
        EXPECT_EQ(g.HintA(), 0);
        EXPECT_EQ(g.HintB(), 0);
        // Dropping the marks keeps the place in the list: the next hint is the one after.
        g.Hint();
        const int index = g.HintIndex();
        g.ChoisitPai(g.HintA());
        g.ClearSelection();
        EXPECT_EQ(g.FirstPick(), 0);
        EXPECT_EQ(g.HintA(), 0);
        g.Hint();
        EXPECT_EQ(g.HintIndex(), index % g.IsItFree().movesAvailable + 1);
    }
}

TEST(RiversPlay, NoMovesLeftWhileTilesRemain) {
    // Four tiles in a square, each pair diagonal: every way round is blocked by the other pair.
    const Placement p = {{1, E(6, 4)}, {2, E(8, 6)}, {5, E(8, 4)}, {6, E(6, 6)}};
    RiversGame g = GameWith(RiversVariant::Easy, p);
    EXPECT_EQ(g.TilesLeft(), 4);
    const RiversScan scan = g.IsItFree();
    EXPECT_EQ(scan.movesAvailable, 0);
    EXPECT_TRUE(scan.freeTiles.empty());
    EXPECT_TRUE(PairsBySearch(g.GameBoard()).empty());
    auto fx = g.Hint();
    EXPECT_EQ(fx.penaltySeconds, 0);
    EXPECT_EQ(g.HintA(), 0);
    EXPECT_EQ(g.HintIndex(), 0);
    g.ChoisitPai(1);
    fx = g.ChoisitPai(2);
    EXPECT_FALSE(fx.removed);
    EXPECT_EQ(g.FirstPick(), 2);
    EXPECT_FALSE(g.Finished());
    // The game goes on: Back and Restart still work.
    EXPECT_TRUE(g.Back());
    EXPECT_EQ(g.TilesLeft(), 6);
    EXPECT_GT(g.IsItFree().movesAvailable, 0);
    EXPECT_EQ(g.Restart(), 39);
    EXPECT_EQ(g.TilesLeft(), 84);
}

TEST(RiversPlay, RestartRedoAndTheEndOfTheGame) {
    RandomGenerator rng(21);
    RiversGame g;
    g.NewGame(RiversVariant::Easy, rng);
    const Board deal = g.GameBoard();
    EXPECT_FALSE(g.Back()); // an untouched board
    EXPECT_EQ(g.Restart(), 0);
    // Play the hinted pairs until no move is left or the board is empty.
    int pairs = 0;
    while (g.Hint().penaltySeconds) {
        g.ChoisitPai(g.HintA());
        ASSERT_TRUE(g.ChoisitPai(g.HintB()).removed);
        ++pairs;
    }
    EXPECT_EQ(g.TilesLeft(), 84 - 2 * pairs);
    EXPECT_EQ(g.MatchCounter(), pairs);
    const bool finished = g.Finished();
    if (finished) {
        EXPECT_FALSE(g.Back()); // Back and Restart do nothing once the board is cleared
        EXPECT_EQ(g.Restart(), 0);
        ASSERT_TRUE(g.BackHistory()); // (Redo may replay this one too)
    }
    const Board late = g.GameBoard();
    ASSERT_TRUE(g.Back());
    ASSERT_TRUE(g.Back());
    ASSERT_TRUE(g.CanRedo());
    EXPECT_TRUE(g.Redo().removed);
    EXPECT_TRUE(g.Redo().removed);
    EXPECT_EQ(g.GameBoard(), late);
    EXPECT_EQ(g.CanRedo(), finished);
    // Restart puts every pair back: the deal as it was; Redo has nothing to replay after it.
    EXPECT_GT(g.Restart(), 0);
    EXPECT_EQ(g.GameBoard(), deal);
    EXPECT_FALSE(g.CanRedo());
    // A new removal ends what Redo could replay.
    g.Hint();
    g.ChoisitPai(g.HintA());
    g.ChoisitPai(g.HintB());
    g.Back();
    EXPECT_TRUE(g.CanRedo());
    g.Hint();
    const int a = g.HintA(), b = g.HintB();
    g.ChoisitPai(a);
    g.ChoisitPai(b);
    EXPECT_FALSE(g.CanRedo());
    EXPECT_TRUE(g.Redo().sounds.empty());
}

TEST(RiversPlay, ClearingTheBoardEndsTheGame) {
    // Two pairs left, side by side.
    const Placement p = {{1, E(6, 4)}, {2, E(8, 4)}, {5, E(20, 10)}, {6, E(20, 16)}};
    RiversGame g = GameWith(RiversVariant::Easy, p);
    g.ChoisitPai(1);
    g.ChoisitPai(2);
    EXPECT_FALSE(g.Finished());
    g.ChoisitPai(6);
    EXPECT_TRUE(g.ChoisitPai(5).removed);
    EXPECT_TRUE(g.Finished());
    EXPECT_EQ(g.TilesLeft(), 0);
    EXPECT_EQ(g.IsItFree().movesAvailable, 0);
    EXPECT_TRUE(g.Hint().sounds.empty());
    RandomGenerator rng(1);
    ManualClock clock;
    EXPECT_EQ(g.Shuffle(rng, clock).penaltySeconds, 0); // nothing to shuffle
}

TEST(RiversPlay, ShuffleKeepsEachLayerAndCostsFortySeconds) {
    RandomGenerator rng(8);
    RiversGame g;
    g.NewGame(RiversVariant::Hard, rng);
    for (int i = 0; i < 10; ++i) { // a few pairs off first
        g.Hint();
        g.ChoisitPai(g.HintA());
        g.ChoisitPai(g.HintB());
    }
    g.Back();
    g.Hint();
    g.ChoisitPai(100);
    ManualClock clock(1234);
    ShuffleOutcome out = g.Shuffle(rng, clock);
    EXPECT_EQ(out.penaltySeconds, 40);
    EXPECT_EQ(out.message, ShuffleMessage::RiversShuffled);
    EXPECT_FALSE(out.winnable);
    EXPECT_EQ(out.movesAvailable, g.IsItFree().movesAvailable);
    EXPECT_EQ(g.FirstPick(), 0);
    EXPECT_EQ(g.HintA(), 0);
    EXPECT_EQ(g.HintIndex(), 0);
    EXPECT_FALSE(g.CanRedo());
    std::string why;
    EXPECT_TRUE(CheckRiversState(g.State(), RiversVariant::Hard, &why)) << why;
    for (int t = 1; t <= 144; ++t) {
        if (g.GameBoard().Position(t).OnBoard()) {
            EXPECT_EQ(g.GameBoard().Position(t).layer, t <= 72 ? 1 : 2);
        }
    }
    // Back after a shuffle puts the last pair back on its old places.
    const HistoryEntry last = g.History()[static_cast<size_t>(144 - g.TilesLeft() - 1)];
    ASSERT_TRUE(g.Back());
    EXPECT_EQ(g.GameBoard().Position(last.tile), last.cell);
}

TEST(RiversState, SavedStatesResumeAndBadOnesAreRefused) {
    RandomGenerator rng(4);
    RiversGame g;
    g.NewGame(RiversVariant::Hard, rng);
    for (int i = 0; i < 6; ++i) {
        g.Hint();
        g.ChoisitPai(g.HintA());
        g.ChoisitPai(g.HintB());
    }
    const RiversState saved = g.State();
    RiversGame resumed;
    std::string why;
    ASSERT_TRUE(resumed.SetState(saved, &why)) << why;
    EXPECT_EQ(resumed.Variant(), RiversVariant::Hard);
    EXPECT_EQ(resumed.GameBoard(), g.GameBoard());
    EXPECT_EQ(resumed.IsItFree().pairs, g.IsItFree().pairs);
    ASSERT_EQ(resumed.Restart(), 6);
    g.Restart();
    EXPECT_EQ(resumed.GameBoard(), g.GameBoard());

    // Each kind of damage is refused and leaves the game as it was.
    const Board keep = resumed.GameBoard();
    auto refused = [&](RiversState s, const char* what) {
        std::string w;
        EXPECT_FALSE(resumed.SetState(s, &w)) << what;
        EXPECT_FALSE(w.empty()) << what;
        EXPECT_EQ(resumed.GameBoard(), keep) << what;
    };
    RiversState s = saved;
    s.board.tilesTotal = 100;
    refused(s, "tiles total");
    s = saved;
    s.board.tilesLeft += 1;
    refused(s, "odd tiles left");
    s = saved;
    s.board.SetPosition(80, Cell{});
    refused(s, "position table");
    s = saved;
    {
        const int t = s.board.TileAt(Cell{6, 5, 2});
        ASSERT_NE(t, 0);
        s.board.Remove(t);
        s.board.Place(t, Cell{7, 5, 2}); // half a place off
    }
    refused(s, "off its place");
    s = saved;
    {
        const int lower = s.board.TileAt(Cell{6, 7, 1});
        const int upper = s.board.TileAt(Cell{6, 7, 2});
        ASSERT_NE(lower, 0);
        ASSERT_NE(upper, 0);
        s.board.Remove(upper);
        s.board.Remove(lower);
        s.board.Place(upper, Cell{6, 7, 1}); // a layer-2 tile on layer 1
        s.board.Place(lower, Cell{6, 7, 2});
    }
    refused(s, "wrong layer");
    s = saved;
    std::swap(s.history[0], s.history[2]);
    refused(s, "history pairs that do not match");
    s = saved;
    s.history[1].cell = s.history[0].cell;
    refused(s, "two tiles back on one place");
    s = saved;
    s.history[0].tile = s.board.TileAt(Cell{6, 5, 2});
    refused(s, "a tile both on the board and removed");
}

TEST(RiversBoards, VariantsAndHallOfFameTables) {
    const RiversVariantInfo& easy = RiversInfo(RiversVariant::Easy);
    const RiversVariantInfo& hard = RiversInfo(RiversVariant::Hard);
    EXPECT_EQ(easy.boardNumber, 1000);
    EXPECT_EQ(hard.boardNumber, 1001);
    EXPECT_EQ(RiversVariantOfBoard(1001), RiversVariant::Hard);
    EXPECT_FALSE(RiversVariantOfBoard(1010).has_value());
    EXPECT_EQ(RiversVariantOfTiles(84), RiversVariant::Easy);
    EXPECT_EQ(RiversVariantOfTiles(144), RiversVariant::Hard);
    HallOfFame hall;
    EXPECT_EQ(hall.SectionOf(easy.boardNumber), "Rivers");
    EXPECT_EQ(hall.SectionOf(hard.boardNumber), "Rivers2");
    EXPECT_EQ(std::string(easy.hallSection), "Rivers");
    EXPECT_EQ(std::string(hard.hallSection), "Rivers2");
    // Time tables: the lower time ranks higher.
    EXPECT_FALSE(HallOfFame::IsScoreTable(easy.boardNumber));
    EXPECT_FALSE(HallOfFame::IsScoreTable(hard.boardNumber));
}
