// The splash and the welcome screen's picture of each game, at one and at two pixels a point.
#include "ArtCommon.h"
#include "Content.h"
#include "ResourcePictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace tovani::art::pictures {

// ---- splash ---------------------------------------------------------------------------------

QImage Splash() {
    const Fonts& f = LoadFonts();
    return Supersampled(276, 186, 2, [&](QPainter& p) {
        QLinearGradient bg(0, 0, 0, 186);
        bg.setColorAt(0, QColor(24, 44, 80));
        bg.setColorAt(1, QColor(10, 18, 36));
        p.fillRect(QRectF(0, 0, 276, 186), bg);
        QRadialGradient glow(QPointF(200, 60), 160);
        glow.setColorAt(0, QColor(255, 200, 140, 70));
        glow.setColorAt(1, QColor(255, 200, 140, 0));
        p.fillRect(QRectF(0, 0, 276, 186), glow);
        // A fan of tiles.
        const int faces[5] = {36, 1, 19, 10, 37};
        for (int i = 0; i < 5; ++i) {
            p.save();
            p.translate(176, 150);
            p.rotate(-34 + i * 17);
            BoardTile(p, -14, -96, 28, 35, 5, faces[i]);
            p.restore();
        }
        QPainterPath title = Text("Tovani", f.serif, QRectF(14, 22, 132, 44));
        p.fillPath(title.translated(1.5, 2), QColor(0, 0, 0, 140));
        QLinearGradient gold(0, 22, 0, 66);
        gold.setColorAt(0, QColor(255, 236, 160));
        gold.setColorAt(1, QColor(220, 150, 40));
        p.fillPath(title, gold);
        p.strokePath(title, QPen(QColor(110, 60, 10), 0.8));
        p.fillPath(Text("tile games", f.sans, QRectF(16, 74, 86, 13)), QColor(220, 226, 240));
        // The dark red ribbon that carries the version, written there by the program at (222, 138).
        QPainterPath ribbon;
        ribbon.moveTo(204, 132);
        ribbon.lineTo(276, 132);
        ribbon.lineTo(276, 158);
        ribbon.lineTo(204, 158);
        ribbon.lineTo(212, 145);
        ribbon.closeSubpath();
        p.fillPath(ribbon, QColor(132, 0, 0));
        p.strokePath(ribbon, QPen(QColor(220, 170, 80), 1));
        p.setPen(QPen(QColor(255, 255, 255, 60), 1));
        p.drawLine(QPointF(10, 176), QPointF(266, 176));
    });
}

// ---- welcome pictures -----------------------------------------------------------------------

QImage WelcomeSolitaire(int ratio) {
    return SupersampledAt(ratio, 150, 100, 2, [](QPainter& p) {
        QLinearGradient bg(0, 0, 0, 100);
        bg.setColorAt(0, QColor(70, 120, 84));
        bg.setColorAt(1, QColor(30, 74, 52));
        p.fillRect(QRectF(0, 0, 150, 100), bg);
        const double w = 14, h = 18, e = 3;
        int n = 0;
        const int sizes[3][2] = {{8, 4}, {6, 2}, {2, 1}};
        for (int layer = 0; layer < 3; ++layer) {
            const int cols = sizes[layer][0], rows = sizes[layer][1];
            const double ox = 20 + (8 - cols) * w / 2 + layer * e;
            const double oy = 14 + (4 - rows) * h / 2 - layer * e;
            for (int c = cols - 1; c >= 0; --c) {
                for (int r = 0; r < rows; ++r) {
                    BoardTile(p, ox + c * w, oy + r * h, w, h, e, (n++ * 11) % 42 + 1);
                }
            }
        }
        BoardTile(p, 6 + 3, 37, w, h, e, 29);
        BoardTile(p, 20 + 8 * w + 3, 37, w, h, e, 33);
    });
}

QImage WelcomeRivers(int ratio) {
    return SupersampledAt(ratio, 150, 100, 2, [](QPainter& p) {
        QLinearGradient bg(0, 0, 150, 100);
        bg.setColorAt(0, QColor(40, 90, 130));
        bg.setColorAt(1, QColor(16, 46, 80));
        p.fillRect(QRectF(0, 0, 150, 100), bg);
        const double w = 14, h = 18, e = 3;
        const bool gone[5][8] = {{0, 0, 1, 0, 0, 0, 0, 1},
                                 {0, 1, 1, 1, 1, 0, 0, 0},
                                 {0, 0, 0, 0, 1, 0, 1, 0},
                                 {1, 0, 0, 0, 1, 0, 0, 0},
                                 {0, 0, 0, 0, 0, 0, 0, 0}};
        for (int c = 7; c >= 0; --c) {
            for (int r = 0; r < 4; ++r) {
                if (!gone[r][c]) {
                    BoardTile(p, 16 + c * w, 10 + r * h, w, h, e, (c * 5 + r * 13) % 27 + 1);
                }
            }
        }
        // The pair being joined, and the river between them.
        BoardTile(p, 16 + 1 * w, 10 + 0 * h, w, h, e, 37);
        BoardTile(p, 16 + 5 * w, 10 + 1 * h, w, h, e, 37);
        QPainterPath river;
        river.moveTo(16 + 1.5 * w, 10 + 0.5 * h);
        river.lineTo(16 + 1.5 * w, 10 + 1.5 * h);
        river.lineTo(16 + 5.5 * w, 10 + 1.5 * h);
        p.strokePath(river,
                     QPen(QColor(255, 220, 60), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.strokePath(river,
                     QPen(QColor(255, 255, 255), 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        for (int c = 0; c < 8; ++c) {
            BoardTile(p, 16 + c * w, 10 + 4 * h, w, h, e, (c * 7) % 42 + 1);
        }
    });
}

QImage WelcomeMemory(int ratio) {
    return SupersampledAt(ratio, 150, 100, 2, [](QPainter& p) {
        QLinearGradient bg(0, 0, 0, 100);
        bg.setColorAt(0, QColor(110, 60, 110));
        bg.setColorAt(1, QColor(60, 28, 66));
        p.fillRect(QRectF(0, 0, 150, 100), bg);
        const double w = 14, h = 18, e = 3;
        for (int c = 7; c >= 0; --c) {
            for (int r = 0; r < 4; ++r) {
                int face = 43;
                if ((c == 2 && r == 1) || (c == 6 && r == 2)) {
                    face = 30;
                }
                if (c == 4 && r == 3) {
                    face = 5;
                }
                BoardTile(p, 18 + c * (w + 2), 8 + r * (h + 3), w, h, e, face);
            }
        }
    });
}

QImage WelcomeClicks(int ratio) {
    const QImage strip = SmallTilesetPicture("Kanji");
    return SupersampledAt(ratio, 150, 100, 2, [&](QPainter& p) {
        p.fillRect(QRectF(0, 0, 150, 100), QColor(34, 40, 56));
        const double s = 12;
        const int heights[12] = {7, 7, 6, 7, 5, 3, 7, 7, 6, 4, 7, 7};
        for (int c = 11; c >= 0; --c) {
            for (int r = 0; r < heights[c]; ++r) {
                const int index = static_cast<int>(Hash2(c, r, 5) * 4);
                SmallTile(p, strip, index, 2 + c * s, 94 - (r + 1) * s, s + 2);
            }
        }
    });
}

QImage WelcomeSlider(int ratio) {
    const QImage strip = SmallTilesetPicture("Kanji");
    return SupersampledAt(ratio, 150, 100, 2, [&](QPainter& p) {
        p.fillRect(QRectF(0, 0, 150, 100), QColor(28, 52, 60));
        const double cell = 10, ox = 30, oy = 5;
        for (int i = 0; i <= 9; ++i) {
            p.setPen(QPen(QColor(90, 140, 150), 0.6));
            p.drawLine(QPointF(ox + i * cell, oy), QPointF(ox + i * cell, oy + 9 * cell));
            p.drawLine(QPointF(ox, oy + i * cell), QPointF(ox + 9 * cell, oy + i * cell));
        }
        const int cells[][3] = {{1, 1, 0}, {2, 2, 0}, {3, 3, 0}, {4, 4, 0}, {6, 1, 2}, {7, 5, 1},
                                {2, 6, 3}, {5, 7, 4}, {8, 8, 2}, {0, 8, 5}, {6, 3, 1}, {3, 6, 6}};
        for (const auto& c : cells) {
            SmallTile(p, strip, c[2], ox + c[0] * cell - 1, oy + c[1] * cell - 1, cell + 1.5);
        }
        // The tile about to slide into the line of five.
        SmallTile(p, strip, 0, ox + 8 * cell - 1, oy + 0 * cell - 1, cell + 1.5);
        p.setPen(QPen(QColor(255, 230, 80), 1));
        p.drawRect(QRectF(ox + 8 * cell, oy, cell, cell));
        QPainterPath arrow;
        arrow.moveTo(ox + 8.5 * cell, oy + 1.2 * cell);
        arrow.lineTo(ox + 8.5 * cell, oy + 5.5 * cell);
        arrow.lineTo(ox + 5.6 * cell, oy + 5.5 * cell);
        p.strokePath(arrow, QPen(QColor(255, 230, 80), 1, Qt::DashLine));
    });
}

QImage WelcomeHashira(int ratio) {
    const QImage strip = SmallTilesetPicture("Kanji");
    return SupersampledAt(ratio, 150, 100, 2, [&](QPainter& p) {
        p.fillRect(QRectF(0, 0, 150, 100), QColor(50, 30, 40));
        const double s = 11, ox = 42, oy = 2;
        p.fillRect(QRectF(ox, oy, 6 * s, 96), QColor(10, 10, 14));
        p.setPen(QPen(QColor(180, 150, 110), 2));
        p.drawRect(QRectF(ox - 1, oy - 1, 6 * s + 2, 97));
        const int heights[6] = {3, 5, 2, 4, 6, 3};
        for (int c = 5; c >= 0; --c) {
            for (int r = 0; r < heights[c]; ++r) {
                SmallTile(p, strip, static_cast<int>(Hash2(c, r, 9) * 6), ox + c * s - 1,
                          oy + 96 - (r + 1) * s - 1, s + 1.5);
            }
        }
        for (int k = 0; k < 3; ++k) {
            SmallTile(p, strip, (k * 2) % 6, ox + 2 * s - 1, oy + 14 + k * s, s + 1.5);
        }
        for (int k = 0; k < 3; ++k) {
            SmallTile(p, strip, (k + 3) % 6, 118, 14 + k * s, s + 1.5);
        }
    });
}

} // namespace tovani::art::pictures
