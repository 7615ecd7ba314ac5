// The pictures of Slider's two boxes: the grid with its tiles, the hover frame, the picked tile
// and the keyboard cursor; the next tiles. Composed here, copied by the boxes' paint handlers.
#include "play/slider/SliderController.h"

#include "graphics/Tileset.h"
#include "play/BoardView.h"
#include "shell/MainForm.h"

#include <QLinearGradient>
#include <QPainter>
#include <QWidget>

#include <cstring>

namespace tovani {

namespace {

constexpr int kBoxSize = 320;
constexpr int kNextWidth = 64;
constexpr int kNextHeight = 144;
// The next tiles stand 32 pixels apart in the middle of their box.
constexpr int kNextLeft = (kNextWidth - kSmallTileCell) / 2;
constexpr int kNextTop = (kNextHeight - 2 * 32 - kSmallTileCell) / 2;

// The square a click in the cell stands for.
QRect CellSquare(int column, int row) {
    return {32 * column - 16, 32 * row - 19, 32, 32};
}

// The face of the tile drawn in the cell: with drawn sides the face sits right of the left side,
// without them the face alone stands lower.
QRect FaceRect(int column, int row, bool small3D) {
    const int x = 32 * column - 16, y = 32 * row - 22;
    return small3D ? QRect(x + 6, y, 32, 32) : QRect(x, y + 6, 32, 32);
}

PixelBuffer ToBuffer(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    PixelBuffer out(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y)
        std::memcpy(out.ScanLine(y), rgb.constScanLine(y), size_t(rgb.width()) * sizeof(Pixel));
    return out;
}

QImage ToImage(const PixelBuffer& buffer) {
    return QImage(reinterpret_cast<const uchar*>(buffer.Data()), buffer.Width(), buffer.Height(),
                  buffer.BytesPerLine(), QImage::Format_RGB32)
        .copy();
}

} // namespace

QImage SliderController::GridPicture() const {
    QImage g(kBoxSize, kBoxSize, QImage::Format_RGB32);
    QPainter p(&g);
    QLinearGradient shade(0, 0, 0, kBoxSize);
    shade.setColorAt(0, QColor(46, 58, 52));
    shade.setColorAt(1, QColor(24, 32, 28));
    p.fillRect(g.rect(), shade);
    p.setPen(QColor(12, 16, 14));
    p.drawRect(g.rect().adjusted(0, 0, -1, -1));
    for (int c = 1; c <= kSliderSize; ++c)
        for (int r = 1; r <= kSliderSize; ++r) {
            const QRect cell = CellSquare(c, r).adjusted(1, 1, -1, -1);
            p.fillRect(cell, QColor(34, 44, 40));
            p.setPen(QColor(70, 88, 78));
            p.drawLine(cell.topLeft(), cell.topRight());
            p.drawLine(cell.topLeft(), cell.bottomLeft());
            p.setPen(QColor(16, 20, 18));
            p.drawLine(cell.bottomLeft(), cell.bottomRight());
            p.drawLine(cell.topRight(), cell.bottomRight());
        }
    return g;
}

QImage SliderController::NextGridPicture() const {
    QImage g(kNextWidth, kNextHeight, QImage::Format_RGB32);
    QPainter p(&g);
    QLinearGradient shade(0, 0, 0, kNextHeight);
    shade.setColorAt(0, QColor(46, 58, 52));
    shade.setColorAt(1, QColor(24, 32, 28));
    p.fillRect(g.rect(), shade);
    p.setPen(QColor(12, 16, 14));
    p.drawRect(g.rect().adjusted(0, 0, -1, -1));
    p.setPen(QColor(70, 88, 78));
    p.drawRect(g.rect().adjusted(3, 3, -4, -4));
    return g;
}

void SliderController::RedrawSlider() {
    ComposeBox();
    ComposeNext();
    if (boxWidget_)
        boxWidget_->update();
    if (nextWidget_)
        nextWidget_->update();
}

void SliderController::ComposeBox() {
    const PixelBuffer& small = view_.SmallTileset();
    const bool small3D = form_.Option("Small3D");
    PixelBuffer buffer = ToBuffer(grid_);
    if (!small.IsEmpty())
        for (int c = kSliderSize; c >= 1; --c)
            for (int r = 1; r <= kSliderSize; ++r)
                if (const int v = shown_(c, r); v != 0)
                    ClickoDraw(buffer, 32 * c - 16, 32 * r - 22, v - 1, small, small3D, true);
    box_ = ToImage(buffer);

    QPainter p(&box_);
    if (!arrived_.None()) {
        // A new tile coming in.
        p.setPen(QPen(QColor(255, 255, 255), 2));
        p.drawRect(FaceRect(arrived_.column, arrived_.row, small3D).adjusted(-2, -2, 1, 1));
    }
    if (form_.Option("HighlightSlider") && !hovered_.None()) {
        p.setPen(QPen(QColor(120, 200, 255), 1));
        p.drawRect(FaceRect(hovered_.column, hovered_.row, small3D).adjusted(-1, -1, 0, 0));
    }
    const FieldCell picked = model_.Selected();
    if (!picked.None() && !Animating()) {
        // The picked tile shows inverted.
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.fillRect(FaceRect(picked.column, picked.row, small3D), Qt::white);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    if (cursorShown_ && InSlider()) {
        const FieldCell at = model_.cursor.Cell();
        const QRect face = FaceRect(at.column, at.row, small3D);
        p.setPen(QPen(QColor(255, 220, 0), 3));
        p.drawRect(face.adjusted(-1, -1, 0, 0));
        p.setPen(QPen(QColor(0, 0, 0), 1));
        p.drawRect(face.adjusted(-3, -3, 2, 2));
    }
}

void SliderController::ComposeNext() {
    const PixelBuffer& small = view_.SmallTileset();
    PixelBuffer buffer = ToBuffer(nextGrid_);
    if (form_.Option("ShowNext") && !small.IsEmpty())
        for (int i = 0; i < 3; ++i)
            ClickoDraw(buffer, kNextLeft, kNextTop + 32 * i, shownNext_[static_cast<size_t>(i)],
                       small, form_.Option("Small3D"), true);
    next_ = ToImage(buffer);
}

} // namespace tovani
