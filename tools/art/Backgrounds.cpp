// The backgrounds: calm, low-contrast pictures that the tiles stand out on, painted from
// gradients, noise and soft shapes at 2560 x 1440, so that they stay sharp on large screens.
// "Keshiki" is the landscape shown behind the start-up splash; "Felt" and "Linen" are the quiet
// ones, almost plain, that never draw the eye away from the tiles.
#include "ArtCommon.h"
#include "Content.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <functional>
#include <thread>
#include <vector>

namespace tovani::art {

namespace {

constexpr int kW = 2560;
constexpr int kH = 1440;

struct Rgb {
    double r, g, b;
};

Rgb Lerp(const Rgb& a, const Rgb& b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb FromHex(unsigned v) {
    return {double((v >> 16) & 255), double((v >> 8) & 255), double(v & 255)};
}

double Smooth(double e0, double e1, double x) {
    const double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// Fills an image pixel by pixel; a touch of hashed grain keeps gradients free of bands. Every
// pixel depends on its place alone, so the rows are shared out to two workers and the picture
// is the same whatever the order they run in.
QImage Field(int w, int h, uint32_t seed, const std::function<Rgb(double, double)>& colour) {
    QImage image(w, h, QImage::Format_RGB32);
    auto rows = [&](int first, int step) {
        for (int y = first; y < h; y += step) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < w; ++x) {
                const Rgb c = colour(x, y);
                const double d = (Hash2(x, y, seed) - 0.5) * 2.0;
                auto q = [d](double v) {
                    return std::clamp(static_cast<int>(std::lround(v + d)), 0, 255);
                };
                line[x] = qRgb(q(c.r), q(c.g), q(c.b));
            }
        }
    };
    std::thread other(rows, 1, 2);
    rows(0, 2);
    other.join();
    return image;
}

// Soft round lights scattered over a picture.
void Bokeh(QImage& image, uint32_t seed, int count, const QColor& tint, double minR, double maxR,
           int maxAlpha) {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const double x = Hash2(i, 1, seed) * image.width();
        const double y = Hash2(i, 2, seed) * image.height();
        const double r = minR + Hash2(i, 3, seed) * (maxR - minR);
        QColor c = tint;
        c.setAlpha(static_cast<int>(maxAlpha * (0.35 + 0.65 * Hash2(i, 4, seed))));
        QColor edge = c;
        edge.setAlpha(0);
        QRadialGradient g(QPointF(x, y), r);
        g.setColorAt(0, c);
        g.setColorAt(0.7, QColor(c.red(), c.green(), c.blue(), c.alpha() * 2 / 3));
        g.setColorAt(1, edge);
        p.setBrush(g);
        p.drawEllipse(QPointF(x, y), r, r);
    }
}

QImage Garden() {
    const Rgb top = FromHex(0x4F7F5A), bottom = FromHex(0x1F4A33), moss = FromHex(0x6D9A5C);
    QImage image = Field(kW, kH, 11, [&](double x, double y) {
        const double v = y / kH;
        Rgb c = Lerp(top, bottom, Smooth(0, 1, v));
        const double n = Fbm(x / 420.0, y / 420.0, 21, 5);
        c = Lerp(c, moss, std::clamp((n - 0.45) * 0.9, 0.0, 0.35));
        const double fine = Fbm(x / 60.0, y / 60.0, 22, 3);
        const double k = 0.92 + fine * 0.16;
        // Darker towards the corners, so the middle of the board is the brightest.
        const double dx = x / kW - 0.5, dy = y / kH - 0.5;
        const double vig = 1.0 - 0.45 * (dx * dx + dy * dy);
        return Rgb{c.r * k * vig, c.g * k * vig, c.b * k * vig};
    });
    Bokeh(image, 5, 40, QColor(210, 235, 170), 40, 140, 34);
    Bokeh(image, 6, 18, QColor(255, 236, 180), 80, 220, 18);
    // Leaf shadows drifting in from the corners.
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 26; ++i) {
        const bool left = i % 2 == 0;
        const double x = left ? Hash2(i, 7, 9) * 380 : kW - Hash2(i, 7, 9) * 380;
        const double y = Hash2(i, 8, 9) * kH;
        const double len = 120 + Hash2(i, 9, 9) * 160;
        const double a = Hash2(i, 10, 9) * 6.283;
        QPainterPath leaf;
        leaf.moveTo(0, 0);
        leaf.quadTo(len * 0.5, len * 0.22, len, 0);
        leaf.quadTo(len * 0.5, -len * 0.22, 0, 0);
        p.save();
        p.translate(x, y);
        p.rotate(a * 57.29578);
        p.fillPath(leaf, QColor(10, 35, 20, 38));
        p.restore();
    }
    return image;
}

QImage Ocean() {
    const Rgb top = FromHex(0x2E6C8E), bottom = FromHex(0x0D2E4A), foam = FromHex(0x6FA9C4);
    return Field(kW, kH, 31, [&](double x, double y) {
        const double v = y / kH;
        Rgb c = Lerp(top, bottom, Smooth(0, 1, v));
        const double n = Fbm(x / 300.0, y / 120.0, 33, 5);
        const double wave = std::sin(x / 140.0 + y / 45.0 + n * 6.0);
        const double lines = std::pow(std::max(0.0, wave), 8.0) * 0.22 * (1.0 - v * 0.6);
        c = Lerp(c, foam, lines + (n - 0.5) * 0.12);
        const double dx = x / kW - 0.5, dy = y / kH - 0.45;
        const double glow = std::exp(-(dx * dx * 3 + dy * dy * 5)) * 0.12;
        return Lerp(c, FromHex(0x9FD4E6), glow);
    });
}

QImage Dusk() {
    const Rgb sky0 = FromHex(0x3A2F5C), sky1 = FromHex(0x8A4F6E), sky2 = FromHex(0xD98A5F);
    const Rgb hill0 = FromHex(0x3B2B4A), hill1 = FromHex(0x241B33);
    return Field(kW, kH, 41, [&](double x, double y) {
        const double v = y / kH;
        Rgb c = v < 0.55 ? Lerp(sky0, sky1, Smooth(0, 0.55, v))
                         : Lerp(sky1, sky2, Smooth(0.55, 0.8, v));
        // Thin drifting clouds.
        const double cl = Fbm(x / 500.0, y / 90.0, 43, 5);
        c = Lerp(c, FromHex(0xE2A6A0), std::clamp((cl - 0.55) * 0.8, 0.0, 0.25) * (1 - v));
        // Two ranges of low hills.
        const double h1 =
            kH * (0.72 + 0.06 * std::sin(x / 310.0) + 0.05 * (Fbm(x / 400.0, 0.5, 44, 4) - 0.5));
        const double h2 = kH * (0.82 + 0.04 * std::sin(x / 190.0 + 1.3) +
                                0.06 * (Fbm(x / 250.0, 3.5, 45, 4) - 0.5));
        if (y > h1) {
            c = Lerp(c, hill0, Smooth(h1, h1 + 3, y) * 0.85);
        }
        if (y > h2) {
            c = Lerp(c, hill1, Smooth(h2, h2 + 3, y) * 0.95);
        }
        return c;
    });
}

QImage Slate() {
    const Rgb base = FromHex(0x3C4650), light = FromHex(0x56626D), dark = FromHex(0x262D35);
    return Field(kW, kH, 51, [&](double x, double y) {
        const double n = Fbm(x / 380.0, y / 380.0, 53, 6);
        const double streak = Fbm(x / 900.0, y / 70.0, 54, 4);
        Rgb c = n > 0.5 ? Lerp(base, light, (n - 0.5) * 1.2) : Lerp(base, dark, (0.5 - n) * 1.2);
        c = Lerp(c, dark, std::clamp((streak - 0.55) * 0.8, 0.0, 0.2));
        const double fine = Fbm(x / 8.0, y / 8.0, 55, 2) - 0.5;
        return Rgb{c.r + fine * 10, c.g + fine * 10, c.b + fine * 10};
    });
}

// A small picture meant to be tiled: a woven silk pattern whose edges meet seamlessly.
QImage Silk() {
    constexpr int kSize = 256;
    const Rgb base = FromHex(0x6B1E2E), warm = FromHex(0x8C2C3A), deep = FromHex(0x4A1220);
    QImage image = Field(kSize, kSize, 61, [&](double x, double y) {
        const double n = Fbm(x / 64.0, y / 64.0, 63, 4, 4);
        const double weftA = 0.5 + 0.5 * std::sin(x * 2 * 3.14159265 / 4.0);
        const double weftB = 0.5 + 0.5 * std::sin(y * 2 * 3.14159265 / 4.0);
        const bool over = ((static_cast<int>(x) / 4 + static_cast<int>(y) / 4) % 2) == 0;
        const double thread = over ? weftA : weftB;
        Rgb c = Lerp(base, warm, n * 0.8);
        c = Lerp(c, deep, 0.18 * (1 - thread));
        return c;
    });
    // A quiet repeating emblem: a lozenge of four petals, wrapped at the edges.
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            for (const QPointF& c : {QPointF(64, 64), QPointF(192, 192)}) {
                const QPointF at = c + QPointF(dx * kSize, dy * kSize);
                for (int k = 0; k < 4; ++k) {
                    QPainterPath petal;
                    petal.moveTo(0, 0);
                    petal.quadTo(10, -14, 0, -30);
                    petal.quadTo(-10, -14, 0, 0);
                    p.save();
                    p.translate(at);
                    p.rotate(45 + k * 90);
                    p.fillPath(petal, QColor(230, 170, 120, 38));
                    p.strokePath(petal, QPen(QColor(240, 190, 140, 45), 1.2));
                    p.restore();
                }
            }
        }
    }
    return image;
}

// Layered mountains under an evening sky, a lake and mist: the start-up landscape.
QImage Keshiki() {
    const Rgb skyTop = FromHex(0x2C4C7C), skyMid = FromHex(0xE7A77E), skyLow = FromHex(0xF6D6A8);
    const Rgb ranges[4] = {FromHex(0x8E8FB0), FromHex(0x5F6A92), FromHex(0x3B4A6E),
                           FromHex(0x1F2B45)};
    const double sunX = kW * 0.72, sunY = kH * 0.2;
    auto ridge = [](int layer, double x) {
        const double base[4] = {0.42, 0.52, 0.6, 0.7};
        const double amp[4] = {0.16, 0.14, 0.1, 0.07};
        const double scale[4] = {520, 380, 300, 240};
        double n = Fbm(x / scale[layer], layer * 7.3, 70 + layer, 5);
        // Sharpen the noise into peaks.
        n = 1.0 - std::abs(n - 0.5) * 2.0;
        return kH * (base[layer] - amp[layer] * n);
    };
    const double lake = kH * 0.78;
    return Field(kW, kH, 71, [&](double x, double y) {
        double yy = y;
        bool mirror = false;
        if (y > lake) {
            // The lake reflects the land above it, rippled.
            yy = 2 * lake - y + std::sin(y * 0.35 + Fbm(x / 80.0, y / 8.0, 77, 2) * 6.0) * 3.0;
            mirror = true;
        }
        const double v = yy / kH;
        Rgb c = v < 0.3 ? Lerp(skyTop, skyMid, Smooth(0.0, 0.3, v))
                        : Lerp(skyMid, skyLow, Smooth(0.3, 0.5, v));
        const double dx = x - sunX, dy = yy - sunY;
        const double d = std::sqrt(dx * dx + dy * dy);
        c = Lerp(c, FromHex(0xFFF1C9), std::exp(-d / 160.0) * 0.8);
        if (d < 60) {
            c = Lerp(c, FromHex(0xFFF6DA), Smooth(62, 56, d));
        }
        const double cloud = Fbm(x / 600.0, yy / 110.0, 72, 5);
        c = Lerp(c, FromHex(0xF4C4A4), std::clamp((cloud - 0.56) * 1.2, 0.0, 0.35) * (1 - v * 1.6));
        for (int layer = 0; layer < 4; ++layer) {
            const double top = ridge(layer, x);
            if (yy > top) {
                const double depth = std::clamp((yy - top) / (kH * 0.25), 0.0, 1.0);
                Rgb m =
                    Lerp(ranges[layer],
                         Rgb{ranges[layer].r * 0.8, ranges[layer].g * 0.8, ranges[layer].b * 0.85},
                         depth);
                const double tex = Fbm(x / 90.0, yy / 90.0, 80 + layer, 3) - 0.5;
                m = Rgb{m.r + tex * 14, m.g + tex * 14, m.b + tex * 14};
                c = Lerp(c, m, Smooth(top, top + 2.0, yy));
                // Mist gathers at the foot of each range.
                const double mist = std::exp(-(yy - top) / 60.0) * 0.0 +
                                    Smooth(top + kH * 0.06, top + kH * 0.16, yy) * 0.35 *
                                        (0.6 + 0.4 * Fbm(x / 300.0, yy / 40.0, 90 + layer, 3));
                c = Lerp(c, skyLow, layer < 3 ? mist : 0.0);
            }
        }
        if (mirror) {
            c = Lerp(c, FromHex(0x2C4C7C), 0.35);
            const double glint =
                std::exp(-std::abs(x - sunX) / 40.0) *
                std::pow(std::max(0.0, std::sin(y * 0.9 + Fbm(x / 30.0, y / 5.0, 95, 2) * 9)), 6.0);
            c = Lerp(c, FromHex(0xFFE9B8), glint * 0.6);
        }
        return c;
    });
}

// Quiet: a dark green-grey baize, nearly plain, with a fine nap and a soft light in the middle.
QImage Felt() {
    const Rgb base = FromHex(0x2F4A40), dark = FromHex(0x22372F);
    return Field(kW, kH, 101, [&](double x, double y) {
        const double nap = Fbm(x / 3.0, y / 9.0, 103, 2) - 0.5;
        const double cloud = Fbm(x / 700.0, y / 700.0, 104, 3);
        Rgb c = Lerp(base, dark, cloud * 0.35);
        const double dx = x / kW - 0.5, dy = y / kH - 0.5;
        const double light = 1.06 - 0.3 * (dx * dx + dy * dy);
        return Rgb{(c.r + nap * 7) * light, (c.g + nap * 7) * light, (c.b + nap * 7) * light};
    });
}

// Quiet: a warm grey linen, the threads just visible up close and gone from a step away.
QImage Linen() {
    const Rgb base = FromHex(0x77716A), warm = FromHex(0x827A70);
    return Field(kW, kH, 111, [&](double x, double y) {
        const double warp = Hash2(static_cast<int>(x) / 2, 7, 113) - 0.5;
        const double weft = Hash2(static_cast<int>(y) / 2, 9, 114) - 0.5;
        const double slub = Fbm(x / 40.0, y / 3.0, 115, 2) - 0.5;
        const double cloud = Fbm(x / 900.0, y / 900.0, 116, 3);
        Rgb c = Lerp(base, warm, cloud);
        const double t = warp * 4 + weft * 4 + slub * 5;
        return Rgb{c.r + t, c.g + t, c.b + t * 0.9};
    });
}

// A bamboo grove in the morning haze: pale stalks far off, darker ones near, soft light between.
QImage BambooGrove() {
    const Rgb haze = FromHex(0xB9CFA2), deep = FromHex(0x5E8451);
    QImage image = Field(kW, kH, 121, [&](double x, double y) {
        const double v = y / kH;
        Rgb c =
            Lerp(haze, deep, Smooth(0.0, 1.2, v + (Fbm(x / 600.0, y / 600.0, 122, 3) - 0.5) * 0.4));
        const double ray = std::pow(std::max(0.0, std::sin((x - y * 0.35) / 160.0)), 12.0);
        return Lerp(c, FromHex(0xF2F4D8), ray * 0.12 * (1.0 - v));
    });
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    for (int depth = 0; depth < 3; ++depth) {
        const QColor stalk = depth == 0   ? QColor(150, 182, 128, 120)
                             : depth == 1 ? QColor(92, 134, 80, 170)
                                          : QColor(52, 90, 54, 165);
        const int count = 14 - depth * 3;
        for (int i = 0; i < count; ++i) {
            const double x = Hash2(i, depth, 123) * kW;
            const double w = 14 + depth * 16 + Hash2(i, depth + 5, 123) * 10;
            const double lean = (Hash2(i, depth + 9, 123) - 0.5) * 80;
            QPainterPath body;
            body.moveTo(x, kH + 10);
            body.lineTo(x + lean, -10);
            p.strokePath(body, QPen(stalk, w, Qt::SolidLine, Qt::FlatCap));
            // Knots every so often up the stalk.
            for (double y = kH - Hash2(i, depth, 124) * 200; y > 0; y -= 180 + depth * 40) {
                const double t = 1.0 - (y + 10) / (kH + 20);
                const double kx = x + lean * t;
                p.fillRect(QRectF(kx - w * 0.6, y - 3, w * 1.2, 6), stalk.darker(130));
            }
            // A few leaves from the knots.
            for (int k = 0; k < 3; ++k) {
                const double y = Hash2(i, k + 20, 125 + depth) * kH * 0.7;
                const double t = 1.0 - (y + 10) / (kH + 20);
                const QPointF at(x + lean * t, y);
                const double dir = Hash2(i, k + 30, 125) < 0.5 ? -1 : 1;
                QPainterPath leaf;
                leaf.moveTo(at);
                leaf.quadTo(at + QPointF(dir * 60, 10), at + QPointF(dir * (110 + depth * 40), 40));
                leaf.quadTo(at + QPointF(dir * 60, 26), at);
                p.fillPath(leaf, stalk);
            }
        }
    }
    return image;
}

// A clear night: deep blue sky, a faint band of the milky way, scattered stars and a low moon.
QImage NightSky() {
    const Rgb top = FromHex(0x070B1E), low = FromHex(0x1C2A55);
    const double moonX = kW * 0.82, moonY = kH * 0.22;
    QImage image = Field(kW, kH, 131, [&](double x, double y) {
        const double v = y / kH;
        Rgb c = Lerp(top, low, Smooth(0.0, 1.0, v));
        // The milky way, a soft diagonal band of haze.
        const double band = std::exp(-std::pow((y - kH * 0.9 + x * 0.45) / 260.0, 2.0));
        const double dust = Fbm(x / 220.0, y / 220.0, 133, 5);
        c = Lerp(c, FromHex(0x4A5A8A), band * dust * 0.5);
        const double d = std::hypot(x - moonX, y - moonY);
        c = Lerp(c, FromHex(0x6C7FB0), std::exp(-d / 260.0) * 0.45);
        if (d < 70) {
            const double crater = Fbm(x / 18.0, y / 18.0, 134, 3);
            c = Lerp(c, Lerp(FromHex(0xF4F1E0), FromHex(0xC9C6B8), crater), Smooth(71, 68, d));
        }
        return c;
    });
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 900; ++i) {
        const double x = Hash2(i, 1, 135) * kW, y = Hash2(i, 2, 135) * kH * 0.95;
        if (std::hypot(x - moonX, y - moonY) < 90) {
            continue;
        }
        const double b = Hash2(i, 3, 135);
        const double r = 0.6 + b * b * 1.8;
        p.setBrush(QColor(255, 250, 235, static_cast<int>(90 + 160 * b)));
        p.drawEllipse(QPointF(x, y), r, r);
    }
    return image;
}

// Cherry blossom against a pale spring sky, the branches soft and out of focus at the edges.
QImage Sakura() {
    const Rgb skyTop = FromHex(0x7FA8CC), skyLow = FromHex(0xC4D6E2);
    QImage image = Field(kW, kH, 141, [&](double x, double y) {
        const double v = y / kH;
        Rgb c = Lerp(skyTop, skyLow, Smooth(0.0, 1.0, v));
        const double cloud = Fbm(x / 500.0, y / 160.0, 143, 5);
        return Lerp(c, FromHex(0xF6F4F2), std::clamp((cloud - 0.5) * 1.2, 0.0, 0.4));
    });
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Branches reaching in from the top corners.
    std::vector<QPointF> tips;
    for (int side = 0; side < 2; ++side) {
        const double sx = side == 0 ? -40 : kW + 40;
        const double dir = side == 0 ? 1 : -1;
        for (int b = 0; b < 4; ++b) {
            QPointF at(sx, 80 + b * 170 + Hash2(b, side, 144) * 80);
            double width = 34 - b * 5;
            double angle = (0.15 + Hash2(b, side + 2, 144) * 0.3) * (b % 2 ? 1 : -1);
            for (int seg = 0; seg < 7; ++seg) {
                const double len = 90 + Hash2(b * 7 + seg, side, 145) * 70;
                const QPointF next = at + QPointF(dir * std::cos(angle), std::sin(angle)) * len;
                p.setPen(QPen(QColor(70, 46, 44), width, Qt::SolidLine, Qt::RoundCap));
                p.drawLine(at, next);
                tips.push_back(next);
                at = next;
                width *= 0.8;
                angle += (Hash2(b * 7 + seg, side + 4, 145) - 0.5) * 0.7;
            }
        }
    }
    // Blossoms in clusters along the branches.
    p.setPen(Qt::NoPen);
    int n = 0;
    for (const QPointF& tip : tips) {
        for (int k = 0; k < 9; ++k, ++n) {
            const QPointF c =
                tip + QPointF((Hash2(n, 1, 146) - 0.5) * 120, (Hash2(n, 2, 146) - 0.5) * 90);
            const double r = 9 + Hash2(n, 3, 146) * 9;
            const QColor petal =
                Mix(QColor(246, 196, 210), QColor(255, 236, 242), Hash2(n, 4, 146));
            for (int q = 0; q < 5; ++q) {
                const double a = q * 1.2566 + Hash2(n, 5, 146);
                p.setBrush(petal);
                p.drawEllipse(c + QPointF(std::cos(a), std::sin(a)) * r * 0.7, r * 0.62, r * 0.62);
            }
            p.setBrush(QColor(214, 96, 128));
            p.drawEllipse(c, r * 0.25, r * 0.25);
        }
    }
    // A few petals drifting down across the middle.
    for (int i = 0; i < 60; ++i) {
        const QPointF c(Hash2(i, 1, 147) * kW, kH * 0.3 + Hash2(i, 2, 147) * kH * 0.7);
        p.save();
        p.translate(c);
        p.rotate(Hash2(i, 3, 147) * 360);
        p.setBrush(QColor(250, 210, 222, 160));
        p.drawEllipse(QPointF(0, 0), 7, 4);
        p.restore();
    }
    return image;
}

} // namespace

bool MakeBackgrounds(const QString& binDir) {
    const QString dir = binDir + "/Backgrounds";
    if (!MakeFolder(dir)) {
        return false;
    }
    bool ok = true;
    ok &= SaveJpg(Garden(), dir + "/Garden.jpg", 90);
    ok &= SaveJpg(Ocean(), dir + "/Ocean.jpg", 90);
    ok &= SaveBmp(Dusk(), dir + "/Dusk.bmp");
    ok &= SaveJpg(Slate(), dir + "/Slate.jpg", 90);
    ok &= SaveBmp(Silk(), dir + "/Silk.bmp");
    ok &= SaveJpg(Keshiki(), dir + "/Keshiki.jpg", 92);
    ok &= SaveJpg(Felt(), dir + "/Felt.jpg", 90);
    ok &= SaveJpg(Linen(), dir + "/Linen.jpg", 90);
    ok &= SaveJpg(BambooGrove(), dir + "/Bamboo Grove.jpg", 90);
    ok &= SaveJpg(NightSky(), dir + "/Night Sky.jpg", 92);
    ok &= SaveJpg(Sakura(), dir + "/Sakura.jpg", 90);
    return ok;
}

} // namespace tovani::art
