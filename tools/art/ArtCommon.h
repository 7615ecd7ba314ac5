// Shared helpers of the art tool: fonts, glyph outlines, deterministic noise, colour mixing
// and writing pictures so that every run gives the same bytes.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QRectF>
#include <QString>

#include <cstdint>

namespace tovani::art {

// Font families registered from the font files on disk (never from the system's fallback list,
// so the pictures do not change with the machine's font configuration).
struct Fonts {
    QString brush; // a brush-stroke CJK face: numerals, winds, dragons
    QString hei;   // a plain bold CJK face
    QString sans;  // Latin sans (bold)
    QString serif; // Latin serif (bold)
};

// Registers the fonts; exits with a message naming the missing file when one cannot be read.
const Fonts& LoadFonts();

// The outline of `text` in `family`, scaled to fit `box` (keeping the proportions unless
// `stretch` allows up to that much extra squeeze in one direction) and centred in it.
QPainterPath GlyphPath(const QString& text, const QString& family, const QRectF& box,
                       double stretch = 1.0, int weight = 400);

// Deterministic hash noise in [0, 1).
double Hash2(int x, int y, uint32_t seed);
// Smooth value noise in [0, 1), period `wrap` cells when wrap > 0 (tileable).
double ValueNoise(double x, double y, uint32_t seed, int wrap = 0);
// Fractal sum of `octaves` layers of value noise, normalised to [0, 1).
double Fbm(double x, double y, uint32_t seed, int octaves, int wrap = 0);

QColor Mix(const QColor& a, const QColor& b, double t);
QColor Shade(const QColor& c, double factor); // multiply the channels (factor > 1 brightens)

// Pictures are written without any time stamp or text chunk, so a second run gives the same bytes.
// Each returns false (after printing why) when the file cannot be written.
bool SavePng(const QImage& image, const QString& path);
bool SaveBmp(const QImage& image, const QString& path); // 24 bits a pixel
bool SaveJpg(const QImage& image, const QString& path, int quality = 92);
bool SaveByExtension(const QImage& image, const QString& path);

// Makes the folder (and its parents); false when it cannot be made.
bool MakeFolder(const QString& path);

} // namespace tovani::art
