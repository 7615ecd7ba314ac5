// Long random games: clicks (also on removed, covered and unknown tiles), hints followed or
// not, Back, Redo, Restart, shuffles and saved-state round trips, interleaved. After every
// action the board must still be one a game can be in: tile counters equal to the tiles on the
// board, the position table in agreement with the grid, every tile on its layer's places, and a
// history that puts every removed tile back.
#include "RiversTestBoards.h"

using namespace tovani;
using namespace tovani::test;

namespace {

int TileOnBoard(const RiversGame& g, RandomGenerator& r) {
    std::vector<int> on;
    for (int t = 1; t <= g.TilesTotal(); ++t)
        if (g.GameBoard().Position(t).OnBoard() && !g.Covered(t))
            on.push_back(t);
    return on.empty() ? 0 : on[static_cast<size_t>(r.Below(static_cast<int>(on.size())))];
}

} // namespace

TEST(RiversRobustness, RandomPlayKeepsTheBoardConsistent) {
    int removals = 0, backs = 0, redos = 0, restarts = 0, shuffles = 0, reloads = 0, wins = 0;
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        const RiversVariant v = seed % 2 ? RiversVariant::Easy : RiversVariant::Hard;
        RandomGenerator rng(seed);
        RandomGenerator choose(seed * 7777u + 13u);
        ManualClock clock(seed * 1000u);
        RiversGame g;
        g.NewGame(v, rng);
        for (int step = 0; step < 500; ++step) {
            const Board before = g.GameBoard();
            const int roll = choose.Below(100);
            RiversEffects fx;
            std::string what;
            if (roll < 25) {
                const int t = choose.Below(147) - 1; // -1..145: no tile, removed ones, unknown
                what = "click " + std::to_string(t);
                fx = g.ChoisitPai(t);
            } else if (roll < 50) {
                what = "hint and follow it";
                fx = g.Hint();
                if (fx.penaltySeconds) {
                    EXPECT_EQ(fx.penaltySeconds, RiversGame::kHintPenalty);
                    EXPECT_TRUE(fx.fullRedraw);
                    g.ChoisitPai(0);
                    if (g.FirstPick() && g.FirstPick() != g.HintA())
                        g.ChoisitPai(g.FirstPick()); // drop a selection of our own
                    if (g.FirstPick() != g.HintA())
                        g.ChoisitPai(g.HintA());
                    const int hinted = g.HintB();
                    const Board mid = g.GameBoard();
                    fx = g.ChoisitPai(hinted);
                    ASSERT_TRUE(fx.removed) << "seed " << seed << " step " << step;
                    ASSERT_TRUE(IsRiver(mid, fx.river, fx.pair.firstCell, fx.pair.secondCell));
                } else {
                    // No pair to show (the marks of an earlier hint may stay).
                    EXPECT_EQ(g.IsItFree().movesAvailable, 0);
                }
            } else if (roll < 62) {
                what = "back";
                const bool possible = g.TilesLeft() != 0 && g.TilesLeft() < g.TilesTotal();
                EXPECT_EQ(g.Back(), possible);
                backs += possible;
            } else if (roll < 70) {
                what = "redo";
                const bool possible = g.CanRedo();
                fx = g.Redo();
                EXPECT_EQ(fx.removed, possible);
                if (fx.removed) {
                    ++redos;
                    EXPECT_TRUE(IsRiver(before, fx.river, fx.pair.firstCell, fx.pair.secondCell));
                }
            } else if (roll < 72) {
                what = "restart";
                restarts += g.Restart() > 0;
                EXPECT_TRUE(g.TilesLeft() == g.TilesTotal() || g.TilesLeft() == 0);
            } else if (roll < 75) {
                what = "shuffle";
                const int left = g.TilesLeft();
                ShuffleOutcome out = g.Shuffle(rng, clock);
                EXPECT_EQ(out.penaltySeconds, left ? 40 : 0);
                shuffles += left != 0;
            } else if (roll < 80) {
                what = "save and load";
                RiversGame resumed;
                std::string why;
                ASSERT_TRUE(resumed.SetState(g.State(), &why)) << why;
                g = resumed;
                ++reloads;
            } else {
                // A tile of the selection's group when there is a selection, else any tile.
                int t = TileOnBoard(g, choose);
                if (g.FirstPick() && choose.Below(2)) {
                    const int base = (g.FirstPick() - 1) / 4 * 4 + 1;
                    t = base + choose.Below(4);
                }
                what = "click on board " + std::to_string(t);
                fx = g.ChoisitPai(t);
            }
            if (fx.removed) {
                ++removals;
                EXPECT_EQ(fx.sounds, std::vector<Sound>{Sound::Done});
                EXPECT_EQ(g.TilesLeft(), before.tilesLeft - 2);
            }
            std::string why;
            ASSERT_TRUE(CheckRiversState(g.State(), v, &why))
                << why << " (seed " << seed << ", step " << step << ", " << what << ")";
            ASSERT_EQ(g.SecondPick(), 0);
            if (g.FirstPick()) {
                ASSERT_TRUE(g.GameBoard().Position(g.FirstPick()).OnBoard());
                ASSERT_FALSE(g.Covered(g.FirstPick()));
            }
            ASSERT_EQ(g.Finished(), g.TilesLeft() == 0);
            if (step % 25 == 0) {
                const RiversScan scan = g.IsItFree();
                ASSERT_EQ(scan.pairs, PairsBySearch(g.GameBoard()));
                ASSERT_EQ(scan.movesAvailable, static_cast<int>(scan.pairs.size()));
            }
            if (g.Finished()) {
                ++wins;
                g.NewGame(v, rng);
            }
        }
    }
    // The random games did exercise every action.
    EXPECT_GT(removals, 1000);
    EXPECT_GT(backs, 100);
    EXPECT_GT(redos, 20);
    EXPECT_GT(restarts, 10);
    EXPECT_GT(shuffles, 20);
    EXPECT_GT(reloads, 20);
    std::printf("removals %d backs %d redos %d restarts %d shuffles %d reloads %d wins %d\n",
                removals, backs, redos, restarts, shuffles, reloads, wins);
}
