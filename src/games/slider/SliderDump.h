// A Slider game as text, for the command-line tool and the tests that compare with it:
// "grid 9 9", the nine rows from the top, each the nine cell values from the left separated by
// single blanks (0 empty, 1..6 a picture, 7 the joker), then "next a b c" with the three next
// tiles as the game keeps them (0-based pictures).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "games/slider/SliderGrid.h"

namespace tovani {

std::string FormatSliderGame(const SliderGrid& grid, const std::array<uint8_t, 3>& next);

} // namespace tovani
