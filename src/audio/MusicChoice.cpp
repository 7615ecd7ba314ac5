#include "audio/MusicChoice.h"

#include "core/Files.h"

namespace tovani {

std::string PieceFile(const std::string& folder, const std::string& caption) {
    if (auto found = FindNoCase(folder, caption + ".mid"))
        return *found;
    if (auto found = FindNoCase(folder, caption + ".mod"))
        return *found;
    return JoinPath(folder, caption + ".mod");
}

int RandomPiece(RandomGenerator& rng, int count) {
    return rng.Below(count);
}

} // namespace tovani
