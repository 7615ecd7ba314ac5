// What the 3D view shows of the game in play, in the scene's own units. The tile games
// (Solitaire, Rivers, Memory) are read from the board view's scene; the grid games describe
// theirs (Game::Describe3D) with three primitives: small-tile boxes, word labels and numbers.
// Plain data without Qt, so a game fills it from its model and a test can compare two.
#pragma once

#include <cstdint>
#include <vector>

namespace tovani {

// The pictures of the scene, by index (the faces 1..43 are 0..42).
constexpr int kTex3DMarble = 43;
constexpr int kTex3DBackground = 44;
constexpr int kTex3DDarkRed = 45;
constexpr int kTex3DSmall = 46;     // small tiles 0..6: 46..52
constexpr int kTex3DWordNext = 53;  // "NEXT"
constexpr int kTex3DWordScore = 54; // "SCORE"
constexpr int kTex3DWordTiles = 55; // "TILES REMOVED"
constexpr int kTex3DWordLevel = 56; // "LEVEL"
constexpr int kTex3DDigits = 57;    // digits 0..9: 57..66
constexpr int kTex3DGridFrame = 67; // a Slider cell's frame
constexpr int kTex3DCount = 68;

// A tile of a tile board: its number, the face shown (43 for a face-down Memory tile) and its
// board cell.
struct SceneTile3D {
    int tile = 0;
    int face = 0;
    int column = 0, row = 0, layer = 0;
    friend bool operator==(const SceneTile3D&, const SceneTile3D&) = default;
};

// A small tile standing as a box; `x`, `y` its centre; `name` what a pick answers (0: none).
struct SceneBlock3D {
    float x = 0, y = 0;
    int picture = 0; // 0..6 of the small tileset
    int alpha = 255;
    int name = 0;
    friend bool operator==(const SceneBlock3D&, const SceneBlock3D&) = default;
};

// A flat picture (a word, a cell frame) on the rectangle left..right, bottom..top, in front.
struct SceneQuad3D {
    int texture = 0;
    float left = 0, bottom = 0, right = 0, top = 0;
    int name = 0; // what a pick on it answers (a Slider cell), 0: nothing
    friend bool operator==(const SceneQuad3D&, const SceneQuad3D&) = default;
};

// A number written with the digit pictures from `x` to the right, between bottom and top;
// `swing` turns it about the vertical axis (degrees).
struct SceneNumber3D {
    int64_t value = 0;
    float x = 0, bottom = 0, top = 0;
    float swing = 0;
    friend bool operator==(const SceneNumber3D&, const SceneNumber3D&) = default;
};

// A marble slab from (x0, y0, z0) to (x1, y1, z1).
struct SceneSlab3D {
    float x0 = 0, y0 = 0, z0 = 0, x1 = 0, y1 = 0, z1 = 0;
    friend bool operator==(const SceneSlab3D&, const SceneSlab3D&) = default;
};

struct Scene3DContent {
    int gameMode = 0;
    // The tile boards.
    std::vector<SceneTile3D> tiles;
    int firstPick = 0, secondPick = 0, hint1 = 0, hint2 = 0;
    bool memory = false; // the first pick is not darkened
    // Moves the board so that the places of the layout in play stand in the middle.
    float shiftX = 0, shiftY = 0;
    // The grid games.
    float blockHalfSize = 0.7f;
    std::vector<SceneBlock3D> blocks;
    std::vector<SceneQuad3D> quads;
    std::vector<SceneNumber3D> numbers;
    std::vector<SceneSlab3D> slabs;
    friend bool operator==(const Scene3DContent&, const Scene3DContent&) = default;
};

} // namespace tovani
