// tovani-cli deal --game clicks-easy|clicks-normal|clicks-hard --seed N prints the field that
// the game itself deals from that seed; bad input exits with 2 and a message.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "games/CliRun.h"
#include "games/clicks/Clicks.h"
#include "games/clicks/ClicksDump.h"

using namespace tovani;

using test::CliRun;
using test::RunCli;

TEST(ClicksCli, PrintsTheGamesOwnDealForEveryLevel) {
    const struct {
        const char* name;
        ClicksLevel level;
    } games[] = {{"clicks-easy", ClicksLevel::Easy},
                 {"clicks-normal", ClicksLevel::Normal},
                 {"clicks-hard", ClicksLevel::Hard}};
    for (const auto& g : games)
        for (int32_t seed : {1, 77, 999999999}) {
            CliRun run =
                RunCli(std::string("deal --game ") + g.name + " --seed " + std::to_string(seed));
            ASSERT_EQ(run.exitCode, 0) << run.output;
            RandomGenerator rng(static_cast<uint32_t>(seed));
            ClicksGame game;
            game.NewGame(g.level, rng, 0);
            EXPECT_EQ(run.output, FormatClicksGrid(game.State().grid)) << g.name << " " << seed;

            // The text itself: the size line, then 12 rows of 18 pictures of the level.
            std::istringstream in(run.output);
            std::string word;
            int w = 0, h = 0;
            in >> word >> w >> h;
            EXPECT_EQ(word, "grid");
            EXPECT_EQ(w, 18);
            EXPECT_EQ(h, 12);
            int cells = 0, v;
            while (in >> v) {
                EXPECT_GE(v, 1);
                EXPECT_LE(v, ClicksKinds(g.level));
                ++cells;
            }
            EXPECT_EQ(cells, 216);
        }
    // Different seeds, different deals.
    EXPECT_NE(RunCli("deal --game clicks-hard --seed 5").output,
              RunCli("deal --game clicks-hard --seed 6").output);
}

TEST(ClicksCli, BadInputExitsWithTwoAndAMessage) {
    for (const char* args :
         {"deal --game clicks-medium --seed 3", "deal --game clicks-easy",
          "deal --game clicks-easy --seed 0", "deal --game clicks-easy --seed x", "deal --game"}) {
        CliRun run = RunCli(args);
        EXPECT_EQ(run.exitCode, 2) << args;
        EXPECT_NE(run.output.find("tovani-cli: "), std::string::npos) << args;
    }
    EXPECT_NE(RunCli("deal --game clicks-medium --seed 3").output.find("no game"),
              std::string::npos);
}
