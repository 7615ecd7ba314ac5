// tovani-cli deal --game slider-easy|slider-hard --seed N: the grid and the next tiles that
// Slider deals when the generator is seeded with N where the game reseeds from the clock.
#include <cstdio>

#include "GameDeals.h"
#include "core/Random.h"
#include "games/slider/Slider.h"
#include "games/slider/SliderDump.h"

namespace tovani::cli {

namespace {

int PrintSlider(SliderLevel level, int32_t seed) {
    RandomGenerator rng(static_cast<uint32_t>(seed));
    SliderGame game;
    game.NewGame(level, rng, 0);
    std::fputs(FormatSliderGame(game.Grid(), game.Next()).c_str(), stdout);
    return 0;
}

} // namespace

int PrintSliderEasyDeal(int32_t seed) {
    return PrintSlider(SliderLevel::Easy, seed);
}
int PrintSliderHardDeal(int32_t seed) {
    return PrintSlider(SliderLevel::Hard, seed);
}

} // namespace tovani::cli
