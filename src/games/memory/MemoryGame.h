// Memory, the concentration game: every tile lies face down on a flat grid; the player turns
// two over, they stay up for ten ticks of the 50 ms timer (half a second), and then either
// leave the board (same matching group) or turn face down again at a cost of two penalty
// seconds. The board is won when it is empty.
//
// `MemoryGame` owns the board of the game in play with its two face-up tiles and the reveal
// countdown, and answers what each click and tick did (sounds, tiles to redraw, the pair
// removed, penalty seconds) for the window to perform. The game clock is the window's.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/Random.h"
#include "solitaire/Board.h"
#include "solitaire/Play.h"

namespace tovani {

enum class MemoryVariant { Easy, Hard };

struct MemoryVariantInfo {
    MemoryVariant variant;
    int boardNumber;          // which hall-of-fame table the game scores in
    const char* hallSection;  // that table's section in the hall-of-fame file
    const char* description;  // the board's name in the window caption
    int tiles;                // tiles dealt: 1..tiles, every group of four complete
    int firstColumn, columns; // places at firstColumn, firstColumn + 2, ... on layer 1
    int firstRow, rows;
};

constexpr int kMemoryEasyBoard = 1010;
constexpr int kMemoryHardBoard = 1011;

const MemoryVariantInfo& MemoryInfo(MemoryVariant variant);
// The variant of a board number (1010 Easy, 1011 Hard); none for any other number.
std::optional<MemoryVariant> MemoryVariantOfBoard(int boardNumber);
bool IsMemoryPlace(MemoryVariant variant, const Cell& cell);

// The deal of a new game: empties the board, then for tiles 1..32 (Easy) draws a column below
// 8 and a row below 4 until the place (10 + 2 column, 7 + 2 row, layer 1) is empty, or for
// tiles 1..60 (Hard) a column below 10 and a row below 6 until (8 + 2 column, 5 + 2 row, 1)
// is empty. Every place ends up filled; tiles left = tiles total.
void DealMemory(Board& board, MemoryVariant variant, RandomGenerator& rng);

// What one Memory click or tick did.
struct MemoryEffects {
    std::vector<Sound> sounds;
    std::vector<int> redrawTiles; // tiles turned face up
    bool fullRedraw = false;      // a pair turned face down again: redraw the whole board
    bool removed = false;         // a pair left the board (both places need a redraw)
    RemovedPair pair;
    int penaltySeconds = 0; // to add to the game's penalty seconds
    bool resolved = false;  // the reveal ended on this tick (the side panel may change)
};

class MemoryGame {
public:
    static constexpr int kRevealTicks = 10;    // 50 ms ticks a turned pair stays up
    static constexpr int kMismatchPenalty = 2; // seconds for a pair that does not match

    MemoryGame();

    // Deals a new game of the variant. The generator is seeded by the caller (from the clock
    // for a game from the menu, or from a number for a numbered deal).
    void NewGame(MemoryVariant variant, RandomGenerator& rng);

    MemoryVariant Variant() const { return variant_; }
    const MemoryVariantInfo& Info() const { return MemoryInfo(variant_); }
    const Board& GameBoard() const { return board_; }
    int TilesLeft() const { return board_.tilesLeft; }
    int TilesTotal() const { return board_.tilesTotal; }
    // The board is empty: the game is won (the window ends it once its clock shows a second).
    bool Finished() const { return board_.tilesTotal > 0 && board_.tilesLeft == 0; }

    int FirstPick() const { return firstPick_; }
    int SecondPick() const { return secondPick_; }
    int RevealCountdown() const { return countdown_; }
    // Two tiles are face up and waiting: every click is ignored until they are resolved.
    bool Revealing() const { return countdown_ > 0; }
    // Whether a tile shows its face (the two turned tiles); all others lie face down.
    bool FaceUp(int tile) const { return tile != 0 && (tile == firstPick_ || tile == secondPick_); }
    // The face to draw for a tile on the board: its own face when face up, else the blank back.
    int FaceShown(int tile) const { return FaceUp(tile) ? FaceOf(tile) : kBlankFace; }
    const std::array<HistoryEntry, kHistorySize>& History() const { return history_; }

    // A click on tile `tile` (0: the click hit no tile). Ignored while a pair is up. The
    // first tile turns face up ("select"); a second, other tile turns face up ("select") and
    // starts the countdown. Clicking the face-up tile again does nothing (the next click still
    // picks the second tile).
    MemoryEffects ChoisitPai(int tile);

    // One tick of the 50 ms timer (every tick, paused or not): counts the reveal down and,
    // when it reaches 0, removes a matching pair ("done") or turns a mismatched one back
    // (kMismatchPenalty seconds).
    MemoryEffects Tick();

private:
    MemoryVariant variant_ = MemoryVariant::Easy;
    Board board_;
    int firstPick_ = 0, secondPick_ = 0;
    int countdown_ = 0;
    std::array<HistoryEntry, kHistorySize> history_{};
};

} // namespace tovani
