#include "games/slider/SliderDump.h"

namespace tovani {

std::string FormatSliderGame(const SliderGrid& grid, const std::array<uint8_t, 3>& next) {
    std::string out =
        "grid " + std::to_string(kSliderSize) + " " + std::to_string(kSliderSize) + "\n";
    for (int r = 1; r <= kSliderSize; ++r) {
        for (int c = 1; c <= kSliderSize; ++c) {
            if (c > 1)
                out += ' ';
            out += std::to_string(grid(c, r));
        }
        out += '\n';
    }
    out += "next";
    for (uint8_t n : next)
        out += " " + std::to_string(n);
    out += '\n';
    return out;
}

} // namespace tovani
