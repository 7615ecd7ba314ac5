// The 144 tiles of the Solitaire set: each tile number names one physical tile for the whole
// game, has a fixed face, and matches the other tiles of its block of four.
#pragma once

namespace tovani {

constexpr int kTileCount = 144;
constexpr int kFaceCount = 42;
// Face 43 is the blank back of a tile (Memory shows it); it belongs to no tile number.
constexpr int kBlankFace = 43;

// The face (1..42) of a tile number 1..144; 0 for a number outside that range.
// Tiles 1-36, 37-72 and 73-108 are the three suits (four copies of each value), 109-112 the
// four flowers, 113-116 the four seasons, 117-128 the dragons and 129-144 the winds.
int FaceOf(int tile);

// Two tiles match when they belong to the same block of four consecutive numbers, so the four
// flowers match each other, and so do the four seasons. A tile never matches number 0.
bool TilesMatch(int a, int b);

inline bool IsTileNumber(int v) {
    return v >= 1 && v <= kTileCount;
}

} // namespace tovani
