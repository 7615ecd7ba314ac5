// The deals of the games beside Solitaire, for `tovani-cli deal --game NAME --seed N`: each
// prints the board that its game deals when the random generator is seeded with N instead of
// the clock. One file per game defines its printer; GameDeals.cpp lists them by name.
#pragma once

#include <cstdint>
#include <vector>

namespace tovani {
class Board;
} // namespace tovani

namespace tovani::cli {

struct GameDeal {
    const char* name;           // "rivers-easy", "clicks-hard"...
    int (*print)(int32_t seed); // prints the deal on standard output; answers the exit code
};

// Every game deal, in the order the help text lists them.
const std::vector<GameDeal>& GameDeals();

// DealClicks.cpp
int PrintClicksEasyDeal(int32_t seed);
int PrintClicksNormalDeal(int32_t seed);
int PrintClicksHardDeal(int32_t seed);
// DealSlider.cpp
int PrintSliderEasyDeal(int32_t seed);
int PrintSliderHardDeal(int32_t seed);
// The printers, one file each (Deal<Game>.cpp).
int PrintHashiraDeal(int32_t seed);
// Prints a board of tiles as the deal command prints Solitaire's: "tiles T", then one line
// "tile column row layer" per tile in tile-number order (board cells). Answers 0.
int PrintTileDeal(const Board& board);

// The printers, one file per game.
int PrintRiversEasyDeal(int32_t seed); // DealRivers.cpp
int PrintRiversHardDeal(int32_t seed);
int PrintMemoryEasyDeal(int32_t seed); // DealMemory.cpp
int PrintMemoryHardDeal(int32_t seed);

} // namespace tovani::cli
