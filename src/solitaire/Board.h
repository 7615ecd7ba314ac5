// The Solitaire board: a layered grid of cells, the cell of every tile, and the layout that
// says where tiles stand.
//
// A tile is two columns wide and two rows high; it is stored in the cell of its top-left
// quarter, so neighbouring tiles stand two columns apart and tiles may sit half a tile off
// against each other and against the layer below.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "solitaire/Tiles.h"

namespace tovani {

// Board grid size: columns 0..38, rows 0..22, layers 0..5. Tiles stand on columns 1..34,
// rows 1..20 and layers 1..5; the other cells stay empty so that neighbour tests need no
// bounds checks at the edges of the playing area.
constexpr int kGridColumns = 39;
constexpr int kGridRows = 23;
constexpr int kGridLayers = 6;
// The playing area and the layout share this size.
constexpr int kLayoutLayers = 5;
constexpr int kLayoutRows = 20;
constexpr int kLayoutColumns = 34;
constexpr int kLayoutCells = kLayoutLayers * kLayoutRows * kLayoutColumns; // 3400
// A place of the layout that has not yet received its tile during a deal.
constexpr uint8_t kPlaceMarker = 155;

// A board cell (column, row, layer). (0, 0, 0) means "not on the board".
struct Cell {
    int column = 0;
    int row = 0;
    int layer = 0;

    bool OnBoard() const { return column != 0 || row != 0 || layer != 0; }
    friend bool operator==(const Cell&, const Cell&) = default;
};

// Where tiles may stand: 5 layers x 20 rows x 34 columns of 0/1. Layout layer L (1..5), row R
// (0..19) and column C (0..33) is board cell (C + 1, R + 1, L).
class Layout {
public:
    // Layer 1..5, row 0..19, column 0..33; false outside.
    bool Has(int layer, int row, int column) const;
    void Set(int layer, int row, int column, bool place);
    void Clear();

    // The number of places (the tiles a deal puts on it).
    int PlaceCount() const;
    // The board cells of the places, layer 1 to 5, within a layer row by row, within a row
    // column by column: the order in which a deal numbers its places.
    std::vector<Cell> Places() const;

    // Index (layer - 1) * 680 + row * 34 + column: the order of the ".lay" file.
    uint8_t Raw(int index) const { return places_[static_cast<size_t>(index)]; }
    void SetRaw(int index, uint8_t v) { places_[static_cast<size_t>(index)] = v ? 1 : 0; }

    friend bool operator==(const Layout&, const Layout&) = default;

    std::string name; // the layout's full name, shown in the caption

private:
    static int Index(int layer, int row, int column) {
        return (layer - 1) * kLayoutRows * kLayoutColumns + row * kLayoutColumns + column;
    }
    std::array<uint8_t, kLayoutCells> places_{};
};

// The grid and the tile position table, with the tile counters of the game in play.
class Board {
public:
    Board() { Clear(); }

    // The byte in a cell; a cell outside the grid reads as empty.
    uint8_t At(int column, int row, int layer) const {
        if (column < 0 || column >= kGridColumns || row < 0 || row >= kGridRows || layer < 0 ||
            layer >= kGridLayers)
            return 0;
        return cells_[Index(column, row, layer)];
    }
    uint8_t At(const Cell& c) const { return At(c.column, c.row, c.layer); }
    // Writes a cell inside the grid; writes outside are ignored.
    void Set(int column, int row, int layer, uint8_t v) {
        if (column < 0 || column >= kGridColumns || row < 0 || row >= kGridRows || layer < 0 ||
            layer >= kGridLayers)
            return;
        cells_[Index(column, row, layer)] = v;
    }
    void Set(const Cell& c, uint8_t v) { Set(c.column, c.row, c.layer, v); }

    // The cell of a tile; (0, 0, 0) when it is not on the board or the number is out of range.
    Cell Position(int tile) const {
        return IsTileNumber(tile) ? positions_[static_cast<size_t>(tile)] : Cell{};
    }
    void SetPosition(int tile, const Cell& c) {
        if (IsTileNumber(tile))
            positions_[static_cast<size_t>(tile)] = c;
    }
    // Puts a tile into a cell and records its position.
    void Place(int tile, const Cell& c);
    // Takes a tile off the board (its cell and its position).
    void Remove(int tile);

    // Empties every cell and the position table.
    void Clear();
    void ClearPositions();
    // Step "fill the board" of a new game: every layout place holds the place marker, every
    // other cell is empty, the position table is cleared, and tiles left = tiles total = the
    // number of places.
    void FillFromLayout(const Layout& layout);

    // The tile number in a cell, 0 when it holds none (empty or a place marker).
    int TileAt(const Cell& c) const {
        int v = At(c);
        return IsTileNumber(v) ? v : 0;
    }

    // The grid bytes, column-major with the layer varying fastest (138 bytes per column), as
    // saved games store them.
    const std::array<uint8_t, kGridColumns * kGridRows * kGridLayers>& Bytes() const {
        return cells_;
    }

    int tilesLeft = 0;
    int tilesTotal = 0;

    friend bool operator==(const Board&, const Board&) = default;

private:
    static size_t Index(int column, int row, int layer) {
        return static_cast<size_t>((column * kGridRows + row) * kGridLayers + layer);
    }
    std::array<uint8_t, kGridColumns * kGridRows * kGridLayers> cells_{};
    std::array<Cell, kTileCount + 1> positions_{};
};

} // namespace tovani
