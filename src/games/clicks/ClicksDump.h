// The field of a Clicks game as text, for the command-line tool and the tests that compare with
// it: "grid 18 12", then the twelve rows from the top, each the eighteen cell values from the
// left separated by single blanks (0 empty, 1..k the picture number).
#pragma once

#include <string>

#include "games/clicks/ClicksField.h"

namespace tovani {

std::string FormatClicksGrid(const ClicksGrid& grid);

} // namespace tovani
