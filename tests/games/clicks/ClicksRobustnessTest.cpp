// Many seeded games of Clicks played with random input: clicks anywhere (the frame and beyond
// included), the keyboard, Back, Restart, ticks and both answers to the give-up question. The
// state must hold together after every event, and Back must give back exactly the field
// before the move it takes back.
#include <gtest/gtest.h>

#include <cstdio>

#include "games/clicks/Clicks.h"

using namespace tovani;

TEST(ClicksRobustness, RandomInputKeepsTheStateWholeAndBackExact) {
    int moves = 0, gaveUp = 0, backs = 0;
    for (uint32_t seed = 1; seed <= 150; ++seed) {
        RandomGenerator deal(seed), input(seed * 7919u + 17u);
        ClicksGame game;
        const ClicksLevel level = static_cast<ClicksLevel>(seed % 3);
        game.NewGame(level, deal, 0);
        const ClicksGrid dealt = game.State().grid;
        std::vector<ClicksGrid> before; // the field before each move not taken back
        uint32_t now = 0;
        for (int event = 0; event < 1000 && !game.GameOver(); ++event, now += 50) {
            const int tilesBefore = game.TilesLeft();
            const ClicksGrid gridBefore = game.State().grid;
            const uint32_t what = input.Random(100);
            if (what < 75) {
                // Half the time a tile of some group, else anywhere on the field, now and then
                // on the frame or off the grid.
                FieldCell cell{static_cast<int>(input.Random(18)) + 1,
                               static_cast<int>(input.Random(12)) + 1};
                if (input.Random(10) == 0) {
                    cell = {static_cast<int>(input.Random(22)) - 1,
                            static_cast<int>(input.Random(17)) - 1};
                } else if (input.Random(2) == 0) {
                    std::vector<FieldCell> inGroups;
                    for (int c = 1; c <= kClicksColumns; ++c)
                        for (int r = 1; r <= kClicksRows; ++r)
                            if (HasLikeNeighbour(gridBefore, c, r))
                                inGroups.push_back({c, r});
                    if (!inGroups.empty())
                        cell = inGroups[input.Random(static_cast<uint32_t>(inGroups.size()))];
                }
                ClicksEffects fx = game.Click(cell, now);
                if (!fx.removed.empty()) {
                    ++moves;
                    before.push_back(gridBefore);
                    ASSERT_GE(fx.removed.size(), 2u);
                    ASSERT_EQ(game.TilesLeft(), tilesBefore - static_cast<int>(fx.removed.size()));
                    if (!fx.passes.empty()) {
                        ASSERT_EQ(fx.passes.back(), game.State().grid);
                    }
                    ASSERT_TRUE(IsSettled(game.State().grid));
                } else {
                    ASSERT_EQ(game.State().grid, gridBefore);
                }
            } else if (what < 83) {
                game.Key(static_cast<CursorKey>(input.Random(5)), now);
                if (game.TilesLeft() < tilesBefore)
                    before.push_back(gridBefore);
            } else if (what < 88 && input.Random(2) == 0) {
                const bool could = game.CanBack();
                ClicksEffects fx = game.Back(now);
                ASSERT_EQ(fx.fullRedraw, could);
                if (could) {
                    ++backs;
                    ASSERT_EQ(game.State().grid, before.back());
                    before.pop_back();
                }
            } else if (what < 88) {
                if (input.Random(20) == 0 && game.CanBack()) {
                    game.Restart(now);
                    ASSERT_EQ(game.State().grid, dealt);
                    before.clear();
                }
            } else {
                ClicksCount count = game.Tick(now);
                ASSERT_EQ(count.tilesLeft, game.TilesLeft());
                if (count.askGiveUp) {
                    ASSERT_EQ(count.movesAvailable, 0);
                    const bool yes = input.Random(2) == 0;
                    game.AnswerGiveUp(yes, now);
                    if (yes) {
                        ++gaveUp;
                        ASSERT_TRUE(game.GameOver());
                    } else if (!before.empty()) {
                        ASSERT_EQ(game.State().grid, before.back());
                        before.pop_back();
                    }
                }
            }
            ASSERT_EQ(game.CheckInvariants(), "") << "seed " << seed << " event " << event;
            ASSERT_EQ(game.State().moveDepth, static_cast<int>(before.size()));
        }
    }
    // The random player really played.
    EXPECT_GT(moves, 3000);
    EXPECT_GT(backs, 100);
    EXPECT_GT(gaveUp, 10);
    std::printf("%d moves, %d taken back, %d games given up\n", moves, backs, gaveUp);
}
