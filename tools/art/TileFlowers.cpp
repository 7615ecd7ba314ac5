// The flowers and seasons of the classic faces (see TileInk.h).
#include "TileInk.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <QTransform>

#include <array>
#include <cmath>

namespace tovani::art::ink {

// A five-petal blossom.
void Blossom(Ink& ink, QPointF c, double r, const QColor& petal, const QColor& heart,
             double turn = 0) {
    for (int k = 0; k < 5; ++k) {
        const double a = turn + k * 2 * kPi / 5 - kPi / 2;
        ink.Fill(Circle(c + QPointF(std::cos(a), std::sin(a)) * r * 0.55, r * 0.5), petal, 0.5);
    }
    ink.Plain(Circle(c, r * 0.32), heart);
    for (int k = 0; k < 5; ++k) {
        const double a = turn + k * 2 * kPi / 5 - kPi / 2 + kPi / 5;
        ink.Plain(Circle(c + QPointF(std::cos(a), std::sin(a)) * r * 0.42, r * 0.09), ink.s().gold);
    }
}

QColor Brown(const TileStyle& s) {
    return s.wood;
}

void Plum(Ink& ink) {
    const TileStyle& s = ink.s();
    QPainterPath branch;
    branch.moveTo(12, 116);
    branch.cubicTo(26, 96, 24, 78, 40, 64);
    branch.cubicTo(52, 52, 50, 36, 66, 22);
    branch.moveTo(34, 72);
    branch.cubicTo(22, 62, 18, 52, 16, 40);
    branch.moveTo(48, 52);
    branch.quadTo(60, 50, 68, 58);
    ink.Stroke(branch, Brown(s), 4.5);
    const QColor pink = Mix(s.red, QColor(255, 190, 205), 0.55);
    Blossom(ink, QPointF(18, 38), 9, pink, s.red, 0.3);
    Blossom(ink, QPointF(46, 60), 11, pink, s.red);
    Blossom(ink, QPointF(66, 22), 9, pink, s.red, 0.6);
    Blossom(ink, QPointF(30, 96), 8, pink, s.red, 0.2);
    ink.Fill(Circle(QPointF(70, 60), 3.5), s.red, 0.5);
    ink.Fill(Circle(QPointF(22, 58), 3.0), s.red, 0.5);
}

void Orchid(Ink& ink) {
    const TileStyle& s = ink.s();
    const QPointF root(40, 116);
    ink.Fill(Leaf(root, QPointF(8, 52), 5, 0.05), s.green, 0.5);
    ink.Fill(Leaf(root, QPointF(70, 60), 4.5, -0.08), s.green, 0.5);
    ink.Fill(Leaf(root, QPointF(20, 80), 4, -0.05), Shade(s.green, 0.85), 0.5);
    ink.Fill(Leaf(root, QPointF(66, 96), 4, 0.05), Shade(s.green, 0.85), 0.5);
    QPainterPath stem;
    stem.moveTo(root);
    stem.cubicTo(QPointF(44, 80), QPointF(40, 56), QPointF(48, 36));
    ink.Stroke(stem, Shade(s.green, 0.8), 1.6);
    const QColor violet = Mix(s.blue, s.red, 0.45);
    const QColor lilac = Mix(violet, QColor(255, 255, 255), 0.45);
    auto flower = [&](QPointF c, double r) {
        for (int k = 0; k < 3; ++k) {
            const double a = -kPi / 2 + (k - 1) * 2.1;
            ink.Fill(Leaf(c, c + QPointF(std::cos(a), std::sin(a)) * r, r * 0.22), lilac, 0.5);
        }
        for (int k = 0; k < 2; ++k) {
            const double a = -kPi / 2 + (k == 0 ? -0.95 : 0.95);
            ink.Fill(Leaf(c, c + QPointF(std::cos(a), std::sin(a)) * r * 0.8, r * 0.3), violet,
                     0.5);
        }
        QPainterPath lip;
        lip.addEllipse(c + QPointF(0, r * 0.3), r * 0.28, r * 0.32);
        ink.Fill(lip, Shade(violet, 0.75), 0.4);
        ink.Plain(Circle(c + QPointF(0, r * 0.22), r * 0.08), s.gold);
    };
    flower(QPointF(48, 34), 20);
    flower(QPointF(24, 62), 15);
}

void Chrysanthemum(Ink& ink) {
    const TileStyle& s = ink.s();
    QPainterPath stem;
    stem.moveTo(42, 118);
    stem.cubicTo(46, 96, 38, 80, 40, 62);
    ink.Stroke(stem, Shade(s.green, 0.85), 2.6);
    ink.Fill(Leaf(QPointF(43, 100), QPointF(12, 86), 7, 0.1), s.green, 0.5);
    ink.Fill(Leaf(QPointF(42, 90), QPointF(70, 80), 6, -0.1), s.green, 0.5);
    const QPointF c(40, 46);
    const QColor outer = Mix(s.red, s.gold, 0.6);
    const QColor inner = s.gold;
    for (int k = 0; k < 22; ++k) {
        const double a = k * 2 * kPi / 22;
        ink.Fill(Leaf(c, c + QPointF(std::cos(a), std::sin(a)) * 28, 3.2), outer, 0.45);
    }
    for (int k = 0; k < 16; ++k) {
        const double a = k * 2 * kPi / 16 + 0.2;
        ink.Fill(Leaf(c, c + QPointF(std::cos(a), std::sin(a)) * 18, 3.0), inner, 0.45);
    }
    ink.Fill(Circle(c, 6), Mix(outer, s.red, 0.4), 0.5);
}

void BambooPlant(Ink& ink) {
    const TileStyle& s = ink.s();
    Stick(ink, QPointF(30, 118), QPointF(40, 66), 8, s.green);
    Stick(ink, QPointF(40, 66), QPointF(50, 14), 8, s.green);
    Stick(ink, QPointF(56, 118), QPointF(62, 74), 6, Shade(s.green, 0.85));
    const QColor leaf = Mix(s.green, s.ink, 0.2);
    ink.Fill(Leaf(QPointF(40, 62), QPointF(8, 48), 5, 0.1), leaf, 0.5);
    ink.Fill(Leaf(QPointF(40, 62), QPointF(14, 74), 4.5, -0.1), leaf, 0.5);
    ink.Fill(Leaf(QPointF(46, 30), QPointF(72, 18), 5, -0.1), leaf, 0.5);
    ink.Fill(Leaf(QPointF(46, 30), QPointF(74, 40), 4.5, 0.1), leaf, 0.5);
    ink.Fill(Leaf(QPointF(61, 78), QPointF(80, 100), 4.5, 0.1), leaf, 0.5);
    ink.Fill(Leaf(QPointF(61, 78), QPointF(84, 74), 4.5, -0.05), leaf, 0.5);
}

void Spring(Ink& ink) {
    const TileStyle& s = ink.s();
    QPainterPath ground;
    ground.moveTo(6, 116);
    ground.quadTo(40, 100, 74, 116);
    ground.lineTo(74, 119);
    ground.lineTo(6, 119);
    ground.closeSubpath();
    ink.Fill(ground, Mix(s.green, QColor(255, 255, 255), 0.15), 0.5);
    QPainterPath trunk;
    trunk.moveTo(36, 112);
    trunk.cubicTo(40, 90, 34, 76, 38, 62);
    trunk.moveTo(38, 80);
    trunk.quadTo(50, 70, 56, 58);
    trunk.moveTo(37, 74);
    trunk.quadTo(26, 66, 20, 56);
    ink.Stroke(trunk, Brown(s), 5);
    const QColor pink = Mix(s.red, QColor(255, 200, 215), 0.6);
    const QColor deep = Mix(s.red, QColor(255, 160, 185), 0.35);
    const std::array<QPointF, 9> puffs = {QPointF(38, 40), QPointF(22, 48), QPointF(54, 46),
                                          QPointF(30, 28), QPointF(48, 28), QPointF(14, 36),
                                          QPointF(62, 34), QPointF(38, 56), QPointF(24, 62)};
    for (size_t i = 0; i < puffs.size(); ++i) {
        ink.Fill(Circle(puffs[i], 11), i % 2 ? pink : deep, 0.5);
    }
    for (size_t i = 0; i < puffs.size(); ++i) {
        Blossom(ink, puffs[i] + QPointF(2, -2), 4, QColor(255, 240, 245), s.red,
                static_cast<double>(i));
    }
}

void Summer(Ink& ink) {
    const TileStyle& s = ink.s();
    const QColor sun = Mix(s.red, s.gold, 0.7);
    for (int k = 0; k < 12; ++k) {
        const double a = k * kPi / 6;
        const QPointF c(24, 30);
        ink.Fill(Leaf(c + QPointF(std::cos(a), std::sin(a)) * 12,
                      c + QPointF(std::cos(a), std::sin(a)) * 19, 2.2),
                 sun, 0.4);
    }
    ink.Fill(Circle(QPointF(24, 30), 10), sun, 0.6);
    // Water.
    QPainterPath waves;
    for (int row = 0; row < 3; ++row) {
        const double y = 100 + row * 7;
        waves.moveTo(6, y);
        for (int k = 0; k < 4; ++k) {
            waves.quadTo(6 + k * 17 + 8.5, y - 5, 6 + (k + 1) * 17, y);
        }
    }
    ink.Stroke(waves, s.blue, 2.2);
    // Lotus leaf and flower.
    QPainterPath pad;
    pad.addEllipse(QPointF(50, 92), 22, 7);
    ink.Fill(pad, s.green, 0.6);
    QPainterPath stem;
    stem.moveTo(40, 92);
    stem.quadTo(36, 76, 40, 66);
    ink.Stroke(stem, Shade(s.green, 0.8), 2.2);
    const QColor pink = Mix(s.red, QColor(255, 190, 210), 0.5);
    const QPointF c(40, 62);
    for (int k = -2; k <= 2; ++k) {
        const double a = -kPi / 2 + k * 0.5;
        ink.Fill(Leaf(c, c + QPointF(std::cos(a), std::sin(a)) * (k == 0 ? 24 : 20), 6),
                 k % 2 ? pink : Mix(pink, QColor(255, 255, 255), 0.35), 0.5);
    }
    ink.Fill(Leaf(c, c + QPointF(-20, 4), 5), pink, 0.5);
    ink.Fill(Leaf(c, c + QPointF(20, 4), 5), pink, 0.5);
}

// A maple leaf: five pointed lobes with toothed edges, the stem at the bottom.
QPainterPath MapleLeaf(QPointF c, double r, double turn) {
    // Lobe tips (angle from straight up, length) and the notches between them.
    const double tips[5][2] = {{0, 1.0}, {1.1, 0.92}, {2.2, 0.62}, {-2.2, 0.62}, {-1.1, 0.92}};
    QPainterPath path;
    auto at = [&](double a, double len) {
        return c + QPointF(std::sin(a + turn), -std::cos(a + turn)) * r * len;
    };
    path.moveTo(at(kPi, 0.2));
    const int seq[5] = {3, 4, 0, 1, 2};
    for (int k = 0; k < 5; ++k) {
        const double a = tips[seq[k]][0];
        const double len = tips[seq[k]][1];
        // Side teeth on the way to the tip, then the tip, then back in to a notch.
        path.lineTo(at(a - 0.32, len * 0.55));
        path.lineTo(at(a - 0.2, len * 0.62));
        path.lineTo(at(a - 0.12, len * 0.72));
        path.lineTo(at(a, len));
        path.lineTo(at(a + 0.12, len * 0.72));
        path.lineTo(at(a + 0.2, len * 0.62));
        path.lineTo(at(a + 0.32, len * 0.55));
        if (k < 4) {
            path.lineTo(at(a + 0.55, 0.38));
        }
    }
    path.lineTo(at(kPi, 0.2));
    path.closeSubpath();
    return path;
}

void Autumn(Ink& ink) {
    const TileStyle& s = ink.s();
    QPainterPath twig;
    twig.moveTo(10, 20);
    twig.cubicTo(30, 30, 44, 44, 52, 70);
    ink.Stroke(twig, Brown(s), 3);
    const QColor red = s.red;
    const QColor orange = Mix(s.red, s.gold, 0.55);
    const QColor amber = Mix(s.red, s.gold, 0.85);
    struct L {
        QPointF c;
        double r, turn;
        QColor col;
    };
    const std::array<L, 4> leaves = {
        L{QPointF(30, 40), 17, -0.4, orange}, L{QPointF(52, 72), 19, 0.2, red},
        L{QPointF(24, 96), 14, 0.7, amber}, L{QPointF(60, 106), 10, -0.8, orange}};
    for (const L& l : leaves) {
        QPainterPath stem;
        stem.moveTo(l.c);
        stem.lineTo(l.c + QPointF(-std::sin(l.turn), std::cos(l.turn)) * l.r * 0.9);
        ink.Stroke(stem, Shade(l.col, 0.7), 1.4);
        ink.Fill(MapleLeaf(l.c, l.r, l.turn), l.col, 0.6);
        QPainterPath veins;
        for (double a : {0.0, 1.1, 2.2, -2.2, -1.1}) {
            veins.moveTo(l.c);
            veins.lineTo(l.c + QPointF(std::sin(a + l.turn), -std::cos(a + l.turn)) * l.r * 0.7);
        }
        ink.p().strokePath(veins, QPen(Shade(l.col, 0.7), 0.8));
    }
}

QPainterPath Flake(QPointF c, double r) {
    QPainterPath path;
    for (int k = 0; k < 6; ++k) {
        const double a = k * kPi / 3;
        const QPointF d(std::cos(a), std::sin(a));
        const QPointF n(-d.y(), d.x());
        path.moveTo(c);
        path.lineTo(c + d * r);
        path.moveTo(c + d * r * 0.55);
        path.lineTo(c + d * r * 0.8 + n * r * 0.22);
        path.moveTo(c + d * r * 0.55);
        path.lineTo(c + d * r * 0.8 - n * r * 0.22);
    }
    return path;
}

void Winter(Ink& ink) {
    const TileStyle& s = ink.s();
    QPainterPath snow;
    snow.moveTo(4, 114);
    snow.quadTo(40, 102, 76, 112);
    snow.lineTo(76, 119);
    snow.lineTo(4, 119);
    snow.closeSubpath();
    ink.Fill(snow, Mix(s.blue, QColor(255, 255, 255), 0.75), 0.5);
    QPainterPath trunk;
    trunk.addRect(QRectF(36, 96, 7, 14));
    ink.Fill(trunk, Brown(s), 0.5);
    const QColor pine = Mix(s.green, s.ink, 0.25);
    const QColor white(250, 252, 255);
    for (int i = 0; i < 3; ++i) {
        const double top = 28 + i * 20;
        const double half = 16 + i * 7;
        QPainterPath tier;
        tier.moveTo(39.5, top);
        tier.lineTo(39.5 + half, top + 30);
        tier.lineTo(39.5 - half, top + 30);
        tier.closeSubpath();
        ink.Fill(tier, pine, 0.6);
        QPainterPath cap;
        cap.moveTo(39.5, top);
        cap.lineTo(39.5 + half * 0.5, top + 15);
        cap.quadTo(39.5, top + 11, 39.5 - half * 0.5, top + 15);
        cap.closeSubpath();
        ink.Fill(cap, white, 0.4);
    }
    const QColor ice = s.blue;
    ink.Stroke(Flake(QPointF(14, 24), 7), ice, 1.3);
    ink.Stroke(Flake(QPointF(68, 58), 6), ice, 1.2);
    ink.Stroke(Flake(QPointF(10, 70), 5), ice, 1.1);
    ink.Stroke(Flake(QPointF(66, 92), 4), ice, 1.0);
}

// The right-hand column of the flowers and seasons: a numeral above the plant's name.
void Caption(Ink& ink, int number, const QString& name) {
    const Fonts& f = LoadFonts();
    ink.Fill(GlyphPath(QString::number(number), f.serif, QRectF(76, 7, 16, 21)), ink.s().red, 0.0);
    ink.Glyph(GlyphPath(name, ink.s().cjk, QRectF(75, 32, 19, 19), 1.0, 700), ink.s().ink);
}

} // namespace tovani::art::ink
