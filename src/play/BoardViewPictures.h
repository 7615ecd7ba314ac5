// What the board view keeps of its pictures, shared by its files: the board and hover
// (BoardView.cpp) and the picture commands of the menus (BoardViewPictures.cpp).
#pragma once

#include "play/BoardView.h"

#include <QAction>
#include <QColor>
#include <QPointer>

namespace tovani {

inline QColor QColorFrom(Colour c) {
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

inline Colour ColourFrom(const QColor& c) {
    return Colour(c.red()) | (Colour(c.green()) << 8) | (Colour(c.blue()) << 16);
}

struct BoardView::Pictures {
    PictureHolder tileset;
    PictureHolder small;
    PictureHolder background;
    bool solid = false; // "None (Solid)": the colour or its gradient, no picture
    // The items whose pictures are shown: a cancelled dialog or a broken file checks them again.
    QPointer<QAction> tilesetItem;
    QPointer<QAction> backgroundItem;
    QPointer<QAction> smallItem;
    int drawnMode = -1;    // the game mode the board picture was last drawn for
    bool batching = false; // start-up: one rebuild after every picture is read
    Dialogs dialogs;
};

} // namespace tovani
