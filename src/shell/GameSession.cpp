// Game clocks, pauses and the status-line values.
#include "shell/GameSession.h"

#include <cstdio>

namespace tovani {

std::string FormatTime(int seconds) {
    if (seconds < 0)
        seconds = 0;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d:%02d", seconds / 60, seconds % 60);
    return buf;
}

void GameSession::InitVar() {
    twoPlayerTurn = false;
    frozenTimes[0] = frozenTimes[1] = 0;
    pairCheckCountdown = 0;
    pairCheckTiles[0] = pairCheckTiles[1] = 0;
    gameOver = false;
    won = false;
    hintCounters[0] = hintCounters[1] = hintCounters[2] = 0;
    elapsedSeconds = 0;
    penaltySeconds = 0;
    matchCounter = 0;
    clocks.pausedElapsed = 0;
    clocks.playerPausedElapsed[0] = clocks.playerPausedElapsed[1] = 0;
    sliderCounters[0] = sliderCounters[1] = 0;
    status.Reset();
}

void GameSession::StopClock(int gameMode) {
    uint32_t now = clock_->TickMs();
    clocks.pausedElapsed = now - clocks.gameStartTick;
    if (gameMode == kModeTwoPlayers) {
        for (int p = 0; p < 2; ++p)
            clocks.playerPausedElapsed[p] = now - clocks.playerStartTick[p];
    }
}

void GameSession::RestartClock(int gameMode) {
    uint32_t now = clock_->TickMs();
    clocks.gameStartTick = now - clocks.pausedElapsed;
    if (gameMode == kModeTwoPlayers) {
        for (int p = 0; p < 2; ++p)
            clocks.playerStartTick[p] = now - clocks.playerPausedElapsed[p];
    }
}

int GameSession::PlayerSeconds(int player) const {
    return static_cast<int>((clock_->TickMs() - clocks.playerStartTick[player & 1]) / 1000u);
}

int GameSession::TogglePause() {
    if (mode != kModePaused) {
        modeBeforePause = mode;
        StopClock(mode);
        return kModePaused;
    }
    RestartClock(modeBeforePause);
    return modeBeforePause;
}

int GameSession::Deactivate() {
    if (mode == kModeInactive)
        return -1;
    modeBeforeDeactivation = mode;
    // A paused game's clock is stopped already: stopping it again would count the pause.
    if (mode != kModePaused)
        StopClock(mode);
    return kModeInactive;
}

int GameSession::Activate() {
    if (mode != kModeInactive)
        return -1;
    if (modeBeforeDeactivation != kModePaused)
        RestartClock(modeBeforeDeactivation);
    return modeBeforeDeactivation;
}

bool GameSession::ClockTick() {
    if (mode >= kModeSolitaire && mode <= kModeMemory) {
        elapsedSeconds = static_cast<int>((clock_->TickMs() - clocks.gameStartTick) / 1000u);
        return elapsedSeconds + penaltySeconds > kMaxGameSeconds;
    }
    if (mode == kModeClicks)
        elapsedSeconds = tilesLeft;
    return false;
}

ScoreFields GameSession::WriteScore(bool showMoves, bool showTime) {
    ScoreFields f;
    if (mode == kModeNoGame || mode > kModeSlider || gameOver)
        return f; // all three fields empty
    f.tiles = std::to_string(tilesLeft);
    bool movesShown = showMoves && (mode == kModeSolitaire || mode == kModeTwoPlayers ||
                                    mode == kModeRivers || mode == kModeClicks);
    if (movesShown)
        f.movesLeft = std::to_string(movesAvailable);
    bool timeShown =
        showTime && (mode == kModeSolitaire || mode == kModeRivers || mode == kModeMemory);
    if (timeShown)
        f.time = FormatTime(elapsedSeconds + penaltySeconds);
    if (movesAvailable > 0 && status.Marquee()) {
        status.StopMarquee();
        f.stopMarquee = true;
    }
    // Clicks puts its own question when it has no move left (the game asks it, once).
    if (tilesLeft > 0 && movesAvailable == 0 && mode >= kModeSolitaire && mode <= kModeRivers &&
        !status.Marquee()) {
        f.startMarquee = true;
    }
    if (tilesLeft == 0 && !won)
        f.redrawBoard = true;
    return f;
}

} // namespace tovani
