#include "Pieces.h"

#include "ModPieces.h"

namespace tovani::music {

const std::vector<PieceEntry>& AllPieces() {
    static const std::vector<PieceEntry> pieces = {
        {"Endless.mid", ComposeEndless},
        {"Moonlit Pond.mid", ComposeMoonlitPond},
        {"Bamboo Rain.mid", ComposeBambooRain},
        {"Mountain Path.mid", ComposeMountainPath},
        {"Tea House.mid", ComposeTeaHouse},
        {"Congo Nights.mod", ComposeCongoNights, CongoNightsSong},
        {"Jade Garden.mod", ComposeJadeGarden, JadeGardenSong},
        {"Lantern Festival.mod", ComposeLanternFestival, LanternFestivalSong},
    };
    return pieces;
}

} // namespace tovani::music
