// tovani-cli deal --game clicks-easy|clicks-normal|clicks-hard --seed N: the field that Clicks
// deals when the generator is seeded with N where the game reseeds from the clock.
#include <cstdio>

#include "GameDeals.h"
#include "core/Random.h"
#include "games/clicks/Clicks.h"
#include "games/clicks/ClicksDump.h"

namespace tovani::cli {

namespace {

int PrintClicks(ClicksLevel level, int32_t seed) {
    RandomGenerator rng(static_cast<uint32_t>(seed));
    ClicksGame game;
    game.NewGame(level, rng, 0);
    std::fputs(FormatClicksGrid(game.State().grid).c_str(), stdout);
    return 0;
}

} // namespace

int PrintClicksEasyDeal(int32_t seed) {
    return PrintClicks(ClicksLevel::Easy, seed);
}
int PrintClicksNormalDeal(int32_t seed) {
    return PrintClicks(ClicksLevel::Normal, seed);
}
int PrintClicksHardDeal(int32_t seed) {
    return PrintClicks(ClicksLevel::Hard, seed);
}

} // namespace tovani::cli
