// tovani_icon: the program's icon, drawn once as a list of shapes and written both as an SVG
// (the scalable icon) and as PNG pictures of the sizes desktops ask for. Three mahjong tiles
// lie fanned out; the front one shows the one of dots.
//
//   tovani_icon OUTDIR  ->  OUTDIR/scalable/apps/tovani.svg, OUTDIR/<n>x<n>/apps/tovani.png
#include <QColor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <vector>

namespace {

constexpr int kCanvas = 256; // the SVG's own units
const int kSizes[] = {48, 64, 128, 256};

struct Shape {
    enum Kind { RoundRect, Circle } kind;
    double x, y, w, h, r; // a circle's centre is (x, y) and its radius r
    const char* fill;     // "#rrggbb", or nullptr for none
    const char* stroke;   // "#rrggbb", or nullptr for none
    double strokeWidth;
};

// A tile: its green back showing below and right of the ivory face, the face, and a thin line.
void AddTile(std::vector<Shape>& s, double x, double y) {
    const double w = 118, h = 156;
    s.push_back({Shape::RoundRect, x + 9, y + 10, w, h, 16, "#1f6b4f", nullptr, 0});
    s.push_back({Shape::RoundRect, x + 4, y + 5, w, h, 16, "#d9ceb0", nullptr, 0});
    s.push_back({Shape::RoundRect, x, y, w, h, 16, "#f8f2e2", "#9c8c64", 3});
}

std::vector<Shape> Icon() {
    std::vector<Shape> s;
    AddTile(s, 118, 14);
    AddTile(s, 76, 38);
    AddTile(s, 26, 72);
    // The one of dots on the front tile: a red ring, a green ring, a blue heart.
    const double cx = 26 + 59, cy = 72 + 78;
    s.push_back({Shape::Circle, cx, cy, 0, 0, 46, "#c62828", nullptr, 0});
    s.push_back({Shape::Circle, cx, cy, 0, 0, 36, "#f8f2e2", nullptr, 0});
    s.push_back({Shape::Circle, cx, cy, 0, 0, 30, "#2e7d32", nullptr, 0});
    s.push_back({Shape::Circle, cx, cy, 0, 0, 22, "#f8f2e2", nullptr, 0});
    s.push_back({Shape::Circle, cx, cy, 0, 0, 15, "#1565c0", nullptr, 0});
    s.push_back({Shape::Circle, cx, cy, 0, 0, 6, "#f8f2e2", nullptr, 0});
    // A few dots on the middle tile and the back tile peeking out.
    for (double dy : {0.0, 30.0})
        s.push_back({Shape::Circle, 76 + 100, 38 + 28 + dy, 0, 0, 9, "#1565c0", nullptr, 0});
    s.push_back({Shape::Circle, 118 + 100, 14 + 24, 0, 0, 9, "#c62828", nullptr, 0});
    return s;
}

QString Svg(const std::vector<Shape>& shapes) {
    QString out = QString("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" "
                          "viewBox=\"0 0 %1 %1\">\n")
                      .arg(kCanvas);
    for (const Shape& s : shapes) {
        QString paint = QString(" fill=\"%1\"").arg(s.fill ? s.fill : "none");
        if (s.stroke)
            paint += QString(" stroke=\"%1\" stroke-width=\"%2\"").arg(s.stroke).arg(s.strokeWidth);
        if (s.kind == Shape::RoundRect)
            out += QString("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\"%6/>\n")
                       .arg(s.x)
                       .arg(s.y)
                       .arg(s.w)
                       .arg(s.h)
                       .arg(s.r)
                       .arg(paint);
        else
            out += QString("  <circle cx=\"%1\" cy=\"%2\" r=\"%3\"%4/>\n")
                       .arg(s.x)
                       .arg(s.y)
                       .arg(s.r)
                       .arg(paint);
    }
    return out + "</svg>\n";
}

QImage Png(const std::vector<Shape>& shapes, int size) {
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(double(size) / kCanvas, double(size) / kCanvas);
    for (const Shape& s : shapes) {
        p.setBrush(s.fill ? QBrush(QColor(s.fill)) : QBrush(Qt::NoBrush));
        p.setPen(s.stroke ? QPen(QColor(s.stroke), s.strokeWidth) : QPen(Qt::NoPen));
        if (s.kind == Shape::RoundRect)
            p.drawRoundedRect(QRectF(s.x, s.y, s.w, s.h), s.r, s.r);
        else
            p.drawEllipse(QPointF(s.x, s.y), s.r, s.r);
    }
    p.end();
    return img;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tovani_icon OUTDIR\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const std::vector<Shape> shapes = Icon();
    QDir().mkpath(out + "/scalable/apps");
    QFile svg(out + "/scalable/apps/tovani.svg");
    if (!svg.open(QIODevice::WriteOnly) || svg.write(Svg(shapes).toUtf8()) < 0) {
        std::fprintf(stderr, "tovani_icon: cannot write %s\n", qPrintable(svg.fileName()));
        return 1;
    }
    svg.close();
    for (int size : kSizes) {
        const QString dir = QString("%1/%2x%2/apps").arg(out).arg(size);
        QDir().mkpath(dir);
        if (!Png(shapes, size).save(dir + "/tovani.png")) {
            std::fprintf(stderr, "tovani_icon: cannot write %s/tovani.png\n", qPrintable(dir));
            return 1;
        }
    }
    return 0;
}
