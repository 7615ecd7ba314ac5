// What the window asks of the game in play. The window keeps one table from game mode to game
// and calls the game of the current mode directly: a shared command (Back, Redo, Hint, Shuffle,
// Restart, GoBack), the 50 ms count, a click or a key, a beat of the 12 ms timer. Nothing here
// needs Qt: points are in the play area's widget coordinates, keys are Qt's key codes as ints.
//
// A game is registered for the modes it plays in (Solitaire for 1 and 2, Rivers for 3...) with
// TMainForm::RegisterGame. The commands that belong to one game only (its start commands, its
// options) stay hooked by command name with TMainForm::SetHandler.
#pragma once

#include "play/Scene3DContent.h"

#include <cstdint>
#include <string>

namespace tovani {

enum class MouseButton { Left, Right, Middle };

// How a finished game is scored and where its result goes.
struct GameResult {
    enum class Kind {
        Time,       // "Your final time is MM:SS"; lower is better
        Score,      // "Your final score is N"; higher is better
        ReachedTop, // a Clicks board cleared to the top
        TwoPlayers  // the two-player game: its winner, no hall of fame
    };
    Kind kind = Kind::Time;
    int board = 0;                // the hall-of-fame table: the board number
    int64_t result = 0;           // seconds, or points
    int32_t penalty = 0;          // seconds added to a time
    int tilesRemoved = 0;         // for the hall of fame's tile count
    bool entersHall = true;       // false for a game the player did not play (the Demo's)
    bool byDemo = false;          // the Demo played the game to its end
    int winner = 0;               // two players: 1 or 2, 0 for the same time
    int64_t playerMs[2] = {0, 0}; // two players: the time each used
};

class Game {
public:
    virtual ~Game() = default;

    // The game's name in the window title and for the saved games ("Solitaire", "Rivers").
    virtual std::string Name() const = 0;

    // ---- Commands that every game shares ---------------------------------------------------
    // Starts a new game of the current board again (the "New" command, F2, Launch in the hall
    // of fame). `sender` is the objectName of the control that asked; it tells the variant.
    virtual void Start(const std::string& sender) = 0;
    virtual void Back() {}
    virtual void Redo() {}
    virtual bool CanRedo() const { return false; }
    virtual void Hint() {}
    virtual void Shuffle() {}
    virtual void Restart() {}
    // One move back without the status-line reset of Back (the Clicks question's "No").
    virtual void GoBack() {}
    // Every 50 ms while the game runs: tiles left, moves available and the like into the
    // session; a cleared board calls the window's GameOver from here.
    virtual void CountTiles() {}

    // ---- Input -----------------------------------------------------------------------------
    virtual void MouseDown(int /*x*/, int /*y*/, MouseButton) {}
    // The button released over the play area: the click.
    virtual void Click(int /*x*/, int /*y*/, MouseButton) {}
    virtual void MouseMove(int /*x*/, int /*y*/) {}
    // A key pressed while the game has the window; true when the game used it.
    virtual bool KeyDown(int /*key*/) { return false; }
    // Any key released (or the keys lost with the focus): a game that reads held keys lets
    // them go.
    virtual void KeyUp() {}

    // ---- Time and drawing ------------------------------------------------------------------
    // A beat of the 12 ms thread timer while the game's mode is on.
    virtual void Tick() {}
    // Redraws the whole play area from the game's state.
    virtual void FullRedraw() {}
    // The window pauses (or loses the focus) and resumes; a game with an animation of its own
    // stops it dead and takes it up where it was.
    virtual void Pause() {}
    virtual void Resume() {}
    // The window leaves the game's modes (another game, the welcome screen, game over): end
    // what is in the air.
    virtual void Leave() {}
    // Work that closing the program now would lose and that no quick save keeps (a layout
    // being built): the window asks before it closes.
    virtual bool HasUnsavedWork() const { return false; }

    // ---- The 3D view -----------------------------------------------------------------------
    // A game not drawn on the tile board describes what the 3D view shows of it; the tile
    // games are read from the board view and leave this empty.
    virtual void Describe3D(Scene3DContent& /*out*/) const {}
    // A click in the 3D view on what a pick found: the `name` of a block (0 for none).
    virtual void Click3D(int /*name*/, MouseButton) {}

    // ---- The end of a game -----------------------------------------------------------------
    // What the finished game scored; the window shows it and enters it in the hall of fame.
    virtual GameResult Result() const = 0;
    // Brings what is still moving to its end before the game-over dialog shows.
    virtual void FinishAnimations() {}

    // ---- Saved games -----------------------------------------------------------------------
    // The saved-game file (".tvg", scores/SavedGame.h) of the game in play, bytes as written;
    // false when it cannot be saved (another game, two players, a game already over).
    virtual bool SaveState(std::string& /*out*/) const { return false; }
    // Resumes the game of a saved-game file; false (with the reason, in the player's words, in
    // `error`) leaves the game in play untouched.
    virtual bool LoadState(const std::string& /*in*/, std::string& error) {
        error = "This game cannot be loaded.";
        return false;
    }
};

} // namespace tovani
