// The toolbar icons, 24 x 24 points, at one and at two pixels a point.
#include "ArtCommon.h"
#include "ResourcePictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace tovani::art::pictures {
namespace {

QPainterPath Circle(QPointF c, double r) {
    QPainterPath path;
    path.addEllipse(c, r, r);
    return path;
}

void IconTile(QPainter& p, const QRectF& r) {
    QPainterPath side;
    side.addRoundedRect(r.translated(-2.5, 2.5), 2.5, 2.5);
    p.fillPath(side, QColor(190, 130, 110));
    p.strokePath(side, QPen(kOutline, 1));
    QPainterPath top;
    top.addRoundedRect(r, 2.5, 2.5);
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, QColor(255, 252, 240));
    g.setColorAt(1, QColor(236, 226, 200));
    p.fillPath(top, g);
    p.strokePath(top, QPen(kOutline, 1));
}

QPainterPath Arrowhead(QPointF tip, double angle, double size) {
    QPainterPath head;
    head.moveTo(tip);
    head.lineTo(tip + QPointF(std::cos(angle + 2.5), std::sin(angle + 2.5)) * size);
    head.lineTo(tip + QPointF(std::cos(angle - 2.5), std::sin(angle - 2.5)) * size);
    head.closeSubpath();
    return head;
}

void Outlined(QPainter& p, const QPainterPath& path, const QBrush& fill, double width = 1.2) {
    p.fillPath(path, fill);
    p.strokePath(path, QPen(kOutline, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

} // namespace

QImage Icon(const QString& name, int ratio) {
    const Fonts& f = LoadFonts();
    return SupersampledAt(ratio, 24, 24, 4, [&](QPainter& p) {
        const QColor blue(40, 110, 210), green(40, 160, 80), red(210, 50, 50), gold(245, 185, 30),
            purple(140, 70, 190), teal(20, 150, 160);
        if (name == "New") {
            IconTile(p, QRectF(6, 4, 13, 17));
            p.fillPath(Text(QString(QChar(0x4E2D)), f.brush, QRectF(8.5, 7, 8, 11)), red);
            QPainterPath star;
            for (int i = 0; i < 8; ++i) {
                const double a = i * kPi / 4;
                const double r = i % 2 ? 2.0 : 5.5;
                const QPointF pt = QPointF(18.5, 5.5) + QPointF(std::cos(a), std::sin(a)) * r;
                i == 0 ? star.moveTo(pt) : star.lineTo(pt);
            }
            star.closeSubpath();
            Outlined(p, star, gold, 0.9);
        } else if (name == "Back") {
            QPainterPath arc;
            arc.moveTo(6, 10);
            arc.cubicTo(10, 4, 21, 5, 20, 13);
            arc.cubicTo(19.5, 18, 15, 20, 10, 20);
            p.strokePath(arc, QPen(kOutline, 5.2, Qt::SolidLine, Qt::RoundCap));
            p.strokePath(arc, QPen(blue, 3.2, Qt::SolidLine, Qt::RoundCap));
            Outlined(p, Arrowhead(QPointF(2.5, 13), kPi * 0.82, 8.5), blue);
        } else if (name == "Hint") {
            QPainterPath bulb;
            bulb.addEllipse(QPointF(12, 9.5), 7, 7);
            QPainterPath neck;
            neck.addRect(QRectF(8.5, 13, 7, 4));
            QRadialGradient g(QPointF(10, 7), 8);
            g.setColorAt(0, QColor(255, 255, 210));
            g.setColorAt(1, gold);
            Outlined(p, bulb.united(neck), g);
            QPainterPath base;
            base.addRoundedRect(QRectF(8.5, 17, 7, 5), 1.5, 1.5);
            Outlined(p, base, QColor(150, 150, 160));
            p.strokePath(QPainterPath(QPointF(8.5, 19.2)), QPen());
            QPainterPath rays;
            for (double a : {-2.6, -1.57, -0.55}) {
                rays.moveTo(QPointF(12, 9.5) + QPointF(std::cos(a), std::sin(a)) * 9);
                rays.lineTo(QPointF(12, 9.5) + QPointF(std::cos(a), std::sin(a)) * 11.5);
            }
            p.strokePath(rays, QPen(QColor(230, 160, 0), 1.4, Qt::SolidLine, Qt::RoundCap));
        } else if (name == "Shuffle") {
            QPainterPath a;
            a.moveTo(2, 7);
            a.cubicTo(9, 7, 12, 17, 19, 17);
            QPainterPath b;
            b.moveTo(2, 17);
            b.cubicTo(9, 17, 12, 7, 19, 7);
            for (const auto& path : {a, b}) {
                p.strokePath(path, QPen(kOutline, 4.6, Qt::SolidLine, Qt::RoundCap));
            }
            p.strokePath(a, QPen(green, 2.8, Qt::SolidLine, Qt::RoundCap));
            p.strokePath(b, QPen(QColor(240, 130, 30), 2.8, Qt::SolidLine, Qt::RoundCap));
            Outlined(p, Arrowhead(QPointF(23, 17), 0, 6.5), green, 1.0);
            Outlined(p, Arrowhead(QPointF(23, 7), 0, 6.5), QColor(240, 130, 30), 1.0);
        } else if (name == "Pause") {
            QPainterPath disc;
            disc.addEllipse(QPointF(12, 12), 10, 10);
            QRadialGradient g(QPointF(9, 8), 14);
            g.setColorAt(0, QColor(120, 180, 255));
            g.setColorAt(1, blue);
            Outlined(p, disc, g);
            p.fillRect(QRectF(8, 7, 3, 10), Qt::white);
            p.fillRect(QRectF(13, 7, 3, 10), Qt::white);
        } else if (name == "Music") {
            QPainterPath note;
            note.addEllipse(QPointF(7, 18), 3.6, 2.8);
            note.addEllipse(QPointF(17, 16), 3.6, 2.8);
            note.addRect(QRectF(9.4, 5, 1.8, 13));
            note.addRect(QRectF(19.4, 3, 1.8, 13));
            QPainterPath beam;
            beam.moveTo(9.4, 5);
            beam.lineTo(21.2, 3);
            beam.lineTo(21.2, 6.5);
            beam.lineTo(9.4, 8.5);
            beam.closeSubpath();
            note.addPath(beam);
            Outlined(p, note.simplified(), purple, 1.0);
        } else if (name == "Layout") {
            IconTile(p, QRectF(4, 10, 8, 11));
            IconTile(p, QRectF(13, 10, 8, 11));
            IconTile(p, QRectF(8.5, 3, 8, 11));
        } else if (name == "Help") {
            QPainterPath disc;
            disc.addEllipse(QPointF(12, 12), 10, 10);
            Outlined(p, disc, blue);
            p.fillPath(Text("?", f.sans, QRectF(8, 5, 8, 14)), Qt::white);
        } else if (name == "About") {
            QPainterPath disc;
            disc.addEllipse(QPointF(12, 12), 10, 10);
            Outlined(p, disc, teal);
            p.fillPath(Text("i", f.serif, QRectF(9.5, 5, 5, 14)), Qt::white);
        } else if (name == "Hall") {
            QPainterPath cup;
            cup.moveTo(6, 3);
            cup.lineTo(18, 3);
            cup.cubicTo(18, 12, 15, 14, 12, 14);
            cup.cubicTo(9, 14, 6, 12, 6, 3);
            cup.closeSubpath();
            QPainterPath handles;
            handles.addEllipse(QPointF(5, 7), 3.5, 3.5);
            handles.addEllipse(QPointF(19, 7), 3.5, 3.5);
            QPainterPath holes;
            holes.addEllipse(QPointF(5, 7), 1.8, 1.8);
            holes.addEllipse(QPointF(19, 7), 1.8, 1.8);
            QPainterPath stem;
            stem.addRect(QRectF(10.5, 13.5, 3, 4));
            stem.addRoundedRect(QRectF(6.5, 17.5, 11, 4), 1.2, 1.2);
            QLinearGradient g(0, 3, 0, 21);
            g.setColorAt(0, QColor(255, 236, 130));
            g.setColorAt(1, QColor(210, 140, 10));
            Outlined(p, cup.united(handles.subtracted(holes)).united(stem).simplified(), g, 1.0);
        } else if (name == "Exit") {
            QPainterPath door;
            door.addRect(QRectF(4, 3, 10, 18));
            Outlined(p, door, QColor(150, 90, 50));
            p.fillPath(Circle(QPointF(12, 12.5), 1), kOutline);
            QPainterPath arrow;
            arrow.moveTo(11, 12);
            arrow.lineTo(19, 12);
            p.strokePath(arrow, QPen(kOutline, 4.2, Qt::SolidLine, Qt::RoundCap));
            p.strokePath(arrow, QPen(red, 2.4, Qt::SolidLine, Qt::RoundCap));
            Outlined(p, Arrowhead(QPointF(23.5, 12), 0, 7), red, 1.0);
        } else { // 3D
            const QPointF top(12, 2), left(3, 7), right(21, 7), mid(12, 12), bl(3, 17), br(21, 17),
                bottom(12, 22);
            QPainterPath lid, west, east;
            lid.moveTo(top);
            lid.lineTo(right);
            lid.lineTo(mid);
            lid.lineTo(left);
            lid.closeSubpath();
            west.moveTo(left);
            west.lineTo(mid);
            west.lineTo(bottom);
            west.lineTo(bl);
            west.closeSubpath();
            east.moveTo(mid);
            east.lineTo(right);
            east.lineTo(br);
            east.lineTo(bottom);
            east.closeSubpath();
            Outlined(p, lid, QColor(130, 200, 255), 1.0);
            Outlined(p, west, QColor(40, 110, 210), 1.0);
            Outlined(p, east, QColor(20, 70, 150), 1.0);
        }
    });
}

} // namespace tovani::art::pictures
