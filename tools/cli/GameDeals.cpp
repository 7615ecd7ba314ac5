#include "GameDeals.h"

#include <cstdio>

#include "solitaire/Board.h"

namespace tovani::cli {

const std::vector<GameDeal>& GameDeals() {
    // One line per game variant: {"name", PrintXxxDeal}, with PrintXxxDeal defined in the
    // game's own Deal<Game>.cpp of this folder.
    static const std::vector<GameDeal> table = {
        {"rivers-easy", PrintRiversEasyDeal}, {"rivers-hard", PrintRiversHardDeal},
        {"memory-easy", PrintMemoryEasyDeal}, {"memory-hard", PrintMemoryHardDeal},
        {"clicks-easy", PrintClicksEasyDeal}, {"clicks-normal", PrintClicksNormalDeal},
        {"clicks-hard", PrintClicksHardDeal}, {"slider-easy", PrintSliderEasyDeal},
        {"slider-hard", PrintSliderHardDeal}, {"hashira", PrintHashiraDeal},
    };
    return table;
}

int PrintTileDeal(const Board& board) {
    std::printf("tiles %d\n", board.tilesTotal);
    for (int t = 1; t <= board.tilesTotal; ++t) {
        Cell c = board.Position(t);
        std::printf("%d %d %d %d\n", t, c.column, c.row, c.layer);
    }
    return 0;
}

} // namespace tovani::cli
