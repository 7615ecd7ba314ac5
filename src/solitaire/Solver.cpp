#include "solitaire/Solver.h"

#include <algorithm>
#include <array>
#include <unordered_set>

namespace tovani {

namespace {

// A set of tiles on the board, by their index in the solver's own numbering (0..143).
struct Mask {
    std::array<uint64_t, 3> w{};

    void Set(int i) { w[static_cast<size_t>(i >> 6)] |= 1ull << (i & 63); }
    void Reset(int i) { w[static_cast<size_t>(i >> 6)] &= ~(1ull << (i & 63)); }
    bool Test(int i) const { return (w[static_cast<size_t>(i >> 6)] >> (i & 63)) & 1ull; }
    bool Intersects(const Mask& o) const {
        return (w[0] & o.w[0]) | (w[1] & o.w[1]) | (w[2] & o.w[2]);
    }
    bool Empty() const { return (w[0] | w[1] | w[2]) == 0; }
    friend bool operator==(const Mask&, const Mask&) = default;
};

struct MaskHash {
    size_t operator()(const Mask& m) const {
        uint64_t h = m.w[0] * 0x9E3779B97F4A7C15ull;
        h ^= (m.w[1] + 0x632BE59BD9B4E019ull) * 0xC2B2AE3D27D4EB4Full;
        h ^= (m.w[2] + 0x94D049BB133111EBull) * 0x165667B19E3779F9ull;
        return static_cast<size_t>(h ^ (h >> 29));
    }
};

class Search {
public:
    Search(const Board& board, FreeRule rule, const SolveLimits& limits) : limits_(limits) {
        for (int t = 1; t <= kTileCount; ++t) {
            if (board.Position(t).OnBoard()) {
                index_[static_cast<size_t>(t)] = static_cast<int>(tiles_.size());
                tiles_.push_back(t);
            }
        }
        const int n = static_cast<int>(tiles_.size());
        above_.resize(static_cast<size_t>(n));
        sideA_.resize(static_cast<size_t>(n));
        sideB_.resize(static_cast<size_t>(n));
        under_.resize(static_cast<size_t>(n));
        weight_.assign(static_cast<size_t>(n), 0);
        auto tileIn = [&](int c, int r, int l) {
            int v = board.TileAt(Cell{c, r, l});
            return v != 0 && board.Position(v).OnBoard() ? index_[static_cast<size_t>(v)] : -1;
        };
        for (int i = 0; i < n; ++i) {
            Cell p = board.Position(tiles_[static_cast<size_t>(i)]);
            if (p.layer < kLayoutLayers)
                for (int c = p.column - 1; c <= p.column + 1; ++c)
                    for (int r = p.row - 1; r <= p.row + 1; ++r)
                        if (int j = tileIn(c, r, p.layer + 1); j >= 0)
                            above_[static_cast<size_t>(i)].Set(j);
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
                    sideA_[static_cast<size_t>(i)].Set(a);
                if (b >= 0)
                    sideB_[static_cast<size_t>(i)].Set(b);
            }
        }
        // under_[i]: every tile that must leave before tile i can: those lying on it, directly
        // or through others. Layers only go up, so one pass from the top layer down suffices.
        std::vector<int> order(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i)
            order[static_cast<size_t>(i)] = i;
        std::sort(order.begin(), order.end(), [&](int x, int y) {
            return board.Position(tiles_[static_cast<size_t>(x)]).layer >
                   board.Position(tiles_[static_cast<size_t>(y)]).layer;
        });
        for (int i : order) {
            Mask m = above_[static_cast<size_t>(i)];
            for (int j = 0; j < n; ++j)
                if (above_[static_cast<size_t>(i)].Test(j))
                    for (size_t k = 0; k < 3; ++k)
                        m.w[k] |= under_[static_cast<size_t>(j)].w[k];
            under_[static_cast<size_t>(i)] = m;
        }
        // A tile that holds many others back is worth clearing early.
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j)
                if (under_[static_cast<size_t>(j)].Test(i) ||
                    sideA_[static_cast<size_t>(j)].Test(i) ||
                    sideB_[static_cast<size_t>(j)].Test(i))
                    weight_[static_cast<size_t>(i)] +=
                        under_[static_cast<size_t>(j)].Test(i) ? 3 : 1;
        for (int i = 0; i < n; ++i) {
            remaining_.Set(i);
            groups_[static_cast<size_t>((tiles_[static_cast<size_t>(i)] - 1) / 4)].push_back(i);
        }
    }

    SolveResult Run() {
        SolveResult res;
        if (tiles_.size() % 2 != 0 || !GroupsEven()) {
            res.verdict = SolveVerdict::Unwinnable;
            return res;
        }
        std::vector<int> path;
        bool won = Dfs(remaining_, path);
        res.nodes = nodes_;
        if (won) {
            res.verdict = SolveVerdict::Winnable;
            for (int i : path)
                res.removal.push_back(tiles_[static_cast<size_t>(i)]);
        } else {
            res.verdict = exhausted_ ? SolveVerdict::Unknown : SolveVerdict::Unwinnable;
        }
        return res;
    }

private:
    bool GroupsEven() const {
        for (const auto& g : groups_)
            if (g.size() % 2 != 0)
                return false;
        return true;
    }

    bool Free(int i, const Mask& rem) const {
        const size_t k = static_cast<size_t>(i);
        return !above_[k].Intersects(rem) &&
               (!sideA_[k].Intersects(rem) || !sideB_[k].Intersects(rem));
    }

    // Two tiles can form a pair only when neither must leave before the other.
    bool CanPair(int a, int b) const {
        return !under_[static_cast<size_t>(a)].Test(b) && !under_[static_cast<size_t>(b)].Test(a);
    }

    // Some block left on the board can no longer be split into pairs.
    bool DeadBlock(const Mask& rem) const {
        for (const auto& g : groups_) {
            int left[4];
            int n = 0;
            for (int i : g)
                if (rem.Test(i))
                    left[n++] = i;
            if (n == 2) {
                if (!CanPair(left[0], left[1]))
                    return true;
            } else if (n == 4) {
                bool p1 = CanPair(left[0], left[1]) && CanPair(left[2], left[3]);
                bool p2 = CanPair(left[0], left[2]) && CanPair(left[1], left[3]);
                bool p3 = CanPair(left[0], left[3]) && CanPair(left[1], left[2]);
                if (!p1 && !p2 && !p3)
                    return true;
            }
        }
        return false;
    }

    // Plays the moves that can never hurt, until none is left.
    void SafeMoves(Mask& rem, std::vector<int>& path) const {
        bool again = true;
        while (again) {
            again = false;
            for (const auto& g : groups_) {
                int left[4];
                int n = 0, free = 0;
                for (int i : g) {
                    if (rem.Test(i)) {
                        left[n++] = i;
                        free += Free(i, rem) ? 1 : 0;
                    }
                }
                if (n > 0 && free == n) {
                    for (int k = 0; k < n; ++k) {
                        rem.Reset(left[k]);
                        path.push_back(left[k]);
                    }
                    again = true;
                }
            }
        }
    }

    bool Dfs(Mask rem, std::vector<int>& path) {
        if (exhausted_)
            return false;
        if (++nodes_ > limits_.maxNodes) {
            exhausted_ = true;
            return false;
        }
        size_t mark = path.size();
        SafeMoves(rem, path);
        if (rem.Empty())
            return true;
        if (DeadBlock(rem) || lost_.count(rem)) {
            path.resize(mark);
            return false;
        }
        struct Move {
            int a, b, score;
        };
        std::vector<Move> moves;
        for (const auto& g : groups_) {
            int fr[4];
            int n = 0;
            for (int i : g)
                if (rem.Test(i) && Free(i, rem))
                    fr[n++] = i;
            for (int x = 0; x < n; ++x)
                for (int y = x + 1; y < n; ++y)
                    moves.push_back(Move{fr[x], fr[y],
                                         weight_[static_cast<size_t>(fr[x])] +
                                             weight_[static_cast<size_t>(fr[y])]});
        }
        std::stable_sort(moves.begin(), moves.end(),
                         [](const Move& x, const Move& y) { return x.score > y.score; });
        for (const Move& m : moves) {
            Mask next = rem;
            next.Reset(m.a);
            next.Reset(m.b);
            path.push_back(m.a);
            path.push_back(m.b);
            if (Dfs(next, path))
                return true;
            path.resize(path.size() - 2);
            if (exhausted_)
                break;
        }
        if (!exhausted_ && lost_.size() < limits_.maxRemembered)
            lost_.insert(rem);
        path.resize(mark);
        return false;
    }

    SolveLimits limits_;
    std::vector<int> tiles_;
    std::array<int, kTileCount + 1> index_{};
    std::vector<Mask> above_, sideA_, sideB_, under_;
    std::vector<int> weight_;
    std::array<std::vector<int>, kTileCount / 4> groups_;
    Mask remaining_;
    std::unordered_set<Mask, MaskHash> lost_;
    uint64_t nodes_ = 0;
    bool exhausted_ = false;
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
