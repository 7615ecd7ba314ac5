// An icon whose picture of twice the density is read only when something draws it that large:
// on an ordinary screen the "@2x" files of the welcome pictures and toolbar buttons are then
// never decoded, which keeps them out of the start's time and memory.
#pragma once

#include <QIcon>
#include <QImage>

#include <functional>

namespace tovani {

// `normal` at one pixel a point; `dense` reads the picture of twice the density (a null image
// when there is none: the normal one serves, as a plain icon of it would).
QIcon DenseOnDemandIcon(const QImage& normal, std::function<QImage()> dense);

} // namespace tovani
