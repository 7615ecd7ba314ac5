#include "play/solitaire/SolitaireGame.h"

#include "play/BoardView.h"
#include "shell/MainForm.h"

#include <QElapsedTimer>
#include <QRegion>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace tovani {

namespace {

// A game's end lets a running flight finish for at most this long.
constexpr int kFlightFinishMs = 1000;

} // namespace

// ---- The flight -------------------------------------------------------------------------------

void SolitaireGame::StartFlight(const RemovedPair& pair) {
    const BoardRenderer& r = view_.Area().renderer;
    const int e = view_.EdgeSize();
    if (view_.TileWidth() <= 0 || r.BoardBuffer.IsEmpty())
        return;
    auto startOf = [&](const Cell& c) {
        return FlightPoint{r.CoordX(c.column - 1, c.layer - 1) - e,
                           r.CoordY(c.row - 1, c.layer - 1)};
    };
    FlightArea area;
    area.width = r.BoardBuffer.Width();
    area.height = r.BoardBuffer.Height();
    area.tileWidth = view_.TileWidth();
    area.tileHeight = view_.TileHeight();
    area.edge = e;
    flight_.Start({startOf(pair.firstCell), startOf(pair.secondCell)},
                  {FaceOf(pair.first), FaceOf(pair.second)}, CurrentAnimationType(),
                  Rule() == FreeRule::Vertical, area, CurrentAnimationFrames(), Rng());
    flightAt_ = flight_.starts();
    flightDraw_ = false;
    view_.SetOverlay([this](QImage& screen) { DrawFlight(screen); });
}

void SolitaireGame::EndFlight() {
    if (!flight_.Running() && !flightDraw_)
        return;
    flight_.Finish();
    flightDraw_ = false;
    view_.ClearOverlay();
}

void SolitaireGame::StepFlight() {
    if (!flight_.Running())
        return;
    Flight::Frame f = flight_.Step();
    if (f.last) {
        EndFlight();
        return;
    }
    if (f.draw) {
        // Only where the tiles were and where they are now is painted again.
        const std::array<FlightPoint, 2> before = flightAt_;
        flightAt_ = f.at;
        flightDraw_ = true;
        QWidget* game2 = form_.Game2();
        const FaceSheets& sheets = view_.Area().sheets;
        if (!game2 || sheets.IsEmpty())
            return;
        const double dpr = view_.DevicePixelRatio();
        const int w = sheets.geometry.CellWidth(), h = sheets.geometry.CellHeight();
        QRegion dirty;
        for (const auto& at : {before[0], before[1], flightAt_[0], flightAt_[1]}) {
            const int left = int(std::floor(at.x / dpr)), top = int(std::floor(at.y / dpr));
            dirty += QRect(left - 1, top - 1, int(std::ceil((at.x + w) / dpr)) - left + 2,
                           int(std::ceil((at.y + h) / dpr)) - top + 2);
        }
        game2->update(dirty);
    }
}

void SolitaireGame::DrawFlight(QImage& screen) {
    if (!flightDraw_ || screen.depth() != 32)
        return;
    const FaceSheets& sheets = view_.Area().sheets;
    if (sheets.IsEmpty())
        return;
    const int w = sheets.geometry.CellWidth(), h = sheets.geometry.CellHeight();
    const Point mask = sheets.MaskCellOrigin();
    const PixelBuffer& sheet = sheets.FaceSheet;
    for (int i = 0; i < 2; ++i) {
        const Point face = sheets.FaceCellOrigin(flight_.faces()[static_cast<size_t>(i)]);
        const int x0 = flightAt_[static_cast<size_t>(i)].x;
        const int y0 = flightAt_[static_cast<size_t>(i)].y;
        // The board AND the shape mask, then OR the face: the tile's own outline over the board.
        for (int y = std::max(0, -y0); y < h && y0 + y < screen.height(); ++y) {
            auto* dst = reinterpret_cast<uint32_t*>(screen.scanLine(y0 + y));
            const Pixel* m = sheet.ScanLine(mask.y + y) + mask.x;
            const Pixel* src = sheet.ScanLine(face.y + y) + face.x;
            for (int x = std::max(0, -x0); x < w && x0 + x < screen.width(); ++x)
                dst[x0 + x] = (dst[x0 + x] & m[x]) | src[x];
        }
    }
}

void SolitaireGame::Tick() {
    if (form_.FastTimerActive() && InSolitaire() && !form_.View3D())
        StepFlight();
}

void SolitaireGame::FinishAnimations() {
    // A flight still in the air finishes first.
    if (form_.Option("AnimateTiles") && flight_.Running()) {
        QElapsedTimer t;
        t.start();
        while (flight_.Running() && t.elapsed() < kFlightFinishMs) {
            StepFlight();
            if (QWidget* game2 = form_.Game2(); game2 && game2->isVisible())
                game2->repaint();
        }
    }
    EndFlight();
}

void SolitaireGame::AniSpeedClick() {
    EndFlight();
}

void SolitaireGame::AnimTypeClick() {
    EndFlight();
}

} // namespace tovani
