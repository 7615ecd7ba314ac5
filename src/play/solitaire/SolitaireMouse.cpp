#include "play/solitaire/SolitaireGame.h"

#include "play/BoardView.h"
#include "play/GameServices.h"
#include "play/HallKeeper.h"
#include "scores/HallOfFame.h"
#include "shell/MainForm.h"

#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace tovani {

namespace {

QString MinutesSeconds(int64_t seconds) {
    return QString::fromStdString(HallOfFame::FormatTime(seconds));
}

} // namespace

// ---- The mouse --------------------------------------------------------------------------------

void SolitaireGame::Click(int x, int y, MouseButton button) {
    // ButtonDown: the left button released over the board plays in game modes 1 and 2.
    if (InSolitaire() && button == MouseButton::Left)
        ChoisitPai(QPoint(x, y), Qt::LeftButton);
}

void SolitaireGame::ChoisitPai(const QPoint& point, Qt::MouseButton button) {
    if (button != Qt::LeftButton)
        return;
    ClickTile(view_.TileAt(point));
}

void SolitaireGame::ClickTile(int tile) {
    if (!InSolitaire() || placing_ || hall_.InGameOver() || form_.Session().gameOver)
        return;
    if (tile == 0 || !board_.Position(tile).OnBoard())
        return; // a click on empty board does nothing at all
    const bool twoPlayers = form_.GameMode() == kModeTwoPlayers;
    if (twoPlayers)
        SyncTurnStarts(true);
    const uint32_t now = form_.GameClock().TickMs();
    PlayEffects fx = play_.ChoisitPai(board_, tile, Rule(), twoPlayers, now);
    for (tovani::Sound snd : fx.sounds)
        Sound(snd);
    if (fx.removed) {
        PerformRemoval(fx);
        return;
    }
    RedrawTiles(fx.redrawTiles);
}

void SolitaireGame::PerformRemoval(const PlayEffects& fx) {
    // A flight still in the air ends at once.
    EndFlight();
    if (form_.Option("AnimateTiles"))
        StartFlight(fx.pair);
    RedrawCells({fx.pair.firstCell, fx.pair.secondCell});
    AfterPair(fx.turnPassed);
}

void SolitaireGame::AfterPair(bool turnPassed) {
    GameSession& s = form_.Session();
    s.tilesLeft = board_.tilesLeft;
    s.matchCounter = play_.matchCounter;
    if (turnPassed)
        SyncTurnStarts(false);
    if (form_.Option("ShowGirls") || turnPassed)
        form_.RedrawHallOfFame();
    UpdateRedoEnabled();
    if (onPairRemoved)
        onPairRemoved();
}

void SolitaireGame::ClearSelection() {
    if (play_.firstPick == 0 && play_.secondPick == 0 && play_.hintA == 0 && play_.hintB == 0)
        return;
    const std::vector<int> was = {play_.firstPick, play_.secondPick, play_.hintA, play_.hintB};
    play_.ClearSelection();
    SyncScene();
    std::vector<int> redraw;
    for (int t : was)
        if (t != 0)
            redraw.push_back(t);
    RedrawTiles(redraw);
}

// The strip's Solitaire part: the tile under the mouse, and the two players' clocks.
void SolitaireGame::PaintStrip(QPainter& p, int t) {
    (void)t;
    GameSession& s = form_.Session();
    const int mode = form_.GameMode();
    const bool showTile = form_.Option("ShowCurrentTile");
    auto textAt = [&p](int x, int y, const QString& text) {
        p.drawText(x, y + p.fontMetrics().ascent(), text);
    };
    // "Show Current Tile": the tile under the mouse in one-player Solitaire.
    if (mode == kModeSolitaire && showTile && currentTile_ != 0) {
        QImage tile = view_.TilePicture(FaceOf(currentTile_));
        if (!tile.isNull()) {
            const int e =
                std::max(0, int(std::lround(view_.EdgeSize() / view_.DevicePixelRatio())));
            QImage scaled =
                tile.scaled(40 + e, 50 + e, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            p.drawImage(QPoint(30 - e, 390), scaled);
        }
    }
    // Two players: both names and clocks, the name of the player to move blinking.
    // The clocks stay on the strip behind the winner's dialog too.
    const bool finished = mode == kModeGameOver && twoPlayerGame_ && hall_.InGameOver();
    if (mode == kModeTwoPlayers || (mode == kModePaused && s.modeBeforePause == kModeTwoPlayers) ||
        finished) {
        const QImage& hofPicture = hall_.StripPicture();
        if (!hofPicture.isNull())
            p.drawImage(QRect(0, 380, 92, 88), hofPicture,
                        QRect(0, 380 % std::max(1, hofPicture.height()), 92, 88));
        const uint32_t now = form_.GameClock().TickMs();
        SyncTurnStarts(true);
        const bool player2 = play_.clocks.player2Turn;
        QFont nameFont("Arial");
        nameFont.setPointSize(12);
        nameFont.setBold(true);
        QFont timeFont("Arial");
        timeFont.setPointSize(10);
        for (int player = 1; player <= 2; ++player) {
            const bool toMove = (player == 2) == player2;
            const int y = player == 1 ? 382 : 424;
            p.setFont(nameFont);
            p.setPen(player == 1 ? Qt::yellow : Qt::cyan);
            const QString name = Tr(player == 1 ? "PLAYER 1" : "PLAYER 2");
            // At the end nobody is to move: both names stand still beside their final times.
            if (finished || !toMove || now % 1000 > 500)
                textAt((92 - p.fontMetrics().horizontalAdvance(name)) / 2, y, name);
            int64_t ms = play_.clocks.TimeOf(player, now);
            if (finished)
                ms = player == 1 ? play_.clocks.player1Ms : play_.clocks.player2Ms;
            else if (mode == kModePaused && toMove)
                ms = (player == 1 ? play_.clocks.player1Ms : play_.clocks.player2Ms) +
                     s.clocks.playerPausedElapsed[player - 1];
            p.setFont(timeFont);
            p.setPen(Qt::white);
            textAt(30, y + 20, MinutesSeconds(ms / 1000));
        }
    }
}

} // namespace tovani
