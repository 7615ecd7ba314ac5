// The painter of the mahjong tile faces (see TileFaces.h).
#include "TileFaces.h"

#include "graphics/Tileset.h"

#include "ArtCommon.h"
#include "TileInk.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QRadialGradient>
#include <QTransform>

#include <algorithm>
#include <array>
#include <cmath>

namespace tovani::art {

namespace {

constexpr double kW = 100.0; // design width of a face
constexpr double kH = 125.0; // design height of a face

} // namespace

QPoint FacePosition(int face) {
    // The same cells as the game cuts, so a face is painted where the game looks for it.
    const Point p = tovani::FacePosition(face);
    return {p.x, p.y};
}

void PaintFaceSurface(QImage& image, const QRect& cell, const TileStyle& style, int seed) {
    const bool back = seed < 0;
    const QColor top = back ? style.backTop : style.faceTop;
    const QColor bottom = back ? style.backBottom : style.faceBottom;
    const QColor rim = back ? Shade(style.backBottom, 0.7) : style.faceRim;
    const int w = cell.width();
    const int h = cell.height();
    const double unit = w / kW; // pixels per design unit
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(cell.top() + y)) + cell.left();
        for (int x = 0; x < w; ++x) {
            const double u = (x + 0.5) / w;
            const double v = (y + 0.5) / h;
            QColor c = Mix(top, bottom, std::clamp(v * 0.85 + u * 0.15, 0.0, 1.0));
            if (style.flat) {
                // One colour, and a crisp line where the top meets the sides.
                const bool edge = x < 2 || y < 2 || x >= w - 2 || y >= h - 2;
                line[x] = (edge ? rim : top).rgb();
                continue;
            }
            // The top is slightly domed: it darkens towards the rim, most on the lower right.
            const double dl = u * kW, dr = (1 - u) * kW, dt = v * kH, db = (1 - v) * kH;
            const double d = std::min({dl, dr, dt, db});
            if (d < 6.0) {
                double t = 1.0 - d / 6.0;
                t = t * t * 0.55;
                if (dr < 6.0 || db < 6.0) {
                    t *= 1.25;
                }
                c = Mix(c, rim, std::min(t, 1.0));
            }
            if (dt < 3.5 && dt > 0.8 && dl > 2 && dr > 2) {
                c = Mix(c, QColor(255, 255, 255), 0.25 * (1.0 - dt / 3.5));
            }
            if (style.grain > 0) {
                const double g =
                    Fbm(x / (unit * 14.0), y / (unit * 3.0), 7 + (seed & 255), 3) - 0.5;
                const double fine = Hash2(x, y, 99 + (seed & 255)) - 0.5;
                c = Shade(c, 1.0 + style.grain * (g * 0.07 + fine * 0.018));
            }
            // A crisp edge line where the top meets the sides the game draws.
            if (x == 0 || y == 0 || x == w - 1 || y == h - 1) {
                c = Mix(c, rim, 0.8);
            }
            line[x] = c.rgb();
        }
    }
}

namespace ink {

QPainterPath Circle(QPointF c, double r) {
    QPainterPath path;
    path.addEllipse(c, r, r);
    return path;
}

// One bamboo stick from a to b, with its three knots and a light rib.
void Stick(Ink& ink, QPointF a, QPointF b, double w, const QColor& col) {
    QPainter& p = ink.p();
    const QPointF d = b - a;
    const double len = std::hypot(d.x(), d.y());
    const double angle = std::atan2(d.x(), d.y()); // 0 = pointing down
    p.save();
    p.translate(a);
    p.rotate(-angle * 180.0 / kPi);
    QPainterPath body;
    body.addRoundedRect(QRectF(-w / 2, 0, w, len), w * 0.35, w * 0.35);
    QLinearGradient g(-w / 2, 0, w / 2, 0);
    g.setColorAt(0, Shade(col, 0.72));
    g.setColorAt(0.32, Mix(col, ink.s().paper, 0.22));
    g.setColorAt(0.55, col);
    g.setColorAt(1, Shade(col, 0.6));
    ink.Fill(body, QBrush(g), col, 0.6);
    const QColor knot = Shade(col, 0.62);
    const QColor light = Mix(col, ink.s().paper, 0.65);
    for (double y : {w * 0.32, len / 2, len - w * 0.32}) {
        QPainterPath k;
        k.addRoundedRect(QRectF(-w * 0.64, y - w * 0.2, w * 1.28, w * 0.4), w * 0.18, w * 0.18);
        ink.Plain(k, knot);
        QPainterPath l;
        l.addRect(QRectF(-w * 0.5, y - w * 0.05, w, w * 0.1));
        ink.Plain(l, light);
    }
    QPainterPath rib;
    rib.moveTo(-w * 0.08, w * 0.75);
    rib.lineTo(-w * 0.08, len / 2 - w * 0.42);
    rib.moveTo(-w * 0.08, len / 2 + w * 0.42);
    rib.lineTo(-w * 0.08, len - w * 0.75);
    p.strokePath(rib, QPen(light, w * 0.14, Qt::SolidLine, Qt::RoundCap));
    p.restore();
}

// A pointed leaf from `base` towards `tip`, `width` at its widest.
QPainterPath Leaf(QPointF base, QPointF tip, double width, double bend) {
    const QPointF d = tip - base;
    const double len = std::hypot(d.x(), d.y());
    const QPointF n(-d.y() / len, d.x() / len);
    const QPointF mid = base + d * 0.45 + n * bend * len;
    QPainterPath path;
    path.moveTo(base);
    path.quadTo(mid + n * width, tip);
    path.quadTo(mid - n * width, base);
    path.closeSubpath();
    return path;
}

} // namespace ink

using namespace ink;

namespace {

void Dot(Ink& ink, QPointF c, double r, const QColor& col) {
    const QColor paper = ink.s().paper;
    QRadialGradient g(c - QPointF(r * 0.3, r * 0.3), r * 1.3);
    g.setColorAt(0, Mix(col, QColor(255, 255, 255), 0.18));
    g.setColorAt(1, Shade(col, 0.85));
    ink.Fill(Circle(c, r), QBrush(g), col, 0.6);
    ink.Plain(Circle(c, r * 0.79), paper);
    ink.Plain(Circle(c, r * 0.66), col);
    if (ink.s().flat) {
        ink.Plain(Circle(c, r * 0.3), paper);
        return;
    }
    for (int k = 0; k < 8; ++k) {
        const double a = k * kPi / 4;
        ink.Plain(Circle(c + QPointF(std::cos(a), std::sin(a)) * r * 0.45, r * 0.095), paper);
    }
    ink.Plain(Circle(c, r * 0.2), paper);
    ink.Plain(Circle(c, r * 0.09), Shade(col, 0.8));
}

// The single big coin of the one of dots.
void BigDot(Ink& ink, QPointF c, double r) {
    const TileStyle& s = ink.s();
    QRadialGradient g(c - QPointF(r * 0.3, r * 0.3), r * 1.3);
    g.setColorAt(0, Mix(s.green, QColor(255, 255, 255), 0.15));
    g.setColorAt(1, Shade(s.green, 0.85));
    ink.Fill(Circle(c, r), QBrush(g), s.green, 0.7);
    for (int k = 0; k < 24; ++k) {
        const double a = k * kPi / 12;
        ink.Plain(Circle(c + QPointF(std::cos(a), std::sin(a)) * r * 0.895, r * 0.045), s.paper);
    }
    ink.Plain(Circle(c, r * 0.8), s.paper);
    ink.Plain(Circle(c, r * 0.74), s.red);
    for (int k = 0; k < 12; ++k) {
        const double a = k * kPi / 6 + kPi / 12;
        QPainterPath petal;
        petal.addEllipse(QPointF(0, 0), r * 0.11, r * 0.055);
        QTransform t;
        t.translate(c.x() + std::cos(a) * r * 0.58, c.y() + std::sin(a) * r * 0.58);
        t.rotateRadians(a);
        ink.Plain(t.map(petal), s.paper);
    }
    ink.Plain(Circle(c, r * 0.43), s.paper);
    ink.Plain(Circle(c, r * 0.37), s.blue);
    for (int k = 0; k < 8; ++k) {
        const double a = k * kPi / 4;
        ink.Plain(Circle(c + QPointF(std::cos(a), std::sin(a)) * r * 0.23, r * 0.05), s.paper);
    }
    ink.Plain(Circle(c, r * 0.1), s.paper);
}

void VStick(Ink& ink, double x, double y0, double y1, const QColor& col, double w = 13) {
    Stick(ink, QPointF(x, y0), QPointF(x, y1), w, col);
}

// The bird of the one of bamboo: a little peacock on a bamboo perch.
void Bird(Ink& ink) {
    const TileStyle& s = ink.s();
    // Tail feathers fanning down to the left, each with an eye at its tip.
    const std::array<QPointF, 5> tips = {QPointF(10, 92), QPointF(14, 108), QPointF(26, 117),
                                         QPointF(41, 118), QPointF(8, 74)};
    const std::array<QColor, 5> tailColours = {s.blue, s.green, s.blue, s.green, s.green};
    for (int i = 4; i >= 0; --i) {
        const QPointF base(46, 74);
        ink.Fill(Leaf(base, tips[i], 7.5, 0.04), tailColours[i], 0.6);
        const QPointF eye = base + (tips[i] - base) * 0.8;
        ink.Plain(Circle(eye, 4.0), s.paper);
        ink.Plain(Circle(eye, 2.8), s.red);
        ink.Plain(Circle(eye, 1.2), s.paper);
    }
    // The perch.
    Stick(ink, QPointF(30, 100), QPointF(92, 88), 8, Shade(s.green, 0.9));
    // Legs.
    QPainterPath legs;
    legs.moveTo(56, 82);
    legs.lineTo(58, 94);
    legs.moveTo(64, 81);
    legs.lineTo(68, 92);
    ink.Stroke(legs, Shade(s.red, 0.8), 2.0);
    // Body: a plump teardrop, green back, red breast.
    QPainterPath body;
    body.moveTo(40, 76);
    body.cubicTo(38, 56, 52, 40, 66, 42);
    body.cubicTo(80, 46, 80, 70, 70, 80);
    body.cubicTo(62, 88, 46, 86, 40, 76);
    ink.Fill(body, s.green, 0.8);
    QPainterPath breast;
    breast.moveTo(66, 44);
    breast.cubicTo(80, 48, 80, 70, 70, 80);
    breast.cubicTo(66, 70, 64, 56, 66, 44);
    ink.Fill(breast, s.red, 0.0);
    // Wing with three feathers.
    QPainterPath wing;
    wing.moveTo(44, 66);
    wing.cubicTo(46, 54, 58, 50, 64, 56);
    wing.cubicTo(62, 66, 54, 74, 44, 66);
    ink.Fill(wing, s.blue, 0.6);
    QPainterPath feathers;
    feathers.moveTo(48, 64);
    feathers.quadTo(54, 60, 60, 58);
    feathers.moveTo(48, 68);
    feathers.quadTo(55, 66, 60, 62);
    ink.p().strokePath(feathers, QPen(s.paper, 1.2, Qt::SolidLine, Qt::RoundCap));
    // Head, crest, eye and beak.
    const QPointF head(70, 34);
    ink.Fill(Circle(head, 10), s.red, 0.8);
    for (int i = 0; i < 3; ++i) {
        const QPointF tip(62 + i * 6, 12 + (i == 1 ? -2 : 2));
        QPainterPath plume;
        plume.moveTo(head + QPointF(-2 + i * 2, -8));
        plume.lineTo(tip);
        ink.Stroke(plume, s.green, 1.6);
        ink.Fill(Circle(tip, 2.4), s.blue, 0.4);
    }
    ink.Plain(Circle(head + QPointF(3, -2), 3.4), s.paper);
    ink.Plain(Circle(head + QPointF(3.8, -2), 1.8), s.ink);
    QPainterPath beak;
    beak.moveTo(head + QPointF(8, -3));
    beak.lineTo(head + QPointF(19, 1));
    beak.lineTo(head + QPointF(8, 4));
    beak.closeSubpath();
    ink.Fill(beak, Mix(s.red, s.gold, 0.7), 0.6);
}

void Numeral(Ink& ink, int value) {
    static const char16_t numerals[] = u"一二三四五六七八九";
    const QString numeral(QChar(numerals[value - 1]));
    // The flat numerals keep their proportions; the taller ones fill the upper box.
    ink.Glyph(GlyphPath(numeral, ink.s().cjk, QRectF(20, 9, 60, 46), 1.35, 700), ink.s().ink);
    ink.Glyph(GlyphPath(QString(QChar(0x842C)), ink.s().cjk, QRectF(15, 59, 70, 56), 1.15, 700),
              ink.s().red);
}

void Dots(Ink& ink, int value) {
    const TileStyle& s = ink.s();
    const QColor g = s.green, r = s.red, b = s.blue;
    switch (value) {
    case 1:
        BigDot(ink, QPointF(50, 62.5), 38);
        break;
    case 2:
        Dot(ink, QPointF(50, 35), 20, g);
        Dot(ink, QPointF(50, 90), 20, b);
        break;
    case 3:
        Dot(ink, QPointF(24, 28), 15.5, b);
        Dot(ink, QPointF(50, 62.5), 15.5, r);
        Dot(ink, QPointF(76, 97), 15.5, g);
        break;
    case 4:
        Dot(ink, QPointF(28, 37), 17, b);
        Dot(ink, QPointF(72, 37), 17, g);
        Dot(ink, QPointF(28, 88), 17, g);
        Dot(ink, QPointF(72, 88), 17, b);
        break;
    case 5:
        Dot(ink, QPointF(26, 30), 15, b);
        Dot(ink, QPointF(74, 30), 15, g);
        Dot(ink, QPointF(50, 62.5), 15, r);
        Dot(ink, QPointF(26, 95), 15, g);
        Dot(ink, QPointF(74, 95), 15, b);
        break;
    case 6:
        Dot(ink, QPointF(29, 26), 14, g);
        Dot(ink, QPointF(71, 26), 14, g);
        for (double y : {68.0, 100.0}) {
            Dot(ink, QPointF(29, y), 14, r);
            Dot(ink, QPointF(71, y), 14, r);
        }
        break;
    case 7:
        Dot(ink, QPointF(22, 20), 11.5, g);
        Dot(ink, QPointF(50, 33), 11.5, g);
        Dot(ink, QPointF(78, 46), 11.5, g);
        for (double y : {78.0, 104.0}) {
            Dot(ink, QPointF(30, y), 12.5, r);
            Dot(ink, QPointF(70, y), 12.5, r);
        }
        break;
    case 8:
        for (double y : {20.0, 48.0, 77.0, 105.0}) {
            Dot(ink, QPointF(30, y), 13, b);
            Dot(ink, QPointF(70, y), 13, b);
        }
        break;
    default: {
        const std::array<QColor, 3> rows = {b, r, g};
        for (int row = 0; row < 3; ++row) {
            for (int col = 0; col < 3; ++col) {
                Dot(ink, QPointF(20 + col * 30, 26 + row * 36.5), 13, rows[row]);
            }
        }
        break;
    }
    }
}

void Bamboo(Ink& ink, int value) {
    const TileStyle& s = ink.s();
    const QColor g = s.green, r = s.red, b = s.blue;
    const double top0 = 11, top1 = 59, bot0 = 66, bot1 = 114;
    switch (value) {
    case 1:
        Bird(ink);
        break;
    case 2:
        VStick(ink, 50, top0, top1, b, 14);
        VStick(ink, 50, bot0, bot1, g, 14);
        break;
    case 3:
        VStick(ink, 50, top0, top1, b, 14);
        VStick(ink, 30, bot0, bot1, g, 14);
        VStick(ink, 70, bot0, bot1, g, 14);
        break;
    case 4:
        VStick(ink, 30, top0, top1, b, 14);
        VStick(ink, 70, top0, top1, g, 14);
        VStick(ink, 30, bot0, bot1, g, 14);
        VStick(ink, 70, bot0, bot1, b, 14);
        break;
    case 5:
        VStick(ink, 21, top0, top1, g);
        VStick(ink, 79, top0, top1, b);
        VStick(ink, 21, bot0, bot1, b);
        VStick(ink, 79, bot0, bot1, g);
        VStick(ink, 50, 38.5, 86.5, r);
        break;
    case 6:
        for (double x : {21.0, 50.0, 79.0}) {
            VStick(ink, x, top0, top1, g);
            VStick(ink, x, bot0, bot1, b);
        }
        break;
    case 7:
        VStick(ink, 50, 9, 42, r, 11.5);
        for (double x : {21.0, 50.0, 79.0}) {
            VStick(ink, x, 47, 79, g, 11.5);
            VStick(ink, x, 84, 116, b, 11.5);
        }
        break;
    case 8:
        VStick(ink, 16, top0, top1, g, 11.5);
        VStick(ink, 84, top0, top1, g, 11.5);
        Stick(ink, QPointF(36, top1), QPointF(49, top0 + 1), 10, b);
        Stick(ink, QPointF(64, top1), QPointF(51, top0 + 1), 10, b);
        VStick(ink, 16, bot0, bot1, g, 11.5);
        VStick(ink, 84, bot0, bot1, g, 11.5);
        Stick(ink, QPointF(36, bot0), QPointF(49, bot1 - 1), 10, b);
        Stick(ink, QPointF(64, bot0), QPointF(51, bot1 - 1), 10, b);
        break;
    default:
        for (int row = 0; row < 3; ++row) {
            const double y0 = 9 + row * 36;
            VStick(ink, 21, y0, y0 + 32, g, 11.5);
            VStick(ink, 50, y0, y0 + 32, r, 11.5);
            VStick(ink, 79, y0, y0 + 32, b, 11.5);
        }
        break;
    }
}

void WhiteDragon(Ink& ink) {
    const TileStyle& s = ink.s();
    QPainterPath outer;
    outer.addRoundedRect(QRectF(13, 12, 74, 101), 5, 5);
    QPainterPath hole;
    hole.addRect(QRectF(20, 19, 60, 87));
    ink.Fill(outer.subtracted(hole), s.blue, 0.6);
    // A ladder of blocks between the outer and the inner frame.
    QPainterPath blocks;
    const int across = 6, down = 9;
    for (int i = 0; i < across; ++i) {
        if (i % 2 == 0) {
            blocks.addRect(QRectF(22 + i * 56.0 / across, 21, 56.0 / across, 4));
            blocks.addRect(QRectF(22 + i * 56.0 / across, 100, 56.0 / across, 4));
        }
    }
    for (int i = 0; i < down; ++i) {
        if (i % 2 == 0) {
            blocks.addRect(QRectF(22, 21 + i * 83.0 / down, 4, 83.0 / down));
            blocks.addRect(QRectF(74, 21 + i * 83.0 / down, 4, 83.0 / down));
        }
    }
    ink.Fill(blocks, s.blue, 0.0);
    QPainterPath inner;
    inner.addRect(QRectF(28.5, 27.5, 43, 70));
    QPainterPath innerHole;
    innerHole.addRect(QRectF(31, 30, 38, 65));
    ink.Fill(inner.subtracted(innerHole), s.blue, 0.0);
}

void Back(Ink& ink) {
    const TileStyle& s = ink.s();
    QPainterPath frame;
    frame.addRoundedRect(QRectF(9, 9, 82, 107), 7, 7);
    ink.p().strokePath(frame, QPen(s.backPattern, 1.6));
    // A lattice of small diamonds, a quiet pattern that tells a face-down tile at a glance.
    QPainterPath lattice;
    for (int row = 0; row < 9; ++row) {
        for (int col = 0; col < 7; ++col) {
            const double x = 17 + col * 11 + (row % 2) * 5.5;
            const double y = 18 + row * 11.2;
            if (x > 86) {
                continue;
            }
            lattice.moveTo(x, y - 3);
            lattice.lineTo(x + 3, y);
            lattice.lineTo(x, y + 3);
            lattice.lineTo(x - 3, y);
            lattice.closeSubpath();
        }
    }
    QColor pat = s.backPattern;
    pat.setAlpha(110);
    ink.p().fillPath(lattice, pat);
    QPainterPath medallion = Circle(QPointF(50, 62.5), 15);
    ink.p().fillPath(medallion, Mix(s.backBottom, s.backTop, 0.5));
    ink.p().strokePath(medallion, QPen(s.backPattern, 1.6));
    ink.p().fillPath(GlyphPath(QString(QChar(0x798F)), s.cjk, QRectF(40, 52.5, 20, 20), 1.0, 700),
                     s.backPattern);
}

} // namespace

void PaintFaceSymbol(QPainter& p, const QRectF& cell, int face, const TileStyle& style) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.translate(cell.topLeft());
    p.scale(cell.width() / kW, cell.height() / kH);
    if (style.design == FaceDesign::Bold) {
        PaintBoldSymbol(p, face, style);
        p.restore();
        return;
    }
    Ink ink(p, style);
    const Fonts& f = LoadFonts();
    static const char16_t winds[] = u"北南東西";
    if (face >= 1 && face <= 9) {
        Dots(ink, face);
    } else if (face <= 18) {
        Bamboo(ink, face - 9);
    } else if (face <= 27) {
        Numeral(ink, face - 18);
    } else if (face == 28) {
        BambooPlant(ink);
        Caption(ink, 4, QString(QChar(0x7AF9)));
    } else if (face == 29) {
        Plum(ink);
        Caption(ink, 1, QString(QChar(0x6885)));
    } else if (face == 30) {
        Chrysanthemum(ink);
        Caption(ink, 3, QString(QChar(0x83CA)));
    } else if (face == 31) {
        Orchid(ink);
        Caption(ink, 2, QString(QChar(0x862D)));
    } else if (face == 32) {
        Winter(ink);
        Caption(ink, 4, QString(QChar(0x51AC)));
    } else if (face == 33) {
        Spring(ink);
        Caption(ink, 1, QString(QChar(0x6625)));
    } else if (face == 34) {
        Summer(ink);
        Caption(ink, 2, QString(QChar(0x590F)));
    } else if (face == 35) {
        Autumn(ink);
        Caption(ink, 3, QString(QChar(0x79CB)));
    } else if (face == 36) {
        ink.Glyph(GlyphPath(QString(QChar(0x4E2D)), style.cjk, QRectF(14, 12, 72, 101), 1.2, 700),
                  style.red);
    } else if (face == 37) {
        ink.Glyph(GlyphPath(QString(QChar(0x767C)), style.cjk, QRectF(11, 15, 78, 95), 1.2, 700),
                  style.green);
    } else if (face == 38) {
        WhiteDragon(ink);
    } else if (face <= 42) {
        ink.Glyph(GlyphPath(QString(QChar(winds[face - 39])), style.cjk, QRectF(13, 15, 74, 95),
                            1.2, 700),
                  style.ink);
    } else {
        Back(ink);
    }
    (void)f;
    p.restore();
}

void PaintFace(QImage& image, const QRect& cell, int face, const TileStyle& style) {
    PaintFaceSurface(image, cell, style, face == 43 ? -1 : face);
    QPainter p(&image);
    const int labelLength = static_cast<int>(FaceLabel(face).size());
    if (style.labelPlate.alpha() > 0 && labelLength > 0) {
        // A pale plate under the corner where the game writes its black label, so the label
        // reads on a dark face; as wide as this face's label.
        p.save();
        p.setRenderHint(QPainter::Antialiasing, true);
        p.translate(cell.topLeft());
        p.scale(cell.width() / kW, cell.height() / kH);
        QPainterPath plate;
        plate.addRoundedRect(QRectF(-4, -4, 10 + 9.5 * labelLength, 21), 4, 4);
        p.fillPath(plate, style.labelPlate);
        p.restore();
    }
    PaintFaceSymbol(p, cell, face, style);
}

} // namespace tovani::art
