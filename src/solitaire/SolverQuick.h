// A quick search for a win, run beside the solver's search over splits. Most deals that take
// the split search long are winnable, and a plain depth-first search over the moves themselves,
// with a good order of moves, often finds their win in a few hundred positions. It takes the
// moves that cannot hurt at once (a kind whose tiles left are all free; the last two of a kind,
// both free), never leaves two tiles of a kind where one must leave before the other, tries the
// pairs that hold the most tiles back first, starts again from the top now and then with the
// order shaken (a wrong move near the top can otherwise hold it for long), and remembers the positions it has searched through
// without a win (by the tiles left; a bounded table, so that forgetting costs time, never an
// answer). It can be stopped after any number of positions and go on later from where it was.
//
// It answers only "winnable", with its removal order, or "searched everything": the split
// search alone says that a deal cannot be won.
#pragma once

#include <cstdint>
#include <vector>

#include "solitaire/SolverSearch.h"

namespace tovani::solver {

class QuickSearch {
public:
    // Stops with the time budget and the cancellation flag of `limits` (not its node budget:
    // the caller hands out positions).
    QuickSearch(const Board& board, FreeRule rule, const SolveLimits& limits);

    // Searches on for about `budget` more positions (it may go a few past it); true when it has
    // found a win (then Removal() holds it).
    bool Step(uint64_t budget);

    // Every line was searched without a win (or the position had none to begin with).
    bool Exhausted() const { return exhausted_; }
    // Stopped for good by the time budget (or the cancellation flag, then Cancelled()).
    bool Stopped() const { return stopped_; }
    bool Cancelled() const { return cancelled_; }
    uint64_t Nodes() const { return nodes_; }
    int Tiles() const { return n_; }
    // The tile numbers in removal order, two by two, once a win is found.
    std::vector<int> Removal() const;

private:
    struct Move {
        uint8_t x, y;
        int score;
    };
    // An order in which the looser game clears a position: the step at which each tile left, and
    // the step after which it was free (0: free from the start).
    struct LooseOrder {
        std::array<uint8_t, kTileCount> out{}, free{};
    };
    struct Frame {
        Mask rem, fr;
        LooseOrder order; // the looser game's order for this position
        size_t pathLen = 0;
        std::vector<Move> moves;
        size_t next = 0;
    };

    void Build(const Board& board, FreeRule rule);
    bool Free(int i, const Mask& rem) const {
        const size_t k = static_cast<size_t>(i);
        return !above_[k].Intersects(rem) &&
               (!side_[0][k].Intersects(rem) || !side_[1][k].Intersects(rem));
    }
    void Take(Mask& rem, Mask& fr, int i) const;
    // Takes off every pair that cannot hurt, until none is left.
    void TakeSafe(Mask& rem, Mask& fr);
    // Enters a position (its safe pairs not yet taken): answers 1 when it is won, 0 when it is
    // known to have no win, and -1 when a frame was pushed to search it. `above` is the looser
    // game's order of the position the move was made in (none at the top), and u, v the two
    // tiles the move left to each other (-1 when it took the last two of a kind).
    int Enter(Mask rem, Mask fr, const LooseOrder* above, int u, int v);
    // Lost when even a looser game cannot clear the board: in it a tile leaves alone once it is
    // free and another tile of its kind is free or gone. Every real way to clear the board
    // clears it in the looser game too, where taking tiles off never hurts, so taking off
    // whatever can go until nothing can tells the answer.
    // The order the game went in is written to `order`.
    bool Lost(Mask rem, Mask fr, LooseOrder& order) const;
    void Moves(Frame& f) const;
    int Score(const Mask& rem, const Mask& fr, int x, int y) const;

    // Positions searched without a win, by the tiles left.
    bool Failed(const Mask& rem) const;
    void Remember(const Mask& rem);
    static size_t Hash(const Mask& m);
    static uint64_t Luby(uint64_t i);
    // Positions in the shortest run before the search starts again from the top, and how far
    // apart two moves' scores may be for another run to try them the other way round.
    // The first run keeps the order of the scores; later runs add to each score an amount drawn
    // from a hash of the run and the pair, up to kNoise times the step of the scores: wide
    // enough that each run goes its own way, while the better moves still come first more often.
    static constexpr uint64_t kRunBase = 64;
    static constexpr int kNoise = 1000;

    int n_ = 0;
    std::array<int, kTileCount> tiles_{};
    std::array<int, kTileCount> kindOf_{};
    std::array<Mask, kBlocks> kind_{};
    std::array<Mask, kTileCount> mates_{}; // the other tiles of each tile's kind
    std::array<Mask, kTileCount> above_{}, side_[2]{};
    // The tiles whose freedom a tile's leaving may change.
    std::array<Mask, kTileCount> dependents_{};
    // For each tile, the tiles that must leave before it can, whichever way it leaves; and the
    // tiles held back by it: lying under it (hard) or in the rows it closes (soft).
    std::array<Mask, kTileCount> blockers_{}, holdsHard_{}, holdsSoft_{};

    Mask root_, rootFr_;
    uint64_t run_ = 0, runEnd_ = 0;
    std::vector<Frame> stack_;
    size_t depth_ = 0;
    std::vector<uint8_t> path_;
    std::vector<Mask> failed_;
    size_t maxFailed_ = 0, usedFailed_ = 0;
    uint64_t nodes_ = 0;
    SolveLimits limits_; // a copy: a caller may pass a temporary
    uint32_t startMs_ = 0;
    bool started_ = false, won_ = false, exhausted_ = false, stopped_ = false, cancelled_ = false;
};

// Solves with the split search and the quick search taking turns (see SolvePosition).
SolveResult SolveWithQuick(const Board& board, FreeRule rule, const SolveLimits& limits);

} // namespace tovani::solver
