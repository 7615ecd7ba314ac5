// tovani-cli deal --game slider-easy|slider-hard --seed N prints the grid and the next tiles
// that the game itself deals from that seed; bad input exits with 2 and a message.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "games/CliRun.h"
#include "games/slider/Slider.h"
#include "games/slider/SliderDump.h"

using namespace tovani;

using test::CliRun;
using test::RunCli;

TEST(SliderCli, PrintsTheGamesOwnDealAndNextTiles) {
    for (SliderLevel level : {SliderLevel::Easy, SliderLevel::Hard}) {
        const char* name = level == SliderLevel::Easy ? "slider-easy" : "slider-hard";
        for (int32_t seed : {1, 2024, 999999999}) {
            CliRun run =
                RunCli(std::string("deal --game ") + name + " --seed " + std::to_string(seed));
            ASSERT_EQ(run.exitCode, 0) << run.output;
            RandomGenerator rng(static_cast<uint32_t>(seed));
            SliderGame game;
            game.NewGame(level, rng, 0);
            EXPECT_EQ(run.output, FormatSliderGame(game.Grid(), game.Next()))
                << name << " " << seed;

            // The text itself: the size line, 9 rows of 9 cells with five tiles, the next line.
            std::istringstream in(run.output);
            std::string word;
            int w = 0, h = 0;
            in >> word >> w >> h;
            EXPECT_EQ(word, "grid");
            EXPECT_EQ(w, 9);
            EXPECT_EQ(h, 9);
            const int top = level == SliderLevel::Easy ? 7 : 6;
            int tiles = 0;
            for (int i = 0; i < 81; ++i) {
                int v = -1;
                in >> v;
                EXPECT_GE(v, 0);
                EXPECT_LE(v, top);
                tiles += v != 0;
            }
            EXPECT_EQ(tiles, 5);
            in >> word;
            EXPECT_EQ(word, "next");
            for (int i = 0; i < 3; ++i) {
                int v = -1;
                in >> v;
                EXPECT_GE(v, 0);
                EXPECT_LT(v, top);
            }
            EXPECT_FALSE(in >> word); // nothing after the next tiles
        }
    }
}

TEST(SliderCli, BadInputExitsWithTwoAndAMessage) {
    for (const char* args :
         {"deal --game slider --seed 3", "deal --game slider-hard",
          "deal --game slider-easy --seed -4", "deal --game slider-easy --seed"}) {
        CliRun run = RunCli(args);
        EXPECT_EQ(run.exitCode, 2) << args;
        EXPECT_NE(run.output.find("tovani-cli: "), std::string::npos) << args;
    }
}
