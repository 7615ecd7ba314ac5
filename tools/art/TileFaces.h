// The painter of the 43 mahjong tile faces. A face is drawn in a box of 100 x 125 design units
// scaled to the cell; only the flat top of the tile is painted, the game draws the sides itself.
//
// Face numbers: 1-9 dots (circles) 1 to 9, 10-18 bamboo 1 to 9, 19-27 characters 1 to 9,
// 28-31 flowers (bamboo, plum, chrysanthemum, orchid), 32-35 seasons (winter, spring, summer,
// autumn), 36-38 dragons (red, green, white), 39-42 winds (north, south, east, west), 43 the
// blank tile, which is also the back that face-down tiles show.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QRectF>
#include <QString>

namespace tovani::art {

// How the symbols are drawn: the classic painted faces, or the bold ones (a big numeral over one
// suit sign, badges for the flowers and seasons) meant for small tiles.
enum class FaceDesign { Classic, Bold };

struct TileStyle {
    QString name;
    QColor faceTop, faceBottom; // the flat top, lit from above
    QColor faceRim;             // the rounded rim of the top
    QColor green, red, blue;    // suit colours
    QColor ink;                 // numerals and winds
    QColor paper;               // the inner rings of the dots and the lights of the bamboo
    QColor backTop, backBottom, backPattern; // the blank tile / tile back
    QColor shadow;              // carved shadow under the symbols (transparent for none)
    QColor wood;                // branches and trunks
    QColor gold;                // hearts of the flowers, the sun
    QString cjk;                // font family of the characters
    double glyphStroke = 0.0;   // extra weight given to the characters (design units)
    double grain = 0.0;         // strength of the surface grain
    bool outlineSymbols = true; // thin dark outline around coloured shapes
    bool flat = false;          // solid colours only: no gradients, grain, beads or lights
    QColor labelPlate = QColor(0, 0, 0, 0); // under the game's black label on a dark face
    FaceDesign design = FaceDesign::Classic;
};

TileStyle IvoryStyle();
TileStyle JadeStyle();
TileStyle PorcelainStyle();
TileStyle PocketStyle();
TileStyle BoldStyle();
TileStyle ModernStyle();

// Where face `face` (1..43) stands in the 9 x 5 grid of a tileset picture.
QPoint FacePosition(int face);

// Paints the surface of a face (gradient, rim, grain) into `cell` of `image`.
void PaintFaceSurface(QImage& image, const QRect& cell, const TileStyle& style, int seed);
// Paints the symbol of `face` into `cell` (surface not included).
void PaintFaceSymbol(QPainter& p, const QRectF& cell, int face, const TileStyle& style);
// The symbol of the bold design, in design units (100 x 125) already set up on `p`.
void PaintBoldSymbol(QPainter& p, int face, const TileStyle& style);
// Both, for a whole face.
void PaintFace(QImage& image, const QRect& cell, int face, const TileStyle& style);

} // namespace tovani::art
