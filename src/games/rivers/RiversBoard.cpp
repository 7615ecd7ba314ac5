#include "games/rivers/RiversBoard.h"

namespace tovani {

namespace {

constexpr RiversVariantInfo kVariants[] = {
    {RiversVariant::Easy, kRiversEasyBoard, "Rivers", "84-Tile Rivers", 84, 1, 6, 12, 4, 7},
    {RiversVariant::Hard, kRiversHardBoard, "Rivers2", "144-Tile Rivers", 144, 2, 6, 12, 5, 6},
};

} // namespace

const RiversVariantInfo& RiversInfo(RiversVariant variant) {
    return kVariants[variant == RiversVariant::Hard ? 1 : 0];
}

std::optional<RiversVariant> RiversVariantOfBoard(int boardNumber) {
    for (const RiversVariantInfo& v : kVariants)
        if (v.boardNumber == boardNumber)
            return v.variant;
    return std::nullopt;
}

std::optional<RiversVariant> RiversVariantOfTiles(int tilesTotal) {
    for (const RiversVariantInfo& v : kVariants)
        if (v.tiles == tilesTotal)
            return v.variant;
    return std::nullopt;
}

bool IsRiversPlace(RiversVariant variant, const Cell& cell) {
    const RiversVariantInfo& v = RiversInfo(variant);
    const int dc = cell.column - v.firstColumn, dr = cell.row - v.firstRow;
    return cell.layer >= 1 && cell.layer <= v.layers && dc >= 0 && dc % 2 == 0 &&
           dc / 2 < v.columns && dr >= 0 && dr % 2 == 0 && dr / 2 < v.rows;
}

int RiversLayerOf(RiversVariant variant, int tile) {
    const RiversVariantInfo& v = RiversInfo(variant);
    if (tile < 1 || tile > v.tiles)
        return 0;
    const int perLayer = v.tiles / v.layers;
    return (tile - 1) / perLayer + 1;
}

void DealRivers(Board& board, RiversVariant variant, RandomGenerator& rng) {
    const RiversVariantInfo& v = RiversInfo(variant);
    board.Clear();
    const int perLayer = v.tiles / v.layers;
    for (int layer = 1; layer <= v.layers; ++layer)
        for (int b = 1; b <= perLayer; ++b) {
            Cell place;
            do {
                const int c = static_cast<int>(rng.Random(static_cast<uint32_t>(v.columns)));
                const int r = static_cast<int>(rng.Random(static_cast<uint32_t>(v.rows)));
                place = Cell{v.firstColumn + 2 * c, v.firstRow + 2 * r, layer};
            } while (board.At(place) != 0);
            board.Place(b + perLayer * (layer - 1), place);
        }
    board.tilesTotal = board.tilesLeft = v.tiles;
}

} // namespace tovani
