// The removal of a Rivers pair as the player sees it: with "Animate Tile Rivers in Rivers" the
// tile clicked first slides along the river, one place a beat of the 12 ms timer, to the tile
// clicked last; then (or at once without the option) the river itself stays drawn for a moment,
// a line through the middles of its places in the highlight colour. The model's board is final
// all along: the sliding tile lives in a copy of it.
#include "play/rivers/RiversPlay.h"

#include "play/BoardView.h"
#include "shell/MainForm.h"

#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace tovani {

namespace {

// The game's end lets the last removal finish for at most this long.
constexpr int kFinishMs = 1000;

QColor PenColour(Colour c) {
    // Colours are 0x00BBGGRR.
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

} // namespace

Cell RiversPlay::CarriedAt() const {
    if (!anim_.active || anim_.path.empty())
        return {};
    return anim_.path[std::min(anim_.step, anim_.path.size() - 1)];
}

void RiversPlay::StartAnimation(const RiversEffects& fx) {
    EndAnimation();
    if (view_.TileWidth() <= 0 || view_.Area().renderer.BoardBuffer.IsEmpty() || form_.View3D())
        return;
    anim_ = Animation{};
    anim_.pair = fx.pair;
    anim_.path = fx.river;
    if (anim_.path.empty() || anim_.path.front() != fx.pair.firstCell)
        anim_.path.insert(anim_.path.begin(), fx.pair.firstCell);
    anim_.line = anim_.path;
    anim_.line.push_back(fx.pair.secondCell);
    anim_.active = true;
    anim_.lingerBeats = kRiverShowBeats;
    if (form_.Option("AnimateTileRivers") && anim_.path.size() > 1) {
        // The board as it was seen just before: both tiles still there.
        anim_.shown = game_.GameBoard();
        anim_.shown.Place(fx.pair.first, fx.pair.firstCell);
        anim_.shown.Place(fx.pair.second, fx.pair.secondCell);
        anim_.step = 0;
        anim_.carrying = true;
    } else {
        // Nothing slides: the pair is gone at once and only the river is shown.
        anim_.step = anim_.path.size() - 1;
    }
    RedrawCells({fx.pair.firstCell, fx.pair.secondCell});
    view_.SetOverlay([this](QImage& screen) { DrawRiver(screen); });
    UpdateRiverArea();
}

void RiversPlay::StepAnimation() {
    if (!anim_.active)
        return;
    if (anim_.carrying) {
        const Cell from = anim_.path[anim_.step];
        anim_.shown.Remove(anim_.pair.first);
        if (anim_.step + 1 < anim_.path.size()) {
            const Cell to = anim_.path[++anim_.step];
            anim_.shown.Place(anim_.pair.first, to);
            RedrawCells({from, to});
        } else {
            // Arrived beside the other tile: both leave, the river stays a moment.
            anim_.carrying = false;
            RedrawCells({from, anim_.pair.secondCell, anim_.pair.firstCell});
        }
        UpdateRiverArea();
        return;
    }
    if (--anim_.lingerBeats <= 0)
        EndAnimation();
}

void RiversPlay::EndAnimation() {
    if (!anim_.active)
        return;
    const bool wasCarrying = Carrying();
    const std::vector<Cell> cells = {anim_.pair.firstCell, anim_.pair.secondCell, CarriedAt()};
    UpdateRiverArea();
    anim_ = Animation{};
    view_.ClearOverlay();
    // The board shows the model's own board again.
    if (wasCarrying)
        RedrawCells(cells);
    else
        SyncScene();
}

void RiversPlay::Tick() {
    if (InRivers())
        StepAnimation();
}

void RiversPlay::FinishAnimations() {
    // The last river is seen to its end before the game-over dialog shows.
    QElapsedTimer t;
    t.start();
    while (Carrying() && t.elapsed() < kFinishMs) {
        StepAnimation();
        view_.ShowBoardBuffer();
    }
    EndAnimation();
}

QPoint RiversPlay::CellMiddle(const Cell& c) const {
    const BoardRenderer& r = view_.Area().renderer;
    const int layer = std::max(0, c.layer - 1);
    return {r.CoordX(c.column - 1, layer) + view_.TileWidth() / 2,
            r.CoordY(c.row - 1, layer) + view_.TileHeight() / 2};
}

// The part of `Game2` the river covers is painted again.
void RiversPlay::UpdateRiverArea() {
    QWidget* game2 = form_.Game2();
    if (!game2 || anim_.line.empty())
        return;
    int left = INT32_MAX, top = INT32_MAX, right = INT32_MIN, bottom = INT32_MIN;
    for (const Cell& c : anim_.line) {
        const QPoint m = CellMiddle(c);
        left = std::min(left, m.x());
        top = std::min(top, m.y());
        right = std::max(right, m.x());
        bottom = std::max(bottom, m.y());
    }
    const double dpr = view_.DevicePixelRatio();
    const int pad = 8 + view_.TileWidth(); // the pen and the tile drawn at either end
    game2->update(QRect(int(std::floor((left - pad) / dpr)), int(std::floor((top - pad) / dpr)),
                        int(std::ceil((right - left + 2 * pad) / dpr)) + 1,
                        int(std::ceil((bottom - top + 2 * pad) / dpr)) + 1));
}

void RiversPlay::DrawRiver(QImage& screen) {
    if (!anim_.active || anim_.line.size() < 2)
        return;
    QPainter p(&screen);
    p.setRenderHint(QPainter::Antialiasing);
    const double scale = view_.DevicePixelRatio();
    QPen pen(PenColour(view_.Area().renderer.highlightColour));
    pen.setWidthF(4 * scale);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    // While the tile slides, the river ahead of it; afterwards the whole river.
    const size_t from = Carrying() ? anim_.step : 0;
    QPolygon line;
    for (size_t i = from; i < anim_.line.size(); ++i)
        line << CellMiddle(anim_.line[i]);
    p.drawPolyline(line);
    // A dot at each end marks where the pair stood.
    p.setBrush(pen.color());
    const int r = int(std::lround(5 * scale));
    p.drawEllipse(CellMiddle(anim_.line.front()), r, r);
    p.drawEllipse(CellMiddle(anim_.line.back()), r, r);
}

} // namespace tovani
