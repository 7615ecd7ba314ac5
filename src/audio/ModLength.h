// How long a four-channel Protracker module plays before it starts again, read from its
// pattern data: the song order, the rows of each pattern, the speed and tempo commands (Fxx)
// and the pattern breaks and jumps (Dxx, Bxx). The mixer does not say how long a module
// lasts, and the MOD player needs it to know when a piece went back to its start.
#pragma once

#include <cstdint>
#include <string_view>

namespace tovani {

// Milliseconds of one pass through the module in `bytes`, or -1 when it is not a module of
// the "M.K." kind (31 samples, 4 channels) or is cut short.
int64_t ModDurationMs(std::string_view bytes);

} // namespace tovani
