// Many seeded games of Slider played with random input: clicks on tiles, on empty cells and off
// the grid, the keyboard and Back. The state must hold together after every event; every slide
// leaves no line standing, accounts for every tile and point, and Back gives back exactly the
// game before it.
#include <gtest/gtest.h>

#include <cstdio>

#include "games/slider/Slider.h"

using namespace tovani;

TEST(SliderRobustness, RandomInputKeepsTheStateWholeAndBackExact) {
    int slides = 0, refused = 0, backs = 0, finished = 0, arrivalLines = 0;
    for (uint32_t seed = 1; seed <= 300; ++seed) {
        RandomGenerator rng(seed), input(seed * 104729u + 3u);
        SliderGame game;
        game.NewGame(seed % 2 ? SliderLevel::Easy : SliderLevel::Hard, rng, 0);
        SliderState beforeLastSlide;
        bool canTakeBack = false;
        uint32_t now = 0;
        for (int event = 0; event < 3000 && !game.GameOver(); ++event, now += 50) {
            const SliderState before = game.State();
            const uint32_t what = input.Random(100);
            SliderEffects fx;
            if (what < 96) {
                // Any cell, tile or empty, now and then off the grid; more often than not a
                // tile when nothing is picked and an empty cell when one is.
                auto any = [&] {
                    return FieldCell{static_cast<int>(input.Random(9)) + 1,
                                     static_cast<int>(input.Random(9)) + 1};
                };
                FieldCell cell = any();
                if (input.Random(20) == 0) {
                    cell = {static_cast<int>(input.Random(12)) - 1,
                            static_cast<int>(input.Random(12)) - 1};
                } else if (input.Random(4) != 0) {
                    const bool wantTile = before.selected.None();
                    while ((before.grid(cell) != 0) != wantTile)
                        cell = any();
                }
                fx = game.Click(cell, rng, now);
            } else if (what < 99) {
                fx = game.Key(static_cast<CursorKey>(input.Random(5)), rng, now);
            } else {
                const bool could = game.CanBack();
                ASSERT_EQ(could, canTakeBack);
                fx = game.Back(now);
                if (could) {
                    ++backs;
                    ASSERT_EQ(game.Grid(), beforeLastSlide.grid);
                    ASSERT_EQ(game.Next(), beforeLastSlide.next);
                    ASSERT_EQ(game.Score(), beforeLastSlide.score);
                    canTakeBack = false;
                } else {
                    ASSERT_EQ(game.State(), before);
                }
            }
            if (fx.moved) {
                ++slides;
                beforeLastSlide = before;
                canTakeBack = !fx.gameOver;
                // Every tile and every point accounted for.
                int tiles = before.grid.Tiles() - static_cast<int>(fx.removed.size());
                int points = static_cast<int>(fx.removed.size());
                for (const SliderArrival& a : fx.arrivals) {
                    tiles += 1 - static_cast<int>(a.removed.size());
                    points += static_cast<int>(a.removed.size());
                    arrivalLines += !a.removed.empty();
                }
                ASSERT_EQ(game.TilesLeft(), tiles);
                ASSERT_EQ(game.Score(), before.score + points);
                ASSERT_EQ(fx.scoreChange, points);
                ASSERT_EQ(fx.path.front(), before.selected);
                ASSERT_EQ(fx.arrivals.empty() ? fx.afterSlide : fx.arrivals.back().gridAfter,
                          game.Grid());
                ASSERT_TRUE(FindLines(game.Grid()).empty());
                ASSERT_EQ(game.GameOver(), game.Grid().Full());
            } else if (!fx.sounds.empty() && fx.sounds[0] == Sound::NoWay) {
                ++refused;
                ASSERT_EQ(game.State(), before);
            }
            ASSERT_EQ(game.CheckInvariants(), "") << "seed " << seed << " event " << event;
        }
        finished += game.GameOver();
    }
    EXPECT_GT(slides, 6000);
    EXPECT_GT(refused, 1000);
    EXPECT_GT(backs, 500);
    EXPECT_GT(finished, 250);
    EXPECT_GT(arrivalLines, 10);
    std::printf(
        "%d slides, %d refused, %d taken back, %d games to the end, %d lines by new tiles\n",
        slides, refused, backs, finished, arrivalLines);
}
