// Which file a piece of the Music menu plays, and the random choice of the next piece.
#pragma once

#include "core/Random.h"

#include <string>

namespace tovani {

// The file of the piece `caption` in `folder` (ending with '/'): its ".mid" when there is one,
// else its ".mod" (whether that exists or not). Names are matched without regard to case.
std::string PieceFile(const std::string& folder, const std::string& caption);

// A piece number 0..count-1, every piece equally likely, the one just played included.
int RandomPiece(RandomGenerator& rng, int count);

} // namespace tovani
