// Contact sheets for a person to look at: each tileset cut into faces and laid out as a small
// board with drawn sides over a background, the way the game shows it. Not shipped.
#include "ArtCommon.h"
#include "Content.h"
#include "TileFaces.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <vector>

namespace tovani::art {

namespace {

std::vector<QImage> CutFaces(const QImage& picture) {
    std::vector<QImage> faces(44);
    const bool framed = picture.width() == 370 && picture.height() == 568;
    const int cw = framed ? 40 : picture.width() / 9;
    const int ch = framed ? 50 : picture.height() / 5;
    const QImage blank = picture.copy(6, 256, 40, 50).convertToFormat(QImage::Format_RGB32);
    for (int face = 1; face <= 43; ++face) {
        const QPoint at = FacePosition(face);
        if (!framed) {
            faces[face] = picture.copy(at.x() * cw, at.y() * ch, cw, ch);
            continue;
        }
        if (face == 43) {
            faces[face] = blank;
            continue;
        }
        const QImage f = picture.copy(41 * at.x() + 1, 51 * at.y() + 1, 40, 50)
                             .convertToFormat(QImage::Format_RGB32);
        const QImage m = picture.copy(41 * at.x() + 1, 51 * at.y() + 313, 40, 50)
                             .convertToFormat(QImage::Format_RGB32);
        QImage out(40, 50, QImage::Format_RGB32);
        for (int y = 0; y < 50; ++y) {
            for (int x = 0; x < 40; ++x) {
                out.setPixel(x, y,
                             ((blank.pixel(x, y) & m.pixel(x, y)) | f.pixel(x, y)) | 0xFF000000u);
            }
        }
        faces[face] = out;
    }
    return faces;
}

void DrawTile(QPainter& p, double x, double y, const QImage& face, int w, int h, int e) {
    const QColor side(206, 148, 140);
    QPainterPath outline;
    outline.moveTo(x + e, y);
    outline.lineTo(x, y + e);
    outline.lineTo(x, y + h + e);
    outline.lineTo(x + w, y + h + e);
    outline.lineTo(x + w + e, y + h);
    outline.lineTo(x + e, y + h);
    outline.closeSubpath();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.fillPath(outline, side);
    p.strokePath(outline, QPen(Qt::black, 1));
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.drawImage(QRectF(x + e, y, w, h), face);
}

QImage Board(const std::vector<QImage>& faces, const QImage& background, int w, int h) {
    const int e = static_cast<int>(std::lround(w * 2.0 / 13.0));
    QImage image(1400, 900, QImage::Format_RGB32);
    QPainter p(&image);
    if (background.isNull()) {
        p.fillRect(image.rect(), QColor(0, 128, 128));
    } else {
        p.drawImage(image.rect(), background);
    }
    int n = 0;
    const int layers[3][2] = {{10, 6}, {6, 4}, {2, 2}};
    for (int layer = 0; layer < 3; ++layer) {
        const int cols = layers[layer][0];
        const int rows = layers[layer][1];
        const double ox = 60 + (10 - cols) * w / 2.0 + layer * e;
        const double oy = 60 + (6 - rows) * h / 2.0 - layer * e;
        for (int c = cols - 1; c >= 0; --c) {
            for (int r = 0; r < rows; ++r) {
                const int face = (n++ * 7) % 43 + 1;
                DrawTile(p, ox + c * w, oy + r * h, faces[face], w, h, e);
            }
        }
    }
    // A row of every face, a little larger, below the board.
    return image;
}

QImage Sheet(const std::vector<QImage>& faces, int w, int h) {
    const int e = static_cast<int>(std::lround(w * 2.0 / 13.0));
    QImage image(9 * (w + e) + 40, 5 * (h + e) + 40, QImage::Format_RGB32);
    image.fill(QColor(40, 90, 70));
    QPainter p(&image);
    for (int face = 1; face <= 43; ++face) {
        const QPoint at = FacePosition(face);
        DrawTile(p, 20 + at.x() * (w + e), 20 + at.y() * (h + e), faces[face], w, h, e);
    }
    return image;
}

} // namespace

bool MakePreviews(const QString& binDir, const QString& outDir) {
    if (!MakeFolder(outDir)) {
        return false;
    }
    QImage background(binDir + "/Backgrounds/Garden.jpg");
    const QFileInfoList sets = QDir(binDir + "/Tilesets").entryInfoList(QDir::Files, QDir::Name);
    bool ok = true;
    for (const QFileInfo& info : sets) {
        const QImage picture(info.filePath());
        if (picture.isNull()) {
            std::fprintf(stderr, "tovani_art: cannot read %s\n", qPrintable(info.filePath()));
            ok = false;
            continue;
        }
        const auto faces = CutFaces(picture);
        ok &= SavePng(Board(faces, background, 80, 100),
                      outDir + "/board-" + info.baseName() + ".png");
        ok &= SavePng(Sheet(faces, 120, 150), outDir + "/sheet-" + info.baseName() + ".png");
    }
    return ok;
}

} // namespace tovani::art
