#include "GameDeals.h"

namespace tovani::cli {

const std::vector<GameDeal>& GameDeals() {
    // One line per game variant: {"name", PrintXxxDeal}, with PrintXxxDeal defined in the
    // game's own Deal<Game>.cpp of this folder.
    static const std::vector<GameDeal> table = {
        {"clicks-easy", PrintClicksEasyDeal}, {"clicks-normal", PrintClicksNormalDeal},
        {"clicks-hard", PrintClicksHardDeal}, {"slider-easy", PrintSliderEasyDeal},
        {"slider-hard", PrintSliderHardDeal},
        {"hashira", PrintHashiraDeal},
    };
    return table;
}

} // namespace tovani::cli
