// tovani-cli deal --game rivers-easy|rivers-hard --seed N: the board that Rivers deals when the
// generator is seeded with N (the game itself seeds it from the clock).
#include "GameDeals.h"
#include "core/Random.h"
#include "games/rivers/RiversGame.h"

namespace tovani::cli {

namespace {

int PrintRiversDeal(RiversVariant variant, int32_t seed) {
    RandomGenerator rng(static_cast<uint32_t>(seed));
    RiversGame game;
    game.NewGame(variant, rng);
    return PrintTileDeal(game.GameBoard());
}

} // namespace

int PrintRiversEasyDeal(int32_t seed) {
    return PrintRiversDeal(RiversVariant::Easy, seed);
}

int PrintRiversHardDeal(int32_t seed) {
    return PrintRiversDeal(RiversVariant::Hard, seed);
}

} // namespace tovani::cli
