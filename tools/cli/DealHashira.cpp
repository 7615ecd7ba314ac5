// tovani-cli deal --game hashira --seed N: the well's size and the first 20 columns a Hashira
// game draws when its generator is seeded with N where the game reseeds from the clock.
// The hall-of-fame strip may draw one number for its picture when a game starts, if it shows
// one; that draw belongs to the window, not to the game, and is left out here.
#include <cstdio>

#include "GameDeals.h"
#include "games/hashira/HashiraDeal.h"

namespace tovani::cli {

int PrintHashiraDeal(int32_t seed) {
    const std::string text =
        FormatHashiraColumns(HashiraOpeningColumns(static_cast<uint32_t>(seed), 20));
    std::fputs(text.c_str(), stdout);
    return 0;
}

} // namespace tovani::cli
