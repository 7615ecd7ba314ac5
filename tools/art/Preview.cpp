// Contact sheets for a person to look at: each tileset cut into faces and laid out as a small
// board with drawn sides over a background, the way the game shows it; and one picture each of
// every tileset's faces, every background and every layout's miniature. Not shipped.
#include "ArtCommon.h"
#include "Content.h"
#include "TileFaces.h"

#include "core/Files.h"
#include "graphics/Tileset.h"
#include "solitaire/LayoutCatalog.h"
#include "solitaire/WinnableShare.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <optional>
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

// A caption in the sheets' own plain font.
void Caption(QPainter& p, const QRectF& box, const QString& text, int px, const QColor& colour,
             Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
    QFont font(LoadFonts().sans);
    font.setPixelSize(px);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(box, align, text);
}

// Every tileset's 43 faces in their grid, with the labels the game can write on them.
QImage TilesetsSheet(const QFileInfoList& sets) {
    constexpr int kFw = 48, kFh = 60, kGap = 3;
    constexpr int kPanelW = 9 * (kFw + kGap) + 20, kPanelH = 5 * (kFh + kGap) + 44;
    const int cols = 2;
    const int rows = (static_cast<int>(sets.size()) + cols - 1) / cols;
    QImage image(cols * kPanelW + 20, rows * kPanelH + 20, QImage::Format_RGB32);
    image.fill(QColor(46, 52, 58));
    QPainter p(&image);
    QFont label(LoadFonts().sans);
    label.setPixelSize(9);
    for (int i = 0; i < static_cast<int>(sets.size()); ++i) {
        const QImage picture(sets[i].filePath());
        const double x0 = 10 + (i % cols) * kPanelW + 10, y0 = 10 + (i / cols) * kPanelH;
        Caption(p, QRectF(x0, y0, kPanelW, 34),
                QString("%1  (%2 x %3)")
                    .arg(sets[i].fileName())
                    .arg(picture.width())
                    .arg(picture.height()),
                18, QColor(240, 240, 240));
        if (picture.isNull()) {
            continue;
        }
        const auto faces = CutFaces(picture);
        p.setRenderHint(QPainter::SmoothPixmapTransform, true);
        for (int face = 1; face <= 43; ++face) {
            const QPoint at = FacePosition(face);
            const QRectF box(x0 + at.x() * (kFw + kGap), y0 + 38 + at.y() * (kFh + kGap), kFw, kFh);
            p.drawImage(box, faces[face]);
            p.setFont(label);
            p.setPen(Qt::black);
            p.drawText(box.topLeft() + QPointF(2, 9), QString::fromStdString(FaceLabel(face)));
        }
    }
    return image;
}

// Every background at a small size (a small picture tiled as the game tiles it), with a few
// tiles of the first tileset standing on it to judge how they read.
QImage BackgroundsSheet(const QFileInfoList& pictures, const std::vector<QImage>& faces) {
    constexpr int kW = 400, kH = 225, kGap = 14, kCaption = 26;
    const int cols = 3;
    const int rows = (static_cast<int>(pictures.size()) + cols - 1) / cols;
    QImage image(cols * (kW + kGap) + kGap, rows * (kH + kCaption + kGap) + kGap,
                 QImage::Format_RGB32);
    image.fill(QColor(46, 52, 58));
    QPainter p(&image);
    for (int i = 0; i < static_cast<int>(pictures.size()); ++i) {
        const QImage picture(pictures[i].filePath());
        const int x0 = kGap + (i % cols) * (kW + kGap);
        const int y0 = kGap + (i / cols) * (kH + kCaption + kGap);
        Caption(p, QRectF(x0, y0, kW, kCaption - 4),
                QString("%1  (%2 x %3)")
                    .arg(pictures[i].fileName())
                    .arg(picture.width())
                    .arg(picture.height()),
                15, QColor(240, 240, 240));
        if (picture.isNull()) {
            continue;
        }
        const QRect area(x0, y0 + kCaption, kW, kH);
        p.save();
        p.setClipRect(area);
        if (picture.width() < 800) {
            // Shown at the scale of the others: a quarter of a 1600-pixel-wide play area.
            const QImage small = picture.scaled(picture.width() / 4, picture.height() / 4,
                                                Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            for (int y = area.top(); y < area.bottom(); y += small.height()) {
                for (int x = area.left(); x < area.right(); x += small.width()) {
                    p.drawImage(x, y, small);
                }
            }
        } else {
            p.setRenderHint(QPainter::SmoothPixmapTransform, true);
            p.drawImage(area, picture);
        }
        if (!faces.empty()) {
            for (int k = 0; k < 5; ++k) {
                DrawTile(p, area.left() + 150 + k * 28, area.top() + 90, faces[1 + k * 8], 28, 35,
                         4);
            }
        }
        p.restore();
    }
    return image;
}

// One layout's miniature: tiles drawn layer by layer, each higher layer shifted up and to the
// right and a shade warmer, so the height of every part of the board can be read.
void Miniature(QPainter& p, const Layout& lay, double x0, double y0) {
    constexpr double kCw = 5.5, kCh = 6.5, kEdge = 2.0, kShift = 2.5;
    const QColor layerFace[5] = {QColor(250, 246, 232), QColor(244, 226, 184),
                                 QColor(236, 200, 140), QColor(226, 164, 108),
                                 QColor(210, 122, 90)};
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int l = 1; l <= kLayoutLayers; ++l) {
        for (int c = kLayoutColumns - 1; c >= 0; --c) {
            for (int r = 0; r < kLayoutRows; ++r) {
                if (!lay.Has(l, r, c)) {
                    continue;
                }
                const double x = x0 + c * kCw + (l - 1) * kShift;
                const double y = y0 + r * kCh - (l - 1) * kShift;
                const QRectF top(x + kEdge, y, 2 * kCw - 1, 2 * kCh - 1);
                p.fillRect(QRectF(x, y + kEdge, 2 * kCw - 1, 2 * kCh - 1), QColor(120, 90, 60));
                p.fillRect(top, layerFace[l - 1]);
                p.setPen(QColor(60, 44, 30));
                p.drawRect(top);
            }
        }
    }
}

QImage LayoutsSheet(const QString& layoutsDir) {
    const LayoutCatalog catalog = LayoutCatalog::Scan(layoutsDir.toStdString());
    std::optional<WinnableTable> table;
    if (auto bytes = ReadWholeFile(JoinPath(layoutsDir.toStdString(), "Winnable.ini"))) {
        std::string error;
        table = WinnableTable::Parse(*bytes, error);
    }
    constexpr int kPanelW = 236, kPanelH = 196;
    const int cols = 6;
    const int rows = (catalog.Count() + cols - 1) / cols;
    QImage image(cols * kPanelW + 20, rows * kPanelH + 20, QImage::Format_RGB32);
    image.fill(QColor(34, 70, 60));
    QPainter p(&image);
    for (int n = 1; n <= catalog.Count(); ++n) {
        const double x0 = 10 + ((n - 1) % cols) * kPanelW;
        const double y0 = 10 + ((n - 1) / cols) * kPanelH;
        const LayoutLoad load = LoadLayoutFile(catalog.PathOf(n), catalog);
        const QString name = QString::fromStdString(catalog.Entry(n)->name);
        if (!load.ok) {
            Caption(p, QRectF(x0, y0, kPanelW, 20), name + ": unreadable", 13, Qt::red);
            continue;
        }
        p.fillRect(QRectF(x0 + 2, y0 + 2, kPanelW - 4, kPanelH - 4), QColor(44, 86, 74));
        Miniature(p, load.layout, x0 + 10, y0 + 18);
        QString info = QString("%1 tiles").arg(load.layout.PlaceCount());
        if (table) {
            if (auto share = table->Find(catalog.Entry(n)->name)) {
                info += QString(", %1% won").arg(share->Percent(), 0, 'f', 1);
            }
        }
        Caption(p, QRectF(x0 + 8, y0 + kPanelH - 40, kPanelW - 16, 18), name, 14,
                QColor(250, 250, 250));
        Caption(p, QRectF(x0 + 8, y0 + kPanelH - 22, kPanelW - 16, 16), info, 12,
                QColor(210, 230, 220));
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
    ok &= SavePng(TilesetsSheet(sets), outDir + "/tilesets.png");
    std::vector<QImage> ivory;
    const QImage ivoryPicture(binDir + "/Tilesets/Ivory.bmp");
    if (!ivoryPicture.isNull()) {
        ivory = CutFaces(ivoryPicture);
    }
    ok &= SavePng(BackgroundsSheet(
                      QDir(binDir + "/Backgrounds").entryInfoList(QDir::Files, QDir::Name), ivory),
                  outDir + "/backgrounds.png");
    ok &= SavePng(LayoutsSheet(binDir + "/Layouts"), outDir + "/layouts.png");
    return ok;
}

} // namespace tovani::art
