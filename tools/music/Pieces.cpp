#include "Pieces.h"

namespace tovani::music {

const std::vector<PieceEntry>& AllPieces() {
    static const std::vector<PieceEntry> pieces = {
        {"Endless.mid", ComposeEndless},
        {"Moonlit Pond.mid", ComposeMoonlitPond},
        {"Bamboo Rain.mid", ComposeBambooRain},
        {"Mountain Path.mid", ComposeMountainPath},
    };
    return pieces;
}

} // namespace tovani::music
