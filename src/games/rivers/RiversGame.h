// Playing Rivers: two tiles of the same matching group leave the board when a river (at most
// three straight segments through empty places, see RiverSearch.h) joins them. The first tile
// clicked is carried along the river to the second, then both go. Hard Rivers plays only the
// uncovered tiles of its two layers, each pair on its own layer.
//
// `RiversGame` owns the board of the game in play with its selections, hints and move history,
// and answers what each action did (sounds, tiles to redraw, the pair removed with the river it
// took, penalty seconds) for the window to perform. The game clock and the status line are the
// window's: hints and shuffles say how many penalty seconds they cost.
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "core/Clock.h"
#include "core/Random.h"
#include "games/rivers/RiversBoard.h"
#include "solitaire/Board.h"
#include "solitaire/Play.h"
#include "solitaire/Shuffle.h"

namespace tovani {

// What one Rivers action did.
struct RiversEffects {
    std::vector<Sound> sounds;
    std::vector<int> redrawTiles; // tiles whose look changed (selected, unselected, hinted)
    bool fullRedraw = false;      // the hint pair is marked: redraw the whole board
    bool removed = false;         // a pair left the board
    // The pair removed: `first` is the tile the river reached (the first selection), which was
    // carried along it, with `firstCell` its place before it was carried; `second` is the tile
    // the river started from. Both cells are empty now.
    RemovedPair pair;
    // The places the carried tile visits, in order, for the window to show it sliding along
    // the river and then the river itself: `pair.firstCell` first, then every place of the
    // river, the last one next to `pair.secondCell`. A line through the middles of these
    // places and of `pair.secondCell` draws the river. The board is already final: both tiles
    // are gone.
    std::vector<Cell> river;
    int penaltySeconds = 0; // to add to the game's penalty seconds
};

// The moves available and the tiles in them, as the count of every 50 ms tick finds them.
struct RiversScan {
    // The pairs that can be removed now, in the order the hints show them: group by group of
    // four consecutive tile numbers, within a group (n, n+1), (n, n+2), (n, n+3), (n+1, n+2),
    // (n+1, n+3), (n+2, n+3).
    std::vector<std::pair<int, int>> pairs;
    // Every tile in at least one of those pairs, in increasing order.
    std::vector<int> freeTiles;
    int movesAvailable = 0; // the number of pairs ("Moves left"; 0: no move is possible)
};

// The moves of a Rivers board: a pair counts when a river joins its tiles and neither has a
// tile directly on it (the same column and row one layer up).
RiversScan RiversIsItFree(const Board& board);

// What a saved Rivers game keeps: the board (cells, positions, tiles left and total) and the
// move history, whose entries 0 .. tiles total - tiles left - 1 are the pairs removed in order.
struct RiversState {
    Board board;
    std::array<HistoryEntry, kHistorySize> history{};
};

// Whether a state is one a Rivers game of the variant can be in: the variant's tiles total,
// every tile on a place of its own layer, a tile of the upper layer only on a tile of the
// lower, the grid, positions and tiles left in agreement, and a history that, taken back pair
// by pair, puts every removed tile (in matching pairs) on an empty place, uncovered when it was
// removed, and fills the board. Answers the first problem in `why`.
bool CheckRiversState(const RiversState& state, RiversVariant variant, std::string* why = nullptr);

class RiversGame {
public:
    static constexpr int kHintPenalty = 40;

    RiversGame();

    // Deals a new game of the variant. The generator is seeded by the caller (from the clock
    // for a game from the menu, or from a number for a numbered deal).
    void NewGame(RiversVariant variant, RandomGenerator& rng);

    RiversVariant Variant() const { return variant_; }
    const RiversVariantInfo& Info() const { return RiversInfo(variant_); }
    const Board& GameBoard() const { return board_; }
    int TilesLeft() const { return board_.tilesLeft; }
    int TilesTotal() const { return board_.tilesTotal; }
    // The board is empty: the game is won (the window ends it once its clock shows a second).
    bool Finished() const { return board_.tilesTotal > 0 && board_.tilesLeft == 0; }

    int FirstPick() const { return firstPick_; }
    int SecondPick() const { return secondPick_; }
    int HintA() const { return hintA_; } // the hinted pair, lower number first; 0 for none
    int HintB() const { return hintB_; }
    int HintIndex() const { return hintIndex_; }
    // Pairs removed by clicks (Back and Redo leave the count as it is).
    int MatchCounter() const { return matchCounter_; }
    const std::array<HistoryEntry, kHistorySize>& History() const { return history_; }

    // Whether a tile lies directly under another (Hard Rivers' lower layer): it cannot be
    // clicked and plays no move until the upper tile has gone.
    bool Covered(int tile) const;

    // A click on tile `tile` (0: the click hit no tile). The first click selects (sound
    // "select"); a click on the selected tile drops it ("select"); a tile of another group
    // becomes the selection instead ("select"); a tile of the same group that a river joins to
    // the selection removes both ("done"), and one that no river joins becomes the selection
    // ("select"). A covered tile counts as no tile.
    RiversEffects ChoisitPai(int tile);

    // The moves available now.
    RiversScan IsItFree() const;

    // "Hint": marks the next available pair, stepping through them in order and starting over
    // after the last; each costs kHintPenalty seconds. Nothing when no pair is available.
    RiversEffects Hint();

    // "Back": takes the last removed pair back, both tiles onto the places they had before the
    // removal (the carried tile where it started). Nothing on an untouched or emptied board.
    bool Back();
    // The same without the command's guard: it also takes back the last pair of an emptied
    // board. Restart uses it.
    bool BackHistory();
    // "Redo": takes the pair taken back last off the board again, along its river ("done").
    // Nothing when a pair was removed, the board shuffled or restarted or a game loaded since,
    // or when the pair no longer stands where it was put back or no river joins it.
    bool CanRedo() const;
    RiversEffects Redo();
    // "Restart": takes every pair back (nothing on an untouched or emptied board). Answers the
    // pairs taken back; the window restarts the clock and clears the penalty.
    int Restart();

    // "Shuffle": exchanges the tiles of each layer among the places they occupy, pass after
    // pass, until a move exists (at most 101 passes); the outcome says the 40 penalty seconds
    // and the moves found. Drops the selection, the hint and what Redo could replay. Nothing
    // once the board is empty.
    ShuffleOutcome Shuffle(RandomGenerator& rng, const Clock& clock);

    // The state for a saved game, and resuming one (the variant follows its tiles total). A
    // state that fails CheckRiversState changes nothing and answers false with the problem.
    RiversState State() const;
    bool SetState(const RiversState& state, std::string* why = nullptr);

    // Drops the selection and the hint marks ("Redraw"); the next hint goes on from the last.
    void ClearSelection();

private:
    // Takes a pair off the board: the history entries, the cells and positions, tiles left,
    // and the effects ("done", the pair, its river).
    void TakeOff(int first, int second, std::vector<Cell> river, RiversEffects& fx);

    RiversVariant variant_ = RiversVariant::Easy;
    Board board_;
    int firstPick_ = 0, secondPick_ = 0;
    int hintA_ = 0, hintB_ = 0, hintIndex_ = 0;
    int matchCounter_ = 0;
    int redoable_ = 0; // pairs taken back that Redo may take off again
    std::array<HistoryEntry, kHistorySize> history_{};
};

} // namespace tovani
