// The columns a Hashira game brings in when its generator is seeded with a number instead of
// the clock, in the order it draws them, and the text that `tovani-cli deal --game hashira`
// prints for them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tovani {

using HashiraPictures = std::array<int32_t, 3>; // a column's pictures, top to bottom

// The first `count` columns of a game seeded with `seed`: the one drawn at the start, then the
// one drawn each time a column enters the well.
std::vector<HashiraPictures> HashiraOpeningColumns(uint32_t seed, int count);

// "well 6 12", then one line "column a b c" per column (its pictures as stored, top to bottom).
std::string FormatHashiraColumns(const std::vector<HashiraPictures>& columns);

} // namespace tovani
