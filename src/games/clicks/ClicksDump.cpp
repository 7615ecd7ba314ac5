#include "games/clicks/ClicksDump.h"

namespace tovani {

std::string FormatClicksGrid(const ClicksGrid& grid) {
    std::string out =
        "grid " + std::to_string(kClicksColumns) + " " + std::to_string(kClicksRows) + "\n";
    for (int r = 1; r <= kClicksRows; ++r) {
        for (int c = 1; c <= kClicksColumns; ++c) {
            if (c > 1)
                out += ' ';
            out += std::to_string(grid[c][r]);
        }
        out += '\n';
    }
    return out;
}

} // namespace tovani
