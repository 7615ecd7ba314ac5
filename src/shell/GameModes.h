// What the window is doing (the game mode), and everything that follows from it alone: which
// commands are enabled, which areas are shown, which game "New Game" starts, and the caption.
// Plain code without widgets, so the rules can be checked one mode at a time.
#pragma once

#include "core/GameMode.h"

#include <array>
#include <cstdint>
#include <string>

namespace tovani {

// The commands whose toolbar button and menu items follow the game mode together.
enum class ModeCommand { Back, Hint, Pause, Shuffle, Restart, Stop, SaveGame, Demo, Count };
constexpr int kModeCommandCount = static_cast<int>(ModeCommand::Count);

// Whether the mode is a game being played (Solitaire alone or for two, Rivers ... Hashira).
constexpr bool IsGameMode(int mode) {
    return mode >= kModeSolitaire && mode <= kModeHashira;
}
// Modes in which the board may be shown in 3D: the games, the welcome screen and the pause.
constexpr bool ModeAllows3D(int mode) {
    return (mode >= 1 && mode <= 7) || mode == kModeWelcome || mode == kModePaused;
}

struct ModeSwitchInput {
    int oldMode = kModeNoGame;
    int newMode = kModeNoGame;
    bool view3D = false;           // the 3D view is on (before the switch)
    bool firstShowPending = false; // the window has not finished its first layout yet
    bool sliderCanGoBack = false;  // a Slider move can be taken back
};

// Everything the window applies when the game mode changes.
struct ModeSwitch {
    bool repaintBackgroundFirst = false; // leaving Slider or Hashira in 2D
    bool clearHallOfFameHighlight = false;
    bool view3D = false; // the 3D view after the switch (the editor turns it off)
    bool glPanelVisible = false;
    bool set3DEnabled = false;       // the "3D" button and its menu item
    bool enableGLEnabled = false;    // "Enable OpenGL DLLs" only while the 3D view is off
    bool showSameGameButton = false; // a game was entered: "Play Same Game Again" appears
    bool welcomeVisible = false;
    bool repaintBackground = false;
    bool hashiraVisible = false; // ColumnsPanel and HashiraBox
    bool sliderVisible = false;  // SliderBox and SliderNext
    bool scorePanelVisible = false;
    bool fastTimerActive = false;
    bool popupMenu = true; // the board's pop-up menu (none in the editor)
    bool writeSliderScore = false;
    bool setBoardCaption = false; // the caption names the board being played
    bool clearCaption = false;    // no board: the caption is the bare title
    std::array<bool, kModeCommandCount> enabled{};

    bool Enabled(ModeCommand c) const { return enabled[static_cast<size_t>(c)]; }
};

ModeSwitch ComputeModeSwitch(const ModeSwitchInput& in);

// Which game "New Game" starts: the kind of the running game, else the kind of the board last
// played, else one-player Solitaire on a random deal.
enum class GameKind { Solitaire, TwoPlayers, Rivers, Memory, Clicks, Slider, Hashira };
GameKind NewGameKind(int gameMode, int boardNumber);

// The fixed description of a board number of 1000 and up ("84-Tile Rivers" ...); empty for
// numbers that name no fixed board.
std::string FixedBoardDescription(int boardNumber);

// The description in the caption for a board: a layout's is the (translated) word "Layout",
// " : " and its name; the other games' is their fixed description.
std::string BoardDescription(int boardNumber, const std::string& layoutWord,
                             const std::string& layoutName);

// The window caption: the title followed by "- " and the description when there is one.
std::string WindowCaption(const std::string& title, const std::string& description);

} // namespace tovani
