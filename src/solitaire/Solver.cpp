#include "solitaire/Solver.h"

#include <limits>

#include "solitaire/SolverQuick.h"
#include "solitaire/SolverSearch.h"

namespace tovani::solver {

SolveResult Search::Run() {
    SolveResult res;
    State root;
    for (int i = 0; i < n_; ++i)
        root.rem.Set(i);
    bool possible = true;
    for (int g = 0; g < kBlocks; ++g) {
        const Block& b = blocks_[static_cast<size_t>(g)];
        if (b.n % 2 != 0 || (b.n == 2 && !b.viable[0]) || (b.n == 4 && b.splits == 0))
            possible = false;
        if (b.n == 4)
            root.SetAllowed(g, b.splits);
    }
    bool won = false;
    if (possible) {
        // The first round chooses free pairs, narrowing once the position shows itself hard;
        // the rounds then take turns at deciding the most constrained block (32 times as long)
        // and choosing free pairs, each pair of rounds four times as long as the one before.
        // Lost positions found in one round stay known in the next. Almost every deal is
        // decided within the first two rounds. Those that go on are mostly lost deals, whose
        // proof comes from deciding blocks: a block round cut short starts that proof over (on
        // the slowest lost deals known, one block round of 8,192 positions proves in 3,500 to
        // 7,700 what rounds of 2,048 took 7,000 to 22,000 positions to prove), so the block
        // rounds are long and all rounds grow fast.
        uint64_t budget = std::max<uint64_t>(1, 2 * limits_.hardAfter);
        phaseEnd_ = budget;
        for (;;) {
            restart_ = false;
            path_.clear();
            won = Dfs(root, FreeSet(root.rem));
            if (won || stop_ || !restart_)
                break;
            // Hook: the search beside this one takes its turn (SolverQuick.cpp).
            if (betweenRounds && betweenRounds(nodes_)) {
                stop_ = true;
                break;
            }
            byBlock_ = !byBlock_;
            if (!byBlock_)
                budget *= 4;
            phaseEnd_ = nodes_ + (byBlock_ ? 32 * budget : budget);
        }
    }
    res.nodes = nodes_;
    if (won) {
        res.verdict = SolveVerdict::Winnable;
        for (int i : path_)
            res.removal.push_back(tiles_[static_cast<size_t>(i)]);
    } else {
        res.verdict = stop_ ? SolveVerdict::Unknown : SolveVerdict::Unwinnable;
        res.cancelled = cancelled_;
    }
    return res;
}

void Search::TakePair(Mask& rem, Mask& fr, uint64_t& dirty, const Block& b, int k,
                      std::vector<int>* path) const {
    TakeTile(rem, fr, dirty, b.t[static_cast<size_t>(kPairOf[k][0])]);
    TakeTile(rem, fr, dirty, b.t[static_cast<size_t>(kPairOf[k][1])]);
    if (path) {
        path->push_back(b.t[static_cast<size_t>(kPairOf[k][0])]);
        path->push_back(b.t[static_cast<size_t>(kPairOf[k][1])]);
    }
}

void Search::TakeTile(Mask& rem, Mask& fr, uint64_t& dirty, int i) const {
    const size_t k = static_cast<size_t>(i);
    rem.Reset(i);
    fr.Reset(i);
    dirty |= waiting_[k];
    ComeFree(i, rem, fr, [&](int j) {
        fr.Set(j);
        dirty |= 1ull << blockOf_[static_cast<size_t>(j)];
    });
}

void Search::Settle(State& s, Mask& fr) {
    uint64_t dirty = BlocksOf(fr, blockOf_);
    while (dirty != 0) {
        int g = std::countr_zero(dirty);
        dirty &= dirty - 1;
        const Block& b = blocks_[static_cast<size_t>(g)];
        int at[4];
        int cnt = Left(b, s.rem, at);
        if (cnt == 2) {
            int x = b.t[static_cast<size_t>(at[0])], y = b.t[static_cast<size_t>(at[1])];
            if (fr.Test(x) && fr.Test(y))
                TakePair(s.rem, fr, dirty, b, b.n == 2 ? 0 : PairIndex(at[0], at[1]), &path_);
        } else if (cnt == 4) {
            unsigned al = s.Allowed(g);
            if ((b.mask & fr) == b.mask) {
                int p = std::countr_zero(al);
                TakePair(s.rem, fr, dirty, b, 2 * p, &path_);
                TakePair(s.rem, fr, dirty, b, 2 * p + 1, &path_);
                s.SetAllowed(g, 0);
            } else if (SingleSplit(al)) {
                int p = std::countr_zero(al);
                for (int k = 2 * p; k < 2 * p + 2; ++k)
                    if (fr.Test(b.t[static_cast<size_t>(kPairOf[k][0])]) &&
                        fr.Test(b.t[static_cast<size_t>(kPairOf[k][1])])) {
                        TakePair(s.rem, fr, dirty, b, k, &path_);
                        s.SetAllowed(g, 0);
                        dirty |= 1ull << g; // the other pair may be free too
                        break;
                    }
            }
        }
    }
}

int Search::NewlyFree(const Mask& rem, const Mask& fr, int x, int y) const {
    Mask after = rem;
    after.Reset(x);
    after.Reset(y);
    int n = 0;
    for (int t : {x, y})
        for (int d = 0; d < dependentCount_[static_cast<size_t>(t)]; ++d) {
            int j = dependents_[static_cast<size_t>(t)][static_cast<size_t>(d)];
            if (after.Test(j) && !fr.Test(j) && Free(j, after))
                ++n;
        }
    return n;
}

bool Search::OutOfBudget() {
    if (limits_.maxNodes != 0 && nodes_ > limits_.maxNodes)
        return true;
    if ((nodes_ & 1023) != 1) // the clock and the flag: at the first node, then now and then
        return false;
    if (limits_.cancel && limits_.cancel->load(std::memory_order_relaxed)) {
        cancelled_ = true;
        return true;
    }
    if (limits_.clock && limits_.maxMs > 0 && limits_.clock->TickMs() - startMs_ >= limits_.maxMs)
        return true;
    return false;
}

int Search::PickBlock(const State& s) const {
    int best = -1, bestScore = -1;
    for (int g = 0; g < kBlocks; ++g) {
        unsigned al = s.Allowed(g);
        if (al == 0 || SingleSplit(al))
            continue;
        int cnt = std::popcount(al);
        const Block& b = blocks_[static_cast<size_t>(g)];
        int score = 0;
        for (int q = 0; q < 4; ++q) {
            size_t x = static_cast<size_t>(b.t[static_cast<size_t>(q)]);
            for (int sd = 0; sd < 2; ++sd)
                (need_[sd][x] & s.rem).ForEach([&](int) { ++score; });
        }
        // The blocks that narrowing keeps finding in conflict are where the deal is decided:
        // deciding them first makes the losses show near the top of the search. A block with
        // two splits left counts its conflicts twice, as deciding it leaves one branch fewer.
        score += static_cast<int>(conflicts_[static_cast<size_t>(g)]) * 1024 * (cnt == 2 ? 2 : 1);
        if (score > bestScore) {
            best = g;
            bestScore = score;
        }
    }
    return best;
}

int Search::LateTiles(const State& s, int g, int p) const {
    const Block& b = blocks_[static_cast<size_t>(g)];
    const Order& o = orders_[0];
    int at[4];
    int cnt = Left(b, s.rem, at);
    int late = 0;
    for (int i = 0; i < cnt; ++i) {
        if (!OnTime(o, b, s, 1u << p, cnt, at, at[i],
                    o.out[static_cast<size_t>(b.t[static_cast<size_t>(at[i])])]))
            ++late;
    }
    return late;
}

int Search::FirstSplitToTry(const State& s, int g) const {
    const Block& b = blocks_[static_cast<size_t>(g)];
    unsigned al = s.Allowed(g);
    int best = -1, bestScore = 0;
    for (int p = 0; p < 3; ++p) {
        if (!(al & (1u << p)))
            continue;
        int late = LateTiles(s, g, p);
        int score = 1024 * late + Waiting(s.rem, b, 2 * p) + Waiting(s.rem, b, 2 * p + 1);
        if (best < 0 || score < bestScore) {
            best = p;
            bestScore = score;
        }
    }
    return best;
}

bool Search::Dfs(State s, Mask fr) {
    ++nodes_;
    if (stop_ || restart_ || (stop_ = OutOfBudget()))
        return false;
    if (nodes_ > phaseEnd_) {
        restart_ = true;
        return false;
    }
    if (early && OwnNodes() == earlyAt) {
        // Hook: the search beside this one takes its first turn (SolverQuick.cpp).
        const uint64_t before = nodes_;
        const bool stopNow = early(nodes_);
        beside_ += nodes_ - before;
        phaseEnd_ += nodes_ - before;
        if (stopNow) {
            stop_ = true;
            return false;
        }
    }
    // This position's orders, made when it is first narrowed, and those of the position
    // above (none when it was not narrowed).
    struct Level {
        size_t& depth;
        size_t at;
        explicit Level(size_t& d) : depth(d), at(d++) {}
        ~Level() { --depth; }
    } level(depth_);
    if (level.at < caches_.size())
        caches_[level.at]->has = {};
    auto cacheHere = [&]() -> OrderCache& {
        while (caches_.size() <= level.at)
            caches_.push_back(std::make_unique<OrderCache>());
        return *caches_[level.at];
    };
    auto cacheAbove = [&]() -> const OrderCache* {
        return level.at > 0 && level.at - 1 < caches_.size() ? caches_[level.at - 1].get()
                                                             : nullptr;
    };
    const size_t mark = path_.size();
    const State in = s;
    // The position as first settled, before narrowing drops splits: remembered when lost,
    // as it allows the most and so tells the most.
    State settled;
    bool haveSettled = false;
    // The passes of narrowing at this position, and a lost position covering s as it is now
    // made one covering the position as it came; `in` itself when settling took tiles off on
    // the way.
    std::vector<Pass> passes;
    auto lift = [&](State e) {
        for (size_t k = passes.size(); k-- > 0;) {
            if (passes[k].settle)
                e = Unsettle(e, passes[k].before);
            else if (e.rem == passes[k].before.rem)
                e = Lift(e, passes[k]);
            else
                return in;
        }
        return e.rem == in.rem ? e : in;
    };
    // Remembers a lost position e covering s as it is now, and gives the position as it came
    // a cause of its own.
    auto learn = [&](const State& e) {
        if (!limits_.learn) {
            lost_.Insert(settled);
            why_ = in;
            return;
        }
        lost_.Insert(e);
        why_ = lift(e);
        if (why_ == in)
            lost_.Insert(settled);
        else if (why_ != e)
            lost_.Insert(why_);
    };
    auto lose = [&](bool remember) {
        if (remember && !stop_ && !restart_)
            lost_.Insert(haveSettled ? settled : s);
        why_ = in;
        path_.resize(mark);
        return false;
    };
    // Lost by the proofs alone, with nothing searched below: what the loss depended on can be
    // worked out, and the rest forgotten.
    auto loseHere = [&]() {
        if (!stop_ && !restart_)
            learn(Generalise(s));
        path_.resize(mark);
        return false;
    };
    // Tries block g with split p, then with the other splits it allows. When both are lost, so
    // is this position, and it is lost for every split of another block that both losses
    // allow: the choices made above that neither loss depended on are given back.
    auto branch = [&](int g, int p) {
        const unsigned al = s.Allowed(g);
        State child = s;
        child.SetAllowed(g, 1u << p);
        if (Dfs(child, fr))
            return true;
        if (stop_ || restart_)
            return lose(false);
        const State first = why_;
        child = s;
        child.SetAllowed(g, al & ~(1u << p));
        State second;
        if (const State* e = lost_.Find(child)) {
            second = *e; // the loss of the first did not depend on this choice
        } else {
            if (Dfs(child, fr))
                return true;
            if (stop_ || restart_)
                return lose(false);
            second = why_;
        }
        if (first.rem != s.rem || second.rem != s.rem)
            return lose(true);
        State both = first;
        both.split[0] &= second.split[0];
        both.split[1] &= second.split[1];
        both.SetAllowed(g, first.Allowed(g) | second.Allowed(g));
        learn(both);
        path_.resize(mark);
        return false;
    };
    int narrowed = 0;
    for (;;) {
        {
            const State before = s;
            Settle(s, fr);
            if (s.rem != before.rem)
                passes.push_back(Pass{before, 0, true});
        }
        if (s.rem.Empty())
            return true;
        if (const State* e = lost_.Find(s)) {
            why_ = lift(*e);
            path_.resize(mark);
            return false;
        }
        if (!haveSettled) {
            settled = s;
            haveSettled = true;
        }
        if (OwnNodes() < limits_.hardAfter && !Orderable(s, fr))
            return loseHere();
        // Narrowing every open block costs a looser game per split: worth it only once the
        // position has shown itself hard.
        if (OwnNodes() < limits_.hardAfter)
            break;
        OrderCache& cache = cacheHere();
        drops_.clear();
        int r = Narrow(s, fr, narrowed == 0 ? cacheAbove() : &cache, cache);
        passes.insert(passes.end(), drops_.begin(), drops_.end());
        if (r < 0)
            return loseHere();
        if (r == 0)
            break;
        // A dropped split makes the looser game stricter for the blocks before it too: narrow
        // again until nothing more drops. The orders just found mostly still hold, so a pass
        // after the first plays few games of its own.
        ++narrowed;
    }
    // On a hard position, decide the split of the most constrained open block first, free or
    // not: a fixed split makes the looser game much stricter, so a deal that cannot be
    // cleared shows it after a few choices instead of after every order of the easy blocks.
    if (byBlock_ && OwnNodes() >= limits_.hardAfter) {
        int g = PickBlock(s);
        if (g >= 0)
            return branch(g, FirstSplitToTry(s, g));
    }
    // Choose the open block and split to try: one that takes a free pair off now, freeing
    // the most tiles, then taking off the tiles that hold the most others back, and leaving
    // the block's other pair waiting on the fewest tiles; a block often found in conflict
    // comes first.
    int bestG = -1, bestP = -1, bestScore = std::numeric_limits<int>::min();
    for (int g = 0; g < kBlocks; ++g) {
        const Block& b = blocks_[static_cast<size_t>(g)];
        unsigned al = s.Allowed(g);
        if (al == 0 || !b.mask.Intersects(fr))
            continue;
        for (int p = 0; p < 3; ++p) {
            if (!(al & (1u << p)))
                continue;
            for (int k = 2 * p; k < 2 * p + 2; ++k) {
                int x = b.t[static_cast<size_t>(kPairOf[k][0])];
                int y = b.t[static_cast<size_t>(kPairOf[k][1])];
                if (!fr.Test(x) || !fr.Test(y))
                    continue;
                int score = weight_[static_cast<size_t>(x)] + weight_[static_cast<size_t>(y)];
                score += 30 * NewlyFree(s.rem, fr, x, y) - Waiting(s.rem, b, k ^ 1);
                // A block that narrowing keeps finding in conflict is better settled early,
                // while its pairs are free.
                score += 100 * static_cast<int>(conflicts_[static_cast<size_t>(g)]);
                if (score > bestScore) {
                    bestScore = score;
                    bestG = g;
                    bestP = p;
                }
            }
        }
    }
    if (bestG < 0)
        return lose(true); // no pair can be taken
    return branch(bestG, bestP);
}

} // namespace tovani::solver

namespace tovani {

SolveResult SolvePosition(const Board& board, FreeRule rule, const SolveLimits& limits) {
    // Hook: the quick search for a win takes turns with this one (SolverQuick.cpp).
    if (limits.quick)
        return solver::SolveWithQuick(board, rule, limits);
    solver::Search s(board, rule, limits);
    return s.Run();
}

bool ReplayClears(const Board& board, const std::vector<int>& removal, FreeRule rule) {
    if (removal.size() % 2 != 0)
        return false;
    Board b = board;
    for (size_t k = 0; k < removal.size(); k += 2) {
        int x = removal[k], y = removal[k + 1];
        if (x == y || !TilesMatch(x, y) || !Dispo(b, x, rule) || !Dispo(b, y, rule))
            return false;
        b.Remove(x);
        b.Remove(y);
    }
    for (int t = 1; t <= kTileCount; ++t)
        if (b.Position(t).OnBoard())
            return false;
    return true;
}

} // namespace tovani
