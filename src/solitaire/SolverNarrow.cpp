// The looser game and the narrowing of splits: proofs that a position, or one split of a
// block in it, cannot be played out, and the orders that show the splits kept can.
#include "solitaire/SolverSearch.h"

namespace tovani::solver {

bool Search::Orderable(const State& s, Mask fr) const {
    Mask cur = s.rem;
    int now = 0;
    const bool won = Relax<false>(PlaysOf(s), fr, cur, nullptr, now);
    if (!won) {
        stuckCur_[0] = cur;
        stuckFr_[0] = fr;
        stuckCount_ = 1;
        stuckBlock_ = -1;
    }
    return won;
}

Plays Search::PlaysOf(const State& s) const {
    Plays plays;
    for (int g = 0; g < kBlocks; ++g) {
        const Block& b = blocks_[static_cast<size_t>(g)];
        int at[4];
        const int cnt = Left(b, s.rem, at);
        BlockPlay& play = plays[static_cast<size_t>(g)];
        if (cnt == 2)
            play.pair = static_cast<int8_t>(b.n == 2 ? 0 : PairIndex(at[0], at[1]));
        else if (cnt == 4)
            play.allowed = static_cast<uint8_t>(s.Allowed(g));
    }
    return plays;
}

template <bool kTimed>
bool Search::Relax(const Plays& plays, Mask& fr, Mask& cur, Order* order, int& now,
                   const Finish* finish) const {
    uint64_t dirty = BlocksOf(fr, blockOf_);
    // Blocks with a free tile: only they can move when a tile they wait for leaves; the
    // others are looked at when one of their tiles comes free.
    uint64_t freeBlocks = dirty;
    const bool resumed = finish && finish->moving != 0;
    if (resumed)
        dirty &= finish->moving;
    auto take = [&](int i, uint64_t&) __attribute__((always_inline)) {
        const size_t k = static_cast<size_t>(i);
        if constexpr (kTimed)
            order->out[k] = static_cast<uint8_t>(++now);
        cur.Reset(i);
        fr.Reset(i);
        dirty |= waiting_[k] & freeBlocks;
        auto cameFree = [&](int j) __attribute__((always_inline)) {
            fr.Set(j);
            uint64_t bit = 1ull << blockOf_[static_cast<size_t>(j)];
            dirty |= bit;
            freeBlocks |= bit;
            if constexpr (kTimed)
                order->free[static_cast<size_t>(j)] = static_cast<uint8_t>(now);
        };
        ComeFree(i, cur, fr, cameFree);
    };
    if (kTimed && !resumed)
        cur.ForEach([&](int i) {
            uint8_t& f = order->free[static_cast<size_t>(i)];
            if (!fr.Test(i))
                f = kNever;
            else if (now == 0)
                f = 0;
        });
    while (dirty != 0) {
        int g = std::countr_zero(dirty);
        dirty &= dirty - 1;
        const Block& b = blocks_[static_cast<size_t>(g)];
        const BlockPlay play = plays[static_cast<size_t>(g)];
        auto tryPair = [&](int k) __attribute__((always_inline)) {
            int x = b.t[static_cast<size_t>(kPairOf[k][0])];
            int y = b.t[static_cast<size_t>(kPairOf[k][1])];
            if (fr.Test(x) && fr.Test(y) && !b.need[static_cast<size_t>(k)].Intersects(cur)) {
                take(x, dirty);
                take(y, dirty);
            }
        };
        const unsigned al = play.allowed;
        if (play.pair >= 0) {
            tryPair(play.pair);
        } else if (al == 0) {
            continue;
        } else if (SingleSplit(al)) {
            int p = std::countr_zero(al);
            tryPair(2 * p);
            tryPair(2 * p + 1);
        } else if (b.mask.Intersects(fr)) {
            // The tiles in turn, round and round, until a whole round since the last tile
            // left (or the first round) lets none go.
            int last = -1; // where the last tile left
            for (int q = 0, looked = 0; q != last && (last >= 0 || looked < 4);
                 q = (q + 1) & 3, ++looked) {
                const size_t uq = static_cast<size_t>(q);
                const int x = b.t[uq];
                if (!fr.Test(x))
                    continue;
                for (unsigned a = al; a != 0; a &= a - 1) {
                    const size_t p = static_cast<size_t>(std::countr_zero(a));
                    const int y = b.partnerIn[uq][p];
                    if ((!cur.Test(y) || fr.Test(y)) &&
                        !b.need[static_cast<size_t>(b.pairIn[uq][p])].Intersects(cur)) {
                        take(x, dirty);
                        last = q;
                        break;
                    }
                }
            }
        }
        if constexpr (kTimed) {
            if (finish && g == finish->block && !b.mask.Intersects(cur)) {
                FinishAsBefore(*finish, fr, cur, *order, now);
                return true;
            }
        }
    }
    return cur.Empty();
}

// The plain game is also played by the learning (SolverLearn.cpp).
template bool Search::Relax<false>(const Plays&, Mask&, Mask&, Order*, int&, const Finish*) const;

std::array<int8_t, kTileCount> Search::TilePairs(const Plays& plays, const Mask& rem) const {
    std::array<int8_t, kTileCount> pairOf;
    rem.ForEach([&](int x) {
        const size_t kx = static_cast<size_t>(x);
        const BlockPlay play = plays[static_cast<size_t>(blockOf_[kx])];
        const unsigned al = play.allowed;
        if (play.pair >= 0)
            pairOf[kx] = play.pair;
        else if (SingleSplit(al))
            pairOf[kx] = blocks_[static_cast<size_t>(blockOf_[kx])].pairIn[static_cast<size_t>(
                place_[kx])][static_cast<size_t>(std::countr_zero(al))];
        else
            pairOf[kx] = al == 0 ? kHeld : kOpen;
    });
    return pairOf;
}

void Search::Replay(const Plays& plays, const std::array<int8_t, kTileCount>& pairOf,
                    const std::array<uint8_t, kTileCount>& seq, int from, int steps, int wait,
                    Mask& fr, Mask& cur, Order& order, int& now) const {
    for (size_t w = 0; w < 3; ++w)
        for (uint64_t m = cur.w[w] & ~fr.w[w]; m != 0; m &= m - 1)
            order.free[w * 64 + static_cast<size_t>(std::countr_zero(m))] = kNever;
    auto take = [&](int i) {
        const size_t k = static_cast<size_t>(i);
        order.out[k] = static_cast<uint8_t>(++now);
        cur.Reset(i);
        fr.Reset(i);
        auto cameFree = [&](int j) __attribute__((always_inline)) {
            fr.Set(j);
            order.free[static_cast<size_t>(j)] = static_cast<uint8_t>(now);
        };
        ComeFree(i, cur, fr, cameFree);
    };
    // A pair leaves when both its tiles are free and what it needs is gone.
    auto pairReady = [&](const Block& b, int k) {
        return fr.Test(b.t[static_cast<size_t>(kPairOf[k][0])]) &&
               fr.Test(b.t[static_cast<size_t>(kPairOf[k][1])]) &&
               !b.need[static_cast<size_t>(k)].Intersects(cur);
    };
    uint64_t waiting = 0;
    for (int step = from; step < steps; ++step) {
        const int x = seq[static_cast<size_t>(step)];
        if (!cur.Test(x))
            continue; // gone with its partner
        const int g = blockOf_[static_cast<size_t>(x)];
        if (g == wait)
            continue;
        const Block& b = blocks_[static_cast<size_t>(g)];
        const int k = pairOf[static_cast<size_t>(x)]; // the pair that leaves, when known
        if (k >= 0) {
            if (pairReady(b, k)) {
                take(b.t[static_cast<size_t>(kPairOf[k][0])]);
                take(b.t[static_cast<size_t>(kPairOf[k][1])]);
            } else {
                waiting |= 1ull << g;
            }
            continue;
        }
        if (k == kHeld)
            continue;
        const size_t uq = static_cast<size_t>(place_[static_cast<size_t>(x)]);
        const unsigned al = plays[static_cast<size_t>(g)].allowed;
        bool ready = false;
        if (fr.Test(x))
            for (unsigned a = al; a != 0 && !ready; a &= a - 1) {
                const size_t p = static_cast<size_t>(std::countr_zero(a));
                const int y = b.partnerIn[uq][p];
                ready = (!cur.Test(y) || fr.Test(y)) &&
                        !b.need[static_cast<size_t>(b.pairIn[uq][p])].Intersects(cur);
            }
        if (ready)
            take(x);
        else
            waiting |= 1ull << g;
    }
    // Every tile that could not leave in its turn belongs to a block in `waiting`: only those
    // blocks can still move.
    if (waiting != 0) {
        const Finish goOn{-1, nullptr, 0, 0, waiting};
        Relax<true>(plays, fr, cur, &order, now, &goOn);
    }
}

void Search::FinishAsBefore(const Finish& finish, Mask& fr, Mask& cur, Order& order,
                            int& now) const {
    for (int k = finish.from; k < finish.steps; ++k) {
        const int t = (*finish.seq)[static_cast<size_t>(k)];
        // Without a branch: the tiles still in the game take the next steps.
        const unsigned in = cur.Test(t) ? 1u : 0u;
        now += static_cast<int>(in);
        uint8_t& out = order.out[static_cast<size_t>(t)];
        const unsigned keep = in - 1u; // all ones when the tile is gone already
        out = static_cast<uint8_t>((out & keep) | (static_cast<unsigned>(now) & ~keep));
    }
    // A tile comes free when the last tile lying on it has left and one of its sides is clear.
    auto last = [&](const uint8_t* tiles, int count) {
        int l = 0;
        for (int a = 0; a < count; ++a) {
            const int j = tiles[a];
            l = std::max<int>(l, cur.Test(j) ? order.out[static_cast<size_t>(j)] : 0);
        }
        return l;
    };
    for (size_t w = 0; w < 3; ++w)
        for (uint64_t m = cur.w[w] & ~fr.w[w]; m != 0; m &= m - 1) {
            const size_t k = w * 64 + static_cast<size_t>(std::countr_zero(m));
            const Around& a = around_[k];
            order.free[k] = static_cast<uint8_t>(std::max(
                last(a.on.data(), a.count[0]),
                std::min(last(a.side[0].data(), a.count[1]), last(a.side[1].data(), a.count[2]))));
        }
    cur = Mask{};
    fr = Mask{};
}

int Search::WaitOf(const Order& o, const Block& b, const State& s, unsigned al, int cnt,
                   const int* at, int q, const Mask& late) {
    int best = -1;
    auto consider = [&](int k, int y) {
        const Mask need = b.need[static_cast<size_t>(k)] & s.rem;
        if (late.Test(y) || need.Intersects(late))
            return;
        int m = s.rem.Test(y) ? o.free[static_cast<size_t>(y)] : 0;
        need.ForEach([&](int j) { m = std::max<int>(m, o.out[static_cast<size_t>(j)]); });
        if (best < 0 || m < best)
            best = m;
    };
    if (cnt == 2) {
        const int other = at[0] == q ? at[1] : at[0];
        consider(PairIndex(q, other), b.t[static_cast<size_t>(other)]);
    } else {
        const size_t uq = static_cast<size_t>(q);
        for (unsigned a = al; a != 0; a &= a - 1) {
            const size_t p = static_cast<size_t>(std::countr_zero(a));
            consider(b.pairIn[uq][p], b.partnerIn[uq][p]);
        }
    }
    return best;
}

bool Search::OnTime(const Order& o, const Block& b, const State& s, unsigned al, int cnt,
                    const int* at, int q, int step) {
    auto before = [&](int k, int y) {
        if (s.rem.Test(y) && o.free[static_cast<size_t>(y)] >= step)
            return false;
        const Mask& need = b.need[static_cast<size_t>(k)];
        for (size_t w = 0; w < 3; ++w)
            for (uint64_t m = need.w[w] & s.rem.w[w]; m != 0; m &= m - 1)
                if (o.out[w * 64 + static_cast<size_t>(std::countr_zero(m))] >= step)
                    return false;
        return true;
    };
    if (cnt == 2) {
        const int other = at[0] == q ? at[1] : at[0];
        return before(PairIndex(q, other), b.t[static_cast<size_t>(other)]);
    }
    const size_t uq = static_cast<size_t>(q);
    for (unsigned a = al; a != 0; a &= a - 1) {
        const size_t p = static_cast<size_t>(std::countr_zero(a));
        if (before(b.pairIn[uq][p], b.partnerIn[uq][p]))
            return true;
    }
    return false;
}

bool Search::Repair(const Order& o, Order& fixed, const State& s, uint64_t changed, int g,
                    int p) const {
    int late[8];
    int waits[8];
    int nLate = 0;
    Mask lateMask;
    // The tiles that left too early.
    for (uint64_t c = changed | (1ull << g); c != 0; c &= c - 1) {
        const int h = std::countr_zero(c);
        const Block& b = blocks_[static_cast<size_t>(h)];
        int at[4];
        const int cnt = Left(b, s.rem, at);
        const unsigned al = h == g ? 1u << p : s.Allowed(h);
        // As OnTime, with the latest step each pair waits for on its needs worked out once for
        // the block's tiles.
        std::array<int, 6> needsGone{-1, -1, -1, -1, -1, -1};
        auto pairOnTime = [&](int k, int y, int step) {
            if (s.rem.Test(y) && o.free[static_cast<size_t>(y)] >= step)
                return false;
            int& m = needsGone[static_cast<size_t>(k)];
            if (m < 0) {
                m = 0;
                const Mask& need = b.need[static_cast<size_t>(k)];
                for (size_t w = 0; w < 3; ++w)
                    for (uint64_t r = need.w[w] & s.rem.w[w]; r != 0; r &= r - 1)
                        m = std::max<int>(m,
                                          o.out[w * 64 + static_cast<size_t>(std::countr_zero(r))]);
            }
            return m < step;
        };
        for (int i = 0; i < cnt; ++i) {
            const int q = at[i];
            const int x = b.t[static_cast<size_t>(q)];
            const int step = o.out[static_cast<size_t>(x)];
            bool onTime = false;
            if (cnt == 2) {
                const int other = at[0] == q ? at[1] : at[0];
                onTime = pairOnTime(PairIndex(q, other), b.t[static_cast<size_t>(other)], step);
            } else {
                for (unsigned a = al; a != 0 && !onTime; a &= a - 1) {
                    const size_t pa = static_cast<size_t>(std::countr_zero(a));
                    onTime = pairOnTime(b.pairIn[static_cast<size_t>(q)][pa],
                                        b.partnerIn[static_cast<size_t>(q)][pa], step);
                }
            }
            if (onTime)
                continue;
            if (nLate == 8)
                return false;
            late[nLate++] = x;
            lateMask.Set(x);
        }
    }
    if (nLate == 0) {
        if (&fixed != &o)
            fixed = o;
        return true;
    }
    // Where each of them can go instead, and the tiles that come free later for it.
    uint64_t lateBlocks = 0;
    for (int n = 0; n < nLate; ++n)
        lateBlocks |= 1ull << blockOf_[static_cast<size_t>(late[n])];
    struct LaterFree {
        int tile;
        uint16_t after; // comes free once the tiles put off until this step have left
    };
    constexpr int kMaxLater = 16;
    std::array<LaterFree, kMaxLater> later;
    int nLater = 0;
    for (int n = 0; n < nLate; ++n) {
        const int x = late[n];
        const size_t kx = static_cast<size_t>(x);
        const int h = blockOf_[kx];
        const Block& b = blocks_[static_cast<size_t>(h)];
        int at[4];
        const int cnt = Left(b, s.rem, at);
        const int q = place_[kx];
        const unsigned al = h == g ? 1u << p : s.Allowed(h);
        const int w = WaitOf(o, b, s, al, cnt, at, q, lateMask);
        if (w < 0 || w == kNever)
            return false;
        const int tx = o.out[kx];
        for (int d = 0; d < dependentCount_[kx]; ++d) {
            const int j = dependents_[kx][static_cast<size_t>(d)];
            const size_t kj = static_cast<size_t>(j);
            if (!s.rem.Test(j) || o.free[kj] < tx || o.free[kj] > w)
                continue;
            // A tile that came free while x is put off comes free once x has left, which is
            // soon enough when it left after that anyway and no tile of its block leaned on it
            // being free in the meantime (as a partner to go with).
            const int hj = blockOf_[kj];
            if ((lateBlocks >> hj) & 1 || o.out[kj] <= w || nLater == kMaxLater)
                return false;
            const Block& bj = blocks_[static_cast<size_t>(hj)];
            for (int r = 0; r < bj.n && r < 4; ++r) {
                const int z = bj.t[static_cast<size_t>(r)];
                const int oz = o.out[static_cast<size_t>(z)];
                if (z != j && s.rem.Test(z) && oz >= o.free[kj] && oz <= w)
                    return false;
            }
            later[nLater++] = LaterFree{j, static_cast<uint16_t>(w)};
        }
        bool clear = true;
        (neededBy_[kx] & s.rem).ForEach([&](int t) {
            const int ot = o.out[static_cast<size_t>(t)];
            if (ot > tx && ot <= w)
                clear = false;
        });
        if (!clear)
            return false;
        waits[n] = w;
    }
    // Number the steps again: a tile put off leaves just after step w. By step v of o: the
    // tiles that leave up to it, and those with the tiles put off until it.
    std::array<uint16_t, kTileCount + 1> atStep{}, lateAt{};
    std::array<uint16_t, kTileCount + 1> upTo, upToLate;
    size_t top = 0; // the last step, as far as the counts need to go
    for (size_t w = 0; w < 3; ++w)
        for (uint64_t m = s.rem.w[w]; m != 0; m &= m - 1) {
            const uint8_t v = o.out[w * 64 + static_cast<size_t>(std::countr_zero(m))];
            ++atStep[v];
            top = std::max<size_t>(top, v);
        }
    for (int n = 0; n < nLate; ++n) {
        --atStep[o.out[static_cast<size_t>(late[n])]];
        ++lateAt[static_cast<size_t>(waits[n])];
        top = std::max<size_t>(top, static_cast<size_t>(waits[n]));
    }
    // A tile comes free before it leaves, and the tiles that come free later for a late tile
    // wait for one of the steps above: none of the counts looked at lies past `top`.
    uint16_t running = 0;
    for (size_t v = 0; v <= top; ++v) {
        running = static_cast<uint16_t>(running + atStep[v]);
        upTo[v] = running;
        running = static_cast<uint16_t>(running + lateAt[v]);
        upToLate[v] = running;
    }
    for (size_t w = 0; w < 3; ++w)
        for (uint64_t m = s.rem.w[w]; m != 0; m &= m - 1) {
            const size_t k = w * 64 + static_cast<size_t>(std::countr_zero(m));
            const uint8_t f = o.free[k];
            fixed.out[k] = static_cast<uint8_t>(upTo[o.out[k]]);
            fixed.free[k] = f == kNever ? kNever : static_cast<uint8_t>(upTo[f]);
        }
    for (int n = 0; n < nLate; ++n)
        fixed.out[static_cast<size_t>(late[n])] =
            static_cast<uint8_t>(upToLate[static_cast<size_t>(waits[n])]);
    for (int n = 0; n < nLater; ++n) {
        uint8_t& f = fixed.free[static_cast<size_t>(later[static_cast<size_t>(n)].tile)];
        f = std::max(f, static_cast<uint8_t>(upToLate[later[static_cast<size_t>(n)].after]));
    }
    return true;
}

int Search::Narrow(State& s, const Mask& fr, const OrderCache* from, OrderCache& into) const {
    // One looser game with every open split allowed gives an order of removals, where the
    // games of single splits start. A split needs no game of its own when its order from
    // above still holds here: only the blocks whose splits have changed since can break it,
    // as tiles taken off since then only left earlier, which never holds anything back; nor
    // when the last order found here for another block can be mended for it.
    Order& base = orders_[0];
    Plays plays = PlaysOf(s);
    auto fixedTo = [&](int g, unsigned al) {
        Plays t = plays;
        t[static_cast<size_t>(g)] = BlockPlay{-1, static_cast<uint8_t>(al)};
        return t;
    };
    // The first order, and that order step by step, for the games of single splits to end
    // by; played again when a split dropped on the way breaks it.
    std::array<uint8_t, kTileCount> seq{};
    int steps = 0;
    auto playBase = [&]() {
        Mask f = fr, cur = s.rem;
        int now = 0;
        if (!Relax<true>(plays, f, cur, &base, now)) {
            stuckCur_[0] = cur;
            stuckFr_[0] = f;
            stuckCount_ = 1;
            stuckBlock_ = -1;
            return false;
        }
        steps = 0;
        s.rem.ForEach([&](int i) {
            seq[static_cast<size_t>(base.out[static_cast<size_t>(i)] - 1)] =
                static_cast<uint8_t>(i);
            ++steps;
        });
        return true;
    };
    if (!playBase())
        return -1;
    std::array<int8_t, kTileCount> pairOf = TilePairs(plays, s.rem);
    // By step v of the first order: the tiles still in the game after it, and those that had
    // come free by then (made when a block first needs a game of its own).
    std::array<Mask, kTileCount + 1> leftAfter, freeBy;
    bool stepsReady = false;
    auto makeSteps = [&]() {
        Mask left = s.rem;
        leftAfter[0] = left;
        for (int v = 1; v <= steps; ++v) {
            left.Reset(seq[static_cast<size_t>(v - 1)]);
            leftAfter[static_cast<size_t>(v)] = left;
        }
        std::fill(freeBy.begin(), freeBy.begin() + steps + 1, Mask{});
        s.rem.ForEach([&](int i) { freeBy[base.free[static_cast<size_t>(i)]].Set(i); });
        for (int v = 1; v <= steps; ++v)
            freeBy[static_cast<size_t>(v)] |= freeBy[static_cast<size_t>(v - 1)];
        stepsReady = true;
    };
    uint64_t changed = 0;
    if (from)
        for (int h = 0; h < kBlocks; ++h) {
            unsigned was = from->base.Allowed(h);
            if (!SingleSplit(was) && was != 0 && s.Allowed(h) != was)
                changed |= 1ull << h;
        }
    std::array<uint64_t, 2> has{};
    const State start = s;
    int result = 0;
    // The split whose order was found last at this position, by a game or mended (-1: none
    // yet), and the blocks whose splits were dropped since; all those dropped in this pass.
    int found = -1;
    uint64_t droppedSinceFound = 0, dropped = 0;
    for (int g = 0; g < kBlocks; ++g) {
        unsigned al = s.Allowed(g);
        if (al == 0 || SingleSplit(al))
            continue;
        const Block& b = blocks_[static_cast<size_t>(g)];
        unsigned keep = al;
        bool prefixReady = false;
        Mask frozenCur, frozenFr;
        int frozenNow = 0;
        Order& frozen = orders_[1];
        int first = 1 << 30;
        stuckCount_ = 0;
        auto failed = [&](const Mask& f, const Mask& cur) {
            stuckCur_[static_cast<size_t>(stuckCount_)] = cur;
            stuckFr_[static_cast<size_t>(stuckCount_)] = f;
            ++stuckCount_;
        };
        for (int p = 0; p < 3; ++p) {
            if (!(al & (1u << p)))
                continue;
            const int slot = 3 * g + p;
            Order& o = into.orders[static_cast<size_t>(slot)];
            const bool shortcuts = limits_.shortcuts;
            // An order found for another split at this position fixes that block to one of
            // its allowed splits, so it is an order of this position too. (The first order
            // and the orders found before the last one seldom hold where the last does not:
            // mending them cost more than the games they spared.)
            bool holds = shortcuts && found >= 0 &&
                         Repair(into.orders[static_cast<size_t>(found)], o, s,
                                droppedSinceFound & ~(1ull << g), g, p);
            if (!holds && shortcuts && from && from->Has(slot))
                holds = Repair(from->orders[static_cast<size_t>(slot)], o, s,
                               (changed | dropped) & ~(1ull << g), g, p);
            if (!holds && !shortcuts) {
                // The split's own game from the start, for checking the shortcuts.
                Mask f = fr, cur = s.rem;
                int now = 0;
                holds = Relax<true>(fixedTo(g, 1u << p), f, cur, &o, now);
                if (!holds)
                    failed(f, cur);
            } else if (!holds) {
                // Up to the first tile of this block, the first order is one of the split's
                // game too: start from there.
                if (!prefixReady) {
                    for (int q = 0; q < 4; ++q)
                        first = std::min<int>(
                            first, base.out[static_cast<size_t>(b.t[static_cast<size_t>(q)])]);
                    if (!stepsReady)
                        makeSteps();
                    frozenCur = leftAfter[static_cast<size_t>(first - 1)];
                    frozenFr = freeBy[static_cast<size_t>(first - 1)] & frozenCur;
                    // Then everything that can leave while this block waits: that part is
                    // the same whichever way the block is split.
                    frozenNow = first - 1;
                    frozen = base;
                    Replay(fixedTo(g, 0), pairOf, seq, first - 1, steps, g, frozenFr, frozenCur,
                           frozen, frozenNow);
                    prefixReady = true;
                }
                Mask f = frozenFr, cur = frozenCur;
                int now = frozenNow;
                o = frozen;
                // The game with the block waiting stopped where nothing else could move.
                const Finish finish{g, &seq, steps, first - 1, 1ull << g};
                holds = Relax<true>(fixedTo(g, 1u << p), f, cur, &o, now, &finish);
                if (!holds)
                    failed(f, cur);
            }
            if (holds) {
                has[static_cast<size_t>(slot >> 6)] |= 1ull << (slot & 63);
                found = slot;
                droppedSinceFound = 0;
            } else
                keep &= ~(1u << p);
        }
        if (keep != al)
            conflicts_[static_cast<size_t>(g)] += keep == 0 ? 8 : 1;
        if (keep == 0) {
            stuckBlock_ = g;
            return -1;
        }
        if (keep != al) {
            // Dropped at once, so that the games of the blocks after it are stricter. The
            // blocks whose restriction the failed games may have needed are kept with the
            // position before the drop, for giving the split back to a loss found below.
            Pass drop{s, 0, false};
            for (int h = 0; h < kBlocks; ++h) {
                const unsigned ah = s.Allowed(h);
                if (h == g || ah == 0 || ah == blocks_[static_cast<size_t>(h)].splits)
                    continue;
                for (int k = 0; k < stuckCount_; ++k)
                    if (CouldMove(h, stuckCur_[static_cast<size_t>(k)],
                                  stuckFr_[static_cast<size_t>(k)])) {
                        drop.used |= 1ull << h;
                        break;
                    }
            }
            drops_.push_back(drop);
            s.SetAllowed(g, keep);
            plays[static_cast<size_t>(g)].allowed = static_cast<uint8_t>(keep);
            if (SingleSplit(keep))
                for (int q = 0; q < 4; ++q)
                    pairOf[static_cast<size_t>(b.t[static_cast<size_t>(q)])] =
                        b.pairIn[static_cast<size_t>(q)][static_cast<size_t>(std::countr_zero(keep))];
            dropped |= 1ull << g;
            droppedSinceFound |= 1ull << g;
            result = 1;
            // The first order holds on when each tile of the block left on time for a split
            // kept; otherwise it is played again.
            int at[4];
            const int cnt = Left(b, s.rem, at);
            bool onTime = true;
            for (int i = 0; i < cnt && onTime; ++i)
                onTime = OnTime(base, b, s, keep, cnt, at, at[i],
                                base.out[static_cast<size_t>(b.t[static_cast<size_t>(at[i])])]);
            if (!onTime) {
                stepsReady = false;
                if (!playBase())
                    return -1;
            }
        }
    }
    // Every order kept here is one of the position as it was before the pass (a stricter game
    // is one of the looser too).
    into.base = start;
    into.has = has;
    return result;
}

} // namespace tovani::solver
