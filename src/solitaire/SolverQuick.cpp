// The quick search for a win over the moves themselves, and the two searches taking turns.
#include "solitaire/SolverQuick.h"

#include <algorithm>

namespace tovani::solver {

QuickSearch::QuickSearch(const Board& board, FreeRule rule, const SolveLimits& limits)
    : limits_(limits) {
    // Half as many positions as the split search remembers: together they stay in bounds.
    maxFailed_ = 1024;
    while (maxFailed_ * 4 <= limits.maxRemembered)
        maxFailed_ *= 2;
    if (limits_.clock && limits_.maxMs > 0)
        startMs_ = limits_.clock->TickMs();
    stack_.reserve(kTileCount / 2 + 2);
    Build(board, rule);
}

void QuickSearch::Build(const Board& board, FreeRule rule) {
    const Geometry g(board, rule);
    n_ = g.n;
    tiles_ = g.tiles;
    above_ = g.above;
    side_[0] = g.side[0];
    side_[1] = g.side[1];
    for (int i = 0; i < n_; ++i) {
        const int kind = (tiles_[static_cast<size_t>(i)] - 1) / 4;
        kindOf_[static_cast<size_t>(i)] = kind;
        kind_[static_cast<size_t>(kind)].Set(i);
    }
    for (int i = 0; i < n_; ++i) {
        const size_t k = static_cast<size_t>(i);
        mates_[k] = kind_[static_cast<size_t>(kindOf_[k])];
        mates_[k].Reset(i);
        (above_[k] | side_[0][k] | side_[1][k]).ForEach([&](int j) {
            dependents_[static_cast<size_t>(j)].Set(i);
        });
    }
    // What must leave before a tile whichever side it leaves by; the tiles each tile holds for
    // good (it lies on them) and softly (only the chain of one of their sides needs it gone).
    for (int i = 0; i < n_; ++i) {
        const size_t k = static_cast<size_t>(i);
        const Mask& aboveAll = g.aboveAll[k];
        blockers_[k] = aboveAll | (g.need[0][k] & g.need[1][k]);
        aboveAll.ForEach([&](int j) { holdsHard_[static_cast<size_t>(j)].Set(i); });
        (g.need[0][k] | g.need[1][k]).ForEach([&](int j) {
            if (!aboveAll.Test(j))
                holdsSoft_[static_cast<size_t>(j)].Set(i);
        });
    }
}

void QuickSearch::Take(Mask& rem, Mask& fr, int i) const {
    rem.Reset(i);
    fr.Reset(i);
    (dependents_[static_cast<size_t>(i)] & rem).ForEach([&](int j) {
        if (!fr.Test(j) && Free(j, rem))
            fr.Set(j);
    });
}

void QuickSearch::TakeSafe(Mask& rem, Mask& fr) {
    // A kind whose tiles left are all free goes at once, whichever way its pairs are made:
    // nothing can need those tiles later, and taking tiles off never makes another less free.
    for (bool again = true; again;) {
        again = false;
        for (int g = 0; g < kBlocks; ++g) {
            const Mask left = kind_[static_cast<size_t>(g)] & rem;
            if (left.Empty() || (left & fr) != left)
                continue;
            left.ForEach([&](int i) {
                Take(rem, fr, i);
                path_.push_back(static_cast<uint8_t>(i));
            });
            again = true;
        }
    }
}

bool QuickSearch::Lost(Mask rem, Mask fr, LooseOrder& order) const {
    int step = 0;
    fr.ForEach([&](int i) { order.free[static_cast<size_t>(i)] = 0; });
    // The tiles that may be able to leave: free, and not looked at since they came free or
    // since another tile of their kind came free or left.
    const Mask start = rem;
    Mask look = fr;
    for (size_t k = 0; k < 3;) {
        if (look.w[k] == 0) {
            ++k;
            continue;
        }
        const int i = static_cast<int>(k * 64) + std::countr_zero(look.w[k]);
        look.w[k] &= look.w[k] - 1;
        const size_t ki = static_cast<size_t>(i);
        // Another tile of the kind, of those on the board when the game began, free or gone:
        // one that is not still held back.
        const Mask& mates = mates_[ki];
        bool partner = false;
        for (size_t w = 0; w < 3; ++w)
            partner = partner || (mates.w[w] & start.w[w] & ~(rem.w[w] & ~fr.w[w])) != 0;
        if (!partner)
            continue;
        rem.Reset(i);
        fr.Reset(i);
        order.out[ki] = static_cast<uint8_t>(++step);
        Mask wake = mates & fr;
        (dependents_[ki] & rem).ForEach([&](int j) {
            if (!fr.Test(j) && Free(j, rem)) {
                fr.Set(j);
                order.free[static_cast<size_t>(j)] = static_cast<uint8_t>(step);
                wake.Set(j);
                wake |= mates_[static_cast<size_t>(j)] & fr;
            }
        });
        look |= wake;
        // Look again from the first word that got a tile to look at.
        for (size_t w = 0; w < k; ++w)
            if (wake.w[w] != 0) {
                k = w;
                break;
            }
    }
    return !rem.Empty();
}

int QuickSearch::Score(const Mask& rem, const Mask& fr, int x, int y) const {
    Mask after = rem;
    after.Reset(x);
    after.Reset(y);
    int freed = 0;
    ((dependents_[static_cast<size_t>(x)] | dependents_[static_cast<size_t>(y)]) & after)
        .ForEach([&](int j) {
            if (!fr.Test(j) && Free(j, after))
                ++freed;
        });
    auto count = [](const Mask& m) {
        return std::popcount(m.w[0]) + std::popcount(m.w[1]) + std::popcount(m.w[2]);
    };
    const size_t kx = static_cast<size_t>(x), ky = static_cast<size_t>(y);
    int hard = count((holdsHard_[kx] | holdsHard_[ky]) & rem);
    int soft = count((holdsSoft_[kx] | holdsSoft_[ky]) & rem);
    return 8 * freed + 4 * hard + soft;
}

void QuickSearch::Moves(Frame& f) const {
    f.moves.clear();
    f.next = 0;
    for (int g = 0; g < kBlocks; ++g) {
        const Mask left = kind_[static_cast<size_t>(g)] & f.rem;
        const Mask free = left & f.fr;
        int at[4], n = 0, fa[4], nf = 0;
        left.ForEach([&](int i) { at[n++] = i; });
        free.ForEach([&](int i) { fa[nf++] = i; });
        if (nf < 2)
            continue;
        for (int a = 0; a < nf; ++a)
            for (int b = a + 1; b < nf; ++b) {
                const int x = fa[a], y = fa[b];
                if (n == 4) {
                    // The two tiles left must not wait for each other: one of them could never
                    // come free.
                    int u = -1, v = -1;
                    for (int q = 0; q < 4; ++q)
                        if (at[q] != x && at[q] != y)
                            (u < 0 ? u : v) = at[q];
                    if (blockers_[static_cast<size_t>(u)].Test(v) ||
                        blockers_[static_cast<size_t>(v)].Test(u))
                        continue;
                }
                int score = 64 * Score(f.rem, f.fr, x, y);
                if (run_ > 0) // ties, and near ties, broken another way in each run
                    score += static_cast<int>(Hash(Mask{{run_, static_cast<uint64_t>(x),
                                                         static_cast<uint64_t>(y)}}) %
                                              (64 * kNoise));
                f.moves.push_back(
                    Move{static_cast<uint8_t>(x), static_cast<uint8_t>(y), score});
            }
    }
    std::sort(f.moves.begin(), f.moves.end(), [](const Move& a, const Move& b) {
        if (a.score != b.score)
            return a.score > b.score;
        return a.x != b.x ? a.x < b.x : a.y < b.y;
    });
}

int QuickSearch::Enter(Mask rem, Mask fr, const LooseOrder* above, int u, int v) {
    TakeSafe(rem, fr);
    if (rem.Empty())
        return 1;
    if (Failed(rem))
        return 0;
    if (depth_ == stack_.size())
        stack_.emplace_back(); // never moves the frames: room for the deepest line is reserved
    Frame& f = stack_[depth_];
    // Only a move that leaves two tiles of a kind to each other makes the looser game harder,
    // and even then the order found above still clears this position when, as the first of
    // the two left in it, the other was free already: every other tile can leave as it did
    // (tiles taken off since only left earlier, which holds nothing back).
    bool holds = false;
    if (above) {
        const size_t ku = static_cast<size_t>(u), kv = static_cast<size_t>(v);
        holds = u < 0 || (above->out[ku] < above->out[kv] ? above->free[kv] < above->out[ku]
                                                          : above->free[ku] < above->out[kv]);
    }
    if (holds) {
        f.order = *above;
    } else if (Lost(rem, fr, f.order)) {
        Remember(rem);
        return 0;
    }
    f.rem = rem;
    f.fr = fr;
    f.pathLen = path_.size();
    Moves(f);
    if (f.moves.empty()) {
        Remember(rem);
        return 0;
    }
    ++depth_;
    return -1;
}

bool QuickSearch::Step(uint64_t budget) {
    if (won_)
        return true;
    if (exhausted_ || stopped_)
        return false;
    if (!started_) {
        started_ = true;
        ++nodes_;
        Mask all;
        for (int i = 0; i < n_; ++i)
            all.Set(i);
        // Every kind must leave in pairs whose tiles can be free together.
        for (int g = 0; g < kBlocks && !exhausted_; ++g) {
            int at[4], n = 0;
            (kind_[static_cast<size_t>(g)] & all).ForEach([&](int i) {
                if (n < 4)
                    at[n] = i;
                ++n;
            });
            auto waits = [&](int u, int v) {
                return blockers_[static_cast<size_t>(u)].Test(v) ||
                       blockers_[static_cast<size_t>(v)].Test(u);
            };
            if (n % 2 != 0 || n > 4 || (n == 2 && waits(at[0], at[1])) ||
                (n == 4 && (waits(at[0], at[1]) || waits(at[2], at[3])) &&
                 (waits(at[0], at[2]) || waits(at[1], at[3])) &&
                 (waits(at[0], at[3]) || waits(at[1], at[2]))))
                exhausted_ = true;
        }
        if (exhausted_)
            return false;
        Mask fr;
        all.ForEach([&](int i) {
            if (Free(i, all))
                fr.Set(i);
        });
        root_ = all;
        rootFr_ = fr;
        runEnd_ = nodes_ + kRunBase;
        int r = Enter(all, fr, nullptr, -1, -1);
        if (r >= 0) {
            won_ = r == 1;
            exhausted_ = r == 0;
            return won_;
        }
    }
    const uint64_t end = nodes_ + budget;
    while (depth_ > 0) {
        if (nodes_ >= end)
            return false;
        if (nodes_ >= runEnd_) {
            // A wrong move near the top can hold a depth-first search for long: it starts
            // again from the top now and then, with the ties of its order broken another way,
            // for runs of 1, 1, 2, 1, 1, 2, 4, ... times kRunBase positions. What it has shown
            // to have no win stays known.
            ++run_;
            runEnd_ = nodes_ + kRunBase * Luby(run_ + 1);
            depth_ = 0;
            path_.clear();
            ++nodes_;
            int r = Enter(root_, rootFr_, nullptr, -1, -1);
            if (r >= 0) {
                won_ = r == 1;
                exhausted_ = r == 0;
                return won_;
            }
            continue;
        }
        if ((nodes_ & 1023) == 1) { // the clock and the flag: at once, then now and then
            if (limits_.cancel && limits_.cancel->load(std::memory_order_relaxed))
                stopped_ = cancelled_ = true;
            else if (limits_.clock && limits_.maxMs > 0 &&
                     limits_.clock->TickMs() - startMs_ >= limits_.maxMs)
                stopped_ = true;
            if (stopped_)
                return false;
        }
        Frame& f = stack_[depth_ - 1];
        if (f.next == f.moves.size()) {
            Remember(f.rem);
            --depth_;
            continue;
        }
        const Move m = f.moves[f.next++];
        path_.resize(f.pathLen);
        path_.push_back(m.x);
        path_.push_back(m.y);
        Mask rem = f.rem, fr = f.fr;
        Take(rem, fr, m.x);
        Take(rem, fr, m.y);
        // The two tiles of the kind the move leaves to each other, if any.
        int uv[2] = {-1, -1}, k = 0;
        (kind_[static_cast<size_t>(kindOf_[m.x])] & rem).ForEach([&](int i) {
            if (k < 2)
                uv[k++] = i;
        });
        ++nodes_;
        if (Enter(rem, fr, &f.order, uv[0], uv[1]) == 1) {
            won_ = true;
            return true;
        }
    }
    exhausted_ = true;
    return false;
}

std::vector<int> QuickSearch::Removal() const {
    std::vector<int> out;
    if (!won_)
        return out;
    out.reserve(path_.size());
    for (uint8_t i : path_)
        out.push_back(tiles_[i]);
    return out;
}

size_t QuickSearch::Hash(const Mask& m) {
    uint64_t h = m.w[0] * 0x9E3779B97F4A7C15ull;
    h = (h ^ (h >> 31) ^ m.w[1]) * 0xC2B2AE3D27D4EB4Full;
    h = (h ^ (h >> 29) ^ m.w[2]) * 0x165667B19E3779F9ull;
    return static_cast<size_t>(h ^ (h >> 32));
}

constexpr size_t kProbes = 8;

uint64_t QuickSearch::Luby(uint64_t i) {
    // The i-th term (from 1) of 1, 1, 2, 1, 1, 2, 4, 1, 1, 2, 1, 1, 2, 4, 8, ...
    for (;;) {
        uint64_t k = 1;
        while ((uint64_t{1} << k) - 1 < i)
            ++k;
        if ((uint64_t{1} << k) - 1 == i)
            return uint64_t{1} << (k - 1);
        i -= (uint64_t{1} << (k - 1)) - 1;
    }
}

bool QuickSearch::Failed(const Mask& rem) const {
    if (failed_.empty())
        return false;
    const size_t mask = failed_.size() - 1;
    const size_t i = Hash(rem);
    for (size_t k = 0; k < kProbes; ++k) {
        const Mask& e = failed_[(i + k) & mask];
        if (e.Empty())
            return false;
        if (e == rem)
            return true;
    }
    return false;
}

void QuickSearch::Remember(const Mask& rem) {
    if (failed_.empty()) {
        failed_.resize(std::min<size_t>(4096, maxFailed_));
    } else if (usedFailed_ * 2 > failed_.size() && failed_.size() < maxFailed_) {
        std::vector<Mask> old;
        old.swap(failed_);
        failed_.assign(old.size() * 2, Mask{});
        usedFailed_ = 0;
        for (const Mask& m : old)
            if (!m.Empty())
                Remember(m);
    }
    const size_t mask = failed_.size() - 1;
    const size_t i = Hash(rem);
    for (size_t k = 0; k < kProbes; ++k) {
        Mask& e = failed_[(i + k) & mask];
        if (e.Empty()) {
            e = rem;
            ++usedFailed_;
            return;
        }
        if (e == rem)
            return;
    }
    failed_[i & mask] = rem; // full around here: the older entry gives way
}

SolveResult SolveWithQuick(const Board& board, FreeRule rule, const SolveLimits& limits) {
    QuickSearch quick(board, rule, limits);
    auto won = [&]() { return ReplayClears(board, quick.Removal(), rule); };
    Search split(board, rule, limits);
    bool quickWon = false;
    // The quick search searches on for `slice` positions, or what is left of the budget; true
    // stops the split search (a win, or the clock or the flag).
    auto turn = [&](uint64_t slice, uint64_t& nodes) {
        if (quick.Exhausted() || quick.Stopped())
            return quick.Stopped();
        if (limits.maxNodes != 0) // the quick search may take a position past its slice
            slice = std::min(slice, limits.maxNodes > nodes + 1 ? limits.maxNodes - nodes - 1 : 0);
        if (slice == 0)
            return false;
        const uint64_t before = quick.Nodes();
        const bool w = quick.Step(slice);
        nodes += quick.Nodes() - before;
        if (w && won()) {
            quickWon = true;
            return true;
        }
        return quick.Stopped();
    };
    // The split search goes first: it decides half of all deals within a few dozen positions,
    // before its costlier reasoning for hard positions begins, in less time than the quick
    // search takes to fail. Then the quick search takes its first turn, seven positions per
    // tile: it wins most of the winnable deals left within it, far sooner than the split search.
    const uint64_t first = 7 * static_cast<uint64_t>(quick.Tiles()) + 16;
    split.earlyAt = std::max<uint64_t>(1, limits.hardAfter / 2);
    split.early = [&](uint64_t& nodes) { return turn(first, nodes); };
    // Later they take turns: after each round of the split search, the quick search searches
    // on for four times as many positions as that round did (its positions cost some fifty
    // times less; the deals it wins late are few, and longer turns cost the others more than
    // they save, shorter ones leave some deals it would win soon to the split search's long
    // rounds), but never for more than a quarter of the whole budget, so that the split search
    // keeps most of it for the deals that cannot be won.
    constexpr uint64_t kShare = 4;
    const uint64_t quickCap = limits.maxNodes / 4;
    uint64_t lastOwn = 0;
    split.betweenRounds = [&](uint64_t& nodes) {
        const uint64_t own = nodes - quick.Nodes(); // the split search's own positions
        uint64_t slice = kShare * (own - lastOwn);
        lastOwn = own;
        if (limits.maxNodes != 0)
            slice = std::min(slice, quickCap > quick.Nodes() ? quickCap - quick.Nodes() : 0);
        return turn(slice, nodes);
    };
    SolveResult res = split.Run();
    if (quickWon) {
        res.verdict = SolveVerdict::Winnable;
        res.removal = quick.Removal();
    } else if (quick.Stopped() && res.verdict == SolveVerdict::Unknown) {
        res.cancelled = res.cancelled || quick.Cancelled();
    }
    return res;
}

} // namespace tovani::solver
