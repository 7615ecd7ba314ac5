// Clicks: one click on a tile that touches a like tile removes its whole group; the tiles above
// fall and empty columns close to the left. The score is the number of tiles left when no group
// remains (lower is better, 0 clears the field).
//
// Animation: a click settles the field completely before it returns, so the state is always
// final. The effects carry the grid after every settling pass for the window to show one pass
// a frame (option "AnimateClicks"). Input that arrives while the window is still showing them
// acts on the final field; the window should end its animation first, so that the player clicks
// what is drawn.
//
// Time: Clicks has no clock; the inputs take `now` only to keep every game's calls alike.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/Random.h"
#include "games/FieldCursor.h"
#include "games/clicks/ClicksField.h"
#include "solitaire/Play.h" // Sound

namespace tovani {

enum class ClicksLevel : uint8_t { Easy, Normal, Hard };

// Easy 4 pictures (board 1020), Normal 5 (board 1022), Hard 6 (board 1021).
int ClicksKinds(ClicksLevel level);
int ClicksBoardNumber(ClicksLevel level);
std::optional<ClicksLevel> ClicksLevelOfBoard(int boardNumber);
// The hall-of-fame section of a level: "Clicks", "Clicks3" (Normal), "Clicks2" (Hard).
const char* ClicksTableName(ClicksLevel level);

// Every move keeps the field as it was before it; a game has at most 108 moves (216 tiles, two
// or more a move), so every move of a game has its undo point.
constexpr int kClicksSnapshots = kClicksTiles / 2;

// Everything a game is, for saving and loading.
struct ClicksState {
    ClicksLevel level = ClicksLevel::Normal;
    ClicksGrid grid{};
    std::array<ClicksField, kClicksSnapshots> snapshots{}; // snapshot k - 1: before move k
    int32_t moveDepth = 0;                                 // moves made and not taken back
    int32_t tilesLeft = 0;
    bool asking = false;   // the give-up question is open
    bool declined = false; // the player kept playing a deal that had no move at all
    bool gameOver = false;
    uint32_t startTick = 0;
    friend bool operator==(const ClicksState&, const ClicksState&) = default;
};

// Why a state read from a file cannot be played.
enum class ClicksStateProblem : uint8_t {
    None,
    BadLevel,
    PictureOutOfRange, // a cell holds no picture of the level, or the frame holds a tile
    TilesLeftWrong,    // the counter differs from the tiles in the field
    NotSettled,        // a tile over a gap, or a column right of an empty one
    BadMoveDepth,
    BadSnapshot, // an undo point that no game could have left
    BadFlags,
};

// Status messages; the window shows them in its own words.
enum class ClicksStatus : uint8_t {
    None,
    Started, // a new game was dealt
    Cleared, // the last tile went: the game is over with a score of 0
    GaveUp,  // the player gave up: the game is over, the score is the tiles left
};

// What an input did.
struct ClicksEffects {
    std::vector<Sound> sounds;
    bool fullRedraw = false;            // the whole field
    std::vector<FieldCell> redrawCells; // single cells (the keyboard cursor)
    std::vector<FieldCell> removed;     // the group a click took away
    std::vector<ClicksGrid> passes;     // the grid after each settling pass, in order
    ClicksStatus status = ClicksStatus::None;
    bool gameOver = false;
    int tilesLeftChange = 0; // the score is the tiles left: negative when tiles went
};

// The count that the window refreshes every 50 ms.
struct ClicksCount {
    int tilesLeft = 0;
    int movesAvailable = 0;
    bool askGiveUp = false; // put the give-up question now (answer with AnswerGiveUp)
};

class ClicksGame {
public:
    ClicksGame();

    // Deals a new game. The caller reseeds `rng` just before (from the clock, or with a game
    // number): the deal draws one picture per cell, column by column, each row from the top.
    ClicksEffects NewGame(ClicksLevel level, RandomGenerator& rng, uint32_t now);
    // The deal alone: one draw below the number of pictures per cell, columns 1..18, rows 1..12.
    static ClicksGrid Deal(ClicksLevel level, RandomGenerator& rng);

    // A click on grid cell (column 0..19, row 0..14); cells outside the grid are ignored. An
    // empty cell or a tile with no like side neighbour answers "noway" and changes nothing. A
    // group goes whole ("done"), the field settles, and the field left empty ends the game.
    // While the give-up question is open or after the game's end, clicks are ignored.
    ClicksEffects Click(FieldCell cell, uint32_t now);

    // The keyboard: arrows move the cursor over the field (1..18 x 1..12), Press clicks the
    // cell under it.
    ClicksEffects Key(CursorKey key, uint32_t now);
    FieldCursor cursor{1, kClicksColumns, 1, kClicksRows};

    // Back: the field before the last move. Possible after a move, until the game is over and
    // not while the give-up question is open.
    bool CanBack() const;
    ClicksEffects Back(uint32_t now);
    // Restart: every move taken back, the field as dealt.
    ClicksEffects Restart(uint32_t now);

    // The 50 ms count. When tiles remain and no group can be removed, it answers askGiveUp once
    // and counts the question as open until AnswerGiveUp.
    ClicksCount Tick(uint32_t now);
    // Yes: the game ends with the tiles left as the score. No: the last move is taken back (when
    // there was none, the question is not put again in this game).
    ClicksEffects AnswerGiveUp(bool giveUp, uint32_t now);

    int MovesAvailable() const { return CountGroups(state_.grid); }
    int TilesLeft() const { return state_.tilesLeft; }
    static constexpr int TilesTotal() { return kClicksTiles; }
    int Score() const { return state_.tilesLeft; }
    static constexpr bool kLowerScoreIsBetter = true;
    bool GameOver() const { return state_.gameOver; }
    ClicksLevel Level() const { return state_.level; }
    int BoardNumber() const { return ClicksBoardNumber(state_.level); }
    const char* TableName() const { return ClicksTableName(state_.level); }
    uint8_t At(int column, int row) const { return state_.grid[column][row]; }

    // Saving and loading: the whole state, and a check that a read state is one a game can be
    // in. SetState keeps the current game when the state is refused.
    const ClicksState& State() const { return state_; }
    static ClicksStateProblem Check(const ClicksState& state);
    ClicksStateProblem SetState(const ClicksState& state);

    // For tests: "" when the state holds together, else what is wrong.
    std::string CheckInvariants() const;

    // Geometry of the 2D field, whose 640 x 448 area has its top-left corner at (left, top): the
    // grid cell under a point (divisions round toward zero, as the window has always done).
    static FieldCell CellAt(int x, int y, int left, int top);
    // The 3D view's pick: (row + 1) * 20 + (column + 1); 0 is no tile.
    static std::optional<FieldCell> CellFromPick(int pick);

private:
    void TakeBack(); // the undo step shared by Back and No
    ClicksState state_;
};

} // namespace tovani
