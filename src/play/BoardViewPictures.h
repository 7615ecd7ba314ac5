// What the board view keeps of its pictures, shared by its files: the board and hover
// (BoardView.cpp) and the picture commands of the menus (BoardViewPictures.cpp).
#pragma once

#include "graphics/PictureSource.h"
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
    PictureSource background;
    bool solid = false; // "None (Solid)": the colour or its gradient, no picture
    // The items whose pictures are shown: a cancelled dialog or a broken file checks them again.
    QPointer<QAction> tilesetItem;
    QPointer<QAction> backgroundItem;
    QPointer<QAction> smallItem;
    int drawnMode = -1;    // the game mode the board picture was last drawn for
    bool batching = false; // start-up: one rebuild after every picture is read
    Dialogs dialogs;

    // What the play area draws its background from: stretched, the picture reduced to cover
    // the area (any size held when the area's size is not known yet); tiled or cut, the whole
    // picture. Null for the solid background.
    const PixelBuffer* AreaPicture(bool stretch, int width, int height) {
        if (solid || background.IsEmpty())
            return nullptr;
        return stretch ? &background.Covering(width, height) : &background.Whole();
    }
};

} // namespace tovani
