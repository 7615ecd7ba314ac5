#include "GameDeals.h"

namespace tovani::cli {

const std::vector<GameDeal>& GameDeals() {
    // One line per game variant: {"name", PrintXxxDeal}, with PrintXxxDeal defined in the
    // game's own Deal<Game>.cpp of this folder.
    static const std::vector<GameDeal> table = {
        {"hashira", PrintHashiraDeal},
    };
    return table;
}

} // namespace tovani::cli
