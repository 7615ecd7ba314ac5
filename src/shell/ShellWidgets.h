// Small widgets the main window is made of: a paint box that draws through a function, a
// panel papered with a picture, and a caption that can be clicked.
#pragma once

#include <QImage>
#include <QLabel>
#include <QWidget>

#include <functional>

namespace tovani {

class PaintBox : public QWidget {
    Q_OBJECT
public:
    using Painter = std::function<void(QPainter&, const QRect&)>;
    explicit PaintBox(QWidget* parent = nullptr) : QWidget(parent) {}
    void SetPainter(Painter p) {
        painter_ = std::move(p);
        update();
    }
    // Called once, on the first paint (start-up measurement).
    void SetFirstPaintCallback(std::function<void()> cb) { firstPaint_ = std::move(cb); }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    Painter painter_;
    std::function<void()> firstPaint_;
};

// A panel whose background is a picture, tiled, or a plain colour when it has none.
class WallpaperPanel : public QWidget {
    Q_OBJECT
public:
    explicit WallpaperPanel(QWidget* parent = nullptr) : QWidget(parent) {}
    void SetWallpaper(const QImage& img) {
        wallpaper_ = img;
        update();
    }
    void SetStretch(bool s) { stretch_ = s; }
    void SetBorder(QColor c) { border_ = c; }
    void SetFirstPaintCallback(std::function<void()> cb) { firstPaint_ = std::move(cb); }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QImage wallpaper_;
    bool stretch_ = false;
    QColor border_;
    std::function<void()> firstPaint_;
};

class ClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
};

} // namespace tovani
