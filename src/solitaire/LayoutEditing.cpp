#include "solitaire/LayoutEditing.h"

#include "solitaire/FreeRules.h"

namespace tovani {

namespace {

bool InPlayingArea(const Cell& c) {
    return c.column >= 1 && c.column <= kLayoutColumns && c.row >= 1 && c.row <= kLayoutRows &&
           c.layer >= 1 && c.layer <= kLayoutLayers;
}

// Whether any of the nine cells around (column, row) on `layer` holds a tile: a tile there
// would overlap (same layer), carry (layer below) or cover (layer above) one at (column, row).
bool AnyAround(const Board& b, int column, int row, int layer) {
    for (int dc = -1; dc <= 1; ++dc)
        for (int dr = -1; dr <= 1; ++dr)
            if (b.At(column + dc, row + dr, layer) != 0)
                return true;
    return false;
}

} // namespace

void LayoutEditing::Start(const Layout& layout) {
    layout_.Clear();
    board_.Clear();
    name = layout.name;
    int tile = 0;
    for (const Cell& c : layout.Places()) {
        if (tile == kTileCount)
            break; // a layout holds 144 tiles at most
        board_.Place(++tile, c);
        layout_.Set(c.layer, c.row - 1, c.column - 1, true);
    }
    board_.tilesLeft = board_.tilesTotal = tile;
}

int LayoutEditing::FreeTiles() const {
    return tovani::FreeTiles(board_);
}

bool LayoutEditing::Eligible(const Cell& c) const {
    if (!InPlayingArea(c))
        return false;
    return c.layer == 1 || AnyAround(board_, c.column, c.row, c.layer - 1);
}

std::optional<Cell> LayoutEditing::WhatAdd(const std::function<bool(const Cell&)>& hit) const {
    std::optional<Cell> found;
    for (int l = 1; l <= kLayoutLayers; ++l)
        for (int c = kLayoutColumns; c >= 1; --c)
            for (int r = 1; r <= kLayoutRows; ++r) {
                const Cell cell{c, r, l};
                if (Eligible(cell) && hit(cell))
                    found = cell;
            }
    return found;
}

bool LayoutEditing::CanAdd(const Cell& c) const {
    return PlacesRemaining() > 0 && Eligible(c) && !AnyAround(board_, c.column, c.row, c.layer);
}

int LayoutEditing::Add(const Cell& c) {
    if (!CanAdd(c))
        return 0;
    int tile = 1;
    while (tile <= kTileCount && board_.Position(tile).OnBoard())
        ++tile;
    if (tile > kTileCount)
        return 0;
    board_.Place(tile, c);
    layout_.Set(c.layer, c.row - 1, c.column - 1, true);
    board_.tilesLeft = board_.tilesTotal = Places();
    return tile;
}

bool LayoutEditing::CanRemove(int tile) const {
    const Cell c = board_.Position(tile);
    if (!c.OnBoard())
        return false;
    return c.layer == kLayoutLayers || !AnyAround(board_, c.column, c.row, c.layer + 1);
}

bool LayoutEditing::Remove(int tile) {
    if (!CanRemove(tile))
        return false;
    const Cell c = board_.Position(tile);
    board_.Remove(tile);
    layout_.Set(c.layer, c.row - 1, c.column - 1, false);
    board_.tilesLeft = board_.tilesTotal = Places();
    return true;
}

bool LayoutEditing::CanMove(MoveDirection d) const {
    // A tile is two cells wide and high: moving right or down needs two free cells at the edge.
    for (int t = 1; t <= kTileCount; ++t) {
        const Cell c = board_.Position(t);
        if (!c.OnBoard())
            continue;
        switch (d) {
        case MoveDirection::Left:
            if (c.column <= 1)
                return false;
            break;
        case MoveDirection::Right:
            if (c.column >= kLayoutColumns - 1)
                return false;
            break;
        case MoveDirection::Top:
            if (c.row <= 1)
                return false;
            break;
        case MoveDirection::Bottom:
            if (c.row >= kLayoutRows - 1)
                return false;
            break;
        }
    }
    return true;
}

bool LayoutEditing::Move(MoveDirection d) {
    if (!CanMove(d))
        return false;
    int dc = 0, dr = 0;
    switch (d) {
    case MoveDirection::Left:
        dc = -1;
        break;
    case MoveDirection::Right:
        dc = 1;
        break;
    case MoveDirection::Top:
        dr = -1;
        break;
    case MoveDirection::Bottom:
        dr = 1;
        break;
    }
    Board moved;
    Layout layout;
    for (int t = 1; t <= kTileCount; ++t) {
        Cell c = board_.Position(t);
        if (!c.OnBoard())
            continue;
        c.column += dc;
        c.row += dr;
        moved.Place(t, c);
        layout.Set(c.layer, c.row - 1, c.column - 1, true);
    }
    moved.tilesLeft = moved.tilesTotal = board_.tilesTotal;
    board_ = moved;
    layout_ = layout;
    return true;
}

SaveCheck LayoutEditing::CheckSave() const {
    if (Places() % 4 != 0)
        return SaveCheck::Unfinished;
    if (FreeTiles() < 2)
        return SaveCheck::NotPlayable;
    return SaveCheck::Ok;
}

std::string LayoutListName(const std::string& fileName) {
    std::string base = fileName;
    const size_t slash = base.find_last_of("/\\");
    if (slash != std::string::npos)
        base = base.substr(slash + 1);
    if (base.size() >= 4) {
        std::string ext = base.substr(base.size() - 4);
        for (char& ch : ext)
            ch = static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch);
        if (ext == ".lay")
            base.resize(base.size() - 4);
    }
    return base;
}

} // namespace tovani
