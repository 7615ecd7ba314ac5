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

uint64_t Search::Needed(std::array<Plays, 3>& plays, int games, uint64_t candidates) const {
    std::array<Mask, 3> cur = stuckCur_, fr = stuckFr_;
    uint64_t needed = 0;
    for (uint64_t c = candidates; c != 0; c &= c - 1) {
        const int g = std::countr_zero(c);
        const size_t ug = static_cast<size_t>(g);
        const uint8_t all = static_cast<uint8_t>(blocks_[ug].splits);
        // A block that cannot move where the games stopped leaves them stopped there.
        bool idle = true;
        for (int k = 0; k < games && idle; ++k)
            idle = !CouldMove(g, cur[static_cast<size_t>(k)], fr[static_cast<size_t>(k)]);
        if (!idle) {
            std::array<Mask, 3> c2 = cur, f2 = fr;
            bool stuck = true;
            for (int k = 0; k < games && stuck; ++k) {
                const size_t uk = static_cast<size_t>(k);
                Plays wider = plays[uk];
                wider[ug].allowed = all;
                int now = 0;
                stuck = !Relax<false>(wider, f2[uk], c2[uk], nullptr, now);
            }
            if (!stuck) {
                needed |= 1ull << g;
                continue;
            }
            cur = c2;
            fr = f2;
        }
        for (int k = 0; k < games; ++k)
            plays[static_cast<size_t>(k)][ug].allowed = all;
    }
    return needed;
}

State Search::Generalise(const State& s) const {
    // Widening a block that cannot move where a game stopped leaves that place a place where
    // nothing can move: as taking tiles off never hurts in the looser game, the game stops
    // there again. A block that could move there is widened too when the game, carried on from
    // where it stopped with that block widened, still stops before the board is clear: every
    // move of the narrower game is a move of the wider one, so the wider game from the start
    // ends where this one does. The block whose every split failed keeps the splits it had.
    std::array<Plays, 3> plays;
    const Plays base = PlaysOf(s);
    unsigned rest = stuckBlock_ >= 0 ? s.Allowed(stuckBlock_) : 0;
    for (int k = 0; k < stuckCount_; ++k) {
        plays[static_cast<size_t>(k)] = base;
        if (stuckBlock_ >= 0) {
            const unsigned one = rest & (~rest + 1);
            rest &= rest - 1;
            plays[static_cast<size_t>(k)][static_cast<size_t>(stuckBlock_)] =
                BlockPlay{-1, static_cast<uint8_t>(one)};
        }
    }
    uint64_t candidates = 0;
    for (int g = 0; g < kBlocks; ++g) {
        const unsigned al = s.Allowed(g);
        if (al != 0 && al != blocks_[static_cast<size_t>(g)].splits && g != stuckBlock_)
            candidates |= 1ull << g;
    }
    const uint64_t needed = Needed(plays, stuckCount_, candidates);
    State t = s;
    for (uint64_t c = candidates & ~needed; c != 0; c &= c - 1) {
        const int g = std::countr_zero(c);
        t.SetAllowed(g, blocks_[static_cast<size_t>(g)].splits);
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
