// An exact solver for a Solitaire position with every face known: can the tiles on the board
// still all be removed, and in which order?
//
// The search removes matching free pairs depth first. It plays without searching the moves that
// can never hurt (the last two tiles of a block when both are free; all four tiles of a block
// when all four are free), prunes blocks whose tiles can no longer be paired because one lies
// (directly or through others) on its only possible partners, remembers positions already found
// lost, and tries first the pairs that uncover the most tiles. A node budget bounds the work;
// when it runs out the answer is "unknown".
#pragma once

#include <cstdint>
#include <vector>

#include "solitaire/Board.h"
#include "solitaire/FreeRules.h"

namespace tovani {

enum class SolveVerdict { Winnable, Unwinnable, Unknown };

struct SolveResult {
    SolveVerdict verdict = SolveVerdict::Unknown;
    // When winnable: the tiles in removal order, two by two (entries 0 and 1 are the first pair).
    std::vector<int> removal;
    uint64_t nodes = 0; // positions searched
};

struct SolveLimits {
    uint64_t maxNodes = 20'000'000;
    // Positions remembered as lost; past it the table stops growing (the answer stays exact).
    size_t maxRemembered = 4'000'000;
};

SolveResult SolvePosition(const Board& board, FreeRule rule, const SolveLimits& limits = {});

// Checks a removal sequence against the game's own rules on a copy of the board: each pair must
// match and both tiles must be free when its turn comes. True when the board ends empty.
bool ReplayClears(const Board& board, const std::vector<int>& removal, FreeRule rule);

} // namespace tovani
