// Shared helpers of the art tool (see ArtCommon.h).
#include "ArtCommon.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QImageWriter>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace tovani::art {

namespace {

QString Register(const QString& file, const QString& wanted) {
    if (!QFileInfo::exists(file)) {
        std::fprintf(stderr,
                     "tovani_art: the font file %s is missing (run scripts/install-deps.sh)\n",
                     qPrintable(file));
        std::exit(2);
    }
    const int id = QFontDatabase::addApplicationFont(file);
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (id < 0 || families.isEmpty()) {
        std::fprintf(stderr, "tovani_art: cannot read the font file %s\n", qPrintable(file));
        std::exit(2);
    }
    for (const QString& f : families) {
        if (f == wanted) {
            return f;
        }
    }
    for (const QString& f : families) {
        if (f.contains(wanted)) {
            return f;
        }
    }
    return families.first();
}

} // namespace

const Fonts& LoadFonts() {
    static const Fonts fonts = [] {
        Fonts f;
        f.brush = Register("/usr/share/fonts/truetype/arphic/ukai.ttc", "AR PL UKai TW");
        f.hei = Register("/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc", "WenQuanYi Zen Hei");
        f.sans = Register("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf", "DejaVu Sans");
        f.serif = Register("/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf", "DejaVu Serif");
        return f;
    }();
    return fonts;
}

QPainterPath GlyphPath(const QString& text, const QString& family, const QRectF& box,
                       double stretch, int weight) {
    QFont font(family);
    font.setPixelSize(200);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::NoFontMerging);
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF b = path.boundingRect();
    if (b.isEmpty()) {
        return path;
    }
    double sx = box.width() / b.width();
    double sy = box.height() / b.height();
    // Keep the glyph's proportions, but allow it to be squeezed a little to fill the box better.
    if (sx > sy) {
        sx = std::min(sx, sy * stretch);
    } else {
        sy = std::min(sy, sx * stretch);
    }
    QTransform t;
    t.translate(box.center().x(), box.center().y());
    t.scale(sx, sy);
    t.translate(-b.center().x(), -b.center().y());
    return t.map(path);
}

double Hash2(int x, int y, uint32_t seed) {
    uint32_t h = seed * 0x9E3779B1u;
    h ^= static_cast<uint32_t>(x) * 0x85EBCA77u;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<uint32_t>(y) * 0xC2B2AE3Du;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return (h >> 8) * (1.0 / 16777216.0);
}

double ValueNoise(double x, double y, uint32_t seed, int wrap) {
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    int x0 = static_cast<int>(fx);
    int y0 = static_cast<int>(fy);
    double tx = x - fx;
    double ty = y - fy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    int x1 = x0 + 1;
    int y1 = y0 + 1;
    if (wrap > 0) {
        auto w = [wrap](int v) { return ((v % wrap) + wrap) % wrap; };
        x0 = w(x0);
        x1 = w(x1);
        y0 = w(y0);
        y1 = w(y1);
    }
    const double a = Hash2(x0, y0, seed);
    const double b = Hash2(x1, y0, seed);
    const double c = Hash2(x0, y1, seed);
    const double d = Hash2(x1, y1, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

double Fbm(double x, double y, uint32_t seed, int octaves, int wrap) {
    double sum = 0;
    double amp = 1;
    double norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * ValueNoise(x, y, seed + static_cast<uint32_t>(i) * 101u, wrap);
        norm += amp;
        amp *= 0.5;
        x *= 2;
        y *= 2;
        if (wrap > 0) {
            wrap *= 2;
        }
    }
    return sum / norm;
}

QColor Mix(const QColor& a, const QColor& b, double t) {
    auto m = [t](int u, int v) {
        return std::clamp(static_cast<int>(std::lround(u + (v - u) * t)), 0, 255);
    };
    return QColor(m(a.red(), b.red()), m(a.green(), b.green()), m(a.blue(), b.blue()),
                  m(a.alpha(), b.alpha()));
}

QColor Shade(const QColor& c, double factor) {
    auto s = [factor](int v) {
        return std::clamp(static_cast<int>(std::lround(v * factor)), 0, 255);
    };
    return QColor(s(c.red()), s(c.green()), s(c.blue()), c.alpha());
}

namespace {

bool Write(const QImage& image, const QString& path, const char* format, int quality) {
    QImageWriter writer(path, format);
    if (quality >= 0) {
        writer.setQuality(quality);
    }
    if (!writer.write(image)) {
        std::fprintf(stderr, "tovani_art: cannot write %s: %s\n", qPrintable(path),
                     qPrintable(writer.errorString()));
        return false;
    }
    return true;
}

} // namespace

bool SavePng(const QImage& image, const QString& path) {
    return Write(image, path, "png", -1);
}

bool SaveBmp(const QImage& image, const QString& path) {
    return Write(image.convertToFormat(QImage::Format_RGB888), path, "bmp", -1);
}

bool SaveJpg(const QImage& image, const QString& path, int quality) {
    return Write(image.convertToFormat(QImage::Format_RGB32), path, "jpg", quality);
}

bool SaveByExtension(const QImage& image, const QString& path) {
    const QString lower = path.toLower();
    if (lower.endsWith(".bmp")) {
        return SaveBmp(image, path);
    }
    if (lower.endsWith(".jpg")) {
        return SaveJpg(image, path);
    }
    return SavePng(image, path);
}

bool MakeFolder(const QString& path) {
    if (QDir().mkpath(path)) {
        return true;
    }
    std::fprintf(stderr, "tovani_art: cannot make the folder %s\n", qPrintable(path));
    return false;
}

} // namespace tovani::art
