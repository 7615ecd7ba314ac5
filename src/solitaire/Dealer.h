// Dealing a new Solitaire game onto the layout.
//
// A plain deal puts tiles 1..n on random places. A winnable deal ("Winnable Layouts") is built
// backwards: free places are taken off the full layout two by two, and matching tiles are then
// put on those pairs from the last pair taken back to the first, so removing the pairs in the
// order they were taken clears the board. Both draw from the one program-wide generator in a
// fixed order, so a deal from a seed number comes out the same every time.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/Clock.h"
#include "core/Random.h"
#include "solitaire/Board.h"
#include "solitaire/LayoutFile.h"

namespace tovani {

struct DealOptions {
    bool winnable = false;  // option "Winnable Layouts (in at least one way)"
    bool seeded = false;    // option "Random Seed": a game dealt from the seed number
    int32_t seedNumber = 0; // used when seeded and above 0; otherwise the clock seeds
};

enum class DealOutcome {
    Plain,          // a plain deal, as asked
    Winnable,       // a winnable deal, as asked
    WinnableGaveUp, // a winnable deal was asked but the layout never offered one (an odd
                    // number of places, or too many dead ends): a plain deal was made instead
    Refused,        // the layout cannot be dealt at all (more places than tiles): board empty
};

struct Deal {
    DealOutcome outcome = DealOutcome::Plain;
    // Tile numbers in the order they went onto the board, for drawing them as they are dealt.
    std::vector<int> order;
    // A winnable deal's places in the order they can be cleared, two by two (entries 0 and 1
    // are the first pair). Empty for a plain deal.
    std::vector<Cell> removalOrder;
    // Dead ends met by the backward construction before it finished (or gave up).
    int restarts = 0;
    // True when the deal came from the seed number: the shell shows "Specific Board started.
    // Random Seed #" with it.
    bool specific = false;
    // Why a winnable deal gave up, or why the layout was refused.
    std::optional<LayoutError> problem;
};

// Dead ends the winnable deal accepts before it falls back to a plain deal. A layout that
// allows winnable deals at all meets far fewer (the shipped ones a handful at most).
constexpr int kMaxDealRestarts = 1000;
// Game numbers (the seeds of numbered deals) run from 1 to this, in the seed entry, the saved
// settings and tovani-cli alike.
constexpr int32_t kMaxGameNumber = 999'999'999;

// Seeds the generator for a deal: from the seed number when the game is seeded and the number
// is above 0, else from the clock.
void SeedForDeal(RandomGenerator& rng, const Clock& clock, const DealOptions& options);

// The plain deal on a board filled from its layout (every place holding the place marker):
// for tile 1 up to tiles total, draw a column below 34, a row below 20 and a layer below 5
// until the cell is a place still waiting for its tile.
Deal PlainDeal(Board& board, RandomGenerator& rng, const Clock& clock, const DealOptions& options);

// The winnable deal on `layout`.
Deal CreateBoard(Board& board, const Layout& layout, RandomGenerator& rng, const Clock& clock,
                 const DealOptions& options);

// The deal of a new game: fills the board from the layout (tiles left = tiles total = places)
// and deals plain or winnable as the options say.
Deal BeginGame(Board& board, const Layout& layout, RandomGenerator& rng, const Clock& clock,
               const DealOptions& options);

// "Random Layouts": the layout number (1..count) that "New Game" plays, drawn from the generator
// before the deal; 0 when there is no layout.
int PickRandomLayout(RandomGenerator& rng, int layoutCount);

// Takes the pairs off the board in removal order, checking that each pair is free (side rule)
// and matches when its turn comes. True when the board ends empty. The board is changed.
bool ClearsByRemovalOrder(Board& board, const std::vector<Cell>& removalOrder);

} // namespace tovani
