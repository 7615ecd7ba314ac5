// The bold faces: large, high-contrast symbols that stay readable on a tile 24 pixels wide.
// Every suit tile carries its value as a big numeral above one large suit sign, both in the
// suit's colour; the flowers sit in a round magenta badge and the seasons in a square amber
// one, so the two groups that match among themselves are told apart from across the room.
#include "TileFaces.h"

#include "ArtCommon.h"

#include <QPainterPath>
#include <QPainterPathStroker>
#include <QTransform>

#include <cmath>

namespace tovani::art {

namespace {

constexpr double kPi = 3.14159265358979323846;

QPainterPath Disc(QPointF c, double r) {
    QPainterPath path;
    path.addEllipse(c, r, r);
    return path;
}

QPainterPath Petal(QPointF c, double angle, double from, double to, double width) {
    QPainterPath petal;
    petal.moveTo(from, 0);
    petal.quadTo((from + to) / 2, -width, to, 0);
    petal.quadTo((from + to) / 2, width, from, 0);
    petal.closeSubpath();
    QTransform t;
    t.translate(c.x(), c.y());
    t.rotateRadians(angle);
    return t.map(petal);
}

// A character filled and thickened by a stroke of its own colour, so it keeps its weight when
// the tile is small.
void Heavy(QPainter& p, const QPainterPath& glyph, const QColor& c, double stroke) {
    p.fillPath(glyph, c);
    p.strokePath(glyph, QPen(c, stroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

// The suit sign under the numeral, in the box (15, 72) - (85, 118).
void SuitSign(QPainter& p, int suit, const TileStyle& s) {
    const Fonts& f = LoadFonts();
    if (suit == 0) { // dots: one big coin
        p.fillPath(Disc(QPointF(50, 96), 20), s.blue);
        p.fillPath(Disc(QPointF(50, 96), 13), s.paper);
        p.fillPath(Disc(QPointF(50, 96), 8), s.blue);
    } else if (suit == 1) { // bamboo: two thick stalks with their knots
        for (double x : {37.0, 63.0}) {
            QPainterPath stalk;
            stalk.addRoundedRect(QRectF(x - 8, 74, 16, 44), 6, 6);
            p.fillPath(stalk, s.green);
            for (double y : {88.0, 104.0}) {
                p.fillRect(QRectF(x - 10, y - 2.5, 20, 5), Shade(s.green, 0.55));
            }
        }
    } else { // characters: the sign for ten thousand
        Heavy(p, GlyphPath(QString(QChar(0x842C)), f.hei, QRectF(25, 74, 50, 43), 1.1, 900), s.red,
              1.5);
    }
}

void Numeral(QPainter& p, int value, const QColor& colour) {
    const Fonts& f = LoadFonts();
    p.fillPath(GlyphPath(QString::number(value), f.sans, QRectF(24, 6, 52, 62), 1.0, 700), colour);
}

// Flowers: a round magenta badge with a white flower; seasons: a square amber badge.
void Badge(QPainter& p, bool flower, int number, const TileStyle& s) {
    const Fonts& f = LoadFonts();
    const QColor colour = flower ? s.gold : s.wood; // the bold style keeps its badges there
    if (flower) {
        p.fillPath(Disc(QPointF(50, 66), 40), colour);
    } else {
        QPainterPath square;
        square.addRoundedRect(QRectF(11, 27, 78, 78), 10, 10);
        p.fillPath(square, colour);
    }
    // The number of the flower or season, large enough to read on its own.
    p.fillPath(GlyphPath(QString::number(number), f.sans, QRectF(70, 3, 24, 26), 1.0, 700), s.ink);
}

void FlowerSign(QPainter& p, int which, const QColor& c) {
    const QPointF m(50, 66);
    QPainterPath path;
    switch (which) {
    case 0: // bamboo: three long leaves from one point
        for (double a : {-2.4, -1.57, -0.74}) {
            path.addPath(Petal(m + QPointF(0, 20), a, 0, 44, 8));
        }
        break;
    case 1: // plum: five round petals
        for (int k = 0; k < 5; ++k) {
            const double a = -kPi / 2 + k * 2 * kPi / 5;
            path.addPath(Disc(m + QPointF(std::cos(a), std::sin(a)) * 15, 12));
        }
        break;
    case 2: // chrysanthemum: many thin petals
        for (int k = 0; k < 14; ++k) {
            path.addPath(Petal(m, k * 2 * kPi / 14, 6, 30, 4.5));
        }
        break;
    default: // orchid: three long petals and two short ones
        for (double a : {-kPi / 2, -kPi / 2 + 2.1, -kPi / 2 - 2.1}) {
            path.addPath(Petal(m, a, 0, 30, 10));
        }
        for (double a : {-kPi / 2 + 1.05, -kPi / 2 - 1.05}) {
            path.addPath(Petal(m, a, 0, 18, 6));
        }
        break;
    }
    p.fillPath(path.simplified(), c);
    if (which == 1 || which == 2) {
        p.fillPath(Disc(m, which == 1 ? 7 : 8), QColor(255, 214, 64));
    }
}

void SeasonSign(QPainter& p, int which, const QColor& c, const QColor& badge) {
    const QPointF m(50, 66);
    p.save();
    p.setPen(QPen(c, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    switch (which) {
    case 0: // winter: a snowflake
        for (int k = 0; k < 3; ++k) {
            const double a = k * kPi / 3;
            const QPointF d(std::cos(a) * 28, std::sin(a) * 28);
            p.drawLine(m - d, m + d);
        }
        for (int k = 0; k < 6; ++k) {
            const double a = k * kPi / 3;
            const QPointF tip = m + QPointF(std::cos(a), std::sin(a)) * 18;
            const QPointF n(-std::sin(a) * 8, std::cos(a) * 8);
            const QPointF out = m + QPointF(std::cos(a), std::sin(a)) * 26;
            p.drawLine(tip, out + n);
            p.drawLine(tip, out - n);
        }
        break;
    case 1: { // spring: a sprout of two leaves
        p.drawLine(m + QPointF(0, 30), m + QPointF(0, -4));
        QPainterPath leaves = Petal(m + QPointF(0, 2), -kPi * 0.82, 0, 30, 11);
        leaves.addPath(Petal(m + QPointF(0, -6), -kPi * 0.2, 0, 30, 11));
        p.fillPath(leaves.simplified(), c);
        break;
    }
    case 2: // summer: the sun
        p.fillPath(Disc(m, 15), c);
        for (int k = 0; k < 8; ++k) {
            const double a = k * kPi / 4;
            const QPointF d(std::cos(a), std::sin(a));
            p.drawLine(m + d * 22, m + d * 31);
        }
        break;
    default: { // autumn: a falling leaf with its stem and veins
        QPainterPath leaf = Petal(m + QPointF(-22, 22), -kPi / 4, 0, 62, 20);
        p.fillPath(leaf, c);
        p.setPen(QPen(badge, 3.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(m + QPointF(-22, 22), m + QPointF(18, -18));
        p.setPen(QPen(c, 5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(m + QPointF(-22, 22), m + QPointF(-30, 30));
        break;
    }
    }
    p.restore();
}

void Back(QPainter& p, const TileStyle& s) {
    QPainterPath panel;
    panel.addRoundedRect(QRectF(8, 8, 84, 109), 8, 8);
    p.fillPath(panel, s.backPattern);
    QPainterPath lozenge;
    lozenge.moveTo(50, 24);
    lozenge.lineTo(80, 62.5);
    lozenge.lineTo(50, 101);
    lozenge.lineTo(20, 62.5);
    lozenge.closeSubpath();
    p.fillPath(lozenge, s.backTop);
}

} // namespace

void PaintBoldSymbol(QPainter& p, int face, const TileStyle& s) {
    const Fonts& f = LoadFonts();
    if (face >= 1 && face <= 27) {
        const int suit = (face - 1) / 9;
        const QColor colour = suit == 0 ? s.blue : suit == 1 ? s.green : s.red;
        Numeral(p, (face - 1) % 9 + 1, colour);
        SuitSign(p, suit, s);
    } else if (face <= 31) {
        Badge(p, true, face - 27, s);
        FlowerSign(p, face - 28, s.paper);
    } else if (face <= 35) {
        Badge(p, false, face - 31, s);
        SeasonSign(p, face - 32, s.paper, s.wood);
    } else if (face == 36) {
        Heavy(p, GlyphPath(QString(QChar(0x4E2D)), f.hei, QRectF(14, 14, 72, 97), 1.2, 900), s.red,
              4.0);
    } else if (face == 37) {
        Heavy(p, GlyphPath(QString(QChar(0x767C)), f.hei, QRectF(12, 16, 76, 93), 1.2, 900),
              s.green, 3.0);
    } else if (face == 38) {
        QPainterPath frame;
        frame.addRoundedRect(QRectF(16, 14, 68, 97), 6, 6);
        QPainterPath hole;
        hole.addRect(QRectF(28, 26, 44, 73));
        p.fillPath(frame.subtracted(hole), s.blue);
        p.fillRect(QRectF(38, 36, 24, 53), Mix(s.blue, s.paper, 0.75));
    } else if (face <= 42) {
        static const char winds[] = "NSEW";
        static const char16_t cjk[] = u"北南東西";
        p.fillPath(
            GlyphPath(QString(QChar(winds[face - 39])), f.sans, QRectF(12, 18, 76, 68), 1.3, 700),
            s.ink);
        p.fillPath(
            GlyphPath(QString(QChar(cjk[face - 39])), f.hei, QRectF(34, 88, 32, 30), 1.0, 700),
            Mix(s.ink, s.paper, 0.35));
    } else {
        Back(p, s);
    }
}

} // namespace tovani::art
