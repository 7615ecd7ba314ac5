#include "games/slider/SliderGrid.h"

namespace tovani {

int SliderGrid::Tiles() const {
    int n = 0;
    for (const auto& column : cells)
        for (uint8_t v : column)
            n += v != 0;
    return n;
}

namespace {

enum Dir { Right, Up, Left, Down };
constexpr int kDc[4] = {1, 0, -1, 0};
constexpr int kDr[4] = {0, -1, 0, 1}; // rows grow downwards

int Sign(int v) {
    return (v > 0) - (v < 0);
}

// The order of the neighbours tried from a cell, by where the source lies from it.
const Dir* OrderTowards(FieldCell from, FieldCell source) {
    static constexpr Dir kRightSame[4] = {Right, Up, Left, Down};
    static constexpr Dir kLeftSame[4] = {Left, Up, Right, Down};
    static constexpr Dir kAbove[4] = {Up, Left, Right, Down};
    static constexpr Dir kBelow[4] = {Down, Left, Right, Up};
    static constexpr Dir kRightBelow[4] = {Right, Down, Left, Up};
    static constexpr Dir kLeftBelow[4] = {Left, Down, Right, Up};
    const int dc = Sign(source.column - from.column), dr = Sign(source.row - from.row);
    if (dc > 0)
        return dr > 0 ? kRightBelow : kRightSame; // right and above tries as right on the row
    if (dc < 0)
        return dr > 0 ? kLeftBelow : kLeftSame; // left and above likewise
    return dr > 0 ? kBelow : kAbove;
}

struct PathSearch {
    const SliderGrid& grid;
    FieldCell source;
    std::array<std::array<bool, kSliderSize>, kSliderSize> visited{};
    bool reached = false;
    std::vector<FieldCell> chain; // filled on the way back out: source first

    bool Enterable(FieldCell c) const {
        return SliderGrid::Inside(c) && !visited[c.column - 1][c.row - 1] &&
               (grid(c) == 0 || c == source);
    }

    void Enter(FieldCell at) {
        if (at == source)
            reached = true;
        visited[at.column - 1][at.row - 1] = true;
        if (!reached) {
            const Dir* order = OrderTowards(at, source);
            for (int i = 0; i < 4 && !reached; ++i) {
                FieldCell next{at.column + kDc[order[i]], at.row + kDr[order[i]]};
                if (Enterable(next))
                    Enter(next);
            }
        }
        if (reached)
            chain.push_back(at);
    }
};

} // namespace

std::vector<FieldCell> FindPath(const SliderGrid& grid, FieldCell source, FieldCell destination) {
    if (!SliderGrid::Inside(source) || !SliderGrid::Inside(destination) || grid(source) == 0 ||
        grid(destination) != 0)
        return {};
    PathSearch search{grid, source};
    search.Enter(destination);
    return search.chain;
}

std::vector<FieldCell> FindLines(const SliderGrid& grid) {
    // Right, down-right, down, down-left and their opposites.
    static constexpr int kLineDc[8] = {1, 1, 0, -1, -1, -1, 0, 1};
    static constexpr int kLineDr[8] = {0, 1, 1, 1, 0, -1, -1, -1};
    std::array<std::array<bool, kSliderSize>, kSliderSize> marked{};
    for (int c = 1; c <= kSliderSize; ++c)
        for (int r = 1; r <= kSliderSize; ++r) {
            if (grid(c, r) == 0)
                continue;
            for (int d = 0; d < 8; ++d) {
                uint8_t line = grid(c, r);
                int length = 1;
                FieldCell last{c, r};
                for (;;) {
                    FieldCell next{last.column + kLineDc[d], last.row + kLineDr[d]};
                    if (!SliderGrid::Inside(next) || grid(next) == 0)
                        break;
                    const uint8_t v = grid(next);
                    if (v != kSliderJoker) {
                        if (line == kSliderJoker)
                            line = v;
                        else if (v != line)
                            break;
                    }
                    last = next;
                    ++length;
                }
                if (length < 5)
                    continue;
                for (int k = 0; k < length; ++k)
                    marked[c + k * kLineDc[d] - 1][r + k * kLineDr[d] - 1] = true;
            }
        }
    std::vector<FieldCell> cells;
    for (int c = 1; c <= kSliderSize; ++c)
        for (int r = 1; r <= kSliderSize; ++r)
            if (marked[c - 1][r - 1])
                cells.push_back({c, r});
    return cells;
}

std::vector<FieldCell> RemoveLines(SliderGrid& grid) {
    std::vector<FieldCell> cells = FindLines(grid);
    for (FieldCell c : cells)
        grid(c) = 0;
    return cells;
}

} // namespace tovani
