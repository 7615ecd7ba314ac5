// The rules that follow from the game mode alone.
#include "shell/GameModes.h"

#include "core/TextKey.h"

namespace tovani {

ModeSwitch ComputeModeSwitch(const ModeSwitchInput& in) {
    ModeSwitch s;
    const int m = in.newMode;
    s.repaintBackgroundFirst =
        (in.oldMode == kModeSlider || in.oldMode == kModeHashira) && !in.view3D;
    // Entering another game or the editor from a game, the editor or the welcome screen
    // forgets the highlighted line of the hall of fame; a pause and its end do not.
    s.clearHallOfFameHighlight =
        m != in.oldMode && in.oldMode >= 1 && in.oldMode <= 9 && m >= 1 && m <= 8;
    s.view3D = in.view3D && m != kModeEditor;
    s.glPanelVisible = s.view3D && ModeAllows3D(m) && !in.firstShowPending;
    s.set3DEnabled = ModeAllows3D(m);
    s.enableGLEnabled = !s.view3D;
    s.showSameGameButton = IsGameMode(m);
    s.welcomeVisible = m == kModeWelcome && !in.firstShowPending;
    s.repaintBackground =
        m == kModeSlider || m == kModeHashira || (m >= kModeWelcome && m <= kModeGameOver);
    s.hashiraVisible = m == kModeHashira;
    s.sliderVisible = m == kModeSlider;
    s.scorePanelVisible = m == kModeSlider && !s.view3D;
    s.fastTimerActive = s.view3D || m == kModeSolitaire || m == kModeTwoPlayers ||
                        m == kModeHashira || m == kModeWelcome || m == kModePaused;
    s.popupMenu = m != kModeEditor;
    s.writeSliderScore = m == kModeSlider;
    s.setBoardCaption = IsGameMode(m);
    s.clearCaption = m == kModeNoGame || m == kModeWelcome || m == kModeEditor;

    auto set = [&s](ModeCommand c, bool on) { s.enabled[static_cast<size_t>(c)] = on; };
    set(ModeCommand::Back, m == 1 || m == 3 || m == 5 || (m == 6 && in.sliderCanGoBack));
    set(ModeCommand::Hint, m == 1 || m == 3);
    set(ModeCommand::Pause, (m >= 1 && m <= 7) || m == kModePaused);
    set(ModeCommand::Shuffle, m >= 1 && m <= 3);
    set(ModeCommand::Restart, m == 1 || m == 3 || m == 5);
    set(ModeCommand::Stop, (m >= 1 && m <= 7) || m == kModePaused);
    set(ModeCommand::SaveGame, m == 1 || m == 3 || m == 6);
    // The solver's Demo plays one-player Solitaire only.
    set(ModeCommand::Demo, m == 1);
    return s;
}

GameKind NewGameKind(int gameMode, int boardNumber) {
    if (gameMode == kModeHashira || boardNumber == 1040)
        return GameKind::Hashira;
    if (gameMode == kModeSlider || boardNumber == 1030 || boardNumber == 1031)
        return GameKind::Slider;
    if (gameMode == kModeClicks || (boardNumber >= 1020 && boardNumber <= 1022))
        return GameKind::Clicks;
    if (gameMode == kModeMemory || boardNumber == 1010 || boardNumber == 1011)
        return GameKind::Memory;
    if (gameMode == kModeRivers || boardNumber == 1000 || boardNumber == 1001)
        return GameKind::Rivers;
    if (gameMode == kModeTwoPlayers)
        return GameKind::TwoPlayers;
    return GameKind::Solitaire;
}

std::string FixedBoardDescription(int boardNumber) {
    switch (boardNumber) {
    // The names are translated where they are shown.
    case 1000:
        return TrKey("84-Tile Rivers");
    case 1001:
        return TrKey("144-Tile Rivers");
    case 1010:
        return TrKey("Easy Memory");
    case 1011:
        return TrKey("Hard Memory");
    case 1020:
        return TrKey("Easy Clicks");
    case 1021:
        return TrKey("Hard Clicks");
    case 1022:
        return TrKey("Normal Clicks");
    case 1030:
        return TrKey("Easy Slider");
    case 1031:
        return TrKey("Hard Slider");
    case 1040:
        return TrKey("Hashira");
    default:
        return {};
    }
}

std::string BoardDescription(int boardNumber, const std::string& layoutWord,
                             const std::string& layoutName) {
    if (boardNumber < 1000)
        return layoutWord + " : " + layoutName;
    return FixedBoardDescription(boardNumber);
}

std::string WindowCaption(const std::string& title, const std::string& description) {
    if (description.empty())
        return title;
    return title + "- " + description;
}

} // namespace tovani
