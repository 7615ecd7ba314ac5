// What the pictures of the Resources folder share, and the pictures painted in files of their
// own (the splash and the welcome pictures, the toolbar icons).
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QString>

#include <functional>

namespace tovani::art::pictures {

constexpr double kPi = 3.14159265358979323846;
inline const QColor kOutline(40, 24, 28);

// Paints at `scale` times the size and brings it down smoothly: crisp small pictures. `ratio`
// makes the picture that many pixels a point, for screens of higher density (w x h stays the
// drawing's own size).
QImage SupersampledAt(int ratio, int w, int h, int scale,
                      const std::function<void(QPainter&)>& draw);
QImage Supersampled(int w, int h, int scale, const std::function<void(QPainter&)>& draw);

// A tile of the default set with its side, face w x h, side e, top-left of the face at (x, y).
void BoardTile(QPainter& p, double x, double y, double w, double h, double e, int face);
// Tile `index` of a small tileset strip, size x size at (x, y).
void SmallTile(QPainter& p, const QImage& strip, int index, double x, double y, double size);
// Bold text filling `box`, widened by `stretch`.
QPainterPath Text(const QString& s, const QString& family, const QRectF& box, double stretch = 1.0);

// ResourcesWelcome.cpp: the splash and the welcome screen's picture of each game.
QImage Splash();
QImage WelcomeSolitaire(int ratio);
QImage WelcomeRivers(int ratio);
QImage WelcomeMemory(int ratio);
QImage WelcomeClicks(int ratio);
QImage WelcomeSlider(int ratio);
QImage WelcomeHashira(int ratio);

// ResourcesIcons.cpp: a toolbar icon ("New", "Back", ... "3D").
QImage Icon(const QString& name, int ratio);

} // namespace tovani::art::pictures
