// The tilesets (a 9 x 5 grid of faces, or the framed 370 x 568 layout with masks) and the
// small tilesets (a strip of seven 38 x 38 tiles and their outline mask).
#include "Content.h"

#include "ArtCommon.h"
#include "TileFaces.h"

#include <QPainter>
#include <QPainterPath>

#include <QLinearGradient>

#include <array>
#include <cmath>
#include <functional>

namespace tovani::art {

namespace {

QImage GridTileset(const TileStyle& style, int cellW, int cellH) {
    QImage image(cellW * 9, cellH * 5, QImage::Format_RGB32);
    image.fill(QColor(0, 0, 0));
    for (int face = 1; face <= 43; ++face) {
        const QPoint at = FacePosition(face);
        PaintFace(image, QRect(at.x() * cellW, at.y() * cellH, cellW, cellH), face, style);
    }
    // Cell (8,4) holds no face; a plain surface keeps the picture tidy.
    PaintFaceSurface(image, QRect(8 * cellW, 4 * cellH, cellW, cellH), style, 0);
    return image;
}

// The framed layout: 40 x 50 faces at (41c + 1, 51r + 1) drawn over black, the blank tile at
// (6, 256), and 312 pixels below each face its mask: black where the face shows, white where
// the blank tile shows through. A face is composed as (blank AND mask) OR face.
QImage FramedTileset(const TileStyle& style) {
    constexpr int kFaceW = 40, kFaceH = 50, kScale = 4;
    QImage image(370, 568, QImage::Format_RGB32);
    image.fill(QColor(128, 128, 128));
    // The blank tile.
    QImage blank(kFaceW, kFaceH, QImage::Format_RGB32);
    PaintFaceSurface(blank, blank.rect(), style, 0);
    {
        QPainter p(&image);
        p.drawImage(6, 256, blank);
    }
    for (int face = 1; face <= 43; ++face) {
        const QPoint at = FacePosition(face);
        const int fx = 41 * at.x() + 1;
        const int fy = 51 * at.y() + 1;
        if (face == 43) {
            QPainter p(&image);
            p.drawImage(fx, fy, blank);
            p.fillRect(fx, fy + 312, kFaceW, kFaceH, Qt::white);
            continue;
        }
        // The symbol alone, painted large and brought down smoothly for clean edges.
        QImage big(kFaceW * kScale, kFaceH * kScale, QImage::Format_ARGB32_Premultiplied);
        big.fill(Qt::transparent);
        {
            QPainter p(&big);
            PaintFaceSymbol(p, QRectF(0, 0, big.width(), big.height()), face, style);
        }
        const QImage symbol =
            big.scaled(kFaceW, kFaceH, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        for (int y = 0; y < kFaceH; ++y) {
            auto* faceLine = reinterpret_cast<QRgb*>(image.scanLine(fy + y)) + fx;
            auto* maskLine = reinterpret_cast<QRgb*>(image.scanLine(fy + 312 + y)) + fx;
            const auto* sym = reinterpret_cast<const QRgb*>(symbol.constScanLine(y));
            const auto* under = reinterpret_cast<const QRgb*>(blank.constScanLine(y));
            for (int x = 0; x < kFaceW; ++x) {
                const int a = qAlpha(sym[x]);
                if (a < 24) {
                    faceLine[x] = qRgb(0, 0, 0);
                    maskLine[x] = qRgb(255, 255, 255);
                    continue;
                }
                // Symbol over the blank tile, so the edge pixels blend with the surface.
                const auto mix = [a](int s, int u) { return s + u * (255 - a) / 255; };
                faceLine[x] =
                    qRgb(mix(qRed(sym[x]), qRed(under[x])), mix(qGreen(sym[x]), qGreen(under[x])),
                         mix(qBlue(sym[x]), qBlue(under[x])));
                maskLine[x] = qRgb(0, 0, 0);
            }
        }
    }
    return image;
}

// Small tiles: a 32 x 32 face at x offset 6 with 6 pixels of side on the left and below; the
// chamfered corners stay black so the mask can cut them out.
QPainterPath SmallOutline(double x0) {
    QPainterPath outline;
    outline.moveTo(x0 + 6, 0);
    outline.lineTo(x0 + 38, 0);
    outline.lineTo(x0 + 38, 32);
    outline.lineTo(x0 + 32, 38);
    outline.lineTo(x0 + 0, 38);
    outline.lineTo(x0 + 0, 6);
    outline.closeSubpath();
    return outline;
}

void PaintSmallTile(QPainter& p, int index, const QColor& faceColour, const QColor& sideColour,
                    const std::function<void(QPainter&, const QRectF&)>& symbol) {
    const double x0 = index * 38;
    p.setRenderHint(QPainter::Antialiasing, false);
    // The side: left and bottom bands with the 45-degree chamfers.
    p.fillPath(SmallOutline(x0), sideColour);
    QPainterPath lower;
    lower.moveTo(x0 + 0, 32);
    lower.lineTo(x0 + 6, 32);
    lower.lineTo(x0 + 32, 32);
    lower.lineTo(x0 + 38, 32);
    lower.lineTo(x0 + 32, 38);
    lower.lineTo(x0 + 0, 38);
    lower.closeSubpath();
    p.fillPath(lower, Shade(sideColour, 0.8));
    p.setPen(QPen(Shade(sideColour, 0.55), 1));
    p.drawLine(QPointF(x0 + 0.5, 6.5), QPointF(x0 + 0.5, 37.5));
    p.drawLine(QPointF(x0 + 0.5, 37.5), QPointF(x0 + 31.5, 37.5));
    // The face.
    QLinearGradient g(x0 + 6, 0, x0 + 38, 32);
    g.setColorAt(0, Mix(faceColour, QColor(255, 255, 255), 0.2));
    g.setColorAt(1, Shade(faceColour, 0.93));
    p.fillRect(QRectF(x0 + 6, 0, 32, 32), g);
    p.setPen(QPen(Shade(faceColour, 0.6), 1));
    p.drawRect(QRectF(x0 + 6.5, 0.5, 31, 31));
    p.setRenderHint(QPainter::Antialiasing, true);
    symbol(p, QRectF(x0 + 6, 0, 32, 32));
}

QImage SmallMask() {
    QImage mask(38, 38, QImage::Format_RGB32);
    mask.fill(Qt::white);
    QPainter p(&mask);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillPath(SmallOutline(0), Qt::black);
    return mask;
}

QImage SmallStrip(const std::array<std::function<void(QPainter&, const QRectF&)>, 7>& symbols,
                  const std::array<QColor, 7>& faces, const QColor& side) {
    QImage image(38 * 8, 38, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    for (int i = 0; i < 7; ++i) {
        PaintSmallTile(p, i, faces[i], side, symbols[i]);
    }
    p.drawImage(266, 0, SmallMask());
    return image;
}

QPainterPath Polygon(const QRectF& box, int corners, double turn, double inner = 1.0) {
    QPainterPath path;
    const QPointF c = box.center();
    const double r = box.width() / 2;
    const int n = inner < 1.0 ? corners * 2 : corners;
    for (int i = 0; i < n; ++i) {
        const double a = turn + i * 2 * 3.14159265358979 / n;
        const double rad = (inner < 1.0 && i % 2) ? r * inner : r;
        const QPointF pt = c + QPointF(std::sin(a), -std::cos(a)) * rad;
        if (i == 0) {
            path.moveTo(pt);
        } else {
            path.lineTo(pt);
        }
    }
    path.closeSubpath();
    return path;
}

// Fills `path` with `colour` and a darker rim.
void Badge(QPainter& p, const QPainterPath& path, const QColor& colour) {
    p.fillPath(path, colour);
    p.strokePath(path, QPen(Shade(colour, 0.5), 1.2));
}

QImage KanjiSmall() {
    // The days of the week: fire, water, wood, gold, earth, moon; the joker is a star.
    const Fonts& f = LoadFonts();
    const std::array<QColor, 7> ink = {
        QColor(214, 30, 40), QColor(25, 90, 200),  QColor(20, 130, 60),  QColor(200, 140, 0),
        QColor(120, 70, 30), QColor(120, 50, 170), QColor(255, 255, 255)};
    const std::array<QColor, 7> faces = {
        QColor(255, 236, 230), QColor(232, 242, 255), QColor(232, 250, 236), QColor(255, 248, 214),
        QColor(246, 234, 220), QColor(244, 234, 255), QColor(60, 60, 70)};
    const char16_t glyphs[] = u"火水木金土月";
    std::array<std::function<void(QPainter&, const QRectF&)>, 7> symbols;
    for (int i = 0; i < 6; ++i) {
        symbols[i] = [i, &f, ink, glyphs](QPainter& p, const QRectF& box) {
            const QPainterPath glyph =
                GlyphPath(QString(QChar(glyphs[i])), f.hei, box.adjusted(3, 3, -3, -3), 1.1, 700);
            p.strokePath(glyph, QPen(Shade(ink[i], 0.6), 1.0));
            p.fillPath(glyph, ink[i]);
        };
    }
    symbols[6] = [](QPainter& p, const QRectF& box) {
        const QPainterPath star = Polygon(box.adjusted(3, 3, -3, -3), 5, 0, 0.45);
        QLinearGradient g(box.topLeft(), box.bottomRight());
        g.setColorAt(0, QColor(255, 90, 90));
        g.setColorAt(0.35, QColor(255, 220, 60));
        g.setColorAt(0.65, QColor(80, 220, 120));
        g.setColorAt(1, QColor(80, 140, 255));
        p.fillPath(star, g);
        p.strokePath(star, QPen(Qt::white, 1.2));
    };
    return SmallStrip(symbols, faces, QColor(214, 180, 120));
}

QImage ShapesSmall() {
    // Shapes a colour-blind player tells apart as easily as anyone: circle, square, triangle,
    // diamond, hexagon, cross; the joker is a rainbow star.
    const std::array<QColor, 7> colours = {
        QColor(220, 40, 40),  QColor(30, 100, 220), QColor(30, 160, 70),  QColor(240, 180, 0),
        QColor(140, 60, 190), QColor(250, 120, 20), QColor(255, 255, 255)};
    std::array<std::function<void(QPainter&, const QRectF&)>, 7> symbols;
    symbols[0] = [c = colours[0]](QPainter& p, const QRectF& b) {
        QPainterPath path;
        path.addEllipse(b.adjusted(5, 5, -5, -5));
        Badge(p, path, c);
    };
    symbols[1] = [c = colours[1]](QPainter& p, const QRectF& b) {
        QPainterPath path;
        path.addRect(b.adjusted(6, 6, -6, -6));
        Badge(p, path, c);
    };
    symbols[2] = [c = colours[2]](QPainter& p, const QRectF& b) {
        Badge(p, Polygon(b.adjusted(3, 5, -3, -1), 3, 0), c);
    };
    symbols[3] = [c = colours[3]](QPainter& p, const QRectF& b) {
        Badge(p, Polygon(b.adjusted(4, 3, -4, -3), 4, 0), c);
    };
    symbols[4] = [c = colours[4]](QPainter& p, const QRectF& b) {
        Badge(p, Polygon(b.adjusted(4, 4, -4, -4), 6, 0), c);
    };
    symbols[5] = [c = colours[5]](QPainter& p, const QRectF& b) {
        QPainterPath path;
        const QRectF in = b.adjusted(5, 5, -5, -5);
        path.addRect(QRectF(in.left(), in.center().y() - 4, in.width(), 8));
        path.addRect(QRectF(in.center().x() - 4, in.top(), 8, in.height()));
        Badge(p, path.simplified(), c);
    };
    symbols[6] = [](QPainter& p, const QRectF& b) {
        const QPainterPath star = Polygon(b.adjusted(3, 3, -3, -3), 5, 0, 0.45);
        QLinearGradient g(b.topLeft(), b.bottomRight());
        g.setColorAt(0, QColor(255, 90, 90));
        g.setColorAt(0.35, QColor(255, 220, 60));
        g.setColorAt(0.65, QColor(80, 220, 120));
        g.setColorAt(1, QColor(80, 140, 255));
        p.fillPath(star, g);
        p.strokePath(star, QPen(QColor(40, 40, 40), 1.2));
    };
    std::array<QColor, 7> faces;
    faces.fill(QColor(250, 246, 236));
    faces[6] = QColor(70, 70, 80);
    return SmallStrip(symbols, faces, QColor(150, 170, 200));
}

} // namespace

QImage SmallTilesetPicture(const QString& name) {
    return name == "Shapes" ? ShapesSmall() : KanjiSmall();
}

QImage FaceImage(int face, int w, int h) {
    constexpr int kScale = 4;
    QImage big(w * kScale, h * kScale, QImage::Format_RGB32);
    PaintFace(big, big.rect(), face, IvoryStyle());
    return big.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

bool MakeTilesets(const QString& binDir) {
    const QString dir = binDir + "/Tilesets";
    if (!MakeFolder(dir)) {
        return false;
    }
    bool ok = true;
    ok &= SaveBmp(GridTileset(IvoryStyle(), 128, 160), dir + "/Ivory.bmp");
    ok &= SaveJpg(GridTileset(JadeStyle(), 128, 160), dir + "/Jade.jpg", 95);
    ok &= SaveBmp(GridTileset(PorcelainStyle(), 120, 150), dir + "/Porcelain.bmp");
    ok &= SaveBmp(FramedTileset(PocketStyle()), dir + "/Pocket.bmp");
    ok &= SaveBmp(GridTileset(BoldStyle(), 128, 160), dir + "/Bold.bmp");
    ok &= SaveJpg(GridTileset(ModernStyle(), 128, 160), dir + "/Modern.jpg", 95);
    return ok;
}

bool MakeSmallTilesets(const QString& binDir) {
    const QString dir = binDir + "/Small";
    if (!MakeFolder(dir)) {
        return false;
    }
    bool ok = true;
    ok &= SaveBmp(KanjiSmall(), dir + "/Kanji.bmp");
    ok &= SaveBmp(ShapesSmall(), dir + "/Shapes.bmp");
    return ok;
}

} // namespace tovani::art
