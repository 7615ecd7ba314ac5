// The scene's pictures: the tile faces cut from the face sheet, the background, the small
// tiles, and the pictures of our own (marble, words, digits, a grid cell's frame), drawn here.
#include "play/BoardView.h"
#include "play/view3d/View3D.h"
#include "shell/MainForm.h"

#include <QAction>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QRandomGenerator>

#include <cmath>

namespace tovani {

namespace {

QImage FromBuffer(const PixelBuffer& b, int x, int y, int w, int h) {
    if (b.IsEmpty() || w <= 0 || h <= 0)
        return {};
    QImage image(reinterpret_cast<const uchar*>(b.Data()), b.Width(), b.Height(), b.BytesPerLine(),
                 QImage::Format_RGB32);
    return image.copy(x, y, w, h);
}

// Grey marble: soft veins over a light ground, the same picture every time.
QImage Marble(int w, int h) {
    QImage m(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double u = double(x) / w * 6.28, v = double(y) / h * 6.28;
            const double vein = std::sin(3 * u + 2 * std::sin(2 * v) + std::sin(5 * u + v));
            const int g = 180 + int(45 * vein * vein * (vein > 0 ? 1 : -0.5));
            m.setPixel(x, y, qRgb(g, g, std::min(255, g + 6)));
        }
    return m;
}

// Coloured letters on a clear ground.
QImage Word(const QString& text, int w, int h, QColor colour) {
    QImage p(w, h, QImage::Format_ARGB32);
    p.fill(Qt::transparent);
    QPainter painter(&p);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font("DejaVu Sans");
    font.setBold(true);
    font.setPixelSize(int(h * 0.8));
    // A long word is set smaller until it fits.
    while (font.pixelSize() > 6 && QFontMetrics(font).horizontalAdvance(text) > w - 2)
        font.setPixelSize(font.pixelSize() - 1);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(p.rect(), Qt::AlignCenter, text);
    return p;
}

// A cell's frame: a bevelled square with an open middle.
QImage GridFrame() {
    QImage p(32, 32, QImage::Format_ARGB32);
    p.fill(Qt::transparent);
    QPainter painter(&p);
    painter.fillRect(QRect(0, 0, 32, 32), QColor(40, 40, 60, 150));
    painter.setPen(QPen(QColor(230, 220, 190), 2));
    painter.drawLine(1, 1, 30, 1);
    painter.drawLine(1, 1, 1, 30);
    painter.setPen(QPen(QColor(90, 80, 60), 2));
    painter.drawLine(30, 1, 30, 30);
    painter.drawLine(1, 30, 30, 30);
    return p;
}

} // namespace

Textures3D BuildTextures3D(const BoardView& view, TMainForm& form) {
    Textures3D t;
    t.smooth = form.Option("AntiAlias");
    const FaceSheets& s = view.Area().sheets;
    // The flat face of each tile, without its drawn sides, made square.
    for (int face = 1; face <= 43 && !s.IsEmpty(); ++face) {
        const Point o = s.FaceCellOrigin(face);
        const QImage f =
            FromBuffer(s.FaceSheet, o.x + s.EdgeSize(), o.y, s.TileWidth(), s.TileHeight());
        t.pictures[size_t(face - 1)] =
            f.scaled(64, 64, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    t.pictures[kTex3DMarble] = t.smooth ? Marble(64, 32) : Marble(32, 16);
    int size = 256;
    for (const char* n :
         {"N64x64texture1", "N128x128texture1", "N256x256texture1", "N512x512texture1"})
        if (form.Option(n))
            size = 32 << form.Item(n)->property("tag").toInt();
    // The background picture the 2D board is drawn on (the window's own one when no board
    // view has read a picture).
    QImage back = form.PlayAreaBackground();
    if (const PixelBuffer* b = view.BackgroundPicture(); b && !b->IsEmpty())
        back = QImage(reinterpret_cast<const uchar*>(b->Data()), b->Width(), b->Height(),
                      b->BytesPerLine(), QImage::Format_RGB32);
    if (!back.isNull())
        t.pictures[kTex3DBackground] =
            back.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    else {
        QImage plain(size, size, QImage::Format_RGB32);
        plain.fill(QColor(0, 128, 128));
        t.pictures[kTex3DBackground] = plain;
    }
    QImage red(64, 64, QImage::Format_RGB32);
    red.fill(QColor(128, 0, 0));
    t.pictures[kTex3DDarkRed] = red;
    for (int i = 0; i < 7; ++i)
        t.pictures[size_t(kTex3DSmall + i)] =
            FromBuffer(view.SmallTileset(), 38 * i + 6, 0, 32, 32);
    t.pictures[kTex3DWordNext] = Word("NEXT", 64, 16, QColor(255, 200, 60));
    t.pictures[kTex3DWordScore] = Word("SCORE", 64, 16, QColor(255, 200, 60));
    t.pictures[kTex3DWordTiles] = Word("TILES REMOVED", 128, 32, QColor(120, 220, 255));
    t.pictures[kTex3DWordLevel] = Word("LEVEL", 64, 16, QColor(140, 255, 140));
    for (int d = 0; d < 10; ++d)
        t.pictures[size_t(kTex3DDigits + d)] =
            Word(QString::number(d), 32, 32, QColor(255, 240, 120));
    t.pictures[kTex3DGridFrame] = GridFrame();
    return t;
}

} // namespace tovani
