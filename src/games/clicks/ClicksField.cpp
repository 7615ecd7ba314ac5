#include "games/clicks/ClicksField.h"

namespace tovani {

ClicksField FieldOf(const ClicksGrid& grid) {
    ClicksField field{};
    for (int c = 1; c <= kClicksColumns; ++c)
        for (int r = 1; r <= kClicksRows; ++r)
            field[c - 1][r - 1] = grid[c][r];
    return field;
}

ClicksGrid GridOf(const ClicksField& field) {
    ClicksGrid grid{};
    for (int c = 1; c <= kClicksColumns; ++c)
        for (int r = 1; r <= kClicksRows; ++r)
            grid[c][r] = field[c - 1][r - 1];
    return grid;
}

namespace {

bool InField(int c, int r) {
    return c >= 1 && c <= kClicksColumns && r >= 1 && r <= kClicksRows;
}

// The side neighbours in the order the group is walked: right, down, left, up.
constexpr int kStepColumn[4] = {1, 0, -1, 0};
constexpr int kStepRow[4] = {0, 1, 0, -1};

} // namespace

bool HasLikeNeighbour(const ClicksGrid& grid, int column, int row) {
    if (!InField(column, row))
        return false;
    const uint8_t v = grid[column][row];
    if (v == 0)
        return false;
    for (int d = 0; d < 4; ++d)
        if (grid[column + kStepColumn[d]][row + kStepRow[d]] == v)
            return true;
    return false;
}

std::vector<FieldCell> RemoveGroup(ClicksGrid& grid, int column, int row) {
    std::vector<FieldCell> removed;
    if (!InField(column, row) || grid[column][row] == 0)
        return removed;
    const uint8_t v = grid[column][row];
    // Depth first, each cell cleared as it is reached, so no cell is taken twice.
    std::vector<FieldCell> stack{{column, row}};
    grid[column][row] = 0;
    while (!stack.empty()) {
        FieldCell at = stack.back();
        stack.pop_back();
        removed.push_back(at);
        for (int d = 3; d >= 0; --d) { // pushed in reverse, so right is walked first
            int c = at.column + kStepColumn[d], r = at.row + kStepRow[d];
            if (InField(c, r) && grid[c][r] == v) {
                grid[c][r] = 0;
                stack.push_back({c, r});
            }
        }
    }
    return removed;
}

bool SettlePass(ClicksGrid& grid) {
    bool moved = false;
    for (int r = 1; r < kClicksRows; ++r)
        for (int c = 1; c <= kClicksColumns; ++c)
            if (grid[c][r] != 0 && grid[c][r + 1] == 0) {
                grid[c][r + 1] = grid[c][r];
                grid[c][r] = 0;
                moved = true;
            }
    for (int gap = 1; gap < kClicksColumns; ++gap) {
        if (grid[gap][kClicksRows] != 0)
            continue;
        bool tileToTheRight = false;
        for (int j = gap + 1; j <= kClicksColumns && !tileToTheRight; ++j)
            tileToTheRight = grid[j][kClicksRows] != 0;
        if (!tileToTheRight)
            continue;
        for (int j = gap + 1; j <= kClicksColumns; ++j)
            for (int r = 1; r <= kClicksRows; ++r)
                grid[j - 1][r] = grid[j][r];
        for (int r = 1; r <= kClicksRows; ++r)
            grid[kClicksColumns][r] = 0;
        moved = true;
    }
    return moved;
}

std::vector<ClicksGrid> Settle(ClicksGrid& grid) {
    std::vector<ClicksGrid> passes;
    while (SettlePass(grid))
        passes.push_back(grid);
    return passes;
}

bool IsSettled(const ClicksGrid& grid) {
    bool emptyColumnSeen = false;
    for (int c = 1; c <= kClicksColumns; ++c) {
        int r = kClicksRows;
        while (r >= 1 && grid[c][r] != 0)
            --r;
        for (int above = r - 1; above >= 1; --above)
            if (grid[c][above] != 0)
                return false; // a tile over a gap
        const bool empty = grid[c][kClicksRows] == 0;
        if (!empty && emptyColumnSeen)
            return false; // a column right of an empty one
        emptyColumnSeen = emptyColumnSeen || empty;
    }
    return true;
}

int CountGroups(const ClicksGrid& grid) {
    ClicksGrid labelled{};
    int groups = 0;
    std::vector<FieldCell> stack;
    for (int c = 1; c <= kClicksColumns; ++c)
        for (int r = 1; r <= kClicksRows; ++r) {
            if (labelled[c][r] || !HasLikeNeighbour(grid, c, r))
                continue;
            ++groups;
            const uint8_t v = grid[c][r];
            labelled[c][r] = 1;
            stack.assign(1, FieldCell{c, r});
            while (!stack.empty()) {
                FieldCell at = stack.back();
                stack.pop_back();
                for (int d = 0; d < 4; ++d) {
                    int nc = at.column + kStepColumn[d], nr = at.row + kStepRow[d];
                    if (InField(nc, nr) && !labelled[nc][nr] && grid[nc][nr] == v) {
                        labelled[nc][nr] = 1;
                        stack.push_back({nc, nr});
                    }
                }
            }
        }
    return groups;
}

int CountTiles(const ClicksGrid& grid) {
    int n = 0;
    for (int c = 0; c < kClicksGridColumns; ++c)
        for (int r = 0; r < kClicksGridRows; ++r)
            n += grid[c][r] != 0;
    return n;
}

int CountTiles(const ClicksField& field) {
    int n = 0;
    for (const auto& column : field)
        for (uint8_t v : column)
            n += v != 0;
    return n;
}

} // namespace tovani
