// A cell of a game's field, and the keyboard cursor that the player moves over it with the
// arrows and presses with Space or Enter. Shared by the games played on a grid of cells.
#pragma once

#include <algorithm>

namespace tovani {

// A cell by column and row as its game numbers them; (0, 0) stands for "no cell".
struct FieldCell {
    int column = 0;
    int row = 0;
    bool None() const { return column == 0 && row == 0; }
    friend bool operator==(const FieldCell&, const FieldCell&) = default;
};

enum class CursorKey { Left, Right, Up, Down, Press };

// The cursor never leaves the field: a step against its edge leaves it where it is.
class FieldCursor {
public:
    FieldCursor(int firstColumn, int lastColumn, int firstRow, int lastRow)
        : first_{firstColumn, firstRow}, last_{lastColumn, lastRow}, at_{firstColumn, firstRow} {}

    FieldCell Cell() const { return at_; }

    // Puts the cursor on `cell`, pulled inside the field.
    void Place(FieldCell cell) {
        at_.column = std::clamp(cell.column, first_.column, last_.column);
        at_.row = std::clamp(cell.row, first_.row, last_.row);
    }

    // An arrow moves one cell (rows grow downwards); answers whether the cursor moved. Press
    // does not move it: the game clicks the cell under it.
    bool Move(CursorKey key) {
        FieldCell before = at_;
        switch (key) {
        case CursorKey::Left:
            Place({at_.column - 1, at_.row});
            break;
        case CursorKey::Right:
            Place({at_.column + 1, at_.row});
            break;
        case CursorKey::Up:
            Place({at_.column, at_.row - 1});
            break;
        case CursorKey::Down:
            Place({at_.column, at_.row + 1});
            break;
        case CursorKey::Press:
            break;
        }
        return !(at_ == before);
    }

private:
    FieldCell first_, last_, at_;
};

} // namespace tovani
