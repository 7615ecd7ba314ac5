// Shuffling the tiles of a game in progress. Only tiles on the board move; tiles already
// removed stay off, and the move history is not touched.
//
// The plain shuffle exchanges every tile with a random one, pass after pass, until a move
// exists. The winnable shuffle ("Winnable Shuffles") rebuilds the arrangement backwards like a
// winnable deal, so the board stays clearable.
#pragma once

#include <functional>
#include <vector>

#include "core/Clock.h"
#include "core/Random.h"
#include "solitaire/Board.h"
#include "solitaire/FreeRules.h"

namespace tovani {

constexpr int kMaxPlainShufflePasses = 101;
constexpr int kMaxShuffleAttempts = 200;

// Counts the moves available on a board; Solitaire counts with IsItFree, Rivers with its own.
using MovesCounter = std::function<int(const Board&)>;

struct PlainShuffleResult {
    int passes = 0;         // passes made (at most 101)
    int movesAvailable = 0; // after the last pass; 0 when no pass found a move
};

// The plain shuffle: visits every occupied cell, layer 1 to 5, column 1 to 34, row 1 to 20,
// and exchanges its tile with the tile of a random occupied cell (column, row and, unless
// `keepLayer` as Rivers wants, layer drawn in that order). Stops after the first pass that
// leaves a move, or after 101 passes.
PlainShuffleResult PlainShuffle(Board& board, RandomGenerator& rng, bool keepLayer,
                                const MovesCounter& movesAvailable);

struct WinnableShuffleResult {
    bool shuffled = false; // false: the board was left exactly as it was
    int attempts = 0;      // passes of the backward construction (pairs taken and restarts)
    // Tile numbers in the order they went back onto the board (for drawing them as they come).
    std::vector<int> order;
    // The places in an order that clears the board, two by two.
    std::vector<Cell> removalOrder;
};

// The winnable shuffle. Reseeds the generator from the clock (also in a seeded game). Leaves
// the board unchanged when at most one tile is free, when the tiles on the board cannot be
// paired, or when 200 passes do not finish the backward construction.
WinnableShuffleResult ShuffleBoard(Board& board, RandomGenerator& rng, const Clock& clock);

// The status message a shuffle leaves; the shell words it.
enum class ShuffleMessage {
    RiversShuffled, // "Tiles shuffled. 40 seconds penalty."
    NewMoves,       // "Tiles shuffled." + " " + moves + " " + "new moves found."
    OneNewMove,     // "Tiles shuffled. 1 new move found."
    NoMoves,        // "No moves found. Try to press Back a few times."
};

struct ShuffleOptions {
    bool shuffable = false;         // option "Winnable Shuffles (in at least one way)"
    bool rivers = false;            // the game is Rivers: plain shuffle within each layer
    bool twoPlayers = false;        // two-player Solitaire: no penalty
    FreeRule rule = FreeRule::Side; // the free rule in force (Solitaire's move count)
};

struct ShuffleOutcome {
    bool winnable = false; // the winnable shuffle ran (it may have left the board as it was)
    PlainShuffleResult plain;
    WinnableShuffleResult winnableResult;
    int movesAvailable = 0;
    int penaltySeconds = 0;
    ShuffleMessage message = ShuffleMessage::NoMoves;
};

// The "Shuffle" command for a game in progress (the shell checks that one runs and clears the
// selection and hints first): the winnable shuffle when asked for in Solitaire, else the plain
// one; then the moves available, the penalty (10 seconds a move in one-player Solitaire, 40 in
// Rivers) and the message. Rivers passes its own move counter.
ShuffleOutcome Shuffle(Board& board, RandomGenerator& rng, const Clock& clock,
                       const ShuffleOptions& options, const MovesCounter& riversMoves = {});

} // namespace tovani
