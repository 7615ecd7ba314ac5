// The backgrounds: calm, low-contrast pictures that the tiles stand out on, painted from
// gradients, noise and soft shapes. "Keshiki" is the landscape shown behind the start-up splash.
#include "ArtCommon.h"
#include "Content.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <functional>

namespace tovani::art {

namespace {

constexpr int kW = 1920;
constexpr int kH = 1080;

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

// Fills an image pixel by pixel; a touch of hashed grain keeps gradients free of bands.
QImage Field(int w, int h, uint32_t seed, const std::function<Rgb(double, double)>& colour) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
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
    return ok;
}

} // namespace tovani::art
