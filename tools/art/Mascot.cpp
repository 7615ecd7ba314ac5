// The friendly side pictures of the hall-of-fame strip: a little tile-playing girl (and, in
// the alternative set, a panda) in the moods the strip shows while a game goes on.
#include "ArtCommon.h"
#include "Content.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace tovani::art {

namespace {

enum class Eyes { Open, Happy, Closed, Wide, Sparkle, Determined };
enum class Mouth { Smile, Open, Oh, Wavy, Flat, Yawn };
enum class Arms { Down, Wave, Up, Chin, Hold, Juggle, Victory };

struct Pose {
    Eyes eyes = Eyes::Open;
    Mouth mouth = Mouth::Smile;
    Arms arms = Arms::Down;
    QColor dress = QColor(230, 80, 110);
    bool panda = false;
    bool jump = false;
    bool sweat = false, zzz = false, sparkles = false, question = false, stars = false,
         hearts = false, book = false;
};

const QColor kSkin(255, 224, 200);
const QColor kHair(74, 42, 30);
const QColor kLine(60, 36, 40);

QPainterPath Circle(QPointF c, double r) {
    QPainterPath p;
    p.addEllipse(c, r, r);
    return p;
}

QPainterPath Star(QPointF c, double r, int points = 5, double inner = 0.45) {
    QPainterPath path;
    for (int i = 0; i < points * 2; ++i) {
        const double a = -3.14159265 / 2 + i * 3.14159265 / points;
        const double rad = i % 2 ? r * inner : r;
        const QPointF pt = c + QPointF(std::cos(a), std::sin(a)) * rad;
        i == 0 ? path.moveTo(pt) : path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}

void Tile(QPainter& p, QPointF at, double w, double h, int face, double angle = 0) {
    p.save();
    p.translate(at);
    p.rotate(angle);
    const double e = w * 0.18;
    QPainterPath side;
    side.moveTo(e, 0);
    side.lineTo(0, e);
    side.lineTo(0, h + e);
    side.lineTo(w, h + e);
    side.lineTo(w + e, h);
    side.lineTo(e, h);
    side.closeSubpath();
    p.fillPath(side, QColor(206, 148, 140));
    p.strokePath(side, QPen(kLine, 0.8));
    p.drawImage(QRectF(e, 0, w, h),
                FaceImage(face, static_cast<int>(w * 3), static_cast<int>(h * 3)));
    p.setPen(QPen(kLine, 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(e, 0, w, h));
    p.restore();
}

void Limb(QPainter& p, QPointF a, QPointF b, const QColor& sleeve, double width) {
    QPainterPath path;
    path.moveTo(a);
    path.lineTo(b);
    p.strokePath(path, QPen(kLine, width + 2, Qt::SolidLine, Qt::RoundCap));
    p.strokePath(path, QPen(sleeve, width, Qt::SolidLine, Qt::RoundCap));
}

void Hand(QPainter& p, QPointF c, const QColor& colour) {
    p.fillPath(Circle(c, 4.6), kLine);
    p.fillPath(Circle(c, 3.8), colour);
}

void Draw(QPainter& p, const Pose& pose) {
    p.setRenderHint(QPainter::Antialiasing);
    const double lift = pose.jump ? -9 : 0;
    const QColor skin = pose.panda ? QColor(250, 250, 250) : kSkin;
    const QColor limbColour = pose.panda ? QColor(40, 40, 46) : pose.dress;
    p.translate(0, lift);
    // Legs.
    const QColor legColour = pose.panda ? QColor(40, 40, 46) : kSkin;
    if (pose.jump) {
        Limb(p, QPointF(38, 136), QPointF(30, 150), legColour, 7);
        Limb(p, QPointF(54, 136), QPointF(62, 150), legColour, 7);
    } else {
        Limb(p, QPointF(39, 136), QPointF(38, 156), legColour, 7);
        Limb(p, QPointF(53, 136), QPointF(54, 156), legColour, 7);
    }
    if (!pose.panda) {
        for (double x : {pose.jump ? 28.0 : 36.0, pose.jump ? 64.0 : 56.0}) {
            QPainterPath shoe;
            shoe.addRoundedRect(QRectF(x - 6, pose.jump ? 148 : 154, 12, 6), 3, 3);
            p.fillPath(shoe, QColor(120, 50, 60));
        }
    }
    // Hands and arms depend on the pose.
    QPointF left(28, 118), right(64, 118);
    switch (pose.arms) {
    case Arms::Down:
        break;
    case Arms::Wave:
        right = QPointF(74, 70);
        break;
    case Arms::Up:
        left = QPointF(18, 70);
        right = QPointF(74, 70);
        break;
    case Arms::Chin:
        right = QPointF(52, 84);
        left = QPointF(30, 114);
        break;
    case Arms::Hold:
        left = QPointF(37, 112);
        right = QPointF(57, 112);
        break;
    case Arms::Juggle:
        left = QPointF(20, 80);
        right = QPointF(72, 80);
        break;
    case Arms::Victory:
        right = QPointF(76, 72);
        break;
    }
    const QPointF shoulderL(34, 96), shoulderR(58, 96);
    if (pose.arms != Arms::Chin) {
        Limb(p, shoulderR, right, limbColour, 7);
    }
    Limb(p, shoulderL, left, limbColour, 7);
    // Body: a dress (or the panda's round tummy).
    QPainterPath body;
    if (pose.panda) {
        body.addEllipse(QPointF(46, 116), 20, 24);
        p.fillPath(body, QColor(250, 250, 250));
        p.strokePath(body, QPen(kLine, 1.6));
    } else {
        body.moveTo(36, 90);
        body.lineTo(56, 90);
        body.quadTo(66, 118, 70, 138);
        body.quadTo(46, 144, 22, 138);
        body.quadTo(26, 118, 36, 90);
        body.closeSubpath();
        p.fillPath(body, pose.dress);
        p.strokePath(body, QPen(kLine, 1.6));
        QPainterPath trim;
        trim.moveTo(24, 134);
        trim.quadTo(46, 140, 68, 134);
        p.strokePath(trim, QPen(QColor(255, 255, 255, 200), 2));
        QPainterPath collar;
        collar.moveTo(38, 90);
        collar.lineTo(46, 98);
        collar.lineTo(54, 90);
        p.strokePath(collar, QPen(QColor(255, 255, 255), 2.2));
    }
    if (pose.arms == Arms::Chin) {
        Limb(p, shoulderR, right, limbColour, 7);
    }
    Hand(p, left, skin);
    Hand(p, right, skin);
    if (pose.arms == Arms::Victory) {
        QPainterPath v;
        v.moveTo(right);
        v.lineTo(right + QPointF(-3, -9));
        v.moveTo(right);
        v.lineTo(right + QPointF(3, -9));
        p.strokePath(v, QPen(kLine, 3.6, Qt::SolidLine, Qt::RoundCap));
        p.strokePath(v, QPen(skin, 2.2, Qt::SolidLine, Qt::RoundCap));
    }
    // Head.
    const QPointF head(46, 58);
    if (pose.panda) {
        p.fillPath(Circle(head + QPointF(-19, -19), 8), QColor(40, 40, 46));
        p.fillPath(Circle(head + QPointF(19, -19), 8), QColor(40, 40, 46));
    } else {
        p.fillPath(Circle(head + QPointF(-22, -16), 9), kHair);
        p.fillPath(Circle(head + QPointF(22, -16), 9), kHair);
        p.fillPath(
            Circle(head + QPointF(-22, -16), 9).subtracted(Circle(head + QPointF(-20, -18), 6)),
            QColor(0, 0, 0, 30));
        QPainterPath back;
        back.addEllipse(head + QPointF(0, 2), 29, 28);
        p.fillPath(back, kHair);
    }
    QPainterPath face;
    face.addEllipse(head + QPointF(0, 3), 25, 24);
    p.fillPath(face, skin);
    p.strokePath(face, QPen(kLine, 1.4));
    if (pose.panda) {
        for (double dx : {-10.0, 10.0}) {
            QPainterPath patch;
            patch.addEllipse(head + QPointF(dx, 4), 7, 8.5);
            p.fillPath(patch, QColor(40, 40, 46));
        }
        p.fillPath(Circle(head + QPointF(0, 13), 3), QColor(40, 40, 46));
    } else {
        // Fringe.
        QPainterPath fringe;
        fringe.moveTo(head + QPointF(-26, 0));
        fringe.quadTo(head + QPointF(-24, -26), head + QPointF(0, -24));
        fringe.quadTo(head + QPointF(24, -26), head + QPointF(26, 0));
        fringe.quadTo(head + QPointF(18, -8), head + QPointF(10, -12));
        fringe.quadTo(head + QPointF(4, -6), head + QPointF(-2, -12));
        fringe.quadTo(head + QPointF(-10, -6), head + QPointF(-14, -12));
        fringe.quadTo(head + QPointF(-20, -8), head + QPointF(-26, 0));
        fringe.closeSubpath();
        p.fillPath(fringe, kHair);
        QPainterPath shine;
        shine.moveTo(head + QPointF(-12, -20));
        shine.quadTo(head + QPointF(-4, -23), head + QPointF(6, -21));
        p.strokePath(shine, QPen(QColor(255, 255, 255, 90), 2, Qt::SolidLine, Qt::RoundCap));
        // A ribbon.
        QPainterPath bow;
        const QPointF b = head + QPointF(16, -20);
        bow.moveTo(b);
        bow.lineTo(b + QPointF(-7, -5));
        bow.lineTo(b + QPointF(-7, 5));
        bow.closeSubpath();
        bow.moveTo(b);
        bow.lineTo(b + QPointF(7, -5));
        bow.lineTo(b + QPointF(7, 5));
        bow.closeSubpath();
        p.fillPath(bow, pose.dress);
        p.strokePath(bow, QPen(kLine, 1));
    }
    // Eyes.
    const QColor eyeInk = pose.panda ? QColor(255, 255, 255) : QColor(42, 26, 46);
    for (double dx : {-10.0, 10.0}) {
        const QPointF e = head + QPointF(dx, 4);
        switch (pose.eyes) {
        case Eyes::Open:
        case Eyes::Determined: {
            QPainterPath eye;
            eye.addEllipse(e, pose.panda ? 2.6 : 3.6, pose.panda ? 3.0 : 4.8);
            p.fillPath(eye, pose.panda ? QColor(255, 255, 255) : eyeInk);
            p.fillPath(Circle(e + QPointF(pose.panda ? 0.2 : -1.0, pose.panda ? 0.3 : -1.6),
                              pose.panda ? 1.6 : 1.4),
                       pose.panda ? QColor(30, 30, 30) : QColor(255, 255, 255));
            break;
        }
        case Eyes::Happy: {
            QPainterPath arc;
            arc.moveTo(e + QPointF(-4, 1.5));
            arc.quadTo(e + QPointF(0, -5), e + QPointF(4, 1.5));
            p.strokePath(arc, QPen(eyeInk, 1.9, Qt::SolidLine, Qt::RoundCap));
            break;
        }
        case Eyes::Closed: {
            QPainterPath arc;
            arc.moveTo(e + QPointF(-4, 0));
            arc.quadTo(e + QPointF(0, 3), e + QPointF(4, 0));
            p.strokePath(arc, QPen(eyeInk, 1.7, Qt::SolidLine, Qt::RoundCap));
            break;
        }
        case Eyes::Wide:
            p.fillPath(Circle(e, 4.4), QColor(255, 255, 255));
            p.strokePath(Circle(e, 4.4), QPen(kLine, 1));
            p.fillPath(Circle(e, 1.9), pose.panda ? QColor(30, 30, 30) : eyeInk);
            break;
        case Eyes::Sparkle:
            p.fillPath(Star(e, 5.2, 4, 0.35), QColor(255, 200, 40));
            p.strokePath(Star(e, 5.2, 4, 0.35), QPen(kLine, 0.8));
            break;
        }
    }
    // Brows tell worry and resolve.
    if (pose.eyes == Eyes::Determined || pose.sweat) {
        const double tilt = pose.eyes == Eyes::Determined ? 2.5 : -2.5;
        QPainterPath brows;
        brows.moveTo(head + QPointF(-14, -4 - tilt));
        brows.lineTo(head + QPointF(-6, -4 + tilt));
        brows.moveTo(head + QPointF(14, -4 - tilt));
        brows.lineTo(head + QPointF(6, -4 + tilt));
        p.strokePath(
            brows, QPen(pose.panda ? QColor(40, 40, 46) : kHair, 1.8, Qt::SolidLine, Qt::RoundCap));
    }
    // Cheeks.
    if (!pose.panda) {
        for (double dx : {-16.0, 16.0}) {
            QPainterPath cheek;
            cheek.addEllipse(head + QPointF(dx, 11), 4, 2.4);
            p.fillPath(cheek, QColor(255, 130, 140, 110));
        }
    }
    // Mouth.
    const QPointF m = head + QPointF(0, pose.panda ? 18 : 15);
    const QColor mouthInk(120, 40, 50);
    switch (pose.mouth) {
    case Mouth::Smile: {
        QPainterPath arc;
        arc.moveTo(m + QPointF(-4, -1));
        arc.quadTo(m + QPointF(0, 3), m + QPointF(4, -1));
        p.strokePath(arc, QPen(mouthInk, 1.6, Qt::SolidLine, Qt::RoundCap));
        break;
    }
    case Mouth::Open: {
        QPainterPath open;
        open.moveTo(m + QPointF(-5, -1.5));
        open.quadTo(m + QPointF(0, 8), m + QPointF(5, -1.5));
        open.closeSubpath();
        p.fillPath(open, mouthInk);
        p.fillPath(Circle(m + QPointF(0, 3.2), 2), QColor(255, 130, 140));
        break;
    }
    case Mouth::Oh:
        p.fillPath(Circle(m + QPointF(0, 1), 2.4), mouthInk);
        break;
    case Mouth::Wavy: {
        QPainterPath w;
        w.moveTo(m + QPointF(-5, 1));
        w.quadTo(m + QPointF(-2.5, -2), m + QPointF(0, 1));
        w.quadTo(m + QPointF(2.5, 4), m + QPointF(5, 1));
        p.strokePath(w, QPen(mouthInk, 1.5, Qt::SolidLine, Qt::RoundCap));
        break;
    }
    case Mouth::Flat: {
        QPainterPath f;
        f.moveTo(m + QPointF(-3.5, 0.5));
        f.lineTo(m + QPointF(3.5, 0.5));
        p.strokePath(f, QPen(mouthInk, 1.6, Qt::SolidLine, Qt::RoundCap));
        break;
    }
    case Mouth::Yawn: {
        QPainterPath y;
        y.addEllipse(m + QPointF(0, 2), 3.4, 4.6);
        p.fillPath(y, mouthInk);
        break;
    }
    }
    // What the hands hold and what floats around.
    if (pose.arms == Arms::Hold) {
        Tile(p, QPointF(36, 96), 18, 23, 36);
        Hand(p, left, skin);
        Hand(p, right, skin);
    }
    if (pose.book) {
        QPainterPath book;
        book.addRoundedRect(QRectF(30, 100, 32, 20), 2, 2);
        p.fillPath(book, QColor(60, 110, 180));
        p.strokePath(book, QPen(kLine, 1.2));
        p.strokePath(QPainterPath(QPointF(46, 100)), QPen(kLine, 1));
        Hand(p, left, skin);
    }
    if (pose.arms == Arms::Juggle) {
        Tile(p, QPointF(6, 4 - lift), 13, 17, 1, -18);
        Tile(p, QPointF(38, -2 - lift), 13, 17, 37, 6);
        Tile(p, QPointF(70, 8 - lift), 13, 17, 10, 22);
    }
    p.translate(0, -lift);
    if (pose.jump) {
        QPainterPath lines;
        for (double x : {30.0, 46.0, 62.0}) {
            lines.moveTo(x, 152);
            lines.lineTo(x, 162);
        }
        p.strokePath(lines, QPen(QColor(255, 255, 255, 160), 1.6, Qt::SolidLine, Qt::RoundCap));
    }
    if (pose.arms == Arms::Wave) {
        QPainterPath motion;
        motion.moveTo(80, 58);
        motion.quadTo(86, 64, 84, 72);
        motion.moveTo(84, 54);
        motion.quadTo(91, 62, 89, 72);
        p.strokePath(motion, QPen(QColor(255, 255, 255, 170), 1.5, Qt::SolidLine, Qt::RoundCap));
    }
    if (pose.sweat) {
        QPainterPath drop;
        drop.moveTo(76, 36);
        drop.quadTo(70, 46, 76, 48);
        drop.quadTo(82, 46, 76, 36);
        p.fillPath(drop, QColor(150, 210, 255));
        p.strokePath(drop, QPen(QColor(60, 120, 190), 1));
    }
    if (pose.zzz) {
        const Fonts& f = LoadFonts();
        p.fillPath(GlyphPath("z", f.sans, QRectF(68, 20, 8, 8)), QColor(200, 220, 255));
        p.fillPath(GlyphPath("Z", f.sans, QRectF(76, 8, 11, 11)), QColor(200, 220, 255));
    }
    if (pose.question) {
        const Fonts& f = LoadFonts();
        QPainterPath bubble;
        bubble.addEllipse(QPointF(78, 22), 11, 11);
        p.fillPath(bubble, QColor(255, 255, 255));
        p.strokePath(bubble, QPen(kLine, 1.2));
        p.fillPath(GlyphPath("?", f.sans, QRectF(73, 14, 10, 16)), QColor(40, 90, 200));
    }
    if (pose.sparkles || pose.stars) {
        const QColor gold(255, 214, 60);
        const QPointF at[4] = {QPointF(12, 30), QPointF(80, 26), QPointF(8, 92), QPointF(84, 104)};
        for (int i = 0; i < 4; ++i) {
            const QPainterPath s = pose.stars ? Star(at[i], 5.5) : Star(at[i], 6, 4, 0.25);
            p.fillPath(s, gold);
            p.strokePath(s, QPen(QColor(160, 110, 20), 0.8));
        }
    }
    if (pose.hearts) {
        for (const QPointF& c : {QPointF(14, 34), QPointF(80, 30)}) {
            QPainterPath heart;
            heart.moveTo(c + QPointF(0, 6));
            heart.cubicTo(c + QPointF(-9, -1), c + QPointF(-4, -8), c);
            heart.cubicTo(c + QPointF(4, -8), c + QPointF(9, -1), c + QPointF(0, 6));
            p.fillPath(heart, QColor(255, 90, 120));
        }
    }
}

Pose PoseOf(int index) {
    Pose p;
    const QColor rose(232, 84, 116), sky(70, 140, 220), mint(60, 170, 120), gold(236, 170, 40),
        violet(150, 90, 200), coral(250, 120, 80);
    switch (index) {
    case 1:
        p.arms = Arms::Wave;
        p.mouth = Mouth::Open;
        p.dress = rose;
        break;
    case 2:
        p.eyes = Eyes::Closed;
        p.mouth = Mouth::Smile;
        p.book = true;
        p.dress = sky;
        break;
    case 3:
        p.eyes = Eyes::Happy;
        p.mouth = Mouth::Open;
        p.arms = Arms::Up;
        p.jump = true;
        p.stars = true;
        p.dress = gold;
        break;
    case 4:
        p.eyes = Eyes::Open;
        p.mouth = Mouth::Flat;
        p.arms = Arms::Chin;
        p.question = true;
        p.dress = sky;
        break;
    case 5:
        p.eyes = Eyes::Wide;
        p.mouth = Mouth::Wavy;
        p.sweat = true;
        p.dress = violet;
        break;
    case 6:
        p.eyes = Eyes::Determined;
        p.mouth = Mouth::Flat;
        p.arms = Arms::Hold;
        p.dress = mint;
        break;
    case 7:
        p.eyes = Eyes::Sparkle;
        p.mouth = Mouth::Open;
        p.arms = Arms::Up;
        p.sparkles = true;
        p.dress = coral;
        break;
    case 8:
        p.eyes = Eyes::Closed;
        p.mouth = Mouth::Yawn;
        p.zzz = true;
        p.dress = violet;
        break;
    case 9:
        p.eyes = Eyes::Happy;
        p.mouth = Mouth::Open;
        p.arms = Arms::Up;
        p.hearts = true;
        p.dress = rose;
        break;
    case 10:
        p.eyes = Eyes::Open;
        p.mouth = Mouth::Smile;
        p.arms = Arms::Hold;
        p.dress = mint;
        break;
    case 11:
        p.eyes = Eyes::Wide;
        p.mouth = Mouth::Oh;
        p.arms = Arms::Chin;
        p.sweat = true;
        p.dress = sky;
        break;
    case 12:
        p.panda = true;
        p.arms = Arms::Wave;
        p.mouth = Mouth::Open;
        break;
    case 13:
        p.panda = true;
        p.arms = Arms::Juggle;
        p.eyes = Eyes::Happy;
        p.mouth = Mouth::Open;
        break;
    case 14:
        p.panda = true;
        p.arms = Arms::Hold;
        p.mouth = Mouth::Smile;
        break;
    case 15:
        p.panda = true;
        p.arms = Arms::Chin;
        p.question = true;
        p.mouth = Mouth::Flat;
        break;
    case 16:
        p.arms = Arms::Juggle;
        p.eyes = Eyes::Happy;
        p.mouth = Mouth::Open;
        p.dress = coral;
        break;
    case 17:
        p.arms = Arms::Up;
        p.jump = true;
        p.eyes = Eyes::Sparkle;
        p.mouth = Mouth::Open;
        p.stars = true;
        p.dress = mint;
        break;
    default:
        p.arms = Arms::Victory;
        p.eyes = Eyes::Happy;
        p.mouth = Mouth::Open;
        p.sparkles = true;
        p.dress = gold;
        break;
    }
    return p;
}

} // namespace

QImage MascotPicture(int index) {
    constexpr int kScale = 3;
    QImage big(92 * kScale, 166 * kScale, QImage::Format_ARGB32_Premultiplied);
    big.fill(Qt::transparent);
    {
        QPainter p(&big);
        p.scale(kScale, kScale);
        Draw(p, PoseOf(index));
    }
    return big.scaled(92, 166, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_ARGB32);
}

} // namespace tovani::art
