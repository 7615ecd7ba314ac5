// The program's own pictures: splash, welcome pictures, cursors, hall-of-fame strip and side
// pictures, digit strip, marble, word labels, Slider grid, mini tiles, wallpapers and icons.
// docs/RESOURCES.md lists every name, size and purpose.
#include "ArtCommon.h"
#include "Content.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <functional>

namespace tovani::art {

QImage MascotPicture(int index); // Mascot.cpp

namespace {

constexpr double kPi = 3.14159265358979323846;
const QColor kSide(206, 148, 140);
const QColor kOutline(40, 24, 28);

QPainterPath Circle(QPointF c, double r) {
    QPainterPath path;
    path.addEllipse(c, r, r);
    return path;
}

QImage Canvas(int w, int h, const QColor& fill = Qt::transparent) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    return image;
}

// Paints at `scale` times the size and brings it down smoothly: crisp small pictures. `ratio`
// makes the picture that many pixels a point, for screens of higher density (w x h stays the
// drawing's own size).
QImage SupersampledAt(int ratio, int w, int h, int scale,
                      const std::function<void(QPainter&)>& draw) {
    QImage big = Canvas(w * ratio * scale, h * ratio * scale);
    {
        QPainter p(&big);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(ratio * scale, ratio * scale);
        draw(p);
    }
    return big.scaled(w * ratio, h * ratio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_ARGB32);
}

QImage Supersampled(int w, int h, int scale, const std::function<void(QPainter&)>& draw) {
    return SupersampledAt(1, w, h, scale, draw);
}

// A tile of the default set with its side, face w x h, side e, top-left of the face at (x, y).
void BoardTile(QPainter& p, double x, double y, double w, double h, double e, int face) {
    QPainterPath side;
    side.moveTo(x, y);
    side.lineTo(x - e, y + e);
    side.lineTo(x - e, y + h + e);
    side.lineTo(x + w - e, y + h + e);
    side.lineTo(x + w, y + h);
    side.lineTo(x, y + h);
    side.closeSubpath();
    p.fillPath(side, kSide);
    p.strokePath(side, QPen(kOutline, 0.6));
    p.drawImage(QRectF(x, y, w, h),
                FaceImage(face, static_cast<int>(w * 2), static_cast<int>(h * 2)));
    p.setPen(QPen(kOutline, 0.6));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(x, y, w, h));
}

void SmallTile(QPainter& p, const QImage& strip, int index, double x, double y, double size) {
    p.drawImage(QRectF(x, y, size, size), strip.copy(38 * index, 0, 38, 38));
}

QPainterPath Text(const QString& s, const QString& family, const QRectF& box,
                  double stretch = 1.0) {
    return GlyphPath(s, family, box, stretch, 700);
}

// ---- splash ---------------------------------------------------------------------------------

QImage Splash() {
    const Fonts& f = LoadFonts();
    return Supersampled(276, 186, 2, [&](QPainter& p) {
        QLinearGradient bg(0, 0, 0, 186);
        bg.setColorAt(0, QColor(24, 44, 80));
        bg.setColorAt(1, QColor(10, 18, 36));
        p.fillRect(QRectF(0, 0, 276, 186), bg);
        QRadialGradient glow(QPointF(200, 60), 160);
        glow.setColorAt(0, QColor(255, 200, 140, 70));
        glow.setColorAt(1, QColor(255, 200, 140, 0));
        p.fillRect(QRectF(0, 0, 276, 186), glow);
        // A fan of tiles.
        const int faces[5] = {36, 1, 19, 10, 37};
        for (int i = 0; i < 5; ++i) {
            p.save();
            p.translate(176, 150);
            p.rotate(-34 + i * 17);
            BoardTile(p, -14, -96, 28, 35, 5, faces[i]);
            p.restore();
        }
        QPainterPath title = Text("Tovani", f.serif, QRectF(14, 22, 132, 44));
        p.fillPath(title.translated(1.5, 2), QColor(0, 0, 0, 140));
        QLinearGradient gold(0, 22, 0, 66);
        gold.setColorAt(0, QColor(255, 236, 160));
        gold.setColorAt(1, QColor(220, 150, 40));
        p.fillPath(title, gold);
        p.strokePath(title, QPen(QColor(110, 60, 10), 0.8));
        p.fillPath(Text("tile games", f.sans, QRectF(16, 74, 86, 13)), QColor(220, 226, 240));
        // The dark red ribbon that carries the version, written there by the program at (222, 138).
        QPainterPath ribbon;
        ribbon.moveTo(204, 132);
        ribbon.lineTo(276, 132);
        ribbon.lineTo(276, 158);
        ribbon.lineTo(204, 158);
        ribbon.lineTo(212, 145);
        ribbon.closeSubpath();
        p.fillPath(ribbon, QColor(132, 0, 0));
        p.strokePath(ribbon, QPen(QColor(220, 170, 80), 1));
        p.setPen(QPen(QColor(255, 255, 255, 60), 1));
        p.drawLine(QPointF(10, 176), QPointF(266, 176));
    });
}

// ---- welcome pictures -----------------------------------------------------------------------

QImage WelcomeSolitaire(int ratio) {
    return SupersampledAt(ratio, 150, 100, 2, [](QPainter& p) {
        QLinearGradient bg(0, 0, 0, 100);
        bg.setColorAt(0, QColor(70, 120, 84));
        bg.setColorAt(1, QColor(30, 74, 52));
        p.fillRect(QRectF(0, 0, 150, 100), bg);
        const double w = 14, h = 18, e = 3;
        int n = 0;
        const int sizes[3][2] = {{8, 4}, {6, 2}, {2, 1}};
        for (int layer = 0; layer < 3; ++layer) {
            const int cols = sizes[layer][0], rows = sizes[layer][1];
            const double ox = 20 + (8 - cols) * w / 2 + layer * e;
            const double oy = 14 + (4 - rows) * h / 2 - layer * e;
            for (int c = cols - 1; c >= 0; --c) {
                for (int r = 0; r < rows; ++r) {
                    BoardTile(p, ox + c * w, oy + r * h, w, h, e, (n++ * 11) % 42 + 1);
                }
            }
        }
        BoardTile(p, 6 + 3, 37, w, h, e, 29);
        BoardTile(p, 20 + 8 * w + 3, 37, w, h, e, 33);
    });
}

QImage WelcomeRivers(int ratio) {
    return SupersampledAt(ratio, 150, 100, 2, [](QPainter& p) {
        QLinearGradient bg(0, 0, 150, 100);
        bg.setColorAt(0, QColor(40, 90, 130));
        bg.setColorAt(1, QColor(16, 46, 80));
        p.fillRect(QRectF(0, 0, 150, 100), bg);
        const double w = 14, h = 18, e = 3;
        const bool gone[5][8] = {{0, 0, 1, 0, 0, 0, 0, 1},
                                 {0, 1, 1, 1, 1, 0, 0, 0},
                                 {0, 0, 0, 0, 1, 0, 1, 0},
                                 {1, 0, 0, 0, 1, 0, 0, 0},
                                 {0, 0, 0, 0, 0, 0, 0, 0}};
        for (int c = 7; c >= 0; --c) {
            for (int r = 0; r < 4; ++r) {
                if (!gone[r][c]) {
                    BoardTile(p, 16 + c * w, 10 + r * h, w, h, e, (c * 5 + r * 13) % 27 + 1);
                }
            }
        }
        // The pair being joined, and the river between them.
        BoardTile(p, 16 + 1 * w, 10 + 0 * h, w, h, e, 37);
        BoardTile(p, 16 + 5 * w, 10 + 1 * h, w, h, e, 37);
        QPainterPath river;
        river.moveTo(16 + 1.5 * w, 10 + 0.5 * h);
        river.lineTo(16 + 1.5 * w, 10 + 1.5 * h);
        river.lineTo(16 + 5.5 * w, 10 + 1.5 * h);
        p.strokePath(river,
                     QPen(QColor(255, 220, 60), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.strokePath(river,
                     QPen(QColor(255, 255, 255), 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        for (int c = 0; c < 8; ++c) {
            BoardTile(p, 16 + c * w, 10 + 4 * h, w, h, e, (c * 7) % 42 + 1);
        }
    });
}

QImage WelcomeMemory(int ratio) {
    return SupersampledAt(ratio, 150, 100, 2, [](QPainter& p) {
        QLinearGradient bg(0, 0, 0, 100);
        bg.setColorAt(0, QColor(110, 60, 110));
        bg.setColorAt(1, QColor(60, 28, 66));
        p.fillRect(QRectF(0, 0, 150, 100), bg);
        const double w = 14, h = 18, e = 3;
        for (int c = 7; c >= 0; --c) {
            for (int r = 0; r < 4; ++r) {
                int face = 43;
                if ((c == 2 && r == 1) || (c == 6 && r == 2)) {
                    face = 30;
                }
                if (c == 4 && r == 3) {
                    face = 5;
                }
                BoardTile(p, 18 + c * (w + 2), 8 + r * (h + 3), w, h, e, face);
            }
        }
    });
}

QImage WelcomeClicks(int ratio) {
    const QImage strip = SmallTilesetPicture("Kanji");
    return SupersampledAt(ratio, 150, 100, 2, [&](QPainter& p) {
        p.fillRect(QRectF(0, 0, 150, 100), QColor(34, 40, 56));
        const double s = 12;
        const int heights[12] = {7, 7, 6, 7, 5, 3, 7, 7, 6, 4, 7, 7};
        for (int c = 11; c >= 0; --c) {
            for (int r = 0; r < heights[c]; ++r) {
                const int index = static_cast<int>(Hash2(c, r, 5) * 4);
                SmallTile(p, strip, index, 2 + c * s, 94 - (r + 1) * s, s + 2);
            }
        }
    });
}

QImage WelcomeSlider(int ratio) {
    const QImage strip = SmallTilesetPicture("Kanji");
    return SupersampledAt(ratio, 150, 100, 2, [&](QPainter& p) {
        p.fillRect(QRectF(0, 0, 150, 100), QColor(28, 52, 60));
        const double cell = 10, ox = 30, oy = 5;
        for (int i = 0; i <= 9; ++i) {
            p.setPen(QPen(QColor(90, 140, 150), 0.6));
            p.drawLine(QPointF(ox + i * cell, oy), QPointF(ox + i * cell, oy + 9 * cell));
            p.drawLine(QPointF(ox, oy + i * cell), QPointF(ox + 9 * cell, oy + i * cell));
        }
        const int cells[][3] = {{1, 1, 0}, {2, 2, 0}, {3, 3, 0}, {4, 4, 0}, {6, 1, 2}, {7, 5, 1},
                                {2, 6, 3}, {5, 7, 4}, {8, 8, 2}, {0, 8, 5}, {6, 3, 1}, {3, 6, 6}};
        for (const auto& c : cells) {
            SmallTile(p, strip, c[2], ox + c[0] * cell - 1, oy + c[1] * cell - 1, cell + 1.5);
        }
        // The tile about to slide into the line of five.
        SmallTile(p, strip, 0, ox + 8 * cell - 1, oy + 0 * cell - 1, cell + 1.5);
        p.setPen(QPen(QColor(255, 230, 80), 1));
        p.drawRect(QRectF(ox + 8 * cell, oy, cell, cell));
        QPainterPath arrow;
        arrow.moveTo(ox + 8.5 * cell, oy + 1.2 * cell);
        arrow.lineTo(ox + 8.5 * cell, oy + 5.5 * cell);
        arrow.lineTo(ox + 5.6 * cell, oy + 5.5 * cell);
        p.strokePath(arrow, QPen(QColor(255, 230, 80), 1, Qt::DashLine));
    });
}

QImage WelcomeHashira(int ratio) {
    const QImage strip = SmallTilesetPicture("Kanji");
    return SupersampledAt(ratio, 150, 100, 2, [&](QPainter& p) {
        p.fillRect(QRectF(0, 0, 150, 100), QColor(50, 30, 40));
        const double s = 11, ox = 42, oy = 2;
        p.fillRect(QRectF(ox, oy, 6 * s, 96), QColor(10, 10, 14));
        p.setPen(QPen(QColor(180, 150, 110), 2));
        p.drawRect(QRectF(ox - 1, oy - 1, 6 * s + 2, 97));
        const int heights[6] = {3, 5, 2, 4, 6, 3};
        for (int c = 5; c >= 0; --c) {
            for (int r = 0; r < heights[c]; ++r) {
                SmallTile(p, strip, static_cast<int>(Hash2(c, r, 9) * 6), ox + c * s - 1,
                          oy + 96 - (r + 1) * s - 1, s + 1.5);
            }
        }
        for (int k = 0; k < 3; ++k) {
            SmallTile(p, strip, (k * 2) % 6, ox + 2 * s - 1, oy + 14 + k * s, s + 1.5);
        }
        for (int k = 0; k < 3; ++k) {
            SmallTile(p, strip, (k + 3) % 6, 118, 14 + k * s, s + 1.5);
        }
    });
}

// ---- cursors --------------------------------------------------------------------------------

// A pointing hand (open) and the same hand pressing (closed); the hot spot is the fingertip.
QImage Hand(bool closed) {
    return Supersampled(32, 32, 4, [closed](QPainter& p) {
        QPainterPath hand;
        const double fingerTop = closed ? 6 : 1;
        // Index finger.
        hand.addRoundedRect(QRectF(9, fingerTop, 6, 18 - fingerTop + 4), 3, 3);
        // Folded fingers.
        for (int i = 0; i < 3; ++i) {
            hand.addRoundedRect(QRectF(14.5 + i * 4.5, 11 + i * 0.6, 5, closed ? 9 : 11), 2.5, 2.5);
        }
        // Thumb.
        QPainterPath thumb;
        thumb.moveTo(10, 20);
        thumb.lineTo(4, 15);
        thumb.quadTo(2, 13.5, 3.5, 12.5);
        thumb.quadTo(5, 12, 7, 13.5);
        thumb.lineTo(10, 16);
        thumb.closeSubpath();
        hand.addPath(thumb);
        // Palm.
        QPainterPath palm;
        palm.addRoundedRect(QRectF(8.5, 15, 19, 13), 5, 5);
        hand.addPath(palm);
        hand = hand.simplified();
        p.fillPath(hand.translated(1, 1), QColor(0, 0, 0, 90));
        p.fillPath(hand, QColor(255, 255, 255));
        p.strokePath(hand, QPen(QColor(0, 0, 0), 1.3));
        QPainterPath creases;
        for (int i = 0; i < 3; ++i) {
            creases.moveTo(14.5 + i * 4.5, 16);
            creases.lineTo(14.5 + i * 4.5, 19);
        }
        p.strokePath(creases, QPen(QColor(0, 0, 0), 0.9));
        if (closed) {
            QPainterPath burst;
            for (int k = 0; k < 3; ++k) {
                const double a = -kPi / 2 + (k - 1) * 0.7;
                burst.moveTo(12 + std::cos(a) * 3.5, 3.5 + std::sin(a) * 2.5);
                burst.lineTo(12 + std::cos(a) * 5.5, 3.5 + std::sin(a) * 4);
            }
            p.strokePath(burst, QPen(QColor(0, 0, 0), 1.0, Qt::SolidLine, Qt::RoundCap));
        }
    });
}

// ---- hall of fame strip ---------------------------------------------------------------------

QImage HallStrip() {
    constexpr int kW = 92, kH = 320;
    QImage image(kW, kH, QImage::Format_RGB32);
    for (int y = 0; y < kH; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kW; ++x) {
            // The pattern repeats every 320 rows, so the strip stacks without a seam.
            const double t = y * 2 * kPi / kH;
            const double n = Fbm(x / 23.0, y / 40.0, 301, 4, 8) - 0.5;
            const double edge = std::min(x, kW - 1 - x) / 6.0;
            const double shade = std::min(1.0, edge) * 0.25 + 0.75;
            const double wave = 0.5 + 0.5 * std::sin(t * 2 + x * 0.05);
            const double r = (26 + 10 * wave + n * 14) * shade;
            const double g = (22 + 6 * wave + n * 10) * shade;
            const double b = (58 + 16 * wave + n * 18) * shade;
            line[x] = qRgb(std::clamp(static_cast<int>(r), 0, 255),
                           std::clamp(static_cast<int>(g), 0, 255),
                           std::clamp(static_cast<int>(b), 0, 255));
        }
    }
    QPainter p(&image);
    p.setPen(QPen(QColor(200, 160, 80, 160), 1));
    p.drawLine(1, 0, 1, kH);
    p.drawLine(kW - 2, 0, kW - 2, kH);
    return image;
}

// ---- digits, marble, words ------------------------------------------------------------------

// Ten 18 x 22 digits side by side, coloured on black, their masks (black digit on white) in the
// 22 rows below: the program ANDs the mask and then ORs the digit.
QImage DigitStrip() {
    const Fonts& f = LoadFonts();
    QImage digits = Supersampled(180, 22, 4, [&](QPainter& p) {
        for (int d = 0; d < 10; ++d) {
            const QPainterPath glyph =
                Text(QString::number(d), f.sans, QRectF(d * 18 + 2.5, 2, 13, 18), 1.2);
            QLinearGradient g(0, 2, 0, 20);
            g.setColorAt(0, QColor(255, 250, 170));
            g.setColorAt(0.5, QColor(255, 196, 40));
            g.setColorAt(1, QColor(240, 100, 20));
            p.strokePath(
                glyph, QPen(QColor(130, 30, 10), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.fillPath(glyph, g);
        }
    });
    QImage strip(180, 44, QImage::Format_RGB32);
    for (int y = 0; y < 22; ++y) {
        for (int x = 0; x < 180; ++x) {
            const QRgb px = digits.pixel(x, y);
            const int a = qAlpha(px);
            if (a < 40) {
                strip.setPixel(x, y, qRgb(0, 0, 0));
                strip.setPixel(x, y + 22, qRgb(255, 255, 255));
            } else {
                // Colour over black: the edge pixels keep their blend with the dark.
                strip.setPixel(x, y,
                               qRgb(qRed(px) * 255 / std::max(a, 1) * a / 255,
                                    qGreen(px) * 255 / std::max(a, 1) * a / 255,
                                    qBlue(px) * 255 / std::max(a, 1) * a / 255));
                strip.setPixel(x, y + 22, qRgb(0, 0, 0));
            }
        }
    }
    return strip;
}

QImage Marble() {
    QImage image(64, 32, QImage::Format_RGB32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 64; ++x) {
            const double n = Fbm(x / 16.0, y / 16.0, 401, 5, 4);
            const double vein = std::abs(std::sin((x * 0.12 + y * 0.2) + n * 9.0));
            double v = 170 + n * 50 - std::pow(1.0 - vein, 6.0) * 90;
            v = std::clamp(v, 0.0, 255.0);
            image.setPixel(x, y,
                           qRgb(static_cast<int>(v), static_cast<int>(v * 0.99),
                                static_cast<int>(std::min(255.0, v * 1.03))));
        }
    }
    return image;
}

// A word in bright letters on black (black is transparent in the 3D view).
QImage Word(const QString& text, int w, int h, const QColor& top, const QColor& bottom,
            const QString& second = QString()) {
    const Fonts& f = LoadFonts();
    QImage image = Supersampled(w, h, 4, [&](QPainter& p) {
        auto paint = [&](const QString& s, const QRectF& box) {
            const QPainterPath glyph = Text(s, f.sans, box, 1.3);
            QLinearGradient g(0, box.top(), 0, box.bottom());
            g.setColorAt(0, top);
            g.setColorAt(1, bottom);
            p.fillPath(glyph, g);
        };
        if (second.isEmpty()) {
            paint(text, QRectF(1, 1.5, w - 2, h - 3));
        } else {
            paint(text, QRectF(1, 1, w - 2, h / 2.0 - 2));
            paint(second, QRectF(1, h / 2.0 + 1, w - 2, h / 2.0 - 2));
        }
    });
    QImage out(w, h, QImage::Format_RGB32);
    out.fill(Qt::black);
    QPainter p(&out);
    p.drawImage(0, 0, image);
    return out;
}

// ---- Slider pictures ------------------------------------------------------------------------

void Cell(QPainter& p, const QRectF& r) {
    p.fillRect(r, QColor(26, 44, 52));
    p.setPen(QPen(QColor(10, 18, 22), 1));
    p.drawLine(r.topLeft() + QPointF(0.5, 0.5), r.topRight() + QPointF(-0.5, 0.5));
    p.drawLine(r.topLeft() + QPointF(0.5, 0.5), r.bottomLeft() + QPointF(0.5, -0.5));
    p.setPen(QPen(QColor(96, 140, 150), 1));
    p.drawLine(r.bottomLeft() + QPointF(0.5, -0.5), r.bottomRight() + QPointF(-0.5, -0.5));
    p.drawLine(r.topRight() + QPointF(-0.5, 0.5), r.bottomRight() + QPointF(-0.5, -0.5));
}

QImage SliderGrid() {
    QImage image(320, 320, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient bg(0, 0, 320, 320);
    bg.setColorAt(0, QColor(64, 98, 108));
    bg.setColorAt(1, QColor(36, 62, 72));
    p.fillRect(image.rect(), bg);
    p.setPen(QPen(QColor(150, 190, 196), 2));
    p.drawRect(QRectF(12, 12, 296, 296));
    // Nine by nine cells of 32 pixels from (16, 16).
    for (int c = 0; c < 9; ++c) {
        for (int r = 0; r < 9; ++r) {
            Cell(p, QRectF(16 + 32 * c, 16 + 32 * r, 32, 32));
        }
    }
    return image;
}

QImage NextGrid() {
    QImage image(64, 144, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient bg(0, 0, 64, 144);
    bg.setColorAt(0, QColor(64, 98, 108));
    bg.setColorAt(1, QColor(36, 62, 72));
    p.fillRect(image.rect(), bg);
    p.setPen(QPen(QColor(150, 190, 196), 2));
    p.drawRect(QRectF(2, 2, 60, 140));
    return image;
}

QImage GridCell() {
    QImage image(32, 32, QImage::Format_RGB32);
    QPainter p(&image);
    Cell(p, QRectF(0, 0, 32, 32));
    return image;
}

// Combined with the selected small tile by exclusive or: the light rim inverts, the middle tints.
QImage Filled() {
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(QColor(48, 48, 48));
    QPainter p(&image);
    p.setPen(QPen(Qt::white, 3));
    p.drawRect(QRectF(1.5, 1.5, 29, 29));
    return image;
}

// Mini tiles of the layout previews, 13 x 15: a 10 x 12 face with 3 pixels of side; black is
// transparent. The second one leaves out the part of the bottom side that would cover the
// neighbour half a tile to the right and one row down.
QImage MiniTile(bool cut) {
    QImage image(13, 15, QImage::Format_RGB32);
    image.fill(Qt::black);
    const QRgb face = qRgb(255, 250, 232), side = qRgb(206, 148, 140), edge = qRgb(96, 56, 48),
               mark = qRgb(0, 128, 64);
    for (int y = 0; y < 15; ++y) {
        for (int x = 0; x < 13; ++x) {
            const bool inFace = x >= 3 && y < 12;
            const bool inSide = !inFace && x + y >= 3 && x + y <= 24 && x < 13 && y < 15;
            if (inFace) {
                image.setPixel(x, y, (x == 3 || y == 0 || x == 12 || y == 11) ? edge : face);
            } else if (inSide) {
                image.setPixel(x, y,
                               (x == 0 || y == 14 || x + y == 3 || x + y == 24) ? edge : side);
            }
        }
    }
    image.setPixel(7, 5, mark);
    image.setPixel(8, 5, mark);
    image.setPixel(7, 6, mark);
    image.setPixel(8, 6, mark);
    if (cut) {
        for (int y = 12; y < 15; ++y) {
            for (int x = 5; x < 13; ++x) {
                image.setPixel(x, y, qRgb(0, 0, 0));
            }
        }
    }
    return image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
}

// ---- wallpapers and panels ------------------------------------------------------------------

QImage ToolWallpaper() {
    QImage image(128, 32, QImage::Format_RGB32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 128; ++x) {
            const double n = Fbm(x / 32.0, y / 4.0, 501, 3, 4) - 0.5;
            const double v = 238 - y * 1.1 + n * 12;
            image.setPixel(x, y,
                           qRgb(std::clamp(static_cast<int>(v + 4), 0, 255),
                                std::clamp(static_cast<int>(v), 0, 255),
                                std::clamp(static_cast<int>(v - 14), 0, 255)));
        }
    }
    return image;
}

QImage WindowBackground() {
    QImage image(128, 128, QImage::Format_RGB32);
    for (int y = 0; y < 128; ++y) {
        for (int x = 0; x < 128; ++x) {
            const double n = Fbm(x / 32.0, y / 32.0, 601, 4, 4) - 0.5;
            image.setPixel(x, y,
                           qRgb(std::clamp(static_cast<int>(236 + n * 16), 0, 255),
                                std::clamp(static_cast<int>(228 + n * 16), 0, 255),
                                std::clamp(static_cast<int>(210 + n * 16), 0, 255)));
        }
    }
    // Faint tile outlines on a diagonal repeat, wrapped at the edges.
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            for (const QPointF& c : {QPointF(32, 32), QPointF(96, 96)}) {
                QPainterPath tile;
                tile.addRoundedRect(QRectF(c.x() - 10 + dx * 128, c.y() - 13 + dy * 128, 20, 26), 3,
                                    3);
                p.strokePath(tile, QPen(QColor(190, 170, 130, 90), 1.2));
                p.fillPath(tile, QColor(255, 255, 255, 40));
            }
        }
    }
    return image;
}

QImage WelcomeWallpaper() {
    QImage image(96, 96, QImage::Format_RGB32);
    for (int y = 0; y < 96; ++y) {
        for (int x = 0; x < 96; ++x) {
            const double n = Fbm(x / 24.0, y / 24.0, 701, 4, 4) - 0.5;
            const double w = 0.5 + 0.25 * std::sin(x * 2 * kPi / 48) * std::sin(y * 2 * kPi / 48);
            image.setPixel(x, y,
                           qRgb(std::clamp(static_cast<int>(246 + n * 10 - w * 6), 0, 255),
                                std::clamp(static_cast<int>(240 + n * 10 - w * 6), 0, 255),
                                std::clamp(static_cast<int>(226 + n * 10 - w * 4), 0, 255)));
        }
    }
    return image;
}

QImage ScorePanel() {
    return Supersampled(105, 65, 2, [](QPainter& p) {
        QLinearGradient bg(0, 0, 0, 65);
        bg.setColorAt(0, QColor(30, 40, 70));
        bg.setColorAt(1, QColor(12, 16, 32));
        QPainterPath panel;
        panel.addRoundedRect(QRectF(1, 1, 103, 63), 8, 8);
        p.fillRect(QRectF(0, 0, 105, 65), QColor(20, 26, 46));
        p.fillPath(panel, bg);
        p.strokePath(panel, QPen(QColor(220, 180, 90), 2));
        p.strokePath(QPainterPath(), QPen());
        QPainterPath inner;
        inner.addRoundedRect(QRectF(6, 6, 93, 53), 5, 5);
        p.strokePath(inner, QPen(QColor(220, 180, 90, 90), 1));
    });
}

// ---- toolbar icons --------------------------------------------------------------------------

void IconTile(QPainter& p, const QRectF& r) {
    QPainterPath side;
    side.addRoundedRect(r.translated(-2.5, 2.5), 2.5, 2.5);
    p.fillPath(side, QColor(190, 130, 110));
    p.strokePath(side, QPen(kOutline, 1));
    QPainterPath top;
    top.addRoundedRect(r, 2.5, 2.5);
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, QColor(255, 252, 240));
    g.setColorAt(1, QColor(236, 226, 200));
    p.fillPath(top, g);
    p.strokePath(top, QPen(kOutline, 1));
}

QPainterPath Arrowhead(QPointF tip, double angle, double size) {
    QPainterPath head;
    head.moveTo(tip);
    head.lineTo(tip + QPointF(std::cos(angle + 2.5), std::sin(angle + 2.5)) * size);
    head.lineTo(tip + QPointF(std::cos(angle - 2.5), std::sin(angle - 2.5)) * size);
    head.closeSubpath();
    return head;
}

void Outlined(QPainter& p, const QPainterPath& path, const QBrush& fill, double width = 1.2) {
    p.fillPath(path, fill);
    p.strokePath(path, QPen(kOutline, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

QImage Icon(const QString& name, int ratio) {
    const Fonts& f = LoadFonts();
    return SupersampledAt(ratio, 24, 24, 4, [&](QPainter& p) {
        const QColor blue(40, 110, 210), green(40, 160, 80), red(210, 50, 50), gold(245, 185, 30),
            purple(140, 70, 190), teal(20, 150, 160);
        if (name == "New") {
            IconTile(p, QRectF(6, 4, 13, 17));
            p.fillPath(Text(QString(QChar(0x4E2D)), f.brush, QRectF(8.5, 7, 8, 11)), red);
            QPainterPath star;
            for (int i = 0; i < 8; ++i) {
                const double a = i * kPi / 4;
                const double r = i % 2 ? 2.0 : 5.5;
                const QPointF pt = QPointF(18.5, 5.5) + QPointF(std::cos(a), std::sin(a)) * r;
                i == 0 ? star.moveTo(pt) : star.lineTo(pt);
            }
            star.closeSubpath();
            Outlined(p, star, gold, 0.9);
        } else if (name == "Back") {
            QPainterPath arc;
            arc.moveTo(6, 10);
            arc.cubicTo(10, 4, 21, 5, 20, 13);
            arc.cubicTo(19.5, 18, 15, 20, 10, 20);
            p.strokePath(arc, QPen(kOutline, 5.2, Qt::SolidLine, Qt::RoundCap));
            p.strokePath(arc, QPen(blue, 3.2, Qt::SolidLine, Qt::RoundCap));
            Outlined(p, Arrowhead(QPointF(2.5, 13), kPi * 0.82, 8.5), blue);
        } else if (name == "Hint") {
            QPainterPath bulb;
            bulb.addEllipse(QPointF(12, 9.5), 7, 7);
            QPainterPath neck;
            neck.addRect(QRectF(8.5, 13, 7, 4));
            QRadialGradient g(QPointF(10, 7), 8);
            g.setColorAt(0, QColor(255, 255, 210));
            g.setColorAt(1, gold);
            Outlined(p, bulb.united(neck), g);
            QPainterPath base;
            base.addRoundedRect(QRectF(8.5, 17, 7, 5), 1.5, 1.5);
            Outlined(p, base, QColor(150, 150, 160));
            p.strokePath(QPainterPath(QPointF(8.5, 19.2)), QPen());
            QPainterPath rays;
            for (double a : {-2.6, -1.57, -0.55}) {
                rays.moveTo(QPointF(12, 9.5) + QPointF(std::cos(a), std::sin(a)) * 9);
                rays.lineTo(QPointF(12, 9.5) + QPointF(std::cos(a), std::sin(a)) * 11.5);
            }
            p.strokePath(rays, QPen(QColor(230, 160, 0), 1.4, Qt::SolidLine, Qt::RoundCap));
        } else if (name == "Shuffle") {
            QPainterPath a;
            a.moveTo(2, 7);
            a.cubicTo(9, 7, 12, 17, 19, 17);
            QPainterPath b;
            b.moveTo(2, 17);
            b.cubicTo(9, 17, 12, 7, 19, 7);
            for (const auto& path : {a, b}) {
                p.strokePath(path, QPen(kOutline, 4.6, Qt::SolidLine, Qt::RoundCap));
            }
            p.strokePath(a, QPen(green, 2.8, Qt::SolidLine, Qt::RoundCap));
            p.strokePath(b, QPen(QColor(240, 130, 30), 2.8, Qt::SolidLine, Qt::RoundCap));
            Outlined(p, Arrowhead(QPointF(23, 17), 0, 6.5), green, 1.0);
            Outlined(p, Arrowhead(QPointF(23, 7), 0, 6.5), QColor(240, 130, 30), 1.0);
        } else if (name == "Pause") {
            QPainterPath disc;
            disc.addEllipse(QPointF(12, 12), 10, 10);
            QRadialGradient g(QPointF(9, 8), 14);
            g.setColorAt(0, QColor(120, 180, 255));
            g.setColorAt(1, blue);
            Outlined(p, disc, g);
            p.fillRect(QRectF(8, 7, 3, 10), Qt::white);
            p.fillRect(QRectF(13, 7, 3, 10), Qt::white);
        } else if (name == "Music") {
            QPainterPath note;
            note.addEllipse(QPointF(7, 18), 3.6, 2.8);
            note.addEllipse(QPointF(17, 16), 3.6, 2.8);
            note.addRect(QRectF(9.4, 5, 1.8, 13));
            note.addRect(QRectF(19.4, 3, 1.8, 13));
            QPainterPath beam;
            beam.moveTo(9.4, 5);
            beam.lineTo(21.2, 3);
            beam.lineTo(21.2, 6.5);
            beam.lineTo(9.4, 8.5);
            beam.closeSubpath();
            note.addPath(beam);
            Outlined(p, note.simplified(), purple, 1.0);
        } else if (name == "Layout") {
            IconTile(p, QRectF(4, 10, 8, 11));
            IconTile(p, QRectF(13, 10, 8, 11));
            IconTile(p, QRectF(8.5, 3, 8, 11));
        } else if (name == "Help") {
            QPainterPath disc;
            disc.addEllipse(QPointF(12, 12), 10, 10);
            Outlined(p, disc, blue);
            p.fillPath(Text("?", f.sans, QRectF(8, 5, 8, 14)), Qt::white);
        } else if (name == "About") {
            QPainterPath disc;
            disc.addEllipse(QPointF(12, 12), 10, 10);
            Outlined(p, disc, teal);
            p.fillPath(Text("i", f.serif, QRectF(9.5, 5, 5, 14)), Qt::white);
        } else if (name == "Hall") {
            QPainterPath cup;
            cup.moveTo(6, 3);
            cup.lineTo(18, 3);
            cup.cubicTo(18, 12, 15, 14, 12, 14);
            cup.cubicTo(9, 14, 6, 12, 6, 3);
            cup.closeSubpath();
            QPainterPath handles;
            handles.addEllipse(QPointF(5, 7), 3.5, 3.5);
            handles.addEllipse(QPointF(19, 7), 3.5, 3.5);
            QPainterPath holes;
            holes.addEllipse(QPointF(5, 7), 1.8, 1.8);
            holes.addEllipse(QPointF(19, 7), 1.8, 1.8);
            QPainterPath stem;
            stem.addRect(QRectF(10.5, 13.5, 3, 4));
            stem.addRoundedRect(QRectF(6.5, 17.5, 11, 4), 1.2, 1.2);
            QLinearGradient g(0, 3, 0, 21);
            g.setColorAt(0, QColor(255, 236, 130));
            g.setColorAt(1, QColor(210, 140, 10));
            Outlined(p, cup.united(handles.subtracted(holes)).united(stem).simplified(), g, 1.0);
        } else if (name == "Exit") {
            QPainterPath door;
            door.addRect(QRectF(4, 3, 10, 18));
            Outlined(p, door, QColor(150, 90, 50));
            p.fillPath(Circle(QPointF(12, 12.5), 1), kOutline);
            QPainterPath arrow;
            arrow.moveTo(11, 12);
            arrow.lineTo(19, 12);
            p.strokePath(arrow, QPen(kOutline, 4.2, Qt::SolidLine, Qt::RoundCap));
            p.strokePath(arrow, QPen(red, 2.4, Qt::SolidLine, Qt::RoundCap));
            Outlined(p, Arrowhead(QPointF(23.5, 12), 0, 7), red, 1.0);
        } else { // 3D
            const QPointF top(12, 2), left(3, 7), right(21, 7), mid(12, 12), bl(3, 17), br(21, 17),
                bottom(12, 22);
            QPainterPath lid, west, east;
            lid.moveTo(top);
            lid.lineTo(right);
            lid.lineTo(mid);
            lid.lineTo(left);
            lid.closeSubpath();
            west.moveTo(left);
            west.lineTo(mid);
            west.lineTo(bottom);
            west.lineTo(bl);
            west.closeSubpath();
            east.moveTo(mid);
            east.lineTo(right);
            east.lineTo(br);
            east.lineTo(bottom);
            east.closeSubpath();
            Outlined(p, lid, QColor(130, 200, 255), 1.0);
            Outlined(p, west, QColor(40, 110, 210), 1.0);
            Outlined(p, east, QColor(20, 70, 150), 1.0);
        }
    });
}

} // namespace

bool MakeResources(const QString& binDir) {
    const QString dir = binDir + "/Resources";
    if (!MakeFolder(dir)) {
        return false;
    }
    bool ok = true;
    auto png = [&](const QImage& image, const QString& name) {
        ok &= SavePng(image, dir + "/" + name);
    };
    png(Splash(), "Splash.png");
    // The welcome pictures and toolbar icons come twice: at one and at two pixels a point
    // ("@2x"), for screens of twice the density.
    const std::function<QImage(int)> screens[6] = {WelcomeSolitaire, WelcomeRivers, WelcomeMemory,
                                                   WelcomeClicks,    WelcomeSlider, WelcomeHashira};
    for (int i = 0; i < 6; ++i) {
        ok &= SaveJpg(screens[i](1), dir + QString("/screen%1.jpg").arg(i + 1), 95);
        ok &= SaveJpg(screens[i](2), dir + QString("/screen%1@2x.jpg").arg(i + 1), 95);
    }
    png(Hand(false), "HAND.png");
    png(Hand(true), "HAND2.png");
    png(HallStrip(), "HofPic.png");
    for (int i = 1; i <= 18; ++i) {
        png(MascotPicture(i), QString("Girl%1.png").arg(i, 2, 10, QChar('0')));
    }
    png(DigitStrip(), "Digits.png");
    png(Marble(), "Marble.png");
    png(Word("NEXT", 64, 16, QColor(255, 170, 120), QColor(230, 60, 40)), "Next.png");
    png(Word("SCORE", 64, 16, QColor(150, 220, 255), QColor(40, 120, 240)), "Score.png");
    png(Word("TILES", 128, 32, QColor(240, 170, 255), QColor(170, 60, 220), "REMOVED"),
        "TilesRemoved.png");
    png(Word("LEVEL", 64, 16, QColor(255, 230, 130), QColor(240, 150, 20)), "Level.png");
    png(SliderGrid(), "Grid.png");
    png(NextGrid(), "NextGrid.png");
    png(GridCell(), "GridCell.png");
    png(Filled(), "Filled.png");
    png(MiniTile(false), "MiniTile0.png");
    png(MiniTile(true), "MiniTile1.png");
    png(ToolWallpaper(), "ToolBitmap.png");
    png(WindowBackground(), "TovaniLogo.png");
    png(WelcomeWallpaper(), "WelcomeBack.png");
    png(ScorePanel(), "ScorePanel.png");
    for (const char* name : {"New", "Back", "Hint", "Shuffle", "Pause", "Music", "Layout", "Help",
                             "About", "Hall", "Exit", "3D"}) {
        png(Icon(name, 1), QString("Icon%1.png").arg(name));
        png(Icon(name, 2), QString("Icon%1@2x.png").arg(name));
    }
    return ok;
}

} // namespace tovani::art
