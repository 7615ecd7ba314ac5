// The layout editor's rules: a layout built tile by tile on the board itself. Every place of
// the layout holds a tile while it is edited, so the board shows the layout as it will play.
//
// A new tile rests on the layer below (at least one of the nine cells around it there holds a
// tile) and overlaps no tile of its own layer; a tile may be taken away when nothing lies on it;
// the whole layout moves by one cell unless a tile would leave the grid. A layout can be saved
// when its places make whole blocks of four and at least two of its tiles are free.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "solitaire/Board.h"

namespace tovani {

enum class MoveDirection { Left, Right, Top, Bottom };

enum class SaveCheck {
    Ok,
    Unfinished,  // the places are not a multiple of 4
    NotPlayable, // fewer than 2 free tiles
};

class LayoutEditing {
public:
    LayoutEditing() = default;

    // Starts on a layout (empty for a new one): its places receive tiles 1, 2, ... in the
    // order a deal numbers them.
    void Start(const Layout& layout);

    const Board& GetBoard() const { return board_; }
    // The layout as built, with its name.
    Layout Result() const {
        Layout l = layout_;
        l.name = name;
        return l;
    }
    int Places() const { return layout_.PlaceCount(); }
    // How many more tiles may be added (144 at most in a layout).
    int PlacesRemaining() const { return kTileCount - Places(); }
    // Tiles to add before the places make whole blocks of four.
    int Needed() const { return (4 - Places() % 4) % 4; }
    // Tiles free under the side rule.
    int FreeTiles() const;

    // A cell (1-based board cell) where a tile may stand: inside the playing area, and on
    // layer 2 or higher only above a tile of the layer below.
    bool Eligible(const Cell& c) const;
    // The cell a click would add to: the eligible cells are tried layer 1 to 5, column 34 down
    // to 1, row 1 to 20, and the last one that `hit` accepts wins (higher layers over lower).
    std::optional<Cell> WhatAdd(const std::function<bool(const Cell&)>& hit) const;

    // Adding a tile: eligible, a place left, and no tile of the same layer overlapping.
    bool CanAdd(const Cell& c) const;
    // The tile put there (the lowest number not on the board), or 0 when it cannot be added.
    int Add(const Cell& c);
    // Removing a tile: it is on the board and nothing lies on it (a top-layer tile always
    // may go).
    bool CanRemove(int tile) const;
    bool Remove(int tile);

    // Moving the whole layout by one cell; refused when a tile stands at that edge.
    bool CanMove(MoveDirection d) const;
    bool Move(MoveDirection d);

    SaveCheck CheckSave() const;

    std::string name; // the layout's full name

private:
    Board board_;
    Layout layout_;
};

// Where the player's saved layout lies and under which list name it is found again: the file
// name without its ".lay" extension, blanks kept.
std::string LayoutListName(const std::string& fileName);

} // namespace tovani
