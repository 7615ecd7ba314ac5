// The solver's search, shared by the files that make it up (Solver.cpp: the search itself;
// SolverSetup.cpp: what the board says about each tile and block; SolverNarrow.cpp: the looser
// game and the narrowing of splits). Only the solver includes this file.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "solitaire/Solver.h"

namespace tovani::solver {

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

    bool Contains(const State& s) const { return Find(s) != nullptr; }

    // The entry that shows s lost, if any.
    const State* Find(const State& s) const {
        if (slots_.empty())
            return nullptr;
        size_t i = Hash(s);
        for (size_t k = 0; k < kProbes; ++k) {
            const State& e = slots_[(i + k) & (slots_.size() - 1)];
            if (e.rem.Empty())
                return nullptr;
            if (e.rem == s.rem && Within(s, e))
                return &e;
        }
        return nullptr;
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

// How the looser game plays each block in a position: `pair` is the pair (kPairOf) left when
// two tiles of the block are, -1 otherwise; `allowed` the splits allowed when all four are; a
// block with no tile left (or held back) has neither.
struct BlockPlay {
    int8_t pair = -1;
    uint8_t allowed = 0;
};
using Plays = std::array<BlockPlay, kBlocks>;

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
    // For the tile at position q and split p: the pair (kPairOf) it belongs to, and its partner
    // in that pair (a solver index).
    std::array<std::array<int8_t, 3>, 4> pairIn{};
    std::array<std::array<int, 3>, 4> partnerIn{};
};
// The tiles on a board as both searches see them, numbered 0..n-1 in the order of their tile
// numbers, and what lies around each: the tiles directly on it (the layer above), its neighbours
// on the two sides the free rule looks at (left and right, or top and bottom), everything lying
// on it directly or through others, and, for each side it may leave by, what must leave before
// it: what lies on it and the whole chain of neighbours on that side with what lies on them (a
// neighbour on the side toward the tile can only leave by its far side while the tile is there).
struct Geometry {
    Geometry(const Board& board, FreeRule rule);

    int n = 0;
    std::array<int, kTileCount + 1> index{}; // tile number -> 0..n-1, or -1 when not on the board
    std::array<int, kTileCount> tiles{};
    std::array<Cell, kTileCount> cells{};
    std::array<Mask, kTileCount> above{}, aboveAll{};
    std::array<Mask, kTileCount> side[2]{};
    std::array<Mask, kTileCount> need[2]{};
};

class Search {
public:
    Search(const Board& board, FreeRule rule, const SolveLimits& limits);

    SolveResult Run();

    // Hooks for a search run beside this one (SolverQuick.cpp): called with the positions
    // searched so far, to which it adds its own; true stops this search ("unknown").
    // `betweenRounds` is called between rounds; `early` once, in the first round, when this
    // search has searched `earlyAt` positions of its own (its count of positions for the
    // reasoning meant for hard positions leaves out those of the other search).
    std::function<bool(uint64_t& nodes)> betweenRounds;
    std::function<bool(uint64_t& nodes)> early;
    uint64_t earlyAt = 0;

private:
    // What must leave before a tile can (the board's geometry), closed over what those tiles
    // need whichever side they leave by; and how many tiles each one holds back.
    void BuildNeeds();

    void BuildBlocks();

    bool Free(int i, const Mask& rem) const {
        const size_t k = static_cast<size_t>(i);
        if (above_[k].Intersects(rem))
            return false;
        const bool left = side_[0][k].Intersects(rem), right = side_[1][k].Intersects(rem);
        return !(left && right);
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
        const int tiles = std::min(b.n, 4);
        for (int q = 0; q < tiles; ++q) {
            at[n] = q; // kept when the tile is left
            n += rem.Test(b.t[static_cast<size_t>(q)]) ? 1 : 0;
        }
        return n;
    }

    // Calls f(j) for every tile that x held back and that comes free now that x has left `rem`
    // (and is in `rem` but not yet in `fr`).
    template <typename F> void ComeFree(int x, const Mask& rem, const Mask& fr, F f) const {
        const Mask& d = dependentSet_[static_cast<size_t>(x)];
        for (unsigned words = dependentWords_[static_cast<size_t>(x)]; words != 0;
             words &= words - 1) {
            const size_t w = static_cast<size_t>(std::countr_zero(words));
            for (uint64_t b = d.w[w] & rem.w[w] & ~fr.w[w]; b != 0; b &= b - 1) {
                const int j = static_cast<int>(w * 64) + std::countr_zero(b);
                if (Free(j, rem))
                    f(j);
            }
        }
    }

    // Takes the tiles of pair k of block b off `rem`, updating the free set.
    void TakePair(Mask& rem, Mask& fr, uint64_t& dirty, const Block& b, int k,
                  std::vector<int>* path) const;

    // Takes one tile off: the tiles it held back may come free, and the blocks that waited for
    // it (or whose tiles came free) must be looked at again.
    void TakeTile(Mask& rem, Mask& fr, uint64_t& dirty, int i) const;

    static uint64_t BlocksOf(const Mask& m, const std::array<int, kTileCount>& blockOf) {
        uint64_t d = 0;
        m.ForEach([&](int i) { d |= 1ull << blockOf[static_cast<size_t>(i)]; });
        return d;
    }

    // Removes every pair that is settled and free, until none is left, and every block whose
    // tiles are all free. Taking a settled pair off never hurts: those two tiles must leave
    // together in any case, and taking tiles off frees others, never the reverse. A block whose
    // tiles are all free can go whichever way it is split, before anything else.
    void Settle(State& s, Mask& fr);

    // Lost when even a looser game cannot clear the board: in it a settled pair leaves when
    // both its tiles are free, and a tile of a block whose split is still open leaves alone,
    // when it is free and one of its possible partners is free or gone; every removal also
    // waits for the tiles it needs gone. Any real way to clear the board is a way to clear it
    // in the looser game too, and there taking tiles off never hurts, so removing whatever can
    // go until nothing more can tells the answer. `fr` is the free set of the position.
    bool Orderable(const State& s, Mask fr) const;

    // The looser game of a position s from `cur` (the tiles of s still in it) and its free set
    // `fr`, played until nothing more can leave; `plays` says how each block of s is played
    // (PlaysOf, worked out once for all the games of a position). `cur`, `fr` and `now` are left
    // as the game ends. When timed, it writes into `order` when each tile leaves and comes free,
    // counting on from `now`; the tiles already free keep the times `order` has for them (0 when
    // `now` is 0). A block given no play keeps its tiles, so that the game can go on from there
    // with each split of that block.
    //
    // `finish`, when given, is the order of a game that cleared the whole position with the same
    // plays except for block `finish->block`: once that block's tiles are all gone, the rest
    // leaves as it did there (every step of it still can, as the tiles left now are among those
    // left there at the same point), so the game ends by following that order instead of
    // searching for moves.
    struct Finish {
        int block = -1;
        const std::array<uint8_t, kTileCount>* seq = nullptr; // tiles by the step they leave
        int steps = 0;
        int from = 0; // the steps before it took off tiles that are gone already
        // When not 0: the game goes on from one that stopped where only these blocks could
        // move, and `order` already marks the tiles that are not free as never free.
        uint64_t moving = 0;
    };
    template <bool kTimed>
    bool Relax(const Plays& plays, Mask& fr, Mask& cur, Order* order, int& now,
               const Finish* finish = nullptr) const;
    // The looser game with block `wait` held back, from the position that `order` reached just
    // before step `from` (0-based) of `seq`, the steps of an order that cleared the position
    // with `wait` open: the tiles leave in that order where they still can, those that cannot
    // yet wait, and the game then goes on from there for the blocks that waited. It ends where
    // the same game played from the start would end (taking tiles off never hurts in it), at a
    // cost near one look at each tile instead of a search over the blocks. `pairOf` tells for
    // each tile the pair (kPairOf) it leaves in under `plays`, kOpen when its block's split is
    // open and kHeld when the block has no play (TilePairs).
    static constexpr int8_t kOpen = -1, kHeld = -2;
    void Replay(const Plays& plays, const std::array<int8_t, kTileCount>& pairOf,
                const std::array<uint8_t, kTileCount>& seq, int from, int steps, int wait, Mask& fr,
                Mask& cur, Order& order, int& now) const;
    // The pair each tile of `rem` leaves in under `plays`, as Replay takes it.
    std::array<int8_t, kTileCount> TilePairs(const Plays& plays, const Mask& rem) const;
    // Ends a game by `finish`: the tiles still in it leave in the order they did there, and
    // come free when what holds them back has left.
    void FinishAsBefore(const Finish& finish, Mask& fr, Mask& cur, Order& order, int& now) const;

    // How each block of s is played in the looser game.
    Plays PlaysOf(const State& s) const;

    // For tile x (position q in block b, which allows the splits `al`, or only the pair left
    // when two tiles are): the latest step that an allowed pair of x must wait for in order o,
    // its partner coming free or what it needs leaving, over the pair that waits least; -1 when
    // x has no allowed pair whose partner and needs are all outside `late`.
    static int WaitOf(const Order& o, const Block& b, const State& s, unsigned al, int cnt,
                      const int* at, int q, const Mask& late);

    // Whether, in order o, tile x (as for WaitOf) has an allowed pair whose partner came free
    // and whose needs left before `step`: the same as WaitOf with nothing late being at least
    // 0 and less than `step`, without looking further than needed.
    static bool OnTime(const Order& o, const Block& b, const State& s, unsigned al, int cnt,
                       const int* at, int q, int step);

    // Whether order o of the looser game, found for a position above s (or for s with other
    // splits), can be made an order of s with block g fixed to split p, when only the blocks in
    // `changed` (and g) allow fewer splits in s than in the game o was found in. A tile of those
    // blocks that left before an allowed pair of it could leave is put off until that pair can;
    // this is allowed when nothing that happened meanwhile needed the tile gone (no tile came
    // free that it holds back, no pair that needs it left). Then every other tile leaves as
    // before and comes free as before, and the order with the tiles put off is written to
    // `fixed` (which may be o itself). Tiles taken off since o was found only left earlier,
    // which never holds anything back.
    bool Repair(const Order& o, Order& fixed, const State& s, uint64_t changed, int g, int p) const;

    // Drops the splits of open blocks that the looser game already shows to be lost, block
    // after block, each drop at once (so that the games of the blocks after it are stricter),
    // recording each in `drops_`. Answers -1 when some block has no split left or the looser
    // game of the whole position fails, 1 when a split was dropped, 0 when none was. `from`
    // holds orders found at the position above (or at this one, in an earlier pass; then it is
    // `into`), `into` receives the orders of the splits kept here, as orders of s as it came.
    int Narrow(State& s, const Mask& fr, const OrderCache* from, OrderCache& into) const;

    // How many tiles taking x and y off would free at once.
    int NewlyFree(const Mask& rem, const Mask& fr, int x, int y) const;

    // How many tiles on the board pair k of block b must wait for.
    static int Waiting(const Mask& rem, const Block& b, int k) {
        int n = 0;
        (b.need[static_cast<size_t>(k)] & rem).ForEach([&](int) { ++n; });
        return n;
    }

    bool OutOfBudget();

    // The open block that narrowing has most often found in conflict so far (its conflicts
    // counting twice when it has two splits left rather than three), then the one whose tiles
    // wait for the most tiles on the board; -1 when every block is settled.
    int PickBlock(const State& s) const;

    // How many tiles of block g left, in the order of the looser game that narrowing found last
    // at this position, before their pair in split p could.
    int LateTiles(const State& s, int g, int p) const;

    // The split of block g to try first: the one that the looser game's order at this position
    // follows best (the fewest late tiles), then the one whose pairs wait for the fewest tiles.
    int FirstSplitToTry(const State& s, int g) const;

    // Searches position s; when lost, `why_` is a lost position with the same tiles that
    // allows every split s allows, and often more: the choices the loss did not depend on are
    // given back.
    bool Dfs(State s, Mask fr);

    // Whether a tile of block b could leave the looser game stopped at (cur, fr), were the
    // block allowed every split it can have.
    bool CouldMove(int b, const Mask& cur, const Mask& fr) const;

    // A position s just shown lost by the looser game (its games stopped where `stuck_` says):
    // gives back s with every split allowed again for the blocks that could not have moved in
    // any of those games even so. The same games then stop at the same places, so the position
    // given back is lost too, and it forgets the choices the loss did not depend on.
    State Generalise(const State& s) const;

    // The looser games that stopped where `stuckCur_` and `stuckFr_` say, played with `plays`
    // (one each): widens, one after the other, the blocks in `candidates` for which every game,
    // carried on from where it stopped with that block widened as well, still stops before
    // the board is clear, and answers the blocks it could not widen. Those games then fail for
    // any splits of the blocks widened, so the loss depended only on the others.
    uint64_t Needed(std::array<Plays, 3>& plays, int games, uint64_t candidates) const;

    // A drop of narrowing (one block's splits) or a pass of settling: the position before it
    // and, for a drop, the blocks its games depended on.
    struct Pass {
        State before;
        uint64_t used = 0;
        bool settle = false;
    };
    // A lost position e that covers `after`, the position a pass turned `pass.before` into
    // (with the same tiles): gives back one that covers `pass.before` too. A split the pass
    // dropped is allowed again, which holds as long as the blocks that split's game depended
    // on allow no more than they did before the pass.
    static State Lift(State e, const Pass& pass);

    // A lost position e that covers the position settling made of `before`: gives back one
    // that covers `before`. The blocks settling took tiles of allow what they allowed before
    // (one split, or any split when all four tiles were free), so that settling takes the same
    // tiles off again in every position it covers.
    State Unsettle(State e, const State& before) const;

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
    // The same tiles as a set, for the games that test them a word at a time; and where each
    // tile stands in its block (0..3).
    std::array<Mask, kTileCount> dependentSet_{};
    std::array<uint8_t, kTileCount> dependentWords_{}; // the words of dependentSet_ not empty
    std::array<int, kTileCount> place_{};
    // What lies on each tile and its neighbours on either side, as short lists (a tile's part
    // of above_ and side_).
    struct Around {
        uint8_t count[3]{}; // on it, side 0, side 1
        std::array<uint8_t, 9> on{};
        std::array<uint8_t, 3> side[2]{};
    };
    std::array<Around, kTileCount> around_{};
    std::array<uint64_t, kTileCount> waiting_{};
    // The tiles with a pair that needs a tile gone, by that tile.
    std::array<Mask, kTileCount> neededBy_{};
    LostTable lost_;
    // How often narrowing dropped a split of each block (eight times more when it dropped all).
    mutable std::array<unsigned, kBlocks> conflicts_{};
    // The order of the looser game with every open split allowed at the position being narrowed,
    // and the order of the game in which one block waits.
    mutable std::array<Order, 2> orders_{};
    // Orders found by narrowing, one set for each position on the current line of the search
    // (by depth; the root is at 0).
    std::vector<std::unique_ptr<OrderCache>> caches_;
    // Where the looser games that showed the last position lost stopped (the tiles left and
    // the free ones): the game of the whole position, or those of each split of `stuckBlock_`.
    mutable std::array<Mask, 3> stuckCur_{}, stuckFr_{};
    mutable int stuckCount_ = 0;
    mutable int stuckBlock_ = -1;
    // The splits narrowing dropped, one after the other: the position before each drop and the
    // blocks whose restriction the games that dropped it may have needed (those that could
    // have moved where one of them stopped).
    mutable std::vector<Pass> drops_;
    State why_;
    size_t depth_ = 0;
    std::vector<int> path_;
    uint64_t nodes_ = 0;
    uint64_t beside_ = 0; // of nodes_, the positions the search beside this one added early
    uint64_t OwnNodes() const { return nodes_ - beside_; }
    uint32_t startMs_ = 0;
    bool stop_ = false;
    bool restart_ = false;
    bool byBlock_ = false;
    uint64_t phaseEnd_ = 0;
    bool cancelled_ = false;
};

} // namespace tovani::solver
