#include "solitaire/Tiles.h"

namespace tovani {

int FaceOf(int tile) {
    if (!IsTileNumber(tile))
        return 0;
    if (tile <= 108)
        return (tile - 1) / 4 + 1; // suits: faces 1..27, four copies each
    if (tile <= 116)
        return tile - 109 + 28;   // flowers 28..31, seasons 32..35: one each
    return (tile - 117) / 4 + 36; // dragons 36..38, winds 39..42: four each
}

bool TilesMatch(int a, int b) {
    if (!IsTileNumber(a) || !IsTileNumber(b))
        return false;
    return (a - 1) / 4 == (b - 1) / 4;
}

} // namespace tovani
