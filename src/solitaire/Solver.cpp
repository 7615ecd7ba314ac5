#include "solitaire/Solver.h"

#include <algorithm>
#include <array>
#include <bit>
#include <memory>

namespace tovani {

namespace {

// A set of tiles on the board, by their index in the solver's own numbering (0..143).
struct Mask {
    std::array<uint64_t, 3> w{};

    static Mask All() { return Mask{{~0ull, ~0ull, ~0ull}}; }
    void Set(int i) { w[static_cast<size_t>(i >> 6)] |= 1ull << (i & 63); }
    void Reset(int i) { w[static_cast<size_t>(i >> 6)] &= ~(1ull << (i & 63)); }
    bool Test(int i) const { return (w[static_cast<size_t>(i >> 6)] >> (i & 63)) & 1ull; }
    bool Intersects(const Mask& o) const {
        return ((w[0] & o.w[0]) | (w[1] & o.w[1]) | (w[2] & o.w[2])) != 0;
    }
    bool Empty() const { return (w[0] | w[1] | w[2]) == 0; }
    Mask operator&(const Mask& o) const {
        return Mask{{w[0] & o.w[0], w[1] & o.w[1], w[2] & o.w[2]}};
    }
    Mask operator|(const Mask& o) const {
        return Mask{{w[0] | o.w[0], w[1] | o.w[1], w[2] | o.w[2]}};
    }
    Mask& operator|=(const Mask& o) {
        for (size_t k = 0; k < 3; ++k)
            w[k] |= o.w[k];
        return *this;
    }
    Mask& operator&=(const Mask& o) {
        for (size_t k = 0; k < 3; ++k)
            w[k] &= o.w[k];
        return *this;
    }
    Mask& Remove(const Mask& o) {
        for (size_t k = 0; k < 3; ++k)
            w[k] &= ~o.w[k];
        return *this;
    }
    // Calls f(i) for every tile in the set, in increasing order.
    template <typename F> void ForEach(F f) const {
        for (size_t k = 0; k < 3; ++k)
            for (uint64_t b = w[k]; b != 0; b &= b - 1)
                f(static_cast<int>(k * 64) + std::countr_zero(b));
    }
    friend bool operator==(const Mask&, const Mask&) = default;
};

constexpr int kBlocks = kTileCount / 4;

// One split only is left in a set of splits.
constexpr bool SingleSplit(unsigned a) {
    return a != 0 && (a & (a - 1)) == 0;
}

// The six pairs of a block of four, by the positions of its tiles (in increasing tile number).
// Split p (0..2) of the block into two pairs is made of pairs 2p and 2p + 1.
constexpr int kPairOf[6][2] = {{0, 1}, {2, 3}, {0, 2}, {1, 3}, {0, 3}, {1, 2}};
constexpr int PairIndex(int a, int b) {
    for (int k = 0; k < 6; ++k)
        if ((kPairOf[k][0] == a && kPairOf[k][1] == b) ||
            (kPairOf[k][0] == b && kPairOf[k][1] == a))
            return k;
    return -1;
}

// A position of the search: the tiles left and, for each block with all four tiles left, the
// splits into pairs still allowed (three bits a block, 21 blocks a word; 0 for other blocks).
struct State {
    Mask rem;
    std::array<uint64_t, 2> split{};

    unsigned Allowed(int g) const {
        return static_cast<unsigned>(split[static_cast<size_t>(g / 21)] >> (3 * (g % 21))) & 7u;
    }
    void SetAllowed(int g, unsigned a) {
        uint64_t& word = split[static_cast<size_t>(g / 21)];
        int shift = 3 * (g % 21);
        word = (word & ~(7ull << shift)) | (static_cast<uint64_t>(a) << shift);
    }
    friend bool operator==(const State&, const State&) = default;
};

// Lost positions, in a table that grows up to a bound and then overwrites. A position is known
// lost when an entry has the same tiles left and allows every split it allows (and maybe more):
// a position that allows fewer splits than a lost one is lost too. An overwritten entry costs
// time, never a wrong answer.
class LostTable {
public:
    explicit LostTable(size_t maxEntries) {
        max_ = 16;
        while (max_ * 2 <= maxEntries)
            max_ *= 2;
    }

    bool Contains(const State& s) const {
        if (slots_.empty())
            return false;
        size_t i = Hash(s);
        for (size_t k = 0; k < kProbes; ++k) {
            const State& e = slots_[(i + k) & (slots_.size() - 1)];
            if (e.rem.Empty())
                return false;
            if (e.rem == s.rem && Within(s, e))
                return true;
        }
        return false;
    }

    void Insert(const State& s) {
        if (slots_.empty())
            slots_.resize(std::min<size_t>(4096, max_));
        else if (used_ * 2 > slots_.size() && slots_.size() < max_)
            Grow();
        Put(s);
    }

private:
    static constexpr size_t kProbes = 8;

    // Every split that a allows, b allows too (both with the same tiles left).
    static bool Within(const State& a, const State& b) {
        return ((a.split[0] & ~b.split[0]) | (a.split[1] & ~b.split[1])) == 0;
    }

    // By the tiles left only, so that the entries with the same tiles meet.
    static size_t Hash(const State& s) {
        uint64_t h = s.rem.w[0] * 0x9E3779B97F4A7C15ull;
        h = (h ^ (h >> 31) ^ s.rem.w[1]) * 0xC2B2AE3D27D4EB4Full;
        h = (h ^ (h >> 29) ^ s.rem.w[2]) * 0x165667B19E3779F9ull;
        return static_cast<size_t>(h ^ (h >> 32));
    }

    void Put(const State& s) {
        size_t m = slots_.size() - 1;
        size_t i = Hash(s);
        for (size_t k = 0; k < kProbes; ++k) {
            State& e = slots_[(i + k) & m];
            if (e.rem.Empty()) {
                e = s;
                ++used_;
                return;
            }
            if (e.rem == s.rem && Within(e, s)) {
                e = s; // the new entry says more
                return;
            }
            if (e.rem == s.rem && Within(s, e))
                return;
        }
        slots_[i & m] = s; // the table is full around here: the oldest guess gives way
    }

    void Grow() {
        std::vector<State> old;
        old.swap(slots_);
        slots_.assign(old.size() * 2, State{});
        used_ = 0;
        for (const State& s : old)
            if (!s.rem.Empty())
                Put(s);
    }

    std::vector<State> slots_;
    size_t used_ = 0;
    size_t max_;
};

// An order in which the looser game clears the board: the step at which each tile left and the
// step at which it came free (0: free from the start; kNever: not on the way).
constexpr uint8_t kNever = 255;
struct Order {
    std::array<uint8_t, kTileCount> out{}, free{};
};

// The orders that narrowing found at one position of the search, one for each split it kept
// (block g, split p at 3g + p), all of them orders of `base` with that split fixed. A position
// below can often keep a split by checking that its order still holds there, instead of playing
// the looser game again.
struct OrderCache {
    State base;
    std::array<uint64_t, 2> has{};
    std::array<Order, 3 * kBlocks> orders{};

    bool Has(int slot) const { return (has[static_cast<size_t>(slot >> 6)] >> (slot & 63)) & 1; }
};

// A block of matching tiles on the board and what each of its pairs needs.
struct Block {
    int n = 0;              // tiles of the block on the board
    std::array<int, 4> t{}; // their solver indices, in increasing tile number
    Mask mask;
    // For each pair (kPairOf): can the two tiles ever be free together, and which tiles must
    // have left before they can.
    std::array<bool, 6> viable{};
    std::array<Mask, 6> need{};
    unsigned splits = 0; // the splits whose two pairs can both be removed, bits 0..2
};

class Search {
public:
    Search(const Board& board, FreeRule rule, const SolveLimits& limits)
        : limits_(limits), lost_(limits.maxRemembered) {
        index_.fill(-1);
        for (int t = 1; t <= kTileCount; ++t) {
            Cell p = board.Position(t);
            if (p.OnBoard() && board.At(p) == t) {
                index_[static_cast<size_t>(t)] = n_;
                tiles_[static_cast<size_t>(n_)] = t;
                cells_[static_cast<size_t>(n_)] = p;
                ++n_;
            }
        }
        BuildNeighbours(board, rule);
        BuildNeeds(rule);
        BuildBlocks();
        if (limits_.clock && limits_.maxMs > 0)
            startMs_ = limits_.clock->TickMs();
    }

    SolveResult Run() {
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
            // the rounds then take turns at deciding the most constrained block (eight times as
            // long) and choosing free pairs, each pair of rounds twice as long as the one
            // before. Lost positions found in one round stay known in the next.
            uint64_t budget = std::max<uint64_t>(1, 2 * limits_.hardAfter);
            phaseEnd_ = budget;
            for (;;) {
                restart_ = false;
                path_.clear();
                won = Dfs(root, FreeSet(root.rem));
                if (won || stop_ || !restart_)
                    break;
                byBlock_ = !byBlock_;
                if (!byBlock_)
                    budget *= 2;
                phaseEnd_ = nodes_ + (byBlock_ ? 8 * budget : budget);
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

private:
    // The tiles lying directly on each tile, and its neighbours on the two sides that the free
    // rule looks at (left and right, or top and bottom).
    void BuildNeighbours(const Board& board, FreeRule rule) {
        auto tileIn = [&](int c, int r, int l) {
            int v = board.TileAt(Cell{c, r, l});
            return v != 0 ? index_[static_cast<size_t>(v)] : -1;
        };
        for (int i = 0; i < n_; ++i) {
            const Cell& p = cells_[static_cast<size_t>(i)];
            const size_t k = static_cast<size_t>(i);
            if (p.layer < kLayoutLayers)
                for (int c = p.column - 1; c <= p.column + 1; ++c)
                    for (int r = p.row - 1; r <= p.row + 1; ++r)
                        if (int j = tileIn(c, r, p.layer + 1); j >= 0)
                            above_[k].Set(j);
            for (int d = -1; d <= 1; ++d) {
                int a, b;
                if (rule == FreeRule::Side) {
                    a = tileIn(p.column - 2, p.row + d, p.layer);
                    b = tileIn(p.column + 2, p.row + d, p.layer);
                } else {
                    a = tileIn(p.column + d, p.row - 2, p.layer);
                    b = tileIn(p.column + d, p.row + 2, p.layer);
                }
                if (a >= 0)
                    side_[0][k].Set(a);
                if (b >= 0)
                    side_[1][k].Set(b);
            }
        }
    }

    // What must leave before a tile can: everything lying on it, directly or through others;
    // and, for each side it may leave by, the whole chain of neighbours on that side with what
    // lies on them. A neighbour on the side toward the tile can only leave by its far side while
    // the tile is there, so the chain must go first, all of it.
    void BuildNeeds(FreeRule rule) {
        std::array<int, kTileCount> order{};
        for (int i = 0; i < n_; ++i)
            order[static_cast<size_t>(i)] = i;
        auto begin = order.begin(), end = order.begin() + n_;
        std::sort(begin, end, [&](int x, int y) {
            return cells_[static_cast<size_t>(x)].layer > cells_[static_cast<size_t>(y)].layer;
        });
        for (auto it = begin; it != end; ++it) {
            const size_t k = static_cast<size_t>(*it);
            Mask m = above_[k];
            above_[k].ForEach([&](int j) { m |= aboveAll_[static_cast<size_t>(j)]; });
            aboveAll_[k] = m;
        }
        auto along = [&](int i) {
            const Cell& c = cells_[static_cast<size_t>(i)];
            return rule == FreeRule::Side ? c.column : c.row;
        };
        for (int s = 0; s < 2; ++s) {
            // Side 0 looks toward smaller columns (rows): build from that end.
            std::sort(begin, end, [&](int x, int y) {
                return s == 0 ? along(x) < along(y) : along(x) > along(y);
            });
            for (auto it = begin; it != end; ++it) {
                const size_t k = static_cast<size_t>(*it);
                Mask m = aboveAll_[k] | side_[s][k];
                side_[s][k].ForEach([&](int j) { m |= need_[s][static_cast<size_t>(j)]; });
                need_[s][k] = m;
            }
        }
        // Whatever must leave before a tile has needs of its own, whichever side it leaves by.
        for (int pass = 0; pass < 2; ++pass) {
            std::array<Mask, kTileCount> both;
            for (int i = 0; i < n_; ++i)
                both[static_cast<size_t>(i)] =
                    need_[0][static_cast<size_t>(i)] & need_[1][static_cast<size_t>(i)];
            for (int s = 0; s < 2; ++s)
                for (int i = 0; i < n_; ++i) {
                    Mask& m = need_[s][static_cast<size_t>(i)];
                    Mask add;
                    m.ForEach([&](int j) { add |= both[static_cast<size_t>(j)]; });
                    m |= add;
                }
        }
        for (int i = 0; i < n_; ++i) {
            const size_t k = static_cast<size_t>(i);
            weight_[k] = 0;
        }
        // Tiles that hold many others back are worth clearing early. (A tile found among its
        // own needs cannot leave by that side; the pairs below take care of it.)
        for (int i = 0; i < n_; ++i)
            for (int s = 0; s < 2; ++s)
                need_[s][static_cast<size_t>(i)].ForEach(
                    [&](int j) { ++weight_[static_cast<size_t>(j)]; });
    }

    void BuildBlocks() {
        for (int i = 0; i < n_; ++i) {
            const size_t k = static_cast<size_t>(i);
            auto depend = [&](int j) {
                if (dependentCount_[static_cast<size_t>(j)] < 16)
                    dependents_[static_cast<size_t>(j)]
                               [static_cast<size_t>(dependentCount_[static_cast<size_t>(j)]++)] = i;
            };
            above_[k].ForEach(depend);
            side_[0][k].ForEach(depend);
            side_[1][k].ForEach(depend);
            blockOf_[k] = (tiles_[k] - 1) / 4;
        }
        for (int i = 0; i < n_; ++i) {
            Block& b = blocks_[static_cast<size_t>((tiles_[static_cast<size_t>(i)] - 1) / 4)];
            if (b.n < 4)
                b.t[static_cast<size_t>(b.n)] = i;
            ++b.n;
            b.mask.Set(i);
        }
        for (Block& b : blocks_) {
            if (b.n != 2 && b.n != 4)
                continue;
            for (int k = 0; k < (b.n == 4 ? 6 : 1); ++k) {
                int x = b.t[static_cast<size_t>(kPairOf[k][0])];
                int y = b.t[static_cast<size_t>(kPairOf[k][1])];
                const size_t kx = static_cast<size_t>(x), ky = static_cast<size_t>(y);
                bool any = false;
                Mask common = Mask::All();
                for (int sx = 0; sx < 2; ++sx)
                    for (int sy = 0; sy < 2; ++sy) {
                        const Mask& nx = need_[sx][kx];
                        const Mask& ny = need_[sy][ky];
                        // Both must be on the board and free at the same moment.
                        if (nx.Test(x) || ny.Test(y) || nx.Test(y) || ny.Test(x))
                            continue;
                        any = true;
                        common &= nx | ny;
                    }
                b.viable[static_cast<size_t>(k)] = any;
                b.need[static_cast<size_t>(k)] = any ? common : Mask{};
            }
            if (b.n == 4) {
                for (int p = 0; p < 3; ++p) {
                    const size_t k0 = static_cast<size_t>(2 * p), k1 = k0 + 1;
                    if (!b.viable[k0] || !b.viable[k1])
                        continue;
                    Mask m0, m1;
                    m0.Set(b.t[static_cast<size_t>(kPairOf[k0][0])]);
                    m0.Set(b.t[static_cast<size_t>(kPairOf[k0][1])]);
                    m1.Set(b.t[static_cast<size_t>(kPairOf[k1][0])]);
                    m1.Set(b.t[static_cast<size_t>(kPairOf[k1][1])]);
                    // Each pair waiting for the other: that split can never be played.
                    if (b.need[k0].Intersects(m1) && b.need[k1].Intersects(m0))
                        continue;
                    b.splits |= 1u << p;
                }
            }
        }
        for (int g = 0; g < kBlocks; ++g)
            for (const Mask& m : blocks_[static_cast<size_t>(g)].need)
                m.ForEach([&](int i) { waiting_[static_cast<size_t>(i)] |= 1ull << g; });
        for (const Block& b : blocks_)
            for (int k = 0; k < (b.n == 4 ? 6 : b.n == 2 ? 1 : 0); ++k) {
                if (!b.viable[static_cast<size_t>(k)])
                    continue;
                b.need[static_cast<size_t>(k)].ForEach([&](int i) {
                    neededBy_[static_cast<size_t>(i)].Set(b.t[static_cast<size_t>(kPairOf[k][0])]);
                    neededBy_[static_cast<size_t>(i)].Set(b.t[static_cast<size_t>(kPairOf[k][1])]);
                });
            }
    }

    bool Free(int i, const Mask& rem) const {
        const size_t k = static_cast<size_t>(i);
        return !above_[k].Intersects(rem) &&
               (!side_[0][k].Intersects(rem) || !side_[1][k].Intersects(rem));
    }

    Mask FreeSet(const Mask& rem) const {
        Mask f;
        rem.ForEach([&](int i) {
            if (Free(i, rem))
                f.Set(i);
        });
        return f;
    }

    // The positions (0..3) of a block's tiles in `rem`; answers how many there are.
    static int Left(const Block& b, const Mask& rem, int* at) {
        int n = 0;
        for (int q = 0; q < b.n && q < 4; ++q)
            if (rem.Test(b.t[static_cast<size_t>(q)]))
                at[n++] = q;
        return n;
    }

    // Takes the tiles of pair k of block b off `rem`, updating the free set.
    void TakePair(Mask& rem, Mask& fr, uint64_t& dirty, const Block& b, int k,
                  std::vector<int>* path) const {
        TakeTile(rem, fr, dirty, b.t[static_cast<size_t>(kPairOf[k][0])]);
        TakeTile(rem, fr, dirty, b.t[static_cast<size_t>(kPairOf[k][1])]);
        if (path) {
            path->push_back(b.t[static_cast<size_t>(kPairOf[k][0])]);
            path->push_back(b.t[static_cast<size_t>(kPairOf[k][1])]);
        }
    }

    // Takes one tile off: the tiles it held back may come free, and the blocks that waited for
    // it (or whose tiles came free) must be looked at again.
    void TakeTile(Mask& rem, Mask& fr, uint64_t& dirty, int i) const {
        const size_t k = static_cast<size_t>(i);
        rem.Reset(i);
        fr.Reset(i);
        dirty |= waiting_[k];
        for (int d = 0; d < dependentCount_[k]; ++d) {
            int j = dependents_[k][static_cast<size_t>(d)];
            if (rem.Test(j) && !fr.Test(j) && Free(j, rem)) {
                fr.Set(j);
                dirty |= 1ull << blockOf_[static_cast<size_t>(j)];
            }
        }
    }

    static uint64_t BlocksOf(const Mask& m, const std::array<int, kTileCount>& blockOf) {
        uint64_t d = 0;
        m.ForEach([&](int i) { d |= 1ull << blockOf[static_cast<size_t>(i)]; });
        return d;
    }

    // Removes every pair that is settled and free, until none is left, and every block whose
    // tiles are all free. Taking a settled pair off never hurts: those two tiles must leave
    // together in any case, and taking tiles off frees others, never the reverse. A block whose
    // tiles are all free can go whichever way it is split, before anything else.
    void Settle(State& s, Mask& fr) {
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

    // Lost when even a looser game cannot clear the board: in it a settled pair leaves when
    // both its tiles are free, and a tile of a block whose split is still open leaves alone,
    // when it is free and one of its possible partners is free or gone; every removal also
    // waits for the tiles it needs gone. Any real way to clear the board is a way to clear it
    // in the looser game too, and there taking tiles off never hurts, so removing whatever can
    // go until nothing more can tells the answer. `fr` is the free set of the position.
    bool Orderable(const State& s, Mask fr) const {
        Mask cur = s.rem;
        int now = 0;
        return Relax<false>(s, fr, cur, nullptr, now);
    }

    // The looser game from `cur` (the tiles of s still in it) and its free set `fr`, played
    // until nothing more can leave; `cur`, `fr` and `now` are left as the game ends. When timed,
    // it writes into `order` when each tile leaves and comes free, counting on from `now`; the
    // tiles already free keep the times `order` has for them (0 when `now` is 0). The tiles of
    // block `frozen` stay, so that the game can go on from there with each split of that block.
    template <bool kTimed>
    bool Relax(const State& s, Mask& fr, Mask& cur, Order* order, int& now, int frozen = -1) const {
        uint64_t dirty = BlocksOf(fr, blockOf_);
        // Blocks with a free tile: only they can move when a tile they wait for leaves; the
        // others are looked at when one of their tiles comes free.
        uint64_t freeBlocks = dirty;
        auto take = [&](int i, uint64_t&) {
            const size_t k = static_cast<size_t>(i);
            if constexpr (kTimed)
                order->out[k] = static_cast<uint8_t>(++now);
            cur.Reset(i);
            fr.Reset(i);
            dirty |= waiting_[k] & freeBlocks;
            for (int d = 0; d < dependentCount_[k]; ++d) {
                int j = dependents_[k][static_cast<size_t>(d)];
                if (cur.Test(j) && !fr.Test(j) && Free(j, cur)) {
                    fr.Set(j);
                    uint64_t bit = 1ull << blockOf_[static_cast<size_t>(j)];
                    dirty |= bit;
                    freeBlocks |= bit;
                    if constexpr (kTimed)
                        order->free[static_cast<size_t>(j)] = static_cast<uint8_t>(now);
                }
            }
        };
        if constexpr (kTimed)
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
            int at[4];
            int cnt = Left(b, s.rem, at);
            if (cnt == 0 || g == frozen)
                continue;
            auto tryPair = [&](int k) {
                int x = b.t[static_cast<size_t>(kPairOf[k][0])];
                int y = b.t[static_cast<size_t>(kPairOf[k][1])];
                if (fr.Test(x) && fr.Test(y) && !b.need[static_cast<size_t>(k)].Intersects(cur)) {
                    take(x, dirty);
                    take(y, dirty);
                }
            };
            unsigned al = s.Allowed(g);
            if (cnt == 2) {
                tryPair(b.n == 2 ? 0 : PairIndex(at[0], at[1]));
            } else if (SingleSplit(al)) {
                int p = std::countr_zero(al);
                tryPair(2 * p);
                tryPair(2 * p + 1);
            } else {
                bool again = true;
                while (again) {
                    again = false;
                    for (int q = 0; q < 4; ++q) {
                        int x = b.t[static_cast<size_t>(q)];
                        if (!fr.Test(x))
                            continue;
                        for (int p = 0; p < 3; ++p) {
                            if (!(al & (1u << p)))
                                continue;
                            int k =
                                2 * p + (kPairOf[2 * p][0] == q || kPairOf[2 * p][1] == q ? 0 : 1);
                            int y = b.t[static_cast<size_t>(kPairOf[k][0] == q ? kPairOf[k][1]
                                                                               : kPairOf[k][0])];
                            if ((!cur.Test(y) || fr.Test(y)) &&
                                !b.need[static_cast<size_t>(k)].Intersects(cur)) {
                                take(x, dirty);
                                again = true;
                                break;
                            }
                        }
                    }
                }
            }
        }
        return cur.Empty();
    }

    // For tile x (position q in block b, which allows the splits `al`, or only the pair left
    // when two tiles are): the latest step that an allowed pair of x must wait for in order o,
    // its partner coming free or what it needs leaving, over the pair that waits least; -1 when
    // x has no allowed pair whose partner and needs are all outside `late`.
    static int WaitOf(const Order& o, const Block& b, const State& s, unsigned al, int cnt,
                      const int* at, int q, const Mask& late) {
        int best = -1;
        for (int k = 0; k < 6; ++k) {
            if (kPairOf[k][0] != q && kPairOf[k][1] != q)
                continue;
            const int other = kPairOf[k][0] == q ? kPairOf[k][1] : kPairOf[k][0];
            if (cnt == 2 ? (other != at[0] && other != at[1]) : !(al & (1u << (k / 2))))
                continue;
            const int y = b.t[static_cast<size_t>(other)];
            const Mask need = b.need[static_cast<size_t>(k)] & s.rem;
            if (late.Test(y) || need.Intersects(late))
                continue;
            int m = s.rem.Test(y) ? o.free[static_cast<size_t>(y)] : 0;
            need.ForEach([&](int j) { m = std::max<int>(m, o.out[static_cast<size_t>(j)]); });
            if (best < 0 || m < best)
                best = m;
        }
        return best;
    }

    // Whether order o of the looser game, found for a position above s (or for s with other
    // splits), can be made an order of s with block g fixed to split p, when only the blocks in
    // `changed` (and g) allow fewer splits in s than in the game o was found in. A tile of those
    // blocks that left before an allowed pair of it could leave is put off until that pair can;
    // this is allowed when nothing that happened meanwhile needed the tile gone (no tile came
    // free that it holds back, no pair that needs it left). Then every other tile leaves as
    // before and comes free as before, and the order with the tiles put off is written to
    // `fixed` (which may be o itself). Tiles taken off since o was found only left earlier,
    // which never holds anything back.
    bool Repair(const Order& o, Order& fixed, const State& s, uint64_t changed, int g,
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
            for (int i = 0; i < cnt; ++i) {
                const int x = b.t[static_cast<size_t>(at[i])];
                const int w = WaitOf(o, b, s, al, cnt, at, at[i], Mask{});
                if (w >= 0 && w < o.out[static_cast<size_t>(x)])
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
        // Where each of them can go instead.
        for (int n = 0; n < nLate; ++n) {
            const int x = late[n];
            const size_t kx = static_cast<size_t>(x);
            const int h = blockOf_[kx];
            const Block& b = blocks_[static_cast<size_t>(h)];
            int at[4];
            const int cnt = Left(b, s.rem, at);
            int q = 0;
            while (b.t[static_cast<size_t>(q)] != x)
                ++q;
            const unsigned al = h == g ? 1u << p : s.Allowed(h);
            const int w = WaitOf(o, b, s, al, cnt, at, q, lateMask);
            if (w < 0 || w == kNever)
                return false;
            const int tx = o.out[kx];
            for (int d = 0; d < dependentCount_[kx]; ++d) {
                const size_t j = static_cast<size_t>(dependents_[kx][static_cast<size_t>(d)]);
                if (s.rem.Test(static_cast<int>(j)) && o.free[j] >= tx && o.free[j] <= w)
                    return false;
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
        // Number the steps again: a tile put off leaves just after step w.
        std::array<uint16_t, 2 * 256> count{};
        std::array<uint16_t, kTileCount> key{};
        s.rem.ForEach([&](int t) {
            key[static_cast<size_t>(t)] = static_cast<uint16_t>(2 * o.out[static_cast<size_t>(t)]);
        });
        for (int n = 0; n < nLate; ++n)
            key[static_cast<size_t>(late[n])] = static_cast<uint16_t>(2 * waits[n] + 1);
        s.rem.ForEach([&](int t) { ++count[key[static_cast<size_t>(t)]]; });
        for (size_t k = 1; k < count.size(); ++k)
            count[k] = static_cast<uint16_t>(count[k] + count[k - 1]);
        s.rem.ForEach([&](int t) {
            const size_t k = static_cast<size_t>(t);
            const uint8_t f = o.free[k];
            fixed.out[k] = static_cast<uint8_t>(count[key[k]]);
            fixed.free[k] = f == kNever ? kNever : static_cast<uint8_t>(count[2u * f]);
        });
        return true;
    }

    // Drops the splits of open blocks that the looser game already shows to be lost. Answers -1
    // when some block has no split left, 1 when a split was dropped, 0 when none was. `from`
    // holds orders found at the position above (or at this one, in an earlier pass; then it is
    // `into`), `into` receives the orders of the splits kept here.
    int Narrow(State& s, const Mask& fr, const OrderCache* from, OrderCache& into) const {
        // One looser game with every open split allowed gives an order of removals; a split
        // that this order already respects needs no game of its own, nor one whose order from
        // above still holds here. Only the blocks whose splits have changed since can break it:
        // tiles taken off since then only left earlier, which never holds anything back.
        Order& base = orders_[0];
        {
            Mask f = fr, cur = s.rem;
            int now = 0;
            if (!Relax<true>(s, f, cur, &base, now))
                return -1;
        }
        uint64_t changed = 0;
        if (from)
            for (int h = 0; h < kBlocks; ++h) {
                unsigned was = from->base.Allowed(h);
                if (!SingleSplit(was) && was != 0 && s.Allowed(h) != was)
                    changed |= 1ull << h;
            }
        std::array<uint64_t, 2> has{};
        State narrowed = s;
        int result = 0;
        for (int g = 0; g < kBlocks; ++g) {
            unsigned al = s.Allowed(g);
            if (al == 0 || SingleSplit(al))
                continue;
            const Block& b = blocks_[static_cast<size_t>(g)];
            unsigned keep = al;
            bool prefixReady = false;
            Mask cur0, fr0, frozenCur, frozenFr;
            int frozenNow = 0;
            Order& frozen = orders_[1];
            int first = 1 << 30;
            for (int p = 0; p < 3; ++p) {
                if (!(al & (1u << p)))
                    continue;
                const int slot = 3 * g + p;
                Order& o = into.orders[static_cast<size_t>(slot)];
                bool holds = from && from->Has(slot) &&
                             Repair(from->orders[static_cast<size_t>(slot)], o, s,
                                    changed & ~(1ull << g), g, p);
                if (!holds)
                    holds = Repair(base, o, s, 0, g, p);
                if (!holds) {
                    // Up to the first tile of this block, the first order is one of the split's
                    // game too: start from there.
                    if (!prefixReady) {
                        for (int q = 0; q < 4; ++q)
                            first = std::min<int>(
                                first, base.out[static_cast<size_t>(b.t[static_cast<size_t>(q)])]);
                        cur0 = s.rem;
                        fr0 = Mask{};
                        s.rem.ForEach([&](int i) {
                            if (base.out[static_cast<size_t>(i)] < first)
                                cur0.Reset(i);
                            else if (base.free[static_cast<size_t>(i)] < first)
                                fr0.Set(i);
                        });
                        // Then everything that can leave while this block waits: that part is
                        // the same whichever way the block is split.
                        frozenCur = cur0;
                        frozenFr = fr0;
                        frozenNow = first - 1;
                        frozen = base;
                        Relax<true>(s, frozenFr, frozenCur, &frozen, frozenNow, g);
                        prefixReady = true;
                    }
                    State t = s;
                    t.SetAllowed(g, 1u << p);
                    Mask f = frozenFr, cur = frozenCur;
                    int now = frozenNow;
                    o = frozen;
                    holds = Relax<true>(t, f, cur, &o, now);
                }
                if (holds)
                    has[static_cast<size_t>(slot >> 6)] |= 1ull << (slot & 63);
                else
                    keep &= ~(1u << p);
            }
            if (keep != al)
                conflicts_[static_cast<size_t>(g)] += keep == 0 ? 8 : 1;
            if (keep == 0)
                return -1;
            if (keep != al) {
                // Dropped once the pass is over: the orders above may rely on this split.
                narrowed.SetAllowed(g, keep);
                result = 1;
            }
        }
        into.base = s;
        into.has = has;
        s = narrowed;
        return result;
    }

    // How many tiles taking x and y off would free at once.
    int NewlyFree(const Mask& rem, const Mask& fr, int x, int y) const {
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

    // How many tiles on the board pair k of block b must wait for.
    static int Waiting(const Mask& rem, const Block& b, int k) {
        int n = 0;
        (b.need[static_cast<size_t>(k)] & rem).ForEach([&](int) { ++n; });
        return n;
    }

    bool OutOfBudget() {
        if (limits_.maxNodes != 0 && nodes_ > limits_.maxNodes)
            return true;
        if ((nodes_ & 1023) != 1) // the clock and the flag: at the first node, then now and then
            return false;
        if (limits_.cancel && limits_.cancel->load(std::memory_order_relaxed)) {
            cancelled_ = true;
            return true;
        }
        if (limits_.clock && limits_.maxMs > 0 &&
            limits_.clock->TickMs() - startMs_ >= limits_.maxMs)
            return true;
        return false;
    }

    // The open block with the fewest splits still allowed (two or three), and among those the one
    // that narrowing has most often found in conflict so far, then the one whose tiles wait for
    // the most tiles on the board; -1 when every block is settled.
    int PickBlock(const State& s) const {
        int best = -1, bestCnt = 4, bestScore = -1;
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
            score += static_cast<int>(conflicts_[static_cast<size_t>(g)]) * 1024;
            if (cnt < bestCnt || (cnt == bestCnt && score > bestScore)) {
                best = g;
                bestCnt = cnt;
                bestScore = score;
            }
        }
        return best;
    }

    // The split of block g to try first: the one that the looser game's order at this position
    // follows best (the fewest tiles of the block that left before their pair could), then the
    // one whose pairs wait for the fewest tiles. The order is the one narrowing found last here.
    int FirstSplitToTry(const State& s, int g) const {
        const Block& b = blocks_[static_cast<size_t>(g)];
        const Order& o = orders_[0];
        unsigned al = s.Allowed(g);
        int at[4];
        int cnt = Left(b, s.rem, at);
        int best = -1, bestScore = 0;
        for (int p = 0; p < 3; ++p) {
            if (!(al & (1u << p)))
                continue;
            int late = 0;
            for (int i = 0; i < cnt; ++i) {
                int w = WaitOf(o, b, s, 1u << p, cnt, at, at[i], Mask{});
                if (w < 0 || w >= o.out[static_cast<size_t>(b.t[static_cast<size_t>(at[i])])])
                    ++late;
            }
            int score = 1024 * late + Waiting(s.rem, b, 2 * p) + Waiting(s.rem, b, 2 * p + 1);
            if (best < 0 || score < bestScore) {
                best = p;
                bestScore = score;
            }
        }
        return best;
    }

    bool Dfs(State s, Mask fr) {
        ++nodes_;
        if (stop_ || restart_ || (stop_ = OutOfBudget()))
            return false;
        if (nodes_ > phaseEnd_) {
            restart_ = true;
            return false;
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
        // The position as first settled, before narrowing drops splits: remembered when lost,
        // as it allows the most and so tells the most.
        State settled;
        bool haveSettled = false;
        auto lose = [&](bool remember) {
            if (remember && !stop_ && !restart_)
                lost_.Insert(haveSettled ? settled : s);
            path_.resize(mark);
            return false;
        };
        int passes = 0;
        for (;;) {
            Settle(s, fr);
            if (s.rem.Empty())
                return true;
            if (lost_.Contains(s))
                return lose(false);
            if (!haveSettled) {
                settled = s;
                haveSettled = true;
            }
            if (nodes_ < limits_.hardAfter && !Orderable(s, fr))
                return lose(true);
            // Narrowing every open block costs a looser game per split: worth it only once the
            // position has shown itself hard.
            if (nodes_ < limits_.hardAfter)
                break;
            OrderCache& cache = cacheHere();
            int r = Narrow(s, fr, passes == 0 ? cacheAbove() : &cache, cache);
            if (r < 0)
                return lose(true);
            if (r == 0)
                break;
            // A dropped split makes the looser game stricter for the other blocks: narrow again
            // until nothing more drops. The orders just found mostly still hold, so a pass after
            // the first plays few games of its own.
            ++passes;
        }
        // On a hard position, decide the split of the most constrained open block first, free or
        // not: a fixed split makes the looser game much stricter, so a deal that cannot be
        // cleared shows it after a few choices instead of after every order of the easy blocks.
        if (byBlock_ && nodes_ >= limits_.hardAfter) {
            int g = PickBlock(s);
            if (g >= 0) {
                unsigned al = s.Allowed(g);
                int p = FirstSplitToTry(s, g);
                State child = s;
                child.SetAllowed(g, 1u << p);
                if (Dfs(child, fr))
                    return true;
                if (stop_ || restart_)
                    return lose(false);
                child = s;
                child.SetAllowed(g, al & ~(1u << p));
                if (Dfs(child, fr))
                    return true;
                return lose(true);
            }
        }
        // Choose the open block and split to try: one that takes a free pair off now, freeing
        // the most tiles, then taking off the tiles that hold the most others back, and leaving
        // the block's other pair waiting on the fewest tiles.
        int bestG = -1, bestP = -1, bestScore = -1;
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
        unsigned al = s.Allowed(bestG);
        State child = s;
        child.SetAllowed(bestG, 1u << bestP);
        if (Dfs(child, fr))
            return true;
        if (stop_ || restart_)
            return lose(false);
        child = s;
        child.SetAllowed(bestG, al & ~(1u << bestP));
        if (Dfs(child, fr))
            return true;
        return lose(true);
    }

    SolveLimits limits_;
    int n_ = 0;
    std::array<int, kTileCount + 1> index_{};
    std::array<int, kTileCount> tiles_{};
    std::array<Cell, kTileCount> cells_{};
    std::array<Mask, kTileCount> above_{}, aboveAll_{};
    std::array<Mask, kTileCount> side_[2]{};
    std::array<Mask, kTileCount> need_[2]{};
    std::array<int, kTileCount> weight_{};
    std::array<Block, kBlocks> blocks_{};
    std::array<int, kTileCount> blockOf_{};
    // The tiles whose freedom a tile's leaving may change (those it lies on, and those it
    // flanks), and the blocks with a pair that needs it gone.
    std::array<std::array<int, 16>, kTileCount> dependents_{};
    std::array<int, kTileCount> dependentCount_{};
    std::array<uint64_t, kTileCount> waiting_{};
    // The tiles with a pair that needs a tile gone, by that tile.
    std::array<Mask, kTileCount> neededBy_{};
    LostTable lost_;
    // How often narrowing dropped a split of each block (eight times more when it dropped all).
    mutable std::array<unsigned, kBlocks> conflicts_{};
    // The order of the looser game with every open split allowed, at the current position.
    // and the order of the game in which one block waits.
    mutable std::array<Order, 2> orders_{};
    // Orders found by narrowing, one set for each position on the current line of the search
    // (by depth; the root is at 0).
    std::vector<std::unique_ptr<OrderCache>> caches_;
    size_t depth_ = 0;
    std::vector<int> path_;
    uint64_t nodes_ = 0;
    uint32_t startMs_ = 0;
    bool stop_ = false;
    bool restart_ = false;
    bool byBlock_ = false;
    uint64_t phaseEnd_ = 0;
    bool cancelled_ = false;
};

} // namespace

SolveResult SolvePosition(const Board& board, FreeRule rule, const SolveLimits& limits) {
    Search s(board, rule, limits);
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
