// The drawing helpers shared by the painters of the classic faces: the ink that gives every
// symbol its tileset's look, a few shapes, and the flowers and seasons (TileFlowers.cpp).
// Everything is drawn in design units, a face being 100 x 125.
#pragma once

#include "TileFaces.h"

#include "ArtCommon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPointF>

namespace tovani::art::ink {

inline constexpr double kPi = 3.14159265358979323846;

// Draws with a shared look: an optional carved shadow, the fill, an optional dark outline.
class Ink {
public:
    Ink(QPainter& p, const TileStyle& s) : p_(p), s_(s) {}

    void Fill(const QPainterPath& path, const QBrush& brush, const QColor& base,
              double outline = 0.7) {
        if (s_.shadow.alpha() > 0) {
            p_.fillPath(path.translated(0.9, 1.0), s_.shadow);
        }
        if (s_.flat) {
            p_.fillPath(path, base);
            return;
        }
        p_.fillPath(path, brush);
        if (s_.outlineSymbols && outline > 0) {
            p_.strokePath(path, QPen(Shade(base, 0.55), outline));
        }
    }
    void Fill(const QPainterPath& path, const QColor& c, double outline = 0.7) {
        Fill(path, QBrush(c), c, outline);
    }
    // Fills without shadow or outline (details inside a shape).
    void Plain(const QPainterPath& path, const QColor& c) { p_.fillPath(path, c); }
    // A character, made heavier by the style's glyph stroke.
    void Glyph(const QPainterPath& path, const QColor& c) {
        if (s_.glyphStroke > 0) {
            QPainterPathStroker stroker;
            stroker.setWidth(s_.glyphStroke);
            stroker.setJoinStyle(Qt::RoundJoin);
            Fill(stroker.createStroke(path).united(path), c, 0.0);
        } else {
            Fill(path, c, 0.0);
        }
    }
    void Stroke(const QPainterPath& path, const QColor& c, double width) {
        QPen pen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        if (s_.shadow.alpha() > 0) {
            QPen sp = pen;
            sp.setColor(s_.shadow);
            p_.strokePath(path.translated(0.9, 1.0), sp);
        }
        p_.strokePath(path, pen);
    }

    QPainter& p() { return p_; }
    const TileStyle& s() const { return s_; }

private:
    QPainter& p_;
    const TileStyle& s_;
};

QPainterPath Circle(QPointF c, double r);
// A pointed leaf from `base` towards `tip`, `width` at its widest.
QPainterPath Leaf(QPointF base, QPointF tip, double width, double bend = 0.0);
// One bamboo stick from a to b, `w` wide.
void Stick(Ink& ink, QPointF a, QPointF b, double w, const QColor& col);

// The flowers (bamboo, plum, chrysanthemum, orchid) and the seasons (winter, spring, summer,
// autumn), and the numeral and name that stand in their right-hand column.
void BambooPlant(Ink& ink);
void Plum(Ink& ink);
void Chrysanthemum(Ink& ink);
void Orchid(Ink& ink);
void Winter(Ink& ink);
void Spring(Ink& ink);
void Summer(Ink& ink);
void Autumn(Ink& ink);
void Caption(Ink& ink, int number, const QString& name);

} // namespace tovani::art::ink
