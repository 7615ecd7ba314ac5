// Paint boxes and panels of the main window.
#include "shell/ShellWidgets.h"

#include <QMouseEvent>
#include <QPainter>

namespace tovani {

void PaintBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (painter_)
        painter_(p, rect());
    if (firstPaint_) {
        auto cb = std::move(firstPaint_);
        firstPaint_ = nullptr;
        cb();
    }
}

void WallpaperPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (wallpaper_.isNull())
        p.fillRect(rect(), palette().window());
    else if (stretch_)
        p.drawImage(rect(), wallpaper_);
    else
        p.drawTiledPixmap(rect(), QPixmap::fromImage(wallpaper_));
    if (border_.isValid()) {
        p.setPen(border_);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    if (firstPaint_) {
        auto cb = std::move(firstPaint_);
        firstPaint_ = nullptr;
        cb();
    }
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(e);
}

} // namespace tovani
