// What the board says to the solver: the tiles around each tile, what must leave before each
// tile and each pair can, and the splits each block can ever be played in.
#include "solitaire/SolverSearch.h"

namespace tovani::solver {

Geometry::Geometry(const Board& board, FreeRule rule) {
    index.fill(-1);
    for (int t = 1; t <= kTileCount; ++t) {
        Cell p = board.Position(t);
        if (p.OnBoard() && board.At(p) == t) {
            index[static_cast<size_t>(t)] = n;
            tiles[static_cast<size_t>(n)] = t;
            cells[static_cast<size_t>(n)] = p;
            ++n;
        }
    }
    auto tileIn = [&](int c, int r, int l) {
        int v = board.TileAt(Cell{c, r, l});
        return v != 0 ? index[static_cast<size_t>(v)] : -1;
    };
    for (int i = 0; i < n; ++i) {
        const Cell& p = cells[static_cast<size_t>(i)];
        const size_t k = static_cast<size_t>(i);
        if (p.layer < kLayoutLayers)
            for (int c = p.column - 1; c <= p.column + 1; ++c)
                for (int r = p.row - 1; r <= p.row + 1; ++r)
                    if (int j = tileIn(c, r, p.layer + 1); j >= 0)
                        above[k].Set(j);
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
                side[0][k].Set(a);
            if (b >= 0)
                side[1][k].Set(b);
        }
    }
    // Tiles higher up first, so that what lies on a tile is complete before the tile; then, for
    // each side, the neighbours toward that side first.
    std::array<int, kTileCount> order{};
    for (int i = 0; i < n; ++i)
        order[static_cast<size_t>(i)] = i;
    auto begin = order.begin(), end = order.begin() + n;
    std::sort(begin, end, [&](int x, int y) {
        return cells[static_cast<size_t>(x)].layer > cells[static_cast<size_t>(y)].layer;
    });
    for (auto it = begin; it != end; ++it) {
        const size_t k = static_cast<size_t>(*it);
        Mask m = above[k];
        above[k].ForEach([&](int j) { m |= aboveAll[static_cast<size_t>(j)]; });
        aboveAll[k] = m;
    }
    auto along = [&](int i) {
        const Cell& c = cells[static_cast<size_t>(i)];
        return rule == FreeRule::Side ? c.column : c.row;
    };
    for (int s = 0; s < 2; ++s) {
        // Side 0 looks toward smaller columns (rows): build from that end.
        std::sort(begin, end,
                  [&](int x, int y) { return s == 0 ? along(x) < along(y) : along(x) > along(y); });
        for (auto it = begin; it != end; ++it) {
            const size_t k = static_cast<size_t>(*it);
            Mask m = aboveAll[k] | side[s][k];
            side[s][k].ForEach([&](int j) { m |= need[s][static_cast<size_t>(j)]; });
            need[s][k] = m;
        }
    }
}

Search::Search(const Board& board, FreeRule rule, const SolveLimits& limits)
    : limits_(limits), lost_(limits.maxRemembered) {
    const Geometry g(board, rule);
    n_ = g.n;
    index_ = g.index;
    tiles_ = g.tiles;
    cells_ = g.cells;
    above_ = g.above;
    aboveAll_ = g.aboveAll;
    for (int s = 0; s < 2; ++s) {
        side_[s] = g.side[s];
        need_[s] = g.need[s];
    }
    BuildNeeds();
    BuildBlocks();
    if (limits_.clock && limits_.maxMs > 0)
        startMs_ = limits_.clock->TickMs();
}

void Search::BuildNeeds() {
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

void Search::BuildBlocks() {
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
        const size_t k = static_cast<size_t>(i);
        for (int d = 0; d < dependentCount_[k]; ++d)
            dependentSet_[k].Set(dependents_[k][static_cast<size_t>(d)]);
        for (size_t w = 0; w < 3; ++w)
            if (dependentSet_[k].w[w] != 0)
                dependentWords_[k] |= static_cast<uint8_t>(1u << w);
        // Three cells above can hold at most nine tiles, and three cells to a side three.
        Around& a = around_[k];
        above_[k].ForEach([&](int j) {
            if (a.count[0] < a.on.size())
                a.on[a.count[0]++] = static_cast<uint8_t>(j);
        });
        for (size_t sd = 0; sd < 2; ++sd)
            side_[sd][k].ForEach([&](int j) {
                if (a.count[sd + 1] < a.side[sd].size())
                    a.side[sd][a.count[sd + 1]++] = static_cast<uint8_t>(j);
            });
    }
    for (int i = 0; i < n_; ++i) {
        Block& b = blocks_[static_cast<size_t>((tiles_[static_cast<size_t>(i)] - 1) / 4)];
        if (b.n < 4) {
            b.t[static_cast<size_t>(b.n)] = i;
            place_[static_cast<size_t>(i)] = b.n;
        }
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
            for (int q = 0; q < 4; ++q)
                for (int p = 0; p < 3; ++p) {
                    const int k =
                        kPairOf[2 * p][0] == q || kPairOf[2 * p][1] == q ? 2 * p : 2 * p + 1;
                    const int other = kPairOf[k][0] == q ? kPairOf[k][1] : kPairOf[k][0];
                    b.pairIn[static_cast<size_t>(q)][static_cast<size_t>(p)] =
                        static_cast<int8_t>(k);
                    b.partnerIn[static_cast<size_t>(q)][static_cast<size_t>(p)] =
                        b.t[static_cast<size_t>(other)];
                }
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

} // namespace tovani::solver
