// The state of a game session that needs no widgets: the game mode and the modes to return to,
// the game clock (one for a single player, one each in two-player Solitaire) with its pauses,
// the per-game counters, and the values of the status line. Time comes from an injected Clock.
#pragma once

#include "core/Clock.h"
#include "shell/GameModes.h"
#include "shell/StatusLine.h"

#include <cstdint>
#include <string>

namespace tovani {

// Timed games stop when elapsed plus penalty seconds go past this.
constexpr int kMaxGameSeconds = 5999;

// "MM:SS" with two digits each (the clock stops before 100 minutes).
std::string FormatTime(int seconds);

struct GameClocks {
    uint32_t gameStartTick = 0;
    uint32_t pausedElapsed = 0;
    uint32_t playerStartTick[2] = {0, 0};
    uint32_t playerPausedElapsed[2] = {0, 0};
};

// What the status line shows after a tick's score refresh.
struct ScoreFields {
    std::string tiles;
    std::string movesLeft;
    std::string time;
    bool startMarquee = false; // no move left: the bouncing message starts
    bool stopMarquee = false;  // a move is available again
    bool redrawBoard = false;  // no tile left: the next redraw ends the game
};

class GameSession {
public:
    explicit GameSession(const Clock& clock) : clock_(&clock) {}

    int mode = kModeNoGame;
    int modeBeforePause = kModeWelcome;
    int modeBeforeDeactivation = kModeWelcome;
    int boardNumber = -1;
    int lastBoard = 1;
    int tilesLeft = 144;
    int tilesTotal = 144;
    int movesAvailable = 0;
    int elapsedSeconds = 0;
    int penaltySeconds = 0;
    bool gameOver = false;
    bool won = false;
    bool twoPlayerTurn = false;
    int hintCounters[3] = {0, 0, 0};
    int matchCounter = 0;
    int sliderCounters[2] = {0, 0};
    int pairCheckCountdown = 0;
    int pairCheckTiles[2] = {0, 0};
    uint32_t frozenTimes[2] = {0, 0};
    GameClocks clocks;
    StatusLine status;

    // Resets the per-game counters and flags (a new game starts).
    void InitVar();
    // The running game's clock starts now.
    void StartClock() { clocks.gameStartTick = clock_->TickMs(); }
    // Player 0 or 1's clock (two-player Solitaire) starts now.
    void StartPlayerClock(int player) { clocks.playerStartTick[player & 1] = clock_->TickMs(); }

    // Stops the clock of a game in `gameMode` (single clock, or both players' in mode 2).
    void StopClock(int gameMode);
    // Starts it again where it stopped.
    void RestartClock(int gameMode);
    // Seconds on a player's clock in two-player Solitaire.
    int PlayerSeconds(int player) const;

    // The pause command: answers the mode to switch to (10 when pausing, the mode before the
    // pause when resuming); the clock is stopped or restarted accordingly.
    int TogglePause();
    // Losing the focus: answers the mode to switch to, or -1 when already inactive.
    int Deactivate();
    // Getting it back: the mode to return to, or -1 when the window was not inactive.
    int Activate();

    // The game clock of one tick: answers true when a timed game ran out of time.
    bool ClockTick();

    // The status-line values of one tick. `tilesLeft` and `movesAvailable` must be fresh.
    ScoreFields WriteScore(bool showMoves, bool showTime);

private:
    const Clock* clock_;
};

} // namespace tovani
