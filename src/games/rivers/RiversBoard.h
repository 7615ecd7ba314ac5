// Rivers' two boards and their deal. Every tile lies face up on a flat grid of places two
// cells apart: Easy has 84 tiles on one layer, Hard 144 on two layers, a tile of the upper
// layer standing exactly on a tile of the lower one. Each matching group of four lies wholly on
// one layer (Hard: tiles 1..72 below, 73..144 above).
#pragma once

#include <optional>

#include "core/Random.h"
#include "solitaire/Board.h"

namespace tovani {

enum class RiversVariant { Easy, Hard };

struct RiversVariantInfo {
    RiversVariant variant;
    int boardNumber;          // which hall-of-fame table the game scores in
    const char* hallSection;  // that table's section in the hall-of-fame file
    const char* description;  // the board's name in the window caption
    int tiles;                // tiles dealt
    int layers;               // layers 1..layers hold tiles
    int firstColumn, columns; // places at firstColumn, firstColumn + 2, ... (columns of them)
    int firstRow, rows;       // and at firstRow, firstRow + 2, ... (rows of them)
};

constexpr int kRiversEasyBoard = 1000;
constexpr int kRiversHardBoard = 1001;

const RiversVariantInfo& RiversInfo(RiversVariant variant);
// The variant of a board number (1000 Easy, 1001 Hard); none for any other number.
std::optional<RiversVariant> RiversVariantOfBoard(int boardNumber);
// The variant of a saved game, told by its tiles total: 84 Easy, 144 Hard, none otherwise.
std::optional<RiversVariant> RiversVariantOfTiles(int tilesTotal);

// Whether a cell is one of the variant's places (column, row and layer).
bool IsRiversPlace(RiversVariant variant, const Cell& cell);
// The layer a tile number is dealt on (Easy: 1; Hard: 1 for 1..72, 2 for 73..144); 0 for a
// number the variant does not deal.
int RiversLayerOf(RiversVariant variant, int tile);

// The deal of a new game: empties the board, then puts every tile on a place, drawing from
// the generator as the game always has (a seeded generator gives the same board every time):
// Easy: for tiles 1..84 in order, draw a column below 12 and a row below 7 until the place
// (6 + 2 column, 4 + 2 row, layer 1) is empty. Hard: for layer 1 then layer 2, for b = 1..72,
// draw a column below 12 and a row below 6 until (6 + 2 column, 5 + 2 row, that layer) is
// empty, and put tile b + 72 (layer - 1) there. Tiles left = tiles total.
void DealRivers(Board& board, RiversVariant variant, RandomGenerator& rng);

} // namespace tovani
