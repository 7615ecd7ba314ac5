// The program's own pictures: cursors, hall-of-fame strip and side pictures, digit strip,
// marble, word labels, Slider grid, mini tiles and wallpapers, and the Resources folder made of
// them with the splash, the welcome pictures and the icons (ResourcesWelcome.cpp,
// ResourcesIcons.cpp). docs/RESOURCES.md lists every name, size and purpose.
#include "ArtCommon.h"
#include "Content.h"
#include "ResourcePictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <functional>

namespace tovani::art {

QImage MascotPicture(int index); // Mascot.cpp

namespace pictures {
namespace {

const QColor kSide(206, 148, 140);

QImage Canvas(int w, int h, const QColor& fill = Qt::transparent) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    return image;
}

} // namespace

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

QPainterPath Text(const QString& s, const QString& family, const QRectF& box, double stretch) {
    return GlyphPath(s, family, box, stretch, 700);
}

} // namespace pictures

using namespace pictures;

namespace {

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
