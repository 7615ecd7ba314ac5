// Slider: pick a tile, then an empty cell; the tile slides there when a path of empty cells
// joins them. Five or more like tiles in a line vanish and score a point each; a slide that
// forms no line brings the three next tiles. The game ends when the grid is full (higher score
// is better). Easy deals jokers, which count as any picture; Hard has none.
//
// Animation: a slide runs to its end before Click returns, so the state is always final. The
// effects carry the steps for the window to show: the cells the tile walks through (option
// "AnimateSlider"), the grid after the slide and its lines, then each new tile with where it
// landed, the lines it completed and the grid after it (option "AnimateNext"). Input that
// arrives while the window still shows them acts on the final grid; the window should end its
// animation first, so that the player clicks what is drawn.
//
// Time: Slider has no clock; the inputs take `now` only to keep every game's calls alike.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/Random.h"
#include "games/FieldCursor.h"
#include "games/slider/SliderGrid.h"
#include "solitaire/Play.h" // Sound

namespace tovani {

enum class SliderLevel : uint8_t { Easy, Hard }; // Easy: with jokers

bool SliderJokers(SliderLevel level);
int SliderBoardNumber(SliderLevel level); // 1030 Easy, 1031 Hard
std::optional<SliderLevel> SliderLevelOfBoard(int boardNumber);
const char* SliderTableName(SliderLevel level); // "Slider", "Slider2"

// Everything a game is, for saving and loading.
struct SliderState {
    SliderLevel level = SliderLevel::Easy;
    SliderGrid grid;
    std::array<uint8_t, 3> next{}; // the tiles the next slide without a line adds, 0-based
    FieldCell selected;            // the tile picked to slide; none is (0, 0)
    int32_t score = 0;
    // Back restores the game as it was before the last slide: grid, next tiles and score.
    SliderGrid undoGrid;
    std::array<uint8_t, 3> undoNext{};
    int32_t undoScore = 0;
    bool undoAvailable = false;
    bool gameOver = false;
    uint32_t startTick = 0;
    friend bool operator==(const SliderState&, const SliderState&) = default;
};

// Why a state read from a file cannot be played.
enum class SliderStateProblem : uint8_t {
    None,
    BadLevel,
    PictureOutOfRange, // a cell or a next tile holds no picture of the level (jokers in Hard)
    BadSelection,      // the selected cell is off the grid or holds no tile
    BadScore,
    FullGrid, // the grid is full but the game is not over, or over but not full
};

// Status messages; the window shows them in its own words.
enum class SliderStatus : uint8_t {
    None,
    Started,  // a new game was dealt
    GameOver, // the grid is full: the score is final
};

// A tile brought in after a slide that formed no line.
struct SliderArrival {
    FieldCell cell;
    uint8_t picture = 0;            // as stored in the grid (1..7)
    std::vector<FieldCell> removed; // the lines it completed, emptied at once
    SliderGrid gridAfter;           // the grid once it landed and its lines went
};

// What an input did.
struct SliderEffects {
    std::vector<Sound> sounds;
    bool fullRedraw = false;            // the whole grid (and the next box)
    std::vector<FieldCell> redrawCells; // single cells (selection, keyboard cursor)
    bool moved = false;                 // a tile slid
    std::vector<FieldCell> path;        // the cells it walked, from where it stood to where it went
    uint8_t movingPicture = 0;
    std::vector<FieldCell> removed; // the lines the slide formed
    SliderGrid afterSlide;          // the grid after the slide and its lines
    std::vector<SliderArrival> arrivals;
    bool nextChanged = false; // three new next tiles were drawn
    int scoreChange = 0;
    SliderStatus status = SliderStatus::None;
    bool gameOver = false;
};

class SliderGame {
public:
    SliderGame();

    // Deals a new game. The caller reseeds `rng` just before (from the clock, or with a game
    // number). Five tiles on random empty cells (column drawn, then row, until the cell is
    // empty; then the picture), then the three next tiles.
    SliderEffects NewGame(SliderLevel level, RandomGenerator& rng, uint32_t now);

    // A click on cell (1..9, 1..9); other cells are ignored, as is every click once the game is
    // over. A tile is selected ("select"); an empty cell with a tile selected is the slide's
    // destination: no path is "noway" (the selection stays), else the tile slides, its lines go
    // ("done"), or, when it formed none, "select" and the three next tiles arrive (a tile that
    // fills the grid ends the game at once). An empty cell with nothing selected is "noway".
    SliderEffects Click(FieldCell cell, RandomGenerator& rng, uint32_t now);

    // The keyboard: arrows move the cursor over the grid, Press clicks the cell under it.
    SliderEffects Key(CursorKey key, RandomGenerator& rng, uint32_t now);
    FieldCursor cursor{1, kSliderSize, 1, kSliderSize};

    // Back: one step, the state before the last slide; then not again until the next slide.
    bool CanBack() const { return state_.undoAvailable && !state_.gameOver; }
    SliderEffects Back(uint32_t now);

    int TilesLeft() const { return state_.grid.Tiles(); } // the 50 ms count
    static constexpr int TilesTotal() { return 216; }
    int Score() const { return state_.score; }
    static constexpr bool kLowerScoreIsBetter = false;
    bool GameOver() const { return state_.gameOver; }
    SliderLevel Level() const { return state_.level; }
    int BoardNumber() const { return SliderBoardNumber(state_.level); }
    const char* TableName() const { return SliderTableName(state_.level); }
    const SliderGrid& Grid() const { return state_.grid; }
    const std::array<uint8_t, 3>& Next() const { return state_.next; }
    FieldCell Selected() const { return state_.selected; }

    // Saving and loading: the whole state, and a check that a read state is one a game can be
    // in. SetState keeps the current game when the state is refused.
    const SliderState& State() const { return state_; }
    static SliderStateProblem Check(const SliderState& state);
    SliderStateProblem SetState(const SliderState& state);

    // For tests: "" when the state holds together, else what is wrong.
    std::string CheckInvariants() const;

    // Geometry of the 320 x 320 grid box: the cell a click at (x, y) means (divisions round
    // toward zero, so the margin left of and above the grid still counts as column or row 1),
    // and the cell under the mouse for the hover frame, none outside the grid.
    static FieldCell CellAt(int x, int y);
    static std::optional<FieldCell> HoverCellAt(int x, int y);
    // The 3D view's pick: row * 10 + column; 0 is no cell.
    static std::optional<FieldCell> CellFromPick(int pick);

private:
    // Brings the three next tiles and draws new ones; false when the grid filled.
    bool BringNextTiles(RandomGenerator& rng, SliderEffects& fx);
    uint8_t DrawPicture(RandomGenerator& rng) const;
    SliderState state_;
};

} // namespace tovani
