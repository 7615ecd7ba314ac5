// The colours and looks of the tilesets painted with the tile-face painter.
#include "TileFaces.h"

#include "ArtCommon.h"

namespace tovani::art {

namespace {

QColor Hex(unsigned rgb) {
    return QColor((rgb >> 16) & 255, (rgb >> 8) & 255, rgb & 255);
}

} // namespace

TileStyle IvoryStyle() {
    TileStyle s;
    s.name = "Ivory";
    s.faceTop = Hex(0xFCF8EC);
    s.faceBottom = Hex(0xF1E8D2);
    s.faceRim = Hex(0xC9BB98);
    s.green = Hex(0x17804A);
    s.red = Hex(0xD0222E);
    s.blue = Hex(0x1D4FA3);
    s.ink = Hex(0x141B33);
    s.paper = Hex(0xFBF6E9);
    s.backTop = Hex(0x2F9A6C);
    s.backBottom = Hex(0x1B6447);
    s.backPattern = Hex(0x7CCFA6);
    s.shadow = QColor(0, 0, 0, 0);
    s.wood = Hex(0x6B3F1F);
    s.gold = Hex(0xF2B818);
    s.cjk = LoadFonts().brush;
    s.glyphStroke = 0.5;
    s.grain = 0.5;
    return s;
}

TileStyle JadeStyle() {
    TileStyle s;
    s.name = "Jade";
    s.faceTop = Hex(0x2B7A5C);
    s.faceBottom = Hex(0x17503B);
    s.faceRim = Hex(0x0C2C20);
    s.green = Hex(0xA8F0C0);
    s.red = Hex(0xFF9478);
    s.blue = Hex(0x9CCBFF);
    s.ink = Hex(0xF6E3A6);
    s.paper = Hex(0x1F6148);
    s.backTop = Hex(0xF1E6C8);
    s.backBottom = Hex(0xD9C89C);
    s.backPattern = Hex(0xB59A5A);
    s.shadow = QColor(5, 25, 17, 190);
    s.wood = Hex(0xD9B27A);
    s.gold = Hex(0xFFD24A);
    s.cjk = LoadFonts().hei;
    s.glyphStroke = 2.2;
    s.grain = 1.0;
    s.outlineSymbols = false;
    s.labelPlate = QColor(0xCF, 0xEB, 0xDA, 230);
    return s;
}

TileStyle PorcelainStyle() {
    TileStyle s;
    s.name = "Porcelain";
    s.faceTop = Hex(0xFFFFFF);
    s.faceBottom = Hex(0xEAF0F7);
    s.faceRim = Hex(0xA9B7CB);
    s.green = Hex(0x2F65B8);
    s.red = Hex(0x0F2F78);
    s.blue = Hex(0x5C93D6);
    s.ink = Hex(0x102A66);
    s.paper = Hex(0xFAFCFF);
    s.backTop = Hex(0x2D57A6);
    s.backBottom = Hex(0x1A3A78);
    s.backPattern = Hex(0xC9DAF5);
    s.shadow = QColor(0, 0, 0, 0);
    s.wood = Hex(0x1A3570);
    s.gold = Hex(0x7FA8E0);
    s.cjk = LoadFonts().brush;
    s.glyphStroke = 0.6;
    s.grain = 0.15;
    return s;
}

TileStyle PocketStyle() {
    TileStyle s;
    s.name = "Pocket";
    s.faceTop = Hex(0xFFF4DC);
    s.faceBottom = Hex(0xF6DDB4);
    s.faceRim = Hex(0xB98B55);
    s.green = Hex(0x0E8A3E);
    s.red = Hex(0xE0161F);
    s.blue = Hex(0x1548C8);
    s.ink = Hex(0x111111);
    s.paper = Hex(0xFFF7E6);
    s.backTop = s.faceTop;
    s.backBottom = s.faceBottom;
    s.backPattern = s.faceRim;
    s.shadow = QColor(0, 0, 0, 0);
    s.wood = Hex(0x7A4420);
    s.gold = Hex(0xFFB000);
    s.cjk = LoadFonts().hei;
    s.glyphStroke = 3.0;
    s.grain = 0.0;
    return s;
}

// Large, high-contrast faces for small tiles: black-on-white with strong suit colours; the
// flower badges are magenta (kept in `gold`) and the season badges amber (kept in `wood`).
TileStyle BoldStyle() {
    TileStyle s;
    s.name = "Bold";
    s.faceTop = Hex(0xFFFFFF);
    s.faceBottom = Hex(0xF4F1E8);
    s.faceRim = Hex(0x9A9482);
    s.green = Hex(0x00702A);
    s.red = Hex(0xCC0A1E);
    s.blue = Hex(0x0A3AA8);
    s.ink = Hex(0x000000);
    s.paper = Hex(0xFFFFFF);
    s.backTop = Hex(0xFFFFFF);
    s.backBottom = Hex(0xF4F1E8);
    s.backPattern = Hex(0x1F5E8C);
    s.shadow = QColor(0, 0, 0, 0);
    s.wood = Hex(0xE07000);
    s.gold = Hex(0xB0187A);
    s.cjk = LoadFonts().hei;
    s.design = FaceDesign::Bold;
    return s;
}

// A modern flat look: solid colours on a plain off-white face, no outlines, shading or grain.
TileStyle ModernStyle() {
    TileStyle s;
    s.name = "Modern";
    s.faceTop = Hex(0xF7F5F0);
    s.faceBottom = s.faceTop;
    s.faceRim = Hex(0xD5D0C4);
    s.green = Hex(0x1A9E77);
    s.red = Hex(0xE8503A);
    s.blue = Hex(0x2D5DA8);
    s.ink = Hex(0x263040);
    s.paper = Hex(0xF7F5F0);
    s.backTop = Hex(0x2D5DA8);
    s.backBottom = Hex(0x2D5DA8);
    s.backPattern = Hex(0x8FB0E0);
    s.shadow = QColor(0, 0, 0, 0);
    s.wood = Hex(0x8A6A4A);
    s.gold = Hex(0xF2B134);
    s.cjk = LoadFonts().hei;
    s.glyphStroke = 1.0;
    s.outlineSymbols = false;
    s.flat = true;
    return s;
}

} // namespace tovani::art
