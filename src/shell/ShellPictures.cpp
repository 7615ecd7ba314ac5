// Loading the window's pictures, with drawn stand-ins.
#include "shell/ShellPictures.h"

#include "graphics/ImageIO.h"
#include "graphics/Tileset.h"
#include "resources/Resources.h"
#include "shell/DenseIcon.h"

#include <QFont>
#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tovani {

QImage ShellPicture(const QString& programDir, const QString& name) {
    return ProgramPictureIn(programDir + "Resources", name);
}

QImage ShellPicture2x(const QString& programDir, const QString& name) {
    QImage img = ProgramPictureIn(programDir + "Resources", name + "@2x");
    if (!img.isNull())
        img.setDevicePixelRatio(2.0);
    return img;
}

namespace {

// A small mahjong tile for the drawn stand-ins.
void DrawTile(QPainter& p, QRectF r, QColor mark) {
    p.setPen(QPen(QColor(90, 70, 40), 1));
    p.setBrush(QColor(226, 206, 160));
    p.drawRoundedRect(r.translated(2, 2), 3, 3);
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, QColor(255, 252, 238));
    g.setColorAt(1, QColor(236, 228, 204));
    p.setBrush(g);
    p.drawRoundedRect(r, 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(mark);
    p.drawEllipse(r.center(), r.width() * 0.22, r.width() * 0.22);
}

QColor GameColor(int game) {
    static const QColor colors[] = {QColor(40, 110, 60), QColor(30, 80, 150),  QColor(120, 40, 110),
                                    QColor(170, 90, 20), QColor(20, 120, 130), QColor(150, 30, 30)};
    return colors[(game - 1 + 6) % 6];
}

} // namespace

QImage SplashPicture(const QString& programDir, const QString& version) {
    QImage img = ShellPicture(programDir, "Splash");
    if (img.isNull()) {
        img = QImage(276, 186, QImage::Format_RGB32);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient g(0, 0, 0, 186);
        g.setColorAt(0, QColor(110, 12, 18));
        g.setColorAt(1, QColor(40, 4, 8));
        p.fillRect(img.rect(), g);
        for (int i = 0; i < 5; ++i)
            DrawTile(p, QRectF(28 + i * 46, 104 - (i % 2) * 8, 36, 46),
                     QColor::fromHsv(i * 60, 180, 160));
        QFont f("DejaVu Serif", 30, QFont::Bold, true);
        p.setFont(f);
        p.setPen(QColor(255, 226, 150));
        p.drawText(QRect(0, 18, 276, 60), Qt::AlignCenter, "Tovani");
    } else {
        img = img.convertToFormat(QImage::Format_RGB32);
    }
    // The version in white on dark red, where the picture leaves room for it.
    QPainter p(&img);
    QFont f("Arial");
    f.setPixelSize(13);
    f.setBold(true);
    p.setFont(f);
    QString text = "v" + version;
    QRect box = p.fontMetrics().boundingRect(text).adjusted(-3, -1, 3, 1);
    box.moveTopLeft(QPoint(222, 138));
    if (box.right() >= img.width())
        box.moveRight(img.width() - 2);
    p.fillRect(box, QColor(132, 0, 0));
    p.setPen(Qt::white);
    p.drawText(box, Qt::AlignCenter, text);
    return img;
}

QImage WelcomePicture(const QString& programDir, int game) {
    QImage img = ShellPicture(programDir, QString("screen%1").arg(game));
    if (!img.isNull())
        return img;
    img = QImage(150, 100, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QColor base = GameColor(game);
    QLinearGradient g(0, 0, 150, 100);
    g.setColorAt(0, base.lighter(130));
    g.setColorAt(1, base.darker(160));
    p.fillRect(img.rect(), g);
    switch (game) {
    case 1: // a small pyramid
        for (int i = 0; i < 5; ++i)
            DrawTile(p, QRectF(14 + i * 24, 52, 22, 30), QColor(200, 40, 40));
        for (int i = 0; i < 3; ++i)
            DrawTile(p, QRectF(38 + i * 24, 24, 22, 30), QColor(40, 120, 60));
        break;
    case 2: // two tiles joined by a path
        DrawTile(p, QRectF(18, 20, 22, 30), QColor(30, 80, 200));
        DrawTile(p, QRectF(108, 52, 22, 30), QColor(30, 80, 200));
        p.setPen(QPen(QColor(255, 230, 90), 3));
        p.drawPolyline(
            QPolygonF({QPointF(40, 35), QPointF(75, 35), QPointF(75, 67), QPointF(108, 67)}));
        break;
    case 3: // face-down tiles and one turned
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 2; ++j) {
                QRectF r(16 + i * 30, 16 + j * 38, 24, 32);
                if (i == 1 && j == 0) {
                    DrawTile(p, r, QColor(150, 40, 150));
                } else {
                    p.setPen(QPen(QColor(40, 20, 40), 1));
                    p.setBrush(QColor(90, 40, 110));
                    p.drawRoundedRect(r, 3, 3);
                }
            }
        break;
    case 4: // a wall of coloured groups
        for (int i = 0; i < 6; ++i)
            for (int j = 0; j < 4; ++j)
                DrawTile(p, QRectF(10 + i * 22, 10 + j * 21, 20, 20),
                         QColor::fromHsv(((i / 2 + j / 2) % 3) * 110, 200, 200));
        break;
    case 5: // a grid and a line
        p.setPen(QPen(QColor(255, 255, 255, 90), 1));
        for (int i = 0; i <= 9; ++i) {
            p.drawLine(30 + i * 10, 5, 30 + i * 10, 95);
            p.drawLine(30, 5 + i * 10, 120, 5 + i * 10);
        }
        for (int i = 0; i < 5; ++i)
            DrawTile(p, QRectF(31 + i * 10 + 10, 46, 9, 9), QColor(220, 60, 60));
        break;
    default: // a falling column
        for (int j = 0; j < 3; ++j)
            DrawTile(p, QRectF(64, 8 + j * 28, 22, 26), QColor::fromHsv(j * 100, 200, 190));
        break;
    }
    return img;
}

QImage WelcomeWallpaper(const QString& programDir) {
    QImage img = ShellPicture(programDir, "WelcomeBack");
    if (!img.isNull())
        return img;
    img = QImage(64, 64, QImage::Format_RGB32);
    img.fill(QColor(236, 226, 200));
    QPainter p(&img);
    p.setPen(QColor(226, 212, 182));
    for (int i = -64; i < 64; i += 8)
        p.drawLine(i, 0, i + 64, 64);
    return img;
}

QImage ToolbarWallpaper(const QString& programDir) {
    QImage img = ShellPicture(programDir, "ToolBitmap");
    if (!img.isNull())
        return img;
    img = QImage(8, 33, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, 0, 33);
    g.setColorAt(0, QColor(250, 246, 236));
    g.setColorAt(1, QColor(222, 210, 186));
    p.fillRect(img.rect(), g);
    return img;
}

QImage WindowLogoWallpaper(const QString& programDir) {
    QImage img = ShellPicture(programDir, "TovaniLogo");
    if (!img.isNull())
        return img;
    // A drawn stand-in: a soft diagonal weave that repeats without seams.
    img = QImage(128, 128, QImage::Format_RGB32);
    img.fill(QColor(214, 200, 170));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(190, 172, 136), 3));
    for (int i = -128; i <= 128; i += 32) {
        p.drawLine(i, 0, i + 128, 128);
        p.drawLine(i + 128, 0, i, 128);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(160, 52, 48));
    for (int y = 0; y <= 128; y += 64)
        for (int x = 0; x <= 128; x += 64)
            p.drawEllipse(QPointF(x, y), 6, 6);
    p.drawEllipse(QPointF(32 + 64 * 0, 32), 4, 4);
    p.drawEllipse(QPointF(96, 96), 4, 4);
    p.drawEllipse(QPointF(96, 32), 4, 4);
    p.drawEllipse(QPointF(32, 96), 4, 4);
    return img;
}

QImage HallOfFameStrip(const QString& programDir) {
    QImage img = ShellPicture(programDir, "HofPic");
    if (!img.isNull())
        return img;
    img = QImage(92, 256, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, 92, 0);
    g.setColorAt(0, QColor(70, 20, 24));
    g.setColorAt(1, QColor(120, 36, 40));
    p.fillRect(img.rect(), g);
    return img;
}

QIcon WelcomeIcon(const QString& programDir, int game) {
    const QImage img = WelcomePicture(programDir, game);
    auto dense = [programDir, game] {
        QImage dense = ShellPicture2x(programDir, QString("screen%1").arg(game));
        if (!dense.isNull() && dense.size() != QSize(300, 200)) {
            dense = dense.scaled(300, 200, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            dense.setDevicePixelRatio(2.0);
        }
        return dense;
    };
    return DenseOnDemandIcon(img.scaled(150, 100, Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
                             dense);
}

QIcon ToolbarIcon(const QString& programDir, const QString& buttonName) {
    static const QHash<QString, QString> names = {
        {"ExplorerButton1", "IconNew"},  {"ExplorerButton2", "IconBack"},
        {"ExplorerButton3", "IconHint"}, {"ShuffleButton", "IconShuffle"},
        {"PauseButton", "IconPause"},    {"SetMusic", "IconMusic"},
        {"LayoutButton", "IconLayout"},  {"HelpButton", "IconHelp"},
        {"AboutButton", "IconAbout"},    {"HallFameButton", "IconHall"},
        {"ExitButton", "IconExit"},      {"Set3D", "Icon3D"}};
    const QString name = names.value(buttonName, buttonName);
    QImage img = ShellPicture(programDir, name);
    if (!img.isNull())
        return DenseOnDemandIcon(img, [programDir, name] { return ShellPicture2x(programDir, name); });
    // A plain drawn glyph per command.
    QPixmap pm(20, 20);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QColor ink = QColor(60, 50, 110);
    p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const QString& n = buttonName;
    if (n == "ExplorerButton1") { // new: a tile with a star
        p.setBrush(QColor(255, 250, 230));
        p.drawRoundedRect(QRectF(4, 2, 12, 16), 2, 2);
        p.drawLine(QPointF(10, 6), QPointF(10, 14));
        p.drawLine(QPointF(6, 10), QPointF(14, 10));
    } else if (n == "ExplorerButton2") { // back: a curved arrow
        QPainterPath path;
        path.moveTo(15, 15);
        path.cubicTo(16, 6, 9, 5, 5, 8);
        p.drawPath(path);
        p.drawLine(QPointF(5, 8), QPointF(6, 3));
        p.drawLine(QPointF(5, 8), QPointF(10, 9));
    } else if (n == "ExplorerButton3") { // hint: a bulb
        p.drawEllipse(QRectF(5, 2, 10, 10));
        p.drawLine(QPointF(8, 14), QPointF(12, 14));
        p.drawLine(QPointF(8, 17), QPointF(12, 17));
    } else if (n == "ShuffleButton") { // crossing arrows
        p.drawLine(QPointF(3, 5), QPointF(17, 15));
        p.drawLine(QPointF(3, 15), QPointF(17, 5));
        p.drawLine(QPointF(17, 15), QPointF(13, 15));
        p.drawLine(QPointF(17, 5), QPointF(13, 5));
    } else if (n == "PauseButton") {
        p.setBrush(ink);
        p.drawRect(QRectF(5, 4, 3, 12));
        p.drawRect(QRectF(12, 4, 3, 12));
    } else if (n == "SetMusic") { // a note
        p.setBrush(ink);
        p.drawEllipse(QRectF(3, 12, 6, 5));
        p.drawEllipse(QRectF(11, 10, 6, 5));
        p.drawLine(QPointF(9, 14), QPointF(9, 3));
        p.drawLine(QPointF(17, 12), QPointF(17, 2));
        p.drawLine(QPointF(9, 3), QPointF(17, 2));
    } else if (n == "LayoutButton") { // stacked tiles
        p.setBrush(QColor(255, 250, 230));
        p.drawRect(QRectF(2, 9, 7, 8));
        p.drawRect(QRectF(11, 9, 7, 8));
        p.drawRect(QRectF(6, 2, 8, 8));
    } else if (n == "HelpButton") {
        p.drawEllipse(QRectF(2, 2, 16, 16));
        QFont f("DejaVu Sans", 9, QFont::Bold);
        p.setFont(f);
        p.drawText(QRectF(2, 2, 16, 16), Qt::AlignCenter, "?");
    } else if (n == "AboutButton") {
        p.drawEllipse(QRectF(2, 2, 16, 16));
        QFont f("DejaVu Serif", 9, QFont::Bold);
        p.setFont(f);
        p.drawText(QRectF(2, 2, 16, 16), Qt::AlignCenter, "i");
    } else if (n == "HallFameButton") { // a cup
        p.setBrush(QColor(240, 200, 60));
        p.drawRoundedRect(QRectF(5, 2, 10, 9), 3, 3);
        p.drawLine(QPointF(10, 11), QPointF(10, 15));
        p.drawLine(QPointF(6, 17), QPointF(14, 17));
    } else if (n == "ExitButton") { // a door
        p.drawRect(QRectF(4, 2, 10, 16));
        p.drawLine(QPointF(14, 10), QPointF(18, 10));
        p.drawLine(QPointF(18, 10), QPointF(16, 8));
        p.drawLine(QPointF(18, 10), QPointF(16, 12));
    } else { // 3D: a cube
        p.drawRect(QRectF(3, 7, 10, 10));
        p.drawLine(QPointF(3, 7), QPointF(7, 3));
        p.drawLine(QPointF(13, 7), QPointF(17, 3));
        p.drawLine(QPointF(13, 17), QPointF(17, 13));
        p.drawLine(QPointF(7, 3), QPointF(17, 3));
        p.drawLine(QPointF(17, 3), QPointF(17, 13));
    }
    return QIcon(pm);
}

QImage TilesetFacesPicture(const QString& path, QString* problem) {
    PictureResult picture = LoadPictureFile(path.toStdString());
    if (!picture) {
        if (problem)
            *problem = QString("The tileset %1 cannot be read: %2")
                           .arg(path, QString::fromStdString(picture.error));
        return {};
    }
    // Tiles about as large as on a board in an ordinary window.
    TileOptions options;
    options.stretchTileset = true;
    options.keepRatio = true;
    options.gradientTiles = true;
    FaceSheets sheets;
    if (!ChangeTexture(sheets, *picture.picture, 640, 480, options)) {
        if (problem)
            *problem = QString("The picture %1 is too small to hold a tileset.").arg(path);
        return {};
    }
    const int cellW = sheets.geometry.CellWidth() + 6, cellH = sheets.geometry.CellHeight() + 6;
    PixelBuffer canvas(9 * cellW + 6, 5 * cellH + 6, 0xFFFFFDF6);
    for (int face = 1; face <= kSheetFaces; ++face) {
        int index = face - 1;
        DrawTile(canvas, 6 + (index % 9) * cellW, 6 + (index / 9) * cellH, face, sheets,
                 sheets.FaceSheet);
    }
    return QImage(reinterpret_cast<const uchar*>(canvas.Data()), canvas.Width(), canvas.Height(),
                  canvas.Width() * 4, QImage::Format_RGB32)
        .copy();
}

QCursor HandCursor(const QString& programDir, int number) {
    const QString name = number == 22 ? "HAND2" : "HAND";
    QImage img = ShellPicture(programDir, name);
    if (img.isNull())
        return QCursor(number == 22 ? Qt::ClosedHandCursor : Qt::PointingHandCursor);
    QPoint hot = CursorHotSpot(name);
    return QCursor(QPixmap::fromImage(img), hot.x(), hot.y());
}

} // namespace tovani
