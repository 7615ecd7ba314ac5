// What the search learns from a lost position beyond the position itself: the choices of splits
// that its loss did not depend on are forgotten before it is remembered, so that the same loss
// is recognised at once under other choices of those blocks instead of being found again.
#include "solitaire/SolverSearch.h"

namespace tovani::solver {

bool Search::CouldMove(int g, const Mask& cur, const Mask& fr) const {
    const Block& b = blocks_[static_cast<size_t>(g)];
    for (int q = 0; q < 4; ++q) {
        const size_t uq = static_cast<size_t>(q);
        if (!fr.Test(b.t[uq]))
            continue;
        for (unsigned a = b.splits; a != 0; a &= a - 1) {
            const size_t p = static_cast<size_t>(std::countr_zero(a));
            const int y = b.partnerIn[uq][p];
            if ((!cur.Test(y) || fr.Test(y)) &&
                !b.need[static_cast<size_t>(b.pairIn[uq][p])].Intersects(cur))
                return true;
        }
    }
    return false;
}

State Search::Generalise(const State& s) const {
    // Widening a block that cannot move where a game stopped leaves that place a place where
    // nothing can move: as taking tiles off never hurts in the looser game, the game stops
    // there again. The block whose every split failed keeps the splits it had.
    State t = s;
    for (int g = 0; g < kBlocks; ++g) {
        const unsigned al = s.Allowed(g);
        const unsigned all = blocks_[static_cast<size_t>(g)].splits;
        if (al == 0 || al == all || g == stuckBlock_)
            continue;
        bool idle = true;
        for (int k = 0; k < stuckCount_ && idle; ++k)
            idle =
                !CouldMove(g, stuckCur_[static_cast<size_t>(k)], stuckFr_[static_cast<size_t>(k)]);
        if (idle)
            t.SetAllowed(g, all);
    }
    return t;
}

State Search::Lift(State e, const Pass& pass) {
    for (int g = 0; g < kBlocks; ++g) {
        unsigned a = e.Allowed(g) | pass.before.Allowed(g);
        if ((pass.used >> g) & 1)
            a &= pass.before.Allowed(g);
        e.SetAllowed(g, a);
    }
    return e;
}

State Search::Unsettle(State e, const State& before) const {
    for (int g = 0; g < kBlocks; ++g) {
        const Mask& m = blocks_[static_cast<size_t>(g)].mask;
        if ((before.rem & m) != (e.rem & m))
            e.SetAllowed(g, before.Allowed(g));
    }
    e.rem = before.rem;
    return e;
}

} // namespace tovani::solver
