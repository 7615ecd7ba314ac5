#include "solitaire/Board.h"

namespace tovani {

bool Layout::Has(int layer, int row, int column) const {
    if (layer < 1 || layer > kLayoutLayers || row < 0 || row >= kLayoutRows || column < 0 ||
        column >= kLayoutColumns)
        return false;
    return places_[static_cast<size_t>(Index(layer, row, column))] != 0;
}

void Layout::Set(int layer, int row, int column, bool place) {
    if (layer < 1 || layer > kLayoutLayers || row < 0 || row >= kLayoutRows || column < 0 ||
        column >= kLayoutColumns)
        return;
    places_[static_cast<size_t>(Index(layer, row, column))] = place ? 1 : 0;
}

void Layout::Clear() {
    places_.fill(0);
}

int Layout::PlaceCount() const {
    int n = 0;
    for (uint8_t v : places_)
        n += v ? 1 : 0;
    return n;
}

std::vector<Cell> Layout::Places() const {
    std::vector<Cell> out;
    for (int l = 1; l <= kLayoutLayers; ++l)
        for (int r = 0; r < kLayoutRows; ++r)
            for (int c = 0; c < kLayoutColumns; ++c)
                if (Has(l, r, c))
                    out.push_back(Cell{c + 1, r + 1, l});
    return out;
}

void Board::Place(int tile, const Cell& c) {
    Set(c, static_cast<uint8_t>(tile));
    SetPosition(tile, c);
}

void Board::Remove(int tile) {
    Cell c = Position(tile);
    if (c.OnBoard() && At(c) == tile)
        Set(c, 0);
    SetPosition(tile, Cell{});
}

void Board::Clear() {
    cells_.fill(0);
    ClearPositions();
}

void Board::ClearPositions() {
    positions_.fill(Cell{});
}

void Board::FillFromLayout(const Layout& layout) {
    Clear();
    int n = 0;
    for (const Cell& c : layout.Places()) {
        Set(c, kPlaceMarker);
        ++n;
    }
    tilesLeft = tilesTotal = n;
}

} // namespace tovani
