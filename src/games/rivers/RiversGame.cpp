#include "games/rivers/RiversGame.h"

#include "games/TileBoardCheck.h"
#include "games/rivers/RiverSearch.h"

namespace tovani {

namespace {

// A tile with another tile directly on it (same column and row, one layer up).
bool CoveredOn(const Board& board, int tile) {
    const Cell p = board.Position(tile);
    return p.OnBoard() && board.At(p.column, p.row, p.layer + 1) != 0;
}

bool Fail(std::string* why, std::string text) {
    if (why)
        *why = std::move(text);
    return false;
}

std::string CellText(const Cell& c) {
    return "(" + std::to_string(c.column) + ", " + std::to_string(c.row) + ", " +
           std::to_string(c.layer) + ")";
}

} // namespace

RiversScan RiversIsItFree(const Board& board) {
    RiversScan scan;
    const RiverMap map(board);
    for (int n = 1; n < board.tilesTotal && n + 3 <= kTileCount; n += 4) {
        bool inPair[4] = {false, false, false, false};
        for (int i = 0; i < 4; ++i)
            for (int j = i + 1; j < 4; ++j) {
                const int a = n + i, b = n + j;
                const Cell pa = board.Position(a), pb = board.Position(b);
                if (!pa.OnBoard() || pa.layer != pb.layer || CoveredOn(board, a) ||
                    CoveredOn(board, b) || !map.Reachable(a, b))
                    continue;
                scan.pairs.emplace_back(a, b);
                inPair[i] = inPair[j] = true;
            }
        for (int i = 0; i < 4; ++i)
            if (inPair[i])
                scan.freeTiles.push_back(n + i);
    }
    scan.movesAvailable = static_cast<int>(scan.pairs.size());
    return scan;
}

bool CheckRiversState(const RiversState& state, RiversVariant variant, std::string* why) {
    const RiversVariantInfo& info = RiversInfo(variant);
    const Board& board = state.board;
    if (board.tilesTotal != info.tiles)
        return Fail(why, std::string(info.description) + " deals " + std::to_string(info.tiles) +
                             " tiles, not " + std::to_string(board.tilesTotal));
    if (board.tilesLeft < 0 || board.tilesLeft > board.tilesTotal || board.tilesLeft % 2 != 0)
        return Fail(why, "tiles left " + std::to_string(board.tilesLeft) + " of " +
                             std::to_string(board.tilesTotal) + " cannot be");
    if (!GridAgreesWithPositions(board, why))
        return false;
    for (int t = 1; t <= board.tilesTotal; ++t) {
        const Cell p = board.Position(t);
        if (!p.OnBoard())
            continue;
        if (!IsRiversPlace(variant, p) || p.layer != RiversLayerOf(variant, t))
            return Fail(why, "tile " + std::to_string(t) + " stands at " + CellText(p) +
                                 ", which is not one of its places");
        if (p.layer > 1 && board.At(p.column, p.row, p.layer - 1) == 0)
            return Fail(why, "tile " + std::to_string(t) + " stands on nothing");
    }

    // Taking the pairs back from the last must put every removed tile onto an empty place of
    // its layer, uncovered and standing on a tile as it was when it went, and fill the board.
    Board replay = board;
    const int used = board.tilesTotal - board.tilesLeft;
    for (int k = used - 2; k >= 0; k -= 2) {
        const HistoryEntry& a = state.history[static_cast<size_t>(k)];
        const HistoryEntry& b = state.history[static_cast<size_t>(k + 1)];
        const std::string which = "removed pair " + std::to_string(k / 2 + 1);
        for (const HistoryEntry* e : {&a, &b}) {
            if (e->tile < 1 || e->tile > board.tilesTotal)
                return Fail(why, which + " holds tile " + std::to_string(e->tile));
            if (replay.Position(e->tile).OnBoard())
                return Fail(why,
                            which + ": tile " + std::to_string(e->tile) + " is on the board then");
            if (!IsRiversPlace(variant, e->cell) ||
                e->cell.layer != RiversLayerOf(variant, e->tile) || replay.At(e->cell) != 0)
                return Fail(why, which + ": tile " + std::to_string(e->tile) +
                                     " cannot go back to " + CellText(e->cell));
            replay.Place(e->tile, e->cell);
        }
        if (!TilesMatch(a.tile, b.tile))
            return Fail(why, which + ": tiles " + std::to_string(a.tile) + " and " +
                                 std::to_string(b.tile) + " do not match");
        for (const HistoryEntry* e : {&a, &b}) {
            const Cell& c = e->cell;
            if (replay.At(c.column, c.row, c.layer + 1) != 0 ||
                (c.layer > 1 && replay.At(c.column, c.row, c.layer - 1) == 0))
                return Fail(why, which + ": tile " + std::to_string(e->tile) +
                                     " was covered or stood on nothing when it went");
        }
    }
    for (int t = 1; t <= board.tilesTotal; ++t)
        if (!replay.Position(t).OnBoard())
            return Fail(why, "tile " + std::to_string(t) +
                                 " is neither on the board nor in the "
                                 "history");
    return true;
}

RiversGame::RiversGame() {
    board_.tilesLeft = board_.tilesTotal = 0;
}

void RiversGame::NewGame(RiversVariant variant, RandomGenerator& rng) {
    variant_ = variant;
    DealRivers(board_, variant, rng);
    ClearSelection();
    hintIndex_ = 0;
    matchCounter_ = 0;
    redoable_ = 0;
}

void RiversGame::ClearSelection() {
    firstPick_ = secondPick_ = 0;
    hintA_ = hintB_ = 0;
}

bool RiversGame::Covered(int tile) const {
    return CoveredOn(board_, tile);
}

RiversEffects RiversGame::ChoisitPai(int tile) {
    RiversEffects fx;
    if (!IsTileNumber(tile) || !board_.Position(tile).OnBoard() || Covered(tile))
        return fx; // no tile under the point (the hit test gives the upper tile of a stack)
    if (firstPick_ == 0) {
        firstPick_ = tile;
        fx.sounds.push_back(Sound::Select);
        fx.redrawTiles.push_back(tile);
        return fx;
    }
    secondPick_ = tile;
    if (tile == firstPick_) { // the selected tile again: drop it
        firstPick_ = secondPick_ = 0;
        fx.sounds.push_back(Sound::Select);
        fx.redrawTiles.push_back(tile);
        return fx;
    }
    if (TilesMatch(firstPick_, secondPick_)) {
        // The river runs from the tile clicked last to the selected one, which is carried.
        RiverSearch search(board_);
        if (search.CanBeReached(secondPick_, firstPick_)) {
            TakeOff(firstPick_, secondPick_, std::move(search.carriedSteps), fx);
            ++matchCounter_;
            redoable_ = 0; // a new removal ends what Redo could replay
            return fx;
        }
    }
    // Another group, or no river: the tile clicked last becomes the selection.
    const int old = firstPick_;
    firstPick_ = secondPick_;
    secondPick_ = 0;
    fx.sounds.push_back(Sound::Select);
    fx.redrawTiles.push_back(old);
    fx.redrawTiles.push_back(firstPick_);
    return fx;
}

void RiversGame::TakeOff(int first, int second, std::vector<Cell> river, RiversEffects& fx) {
    fx.sounds.push_back(Sound::Done);
    fx.removed = true;
    fx.pair = RemovedPair{first, second, board_.Position(first), board_.Position(second)};
    fx.river = std::move(river);
    const int used = board_.tilesTotal - board_.tilesLeft;
    if (used >= 0 && used + 1 < kHistorySize) {
        // The carried tile is recorded at the place it started from, so Back puts it there.
        history_[static_cast<size_t>(used)] = HistoryEntry{first, fx.pair.firstCell};
        history_[static_cast<size_t>(used + 1)] = HistoryEntry{second, fx.pair.secondCell};
    }
    board_.Remove(first);
    board_.Remove(second);
    board_.tilesLeft -= 2;
    firstPick_ = secondPick_ = 0;
}

RiversScan RiversGame::IsItFree() const {
    return RiversIsItFree(board_);
}

RiversEffects RiversGame::Hint() {
    RiversEffects fx;
    const RiversScan scan = IsItFree();
    if (scan.movesAvailable == 0 || scan.freeTiles.size() <= 1)
        return fx;
    for (int t : {hintA_, hintB_})
        if (t)
            fx.redrawTiles.push_back(t);
    hintIndex_ = hintIndex_ % scan.movesAvailable + 1;
    hintA_ = scan.pairs[static_cast<size_t>(hintIndex_ - 1)].first;
    hintB_ = scan.pairs[static_cast<size_t>(hintIndex_ - 1)].second;
    fx.redrawTiles.push_back(hintA_);
    fx.redrawTiles.push_back(hintB_);
    fx.fullRedraw = true;
    fx.penaltySeconds = kHintPenalty;
    return fx;
}

bool RiversGame::Back() {
    if (board_.tilesLeft == 0 || board_.tilesLeft >= board_.tilesTotal)
        return false;
    return BackHistory();
}

bool RiversGame::BackHistory() {
    if (board_.tilesLeft >= board_.tilesTotal)
        return false;
    board_.tilesLeft += 2;
    ClearSelection();
    const int n = board_.tilesTotal - board_.tilesLeft;
    for (int i = n; i <= n + 1; ++i) {
        const HistoryEntry& e = history_[static_cast<size_t>(i)];
        board_.Place(e.tile, e.cell);
    }
    ++redoable_;
    return true;
}

bool RiversGame::CanRedo() const {
    if (redoable_ <= 0 || board_.tilesLeft < 2)
        return false;
    const int n = board_.tilesTotal - board_.tilesLeft;
    if (n < 0 || n + 1 >= kHistorySize)
        return false;
    for (int i = n; i <= n + 1; ++i) {
        const HistoryEntry& e = history_[static_cast<size_t>(i)];
        if (board_.Position(e.tile) != e.cell || board_.TileAt(e.cell) != e.tile || Covered(e.tile))
            return false;
    }
    const int first = history_[static_cast<size_t>(n)].tile;
    const int second = history_[static_cast<size_t>(n + 1)].tile;
    return RiverMap(board_).Reachable(second, first);
}

RiversEffects RiversGame::Redo() {
    RiversEffects fx;
    if (!CanRedo())
        return fx;
    const int n = board_.tilesTotal - board_.tilesLeft;
    const int first = history_[static_cast<size_t>(n)].tile;
    const int second = history_[static_cast<size_t>(n + 1)].tile;
    RiverSearch search(board_);
    if (!search.CanBeReached(second, first))
        return fx;
    ClearSelection();
    TakeOff(first, second, std::move(search.carriedSteps), fx);
    --redoable_;
    return fx;
}

int RiversGame::Restart() {
    if (board_.tilesLeft == 0 || board_.tilesLeft >= board_.tilesTotal)
        return 0;
    int pairs = 0;
    while (board_.tilesLeft < board_.tilesTotal && BackHistory())
        ++pairs;
    redoable_ = 0;
    return pairs;
}

ShuffleOutcome RiversGame::Shuffle(RandomGenerator& rng, const Clock& clock) {
    if (board_.tilesLeft == 0)
        return ShuffleOutcome{};
    ClearSelection();
    hintIndex_ = 0;
    redoable_ = 0;
    ShuffleOptions options;
    options.rivers = true;
    return tovani::Shuffle(board_, rng, clock, options,
                           [](const Board& b) { return RiversIsItFree(b).movesAvailable; });
}

RiversState RiversGame::State() const {
    return RiversState{board_, history_};
}

bool RiversGame::SetState(const RiversState& state, std::string* why) {
    const std::optional<RiversVariant> variant = RiversVariantOfTiles(state.board.tilesTotal);
    if (!variant)
        return Fail(why, "a Rivers game has 84 or 144 tiles, not " +
                             std::to_string(state.board.tilesTotal));
    if (!CheckRiversState(state, *variant, why))
        return false;
    variant_ = *variant;
    board_ = state.board;
    history_ = state.history;
    ClearSelection();
    hintIndex_ = 0;
    matchCounter_ = (board_.tilesTotal - board_.tilesLeft) / 2;
    redoable_ = 0;
    return true;
}

} // namespace tovani
