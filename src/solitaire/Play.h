// Playing Solitaire: selecting free tiles, removing matching pairs, hints, the move history
// with Back, Redo and Restart, and the turns of the two-player game.
//
// The board (grid, positions and tile counters) belongs to the caller; `SolitairePlay` keeps
// the play state around it and answers what each action did (sounds, tiles to redraw, the
// pair removed) so the shell can play the sounds and redraw.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "solitaire/Board.h"
#include "solitaire/FreeRules.h"

namespace tovani {

enum class Sound { Select, Done, NoWay };

// One removed tile: two entries a pair, the k-th pair removed at entries 2k and 2k + 1.
struct HistoryEntry {
    int tile = 0;
    Cell cell;
    friend bool operator==(const HistoryEntry&, const HistoryEntry&) = default;
};

constexpr int kHistorySize = 146;

struct RemovedPair {
    int first = 0, second = 0;
    Cell firstCell, secondCell;
};

// What one action did.
struct PlayEffects {
    std::vector<Sound> sounds;
    std::vector<int> redrawTiles; // tiles whose look changed (selection)
    bool fullRedraw = false;
    bool removed = false; // a pair left the board
    RemovedPair pair;
    bool turnPassed = false; // two-player game: the other player's turn now
};

struct TwoPlayerClocks {
    bool player2Turn = false;
    int64_t player1Ms = 0; // accumulated thinking time over finished turns
    int64_t player2Ms = 0;
    uint32_t player1TurnStart = 0;
    uint32_t player2TurnStart = 0;

    // The time a player has used so far, the running turn included.
    int64_t TimeOf(int player, uint32_t now) const;
    // Pause: the running turn's time is kept aside; resume: the turn starts again from there.
    void Freeze(uint32_t now, uint32_t& paused1, uint32_t& paused2) const;
    void Thaw(uint32_t now, uint32_t paused1, uint32_t paused2);
};

enum class Winner { Player1, Player2, Tie };

class SolitairePlay {
public:
    // Starts a game: no selection, no hint, no history in use, player 1's turn.
    void NewGame(uint32_t now);

    // A click on tile `tile` (0: no tile under the point). `twoPlayers` passes the turn after
    // each removed pair.
    PlayEffects ChoisitPai(Board& board, int tile, FreeRule rule, bool twoPlayers, uint32_t now);

    // "Hint": shows the next pair of neighbouring matching free tiles, cycling. Answers whether
    // a pair is shown (the penalty is then due).
    bool Hint(const Board& board, FreeRule rule);
    static constexpr int kHintPenalty = 40;

    // Takes the last removed pair back onto its cells. False when nothing was removed.
    bool BackHistory(Board& board);
    // Takes the pair undone last off the board again. False when there is nothing to redo (a
    // new pair was removed since, or the tiles no longer stand where they were).
    bool Redo(Board& board, FreeRule rule);
    bool CanRedo(const Board& board) const;
    // Takes every pair back: the deal as it was (tiles shuffled since keep their new cells).
    int Restart(Board& board);

    // A shuffle or a Back clears the selection and the hint.
    void ClearSelection();

    int firstPick = 0;
    int secondPick = 0;
    int hintA = 0, hintB = 0;
    int hintIndex = 0;
    int matchCounter = 0;
    std::array<HistoryEntry, kHistorySize> history{};
    TwoPlayerClocks clocks;

    static Winner WinnerOf(const TwoPlayerClocks& c);

private:
    void RemovePair(Board& board, PlayEffects& fx, bool twoPlayers, uint32_t now);
    int redoable_ = 0; // pairs taken back that Redo may take off again
};

} // namespace tovani
