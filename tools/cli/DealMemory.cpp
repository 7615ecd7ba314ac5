// tovani-cli deal --game memory-easy|memory-hard --seed N: the board that Memory deals when the
// generator is seeded with N (the game itself seeds it from the clock).
#include "GameDeals.h"
#include "core/Random.h"
#include "games/memory/MemoryGame.h"

namespace tovani::cli {

namespace {

int PrintMemoryDeal(MemoryVariant variant, int32_t seed) {
    RandomGenerator rng(static_cast<uint32_t>(seed));
    MemoryGame game;
    game.NewGame(variant, rng);
    return PrintTileDeal(game.GameBoard());
}

} // namespace

int PrintMemoryEasyDeal(int32_t seed) {
    return PrintMemoryDeal(MemoryVariant::Easy, seed);
}

int PrintMemoryHardDeal(int32_t seed) {
    return PrintMemoryDeal(MemoryVariant::Hard, seed);
}

} // namespace tovani::cli
