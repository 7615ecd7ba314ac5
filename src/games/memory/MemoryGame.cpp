#include "games/memory/MemoryGame.h"

namespace tovani {

namespace {

constexpr MemoryVariantInfo kVariants[] = {
    {MemoryVariant::Easy, kMemoryEasyBoard, "Memory", "Easy Memory", 32, 10, 8, 7, 4},
    {MemoryVariant::Hard, kMemoryHardBoard, "Memory2", "Hard Memory", 60, 8, 10, 5, 6},
};

} // namespace

const MemoryVariantInfo& MemoryInfo(MemoryVariant variant) {
    return kVariants[variant == MemoryVariant::Hard ? 1 : 0];
}

std::optional<MemoryVariant> MemoryVariantOfBoard(int boardNumber) {
    for (const MemoryVariantInfo& v : kVariants)
        if (v.boardNumber == boardNumber)
            return v.variant;
    return std::nullopt;
}

bool IsMemoryPlace(MemoryVariant variant, const Cell& cell) {
    const MemoryVariantInfo& v = MemoryInfo(variant);
    const int dc = cell.column - v.firstColumn, dr = cell.row - v.firstRow;
    return cell.layer == 1 && dc >= 0 && dc % 2 == 0 && dc / 2 < v.columns && dr >= 0 &&
           dr % 2 == 0 && dr / 2 < v.rows;
}

void DealMemory(Board& board, MemoryVariant variant, RandomGenerator& rng) {
    const MemoryVariantInfo& v = MemoryInfo(variant);
    board.Clear();
    for (int tile = 1; tile <= v.tiles; ++tile) {
        Cell place;
        do {
            const int c = static_cast<int>(rng.Random(static_cast<uint32_t>(v.columns)));
            const int r = static_cast<int>(rng.Random(static_cast<uint32_t>(v.rows)));
            place = Cell{v.firstColumn + 2 * c, v.firstRow + 2 * r, 1};
        } while (board.At(place) != 0);
        board.Place(tile, place);
    }
    board.tilesTotal = board.tilesLeft = v.tiles;
}

MemoryGame::MemoryGame() {
    board_.tilesLeft = board_.tilesTotal = 0;
}

void MemoryGame::NewGame(MemoryVariant variant, RandomGenerator& rng) {
    variant_ = variant;
    DealMemory(board_, variant, rng);
    firstPick_ = secondPick_ = 0;
    countdown_ = 0;
}

MemoryEffects MemoryGame::ChoisitPai(int tile) {
    MemoryEffects fx;
    if (countdown_ > 0 || !IsTileNumber(tile) || !board_.Position(tile).OnBoard())
        return fx; // a pair is up, or the click hit no tile
    if (firstPick_ == 0) {
        firstPick_ = tile;
        fx.sounds.push_back(Sound::Select);
        fx.redrawTiles.push_back(tile);
        return fx;
    }
    secondPick_ = tile;
    if (tile == firstPick_)
        return fx; // the face-up tile again: it stays up alone
    fx.sounds.push_back(Sound::Select);
    fx.redrawTiles.push_back(tile);
    countdown_ = kRevealTicks;
    return fx;
}

MemoryEffects MemoryGame::Tick() {
    MemoryEffects fx;
    if (countdown_ <= 0 || --countdown_ > 0)
        return fx;
    fx.resolved = true;
    const int a = firstPick_, b = secondPick_;
    firstPick_ = secondPick_ = 0;
    if (TilesMatch(a, b)) {
        fx.removed = true;
        fx.pair = RemovedPair{a, b, board_.Position(a), board_.Position(b)};
        const int used = board_.tilesTotal - board_.tilesLeft;
        if (used >= 0 && used + 1 < kHistorySize) {
            history_[static_cast<size_t>(used)] = HistoryEntry{a, fx.pair.firstCell};
            history_[static_cast<size_t>(used + 1)] = HistoryEntry{b, fx.pair.secondCell};
        }
        board_.Remove(a);
        board_.Remove(b);
        board_.tilesLeft -= 2;
        fx.sounds.push_back(Sound::Done);
    } else {
        fx.fullRedraw = true; // both tiles turn face down again
        fx.penaltySeconds = kMismatchPenalty;
    }
    return fx;
}

} // namespace tovani
