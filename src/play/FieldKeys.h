// The keys that move the keyboard cursor over a grid game's field (Clicks, Slider): the arrows
// move it, Space and Enter click where it stands.
#pragma once

#include "games/FieldCursor.h"

#include <Qt>

#include <optional>

namespace tovani {

// A Qt key as the field cursor's key, if it is one.
inline std::optional<CursorKey> CursorKeyOf(int key) {
    switch (key) {
    case Qt::Key_Left:
        return CursorKey::Left;
    case Qt::Key_Right:
        return CursorKey::Right;
    case Qt::Key_Up:
        return CursorKey::Up;
    case Qt::Key_Down:
        return CursorKey::Down;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return CursorKey::Press;
    default:
        return std::nullopt;
    }
}

} // namespace tovani
