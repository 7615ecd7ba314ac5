#include "solitaire/Play.h"

namespace tovani {

int64_t TwoPlayerClocks::TimeOf(int player, uint32_t now) const {
    if (player == 1)
        return player1Ms + (player2Turn ? 0 : static_cast<uint32_t>(now - player1TurnStart));
    return player2Ms + (player2Turn ? static_cast<uint32_t>(now - player2TurnStart) : 0);
}

void TwoPlayerClocks::Freeze(uint32_t now, uint32_t& paused1, uint32_t& paused2) const {
    paused1 = now - player1TurnStart;
    paused2 = now - player2TurnStart;
}

void TwoPlayerClocks::Thaw(uint32_t now, uint32_t paused1, uint32_t paused2) {
    player1TurnStart = now - paused1;
    player2TurnStart = now - paused2;
}

void SolitairePlay::NewGame(uint32_t now) {
    firstPick = secondPick = 0;
    hintA = hintB = hintIndex = 0;
    matchCounter = 0;
    redoable_ = 0;
    clocks = TwoPlayerClocks{};
    clocks.player1TurnStart = clocks.player2TurnStart = now;
}

void SolitairePlay::ClearSelection() {
    firstPick = secondPick = 0;
    hintA = hintB = 0;
}

PlayEffects SolitairePlay::ChoisitPai(Board& board, int tile, FreeRule rule, bool twoPlayers,
                                      uint32_t now) {
    PlayEffects fx;
    if (!IsTileNumber(tile) || !board.Position(tile).OnBoard())
        return fx; // a click on empty board does nothing
    const bool free = Dispo(board, tile, rule);
    if (firstPick == 0) {
        if (free) {
            firstPick = tile;
            fx.sounds.push_back(Sound::Select);
            fx.redrawTiles.push_back(tile);
        } else {
            fx.sounds.push_back(Sound::NoWay);
        }
        return fx;
    }
    if (!free) {
        fx.sounds.push_back(Sound::NoWay);
        return fx;
    }
    if (tile == firstPick) { // the selected tile again: deselect it
        firstPick = secondPick = 0;
        fx.sounds.push_back(Sound::Select);
        fx.redrawTiles.push_back(tile);
        return fx;
    }
    secondPick = tile;
    if (TilesMatch(firstPick, secondPick)) {
        RemovePair(board, fx, twoPlayers, now);
        return fx;
    }
    // Not a match: the selection moves to the tile clicked last.
    int old = firstPick;
    firstPick = secondPick;
    secondPick = 0;
    fx.sounds.push_back(Sound::Select);
    fx.redrawTiles.push_back(old);
    fx.redrawTiles.push_back(firstPick);
    return fx;
}

void SolitairePlay::RemovePair(Board& board, PlayEffects& fx, bool twoPlayers, uint32_t now) {
    fx.sounds.push_back(Sound::Done);
    fx.removed = true;
    fx.pair =
        RemovedPair{firstPick, secondPick, board.Position(firstPick), board.Position(secondPick)};
    int used = board.tilesTotal - board.tilesLeft;
    if (used >= 0 && used + 1 < kHistorySize) {
        history[static_cast<size_t>(used)] = HistoryEntry{firstPick, fx.pair.firstCell};
        history[static_cast<size_t>(used + 1)] = HistoryEntry{secondPick, fx.pair.secondCell};
    }
    board.Remove(firstPick);
    board.Remove(secondPick);
    // A hint mark that names a tile gone from the board is dropped with it (both tiles of the
    // hinted pair lose their mark, so no half of a pair stays lit).
    if (hintA == firstPick || hintA == secondPick || hintB == firstPick || hintB == secondPick) {
        for (int t : {hintA, hintB})
            if (t != 0 && t != firstPick && t != secondPick)
                fx.redrawTiles.push_back(t);
        hintA = hintB = 0;
    }
    firstPick = secondPick = 0;
    board.tilesLeft -= 2;
    ++matchCounter;
    redoable_ = 0; // a new removal ends what Redo could replay
    if (twoPlayers) {
        if (clocks.player2Turn) {
            clocks.player2Ms += static_cast<uint32_t>(now - clocks.player2TurnStart);
            clocks.player1TurnStart = now;
        } else {
            clocks.player1Ms += static_cast<uint32_t>(now - clocks.player1TurnStart);
            clocks.player2TurnStart = now;
        }
        clocks.player2Turn = !clocks.player2Turn;
        fx.turnPassed = true;
    }
}

bool SolitairePlay::Hint(const Board& board, FreeRule rule) {
    hintA = hintB = 0;
    FreeScan scan = IsItFree(board, rule);
    if (scan.freeTiles.size() <= 1 || scan.movesAvailable <= 0)
        return false;
    hintIndex = hintIndex % scan.movesAvailable + 1;
    int count = 0;
    for (size_t k = 0; k + 1 < scan.freeTiles.size(); ++k) {
        if (TilesMatch(scan.freeTiles[k], scan.freeTiles[k + 1]) && ++count == hintIndex) {
            hintA = scan.freeTiles[k];
            hintB = scan.freeTiles[k + 1];
            return true;
        }
    }
    return false;
}

bool SolitairePlay::BackHistory(Board& board) {
    if (board.tilesLeft >= board.tilesTotal)
        return false;
    board.tilesLeft += 2;
    ClearSelection();
    int n = board.tilesTotal - board.tilesLeft;
    for (int i = n; i <= n + 1; ++i) {
        const HistoryEntry& e = history[static_cast<size_t>(i)];
        board.Place(e.tile, e.cell);
    }
    ++redoable_;
    return true;
}

bool SolitairePlay::CanRedo(const Board& board) const {
    if (redoable_ <= 0 || board.tilesLeft < 2)
        return false;
    int n = board.tilesTotal - board.tilesLeft;
    if (n < 0 || n + 1 >= kHistorySize)
        return false;
    // The pair must still stand where it was taken back to (a shuffle may have moved it).
    for (int i = n; i <= n + 1; ++i) {
        const HistoryEntry& e = history[static_cast<size_t>(i)];
        if (board.Position(e.tile) != e.cell || board.TileAt(e.cell) != e.tile)
            return false;
    }
    return true;
}

bool SolitairePlay::Redo(Board& board, FreeRule) {
    if (!CanRedo(board))
        return false;
    int n = board.tilesTotal - board.tilesLeft;
    for (int i = n; i <= n + 1; ++i)
        board.Remove(history[static_cast<size_t>(i)].tile);
    board.tilesLeft -= 2;
    ClearSelection();
    --redoable_;
    return true;
}

int SolitairePlay::Restart(Board& board) {
    int pairs = 0;
    while (board.tilesLeft < board.tilesTotal && BackHistory(board))
        ++pairs;
    redoable_ = 0;
    return pairs;
}

Winner SolitairePlay::WinnerOf(const TwoPlayerClocks& c) {
    if (c.player2Ms < c.player1Ms)
        return Winner::Player2;
    if (c.player2Ms == c.player1Ms)
        return Winner::Tie;
    return Winner::Player1;
}

} // namespace tovani
