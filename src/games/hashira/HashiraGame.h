// Hashira, the falling-columns game: columns of three small tiles drop into a well six tiles
// wide and twelve high. The player moves the falling column left and right, cycles its three
// tiles and drops it faster. When it lands, every line of three or more like tiles (vertical,
// horizontal or diagonal) flashes and vanishes, the tiles above fall, and lines formed by that
// fall are removed in a chain reaction that multiplies their points. Every 30 tiles removed
// raise the level and the columns fall faster; the game ends when the entry is blocked.
//
// The game runs one step per tick of the window's 12 ms timer (`DoColumns`). Positions are in
// pixels: a tile is 32 square, x is 0, 32, ..., 160 and y runs from 0 (top row) to 352 (bottom
// row), negative above the well. Speeds are pixels a tick, so the time between two ticks never
// enters the rules: a pause, or a slow tick, cannot make the game jump.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/Clock.h"
#include "core/Random.h"
#include "solitaire/Play.h" // Sound

namespace tovani {

constexpr int kHashiraColumns = 6;  // the well's width in tiles
constexpr int kHashiraRows = 12;    // the well's height in tiles
constexpr int kHashiraCell = 32;    // a tile's size in pixels
constexpr int kHashiraRightX = 160; // x of the rightmost column
constexpr int kHashiraFloorY = 352; // y of the bottom row
constexpr int kHashiraEntryX = 64;  // the column where new columns enter
constexpr int kHashiraPictures = 6; // tile pictures 0..5 of the small tileset
// The block list: slot 0 is the sentinel that a failed search returns, slots 1..84 hold blocks.
// A column that is full up to the top row cannot be entered, so a column holds at most 14 tiles
// (12 in the well, 2 above it) and the list at most 84.
constexpr int kHashiraBlockSlots = 85;
constexpr int kHashiraMaxBlocks = kHashiraBlockSlots - 1;
// The well picture the window composes, and where a block is drawn in it: at (x, y - 22).
constexpr int kHashiraWellWidth = 198;
constexpr int kHashiraWellHeight = 369;
constexpr int kHashiraDrawOffsetY = 22;
constexpr int kHashiraStartLevels = 10; // "Start at Level 1" .. "Start at Level 10"
constexpr int kHashiraTilesPerLevel = 30;
constexpr double kHashiraDropSpeed = 8;     // pixels a tick while Down is held
constexpr double kHashiraMaxFallSpeed = 32; // a column never passes a whole cell in one tick

enum class HashiraPhase : int32_t {
    NewColumn = 0,  // a new column is due
    Falling = 1,    // a column is falling
    Flashing = 2,   // marked lines flash
    Collapsing = 3, // the tiles above removed ones fall
};

enum HashiraBlockState : int32_t {
    kBlockNone = 0,
    kBlockNormal = 1,
    kBlockRemoving = 2,
    kBlockCollapsing = 3,
};

struct HashiraBlock {
    int32_t x = 0;
    double y = 0;
    int32_t state = kBlockNone;
    int32_t picture = -1;
    friend bool operator==(const HashiraBlock&, const HashiraBlock&) = default;
};

// The arrow keys as the window's key handlers leave them: a key-down sets only its own flag
// (clearing the other three) after copying right, left and up to their previous flags; any
// key-up clears all four. Each tick clears right, left and up, so a key-down moves or cycles the
// column once; Down stays set while the key is held.
struct HashiraKeys {
    bool right = false, left = false, up = false, down = false;
    bool previousRight = false, previousLeft = false, previousUp = false;
    friend bool operator==(const HashiraKeys&, const HashiraKeys&) = default;
};

enum class HashiraKey { Left, Right, Up, Down, Other };

// The whole state of a game, in plain fields, for saving and restoring.
struct HashiraState {
    std::array<HashiraBlock, kHashiraBlockSlots> blocks{}; // used from 1 up to blockCount
    int32_t blockCount = 0;
    HashiraPhase phase = HashiraPhase::NewColumn;
    int32_t removalTicks = 0; // ticks since lines were last marked (flash, banner)
    int32_t chainCounter = 0; // line checks since the current column appeared
    int32_t points = 0;       // points of the latest line check
    int32_t removedTotal = 0; // tiles removed, starting at 30 x (start level - 1)
    int32_t score = 0;
    double baseFallSpeed = 1;      // 0.5, 1, 2 or 3 from the fall-speed options
    double fallSpeed = 0;          // of the falling column
    int32_t sidewaysStep = 0;      // -32, 0 or +32: pending move of the falling column
    int32_t frameCounter = 0;      // counts ticks: the background's scroll and the banner's wave
    std::array<int32_t, 3> next{}; // the column that enters next, top to bottom
    HashiraKeys keys;
    int32_t startLevel = 1;
    bool started = false;
    bool gameOver = false;
    bool paused = false;
    friend bool operator==(const HashiraState&, const HashiraState&) = default;
};

// What is wrong with a state handed to SetState (None: it may be played).
enum class HashiraStateProblem {
    None,
    BlockCount,    // the count is outside 0..84
    Block,         // a block's column, height, state or picture is out of range
    Sentinel,      // slot 0 is not the empty sentinel
    Overlap,       // two blocks share a place
    FallingColumn, // a falling phase without a column of three falling blocks
    Counters,      // a phase, counter, score or start level out of range
    Speed,         // a fall speed or step out of range
    NextColumn,    // a next-column picture out of range
};

// What one tick (or a start) did, for the window to perform.
struct HashiraEffects {
    std::vector<Sound> sounds; // in order: Select when a column lands, Done when lines go
    bool redrawWell = false;   // the tick ran: the well changed (it moves every tick)
    bool redrawPanel = false;  // score, tiles removed or level may have changed
    bool redrawNext = false;   // a new next column was drawn
    bool newColumn = false;    // a column entered the well
    bool landed = false;       // the falling column landed
    int marked = 0;            // blocks marked by a line check this tick
    int pointsScored = 0;      // added to the score this tick
    bool levelChanged = false;
    bool gameOver = false; // the entry was blocked: the game is over
};

// One block as the window draws it, in drawing order.
struct HashiraDrawBlock {
    int x = 0;       // left edge in the well picture
    int top = 0;     // top edge in the well picture: truncated y - 22
    int picture = 0; // 0..5 in the small tileset
    int state = kBlockNormal;
    bool shown = true; // false on the ticks when a marked block flashes off
};

// The points banner that waves and slides down while lines flash and tiles collapse.
struct HashiraBannerDigit {
    int digit = 0; // 0..9, from the digit strip
    int x = 0, y = 0;
};
struct HashiraBanner {
    bool shown = false;
    int value = 0;                          // the points shown
    std::string text;                       // the five places, spaces where nothing is drawn
    std::vector<HashiraBannerDigit> digits; // the characters drawn, left to right
};

// The falling column as the window or the 3D scene may want it.
struct HashiraColumn {
    bool falling = false;
    int x = 0;
    double bottomY = 0;
    std::array<int32_t, 3> pictures{}; // top to bottom
};

// The result that goes to the "Columns" table of the hall of fame.
struct HashiraResult {
    int32_t result = 0; // the final score divided by 100 (0 enters nothing)
    int32_t level = 1;  // tiles removed div 30 + 1
};

class HashiraGame {
public:
    // The start level of the next game, from a "Start at Level N" item (1..10). Answers false
    // and keeps the level when the number is not one of them.
    bool SetStartLevel(int level);
    int StartLevel() const { return startLevel_; }
    // A start level read from the settings: out of range gives level 1.
    static int StartLevelFromSetting(int stored);

    // The base fall speed of the four fall-speed options, 0 `TurtleFall` (slowly), 1 `SlowFall`
    // (normally), 2 `NormalFall` (quickly), 3 `FastFall` (very quickly): 0.5, 1, 2 or 3 pixels a
    // tick; and the one a stored setting gives (the speed's integer part, 0 for 0.5; anything
    // else is 1). SetBaseFallSpeed takes effect at the next tick, also during a game.
    static double FallSpeedOption(int option);
    static double FallSpeedFromSetting(int stored);
    void SetBaseFallSpeed(double speed);

    // Option "Animate Chain Reactions": longer flashing (30 ticks instead of 10), slower
    // collapsing (4 pixels a tick instead of 8) and the points banner.
    void SetAnimateChain(bool on) { animateChain_ = on; }
    bool AnimateChain() const { return animateChain_; }
    // The width of the background picture that scrolls behind the well, 0 when the background
    // does not scroll (option off, the 3D view, or no picture): the frame counter starts again
    // when the scroll reaches the width.
    void SetBackgroundWidth(int width) { backgroundWidth_ = width > 0 ? width : 0; }

    // Starts a game at the start level: the generator is reseeded from the clock (or from
    // `seed` for a numbered game), then the next column is drawn. The first tick brings it in.
    HashiraEffects Start(RandomGenerator& rng, const Clock& clock);
    HashiraEffects StartSeeded(RandomGenerator& rng, uint32_t seed);

    // The window's key handlers. Key-downs are ignored while the game is paused or over.
    void KeyDown(HashiraKey key);
    void KeyUp();

    // One tick of the game: the flash, the collapse, a new column, the falling column, then the
    // scroll of the background. Does nothing before a start, while paused and after game over.
    // The generator draws the next column when one enters.
    HashiraEffects DoColumns(RandomGenerator& rng);

    // Pause stops the game dead; ticks while paused do nothing, so the game resumes exactly
    // where it stopped however long the pause was.
    void Pause();
    void Resume();
    bool Paused() const { return state_.paused; }
    bool Running() const { return state_.started && !state_.paused && !state_.gameOver; }
    bool GameOver() const { return state_.gameOver; }

    // The whole state, and a checked way to set it (a bad state is refused, nothing changes).
    const HashiraState& State() const { return state_; }
    HashiraStateProblem SetState(const HashiraState& state);
    static HashiraStateProblem CheckState(const HashiraState& state);

    // What the window shows.
    int32_t Score() const { return state_.score; }
    int Level() const { return state_.removedTotal / kHashiraTilesPerLevel + 1; }
    int BlocksRemoved() const;
    HashiraPhase Phase() const { return state_.phase; }
    const std::array<int32_t, 3>& NextColumn() const { return state_.next; }
    HashiraColumn FallingColumn() const;
    // The blocks in drawing order: columns from the right to the left, each from the top down.
    std::vector<HashiraDrawBlock> DrawList() const;
    // The picture resting in a well cell (column 0..5, row 0..11), -1 when the cell is empty.
    int CellPicture(int column, int row) const;
    // The background picture's left edge: it slides left one pixel every four ticks.
    int BackgroundScroll() const { return state_.frameCounter / 4; }
    HashiraBanner PointsBanner() const;
    HashiraResult ColumnsResult() const;

    // The block at (x, y) exactly: the lowest index, or 0 (the sentinel) when there is none.
    int FindBlock(int x, double y) const;
    // The top of the cell holding y: the largest multiple of 32 not above it.
    static double CellTop(double y);
    // Points for n blocks removed by one line check, before the chain multiplier.
    static int PointsFor(int marked);
    // The fall speed of the current level.
    double LevelFallSpeed() const;
    // Three pictures for a column, top to bottom, as the game draws them.
    static std::array<int32_t, 3> DrawColumn(RandomGenerator& rng);

private:
    void Begin(RandomGenerator& rng, HashiraEffects& fx);
    void RemoveMarked();
    void Collapse(HashiraEffects& fx);
    void NewColumn(RandomGenerator& rng, HashiraEffects& fx);
    void MoveColumn(HashiraEffects& fx);
    void LineCheck(HashiraEffects& fx);
    void DeleteBlock(int index);
    bool SideIsOpen(int x, double bottomY) const;

    HashiraState state_;
    int startLevel_ = 1;
    bool animateChain_ = true;
    int backgroundWidth_ = 0;
};

} // namespace tovani
