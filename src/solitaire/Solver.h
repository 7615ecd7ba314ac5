// An exact solver for a Solitaire position with every face known: can the tiles on the board
// still all be removed, and in which order?
//
// The search decides how each block of four is split into two pairs rather than the order of
// the moves: once every block's pairs are fixed, the order no longer matters, because taking
// tiles off never makes another tile less free, so the fixed pairs can be removed in any order
// in which they come free. Along the way it removes at once every pair that is fixed and free,
// proves positions lost when the pairs still to come must each wait for another (a cycle of
// "must leave before"), and remembers lost positions in a bounded table (a position with the
// same tiles as a lost one and no more splits allowed is lost too). A lost position is
// remembered without the choices of splits its loss did not depend on (the blocks that could not
// have moved where the looser games stopped, and what both choices of a block left open), so
// that other choices of those blocks meet the same loss at once. On a position that turns
// out hard it also drops the splits that a looser game shows lost, until none drops, and takes
// turns at choosing a free pair and deciding the split of the most constrained block (free or
// not), trying first the split that the looser game's order follows, keeping what it learnt
// from one round to the next. The orders of the looser game found at a position are kept for
// the positions below it: a split whose order still holds there, or can be mended by letting a
// few tiles wait, needs no game of its own. A node budget, a time budget and a cancellation
// flag bound the work; when one of them runs out the answer is "unknown". A quick search for a
// win over the moves themselves (SolverQuick.h) takes turns with it, and often finds the win of
// a winnable deal far sooner; both count their positions in one budget. Node counts, and so
// the answers within a node budget, are the same on every machine.
//
// SolvePosition reads the board once and keeps no shared state: it is safe to run on a worker
// thread on a copy of the board while the game goes on.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/Clock.h"
#include "solitaire/Board.h"
#include "solitaire/FreeRules.h"

namespace tovani {

enum class SolveVerdict { Winnable, Unwinnable, Unknown };

struct SolveResult {
    SolveVerdict verdict = SolveVerdict::Unknown;
    // When winnable: the tiles in removal order, two by two (entries 0 and 1 are the first pair).
    std::vector<int> removal;
    uint64_t nodes = 0;     // positions searched
    bool cancelled = false; // unknown because the cancellation flag was raised
};

struct SolveLimits {
    // Positions searched before the answer becomes "unknown"; 0 means no limit.
    uint64_t maxNodes = 2'000'000;
    // Lost positions remembered (about 40 bytes each); past it older ones are overwritten, and
    // the answer stays exact.
    size_t maxRemembered = size_t{1} << 21;
    // A time budget in milliseconds of `clock`; 0 or no clock means none.
    const Clock* clock = nullptr;
    uint32_t maxMs = 0;
    // Raised by another thread to stop the search; the answer is then "unknown".
    const std::atomic<bool>* cancel = nullptr;
    // Positions searched before the costlier reasoning meant for hard positions begins; 0
    // begins it at once (tests do, to check it on small positions). 128 gave the lowest mean
    // time over the 10,000 plain deals of the turtle (64, 192, 256 and 512 were slower).
    uint64_t hardAfter = 128;
    // Narrowing plays the looser game for a split only when no order found before can be
    // mended to show the split playable, and starts it where it parts from the position's own
    // order. Turned off (for tests), every split gets a whole game of its own: the answers and
    // the positions searched must be the same.
    bool shortcuts = true;
    // A lost position is remembered without the choices of splits its loss did not depend on.
    // Turned off (for tests), each is remembered as it stands: the answers must be the same.
    bool learn = true;
    // A quick search over the moves themselves takes turns with the search over splits, and
    // often finds the win of a winnable deal far sooner; it never says a deal is lost. Turned
    // off (for tests), the verdicts must be the same.
    bool quick = true;
};

// Solves the tiles that are on the board (their positions say where) under the free rule in
// force. The board is only read.
SolveResult SolvePosition(const Board& board, FreeRule rule, const SolveLimits& limits = {});

// Checks a removal sequence against the game's own rules on a copy of the board: each pair must
// match and both tiles must be free when its turn comes. True when the board ends empty.
bool ReplayClears(const Board& board, const std::vector<int>& removal, FreeRule rule);

} // namespace tovani
