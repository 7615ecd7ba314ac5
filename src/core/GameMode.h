// The game mode: a one-byte code of what the window is doing. Only the window's mode switch
// changes it; the graphics and the games read it.
#pragma once

#include <cstdint>

namespace tovani {

enum GameMode : uint8_t {
    kModeNoGame = 0,
    kModeSolitaire = 1,
    kModeTwoPlayers = 2,
    kModeRivers = 3,
    kModeMemory = 4,
    kModeClicks = 5,
    kModeSlider = 6,
    kModeHashira = 7,
    kModeEditor = 8,
    kModeWelcome = 9,
    kModePaused = 10,
    kModeInactive = 11,
    kModeGameOver = 12,
    kModeClosing = 13,
};

} // namespace tovani
