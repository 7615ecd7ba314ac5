// The game-mode switch: commands enabled per mode, areas shown, caption, "New Game".
#include "shell/GameModes.h"

#include <gtest/gtest.h>

namespace tovani {
namespace {

ModeSwitch Switch(int from, int to, bool view3D = false, bool sliderBack = false) {
    ModeSwitchInput in;
    in.oldMode = from;
    in.newMode = to;
    in.view3D = view3D;
    in.sliderCanGoBack = sliderBack;
    return ComputeModeSwitch(in);
}

// The enabling table, written out mode by mode: Back, Hint, Pause, Shuffle, Restart, Stop, Save,
// Demo.
TEST(GameModes, CommandsEnabledInEveryMode) {
    struct Row {
        int mode;
        const char* expected; // one letter per command, 1 enabled, 0 not
    };
    const Row rows[] = {
        {0, "00000000"},  {1, "11111111"},  {2, "00110100"},  {3, "11111110"},
        {4, "00100100"},  {5, "10101100"},  {6, "00100110"},  {7, "00100100"},
        {8, "00000000"},  {9, "00000000"},  {10, "00100100"}, {11, "00000000"},
        {12, "00000000"}, {13, "00000000"},
    };
    for (const Row& r : rows) {
        ModeSwitch s = Switch(kModeWelcome, r.mode);
        for (int c = 0; c < kModeCommandCount; ++c)
            EXPECT_EQ(s.enabled[static_cast<size_t>(c)], r.expected[c] == '1')
                << "mode " << r.mode << " command " << c;
    }
}

TEST(GameModes, SliderBackOnlyWhileAMoveCanBeTakenBack) {
    EXPECT_FALSE(Switch(9, kModeSlider, false, false).Enabled(ModeCommand::Back));
    EXPECT_TRUE(Switch(9, kModeSlider, false, true).Enabled(ModeCommand::Back));
    // Other modes ignore the Slider flag.
    EXPECT_FALSE(Switch(9, kModeMemory, false, true).Enabled(ModeCommand::Back));
}

TEST(GameModes, AreasFollowTheMode) {
    for (int m = 0; m <= 13; ++m) {
        ModeSwitch s = Switch(kModeWelcome, m);
        EXPECT_EQ(s.welcomeVisible, m == 9) << m;
        EXPECT_EQ(s.hashiraVisible, m == 7) << m;
        EXPECT_EQ(s.sliderVisible, m == 6) << m;
        EXPECT_EQ(s.scorePanelVisible, m == 6) << m;
        EXPECT_EQ(s.popupMenu, m != 8) << m;
        EXPECT_EQ(s.set3DEnabled, (m >= 1 && m <= 7) || m == 9 || m == 10) << m;
        EXPECT_EQ(s.fastTimerActive, m == 1 || m == 2 || m == 7 || m == 9 || m == 10) << m;
        EXPECT_EQ(s.showSameGameButton, m >= 1 && m <= 7) << m;
        EXPECT_EQ(s.repaintBackground, m == 6 || m == 7 || (m >= 9 && m <= 12)) << m;
    }
    // The welcome panel waits for the first layout of the window.
    ModeSwitchInput in;
    in.oldMode = 0;
    in.newMode = 9;
    in.firstShowPending = true;
    EXPECT_FALSE(ComputeModeSwitch(in).welcomeVisible);
}

TEST(GameModes, ThreeDView) {
    ModeSwitch s = Switch(9, kModeSlider, true);
    EXPECT_TRUE(s.view3D);
    EXPECT_TRUE(s.glPanelVisible);
    EXPECT_FALSE(s.scorePanelVisible); // the score is in the scene
    EXPECT_FALSE(s.enableGLEnabled);
    EXPECT_TRUE(s.fastTimerActive); // the scene animates in every mode
    // The editor turns the 3D view off.
    ModeSwitch e = Switch(9, kModeEditor, true);
    EXPECT_FALSE(e.view3D);
    EXPECT_FALSE(e.glPanelVisible);
    EXPECT_TRUE(e.enableGLEnabled);
    // Leaving Slider or Hashira in 2D repaints the background first; in 3D it does not.
    EXPECT_TRUE(Switch(kModeHashira, 9).repaintBackgroundFirst);
    EXPECT_FALSE(Switch(kModeHashira, 9, true).repaintBackgroundFirst);
    EXPECT_FALSE(Switch(kModeRivers, 9).repaintBackgroundFirst);
}

TEST(GameModes, HallOfFameHighlightIsClearedByAnotherGameOnly) {
    EXPECT_TRUE(Switch(kModeRivers, kModeSolitaire).clearHallOfFameHighlight);
    EXPECT_TRUE(Switch(kModeWelcome, kModeClicks).clearHallOfFameHighlight);
    EXPECT_TRUE(Switch(kModeSlider, kModeEditor).clearHallOfFameHighlight);
    // The same game again, a pause and its end, and the return to the welcome screen keep it.
    EXPECT_FALSE(Switch(kModeSolitaire, kModeSolitaire).clearHallOfFameHighlight);
    EXPECT_FALSE(Switch(kModeSolitaire, kModePaused).clearHallOfFameHighlight);
    EXPECT_FALSE(Switch(kModePaused, kModeSolitaire).clearHallOfFameHighlight);
    EXPECT_FALSE(Switch(kModeInactive, kModeRivers).clearHallOfFameHighlight);
    EXPECT_FALSE(Switch(kModeRivers, kModeWelcome).clearHallOfFameHighlight);
    EXPECT_FALSE(Switch(kModeNoGame, kModeSolitaire).clearHallOfFameHighlight);
}

TEST(GameModes, NewGameStartsTheKindLastPlayed) {
    // The mode wins over the board number.
    EXPECT_EQ(NewGameKind(kModeHashira, 5), GameKind::Hashira);
    EXPECT_EQ(NewGameKind(kModeSlider, 1040), GameKind::Hashira); // Hashira is tested first
    EXPECT_EQ(NewGameKind(kModeSlider, 3), GameKind::Slider);
    EXPECT_EQ(NewGameKind(kModeClicks, 3), GameKind::Clicks);
    EXPECT_EQ(NewGameKind(kModeMemory, 3), GameKind::Memory);
    EXPECT_EQ(NewGameKind(kModeRivers, 3), GameKind::Rivers);
    EXPECT_EQ(NewGameKind(kModeTwoPlayers, 3), GameKind::TwoPlayers);
    EXPECT_EQ(NewGameKind(kModeSolitaire, 1000), GameKind::Rivers);
    // From the welcome screen the board number decides.
    const std::pair<int, GameKind> boards[] = {
        {1000, GameKind::Rivers},   {1001, GameKind::Rivers}, {1010, GameKind::Memory},
        {1011, GameKind::Memory},   {1020, GameKind::Clicks}, {1021, GameKind::Clicks},
        {1022, GameKind::Clicks},   {1030, GameKind::Slider}, {1031, GameKind::Slider},
        {1040, GameKind::Hashira},  {1, GameKind::Solitaire}, {-1, GameKind::Solitaire},
        {1002, GameKind::Solitaire}};
    for (auto [board, kind] : boards)
        EXPECT_EQ(NewGameKind(kModeWelcome, board), kind) << board;
}

TEST(GameModes, Caption) {
    EXPECT_EQ(BoardDescription(3, "Layout", "Pyramid"), "Layout : Pyramid");
    EXPECT_EQ(BoardDescription(1022, "Layout", "Pyramid"), "Normal Clicks");
    EXPECT_EQ(BoardDescription(1001, "Disposition", "x"), "144-Tile Rivers");
    EXPECT_EQ(WindowCaption("Tovani 10.21 ", "Hashira"), "Tovani 10.21 - Hashira");
    EXPECT_EQ(WindowCaption("Tovani 10.21 ", ""), "Tovani 10.21 ");
    EXPECT_EQ(FixedBoardDescription(1050), "");
}

} // namespace
} // namespace tovani
