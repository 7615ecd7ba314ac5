// Memory in the window: the deals of both boards from the menus and the welcome screen, the
// face-down board, the click that turns a tile over, the half-second reveal resolved on the
// 50 ms tick (the pair leaves, or turns back at a cost of two seconds), and the end of the game
// into the hall of fame.
//
// The rules live in the Memory model (games/memory/MemoryGame.h). The window counts the reveal
// down on every 50 ms tick, paused or not, and calls the `PairCheck` hook when it runs out; the
// model is then told as many ticks as it still waits for.
#pragma once

#include "games/memory/MemoryGame.h"
#include "play/Game.h"

#include <QObject>
#include <QPoint>
#include <QString>

#include <vector>

namespace tovani {

class BoardView;
class GameServices;
class HallKeeper;
class TMainForm;

class MemoryPlay : public QObject, public Game {
    Q_OBJECT
public:
    MemoryPlay(GameServices& services, HallKeeper& hall);
    ~MemoryPlay() override;

    // ---- The game interface ------------------------------------------------------------------
    std::string Name() const override { return "Memory"; }
    void Start(const std::string& sender) override;
    void CountTiles() override;
    void Click(int x, int y, MouseButton button) override;
    void FullRedraw() override { Redraw(); }
    GameResult Result() const override;

    // ---- Starting --------------------------------------------------------------------------
    // "Memory": the sender's objectName tells the board (Easy or Hard); any other sender deals
    // the board in play again.
    void StartMemory(QObject* sender);

    // ---- Play ------------------------------------------------------------------------------
    // A click on a tile (0: the click hit no tile).
    void ClickTile(int tile);
    // The reveal has run its time: the pair leaves or turns back.
    void PairCheck();

    // ---- State, for tests --------------------------------------------------------------------
    const MemoryGame& Model() const { return game_; }
    // Where a tile stands on `Game2`: the middle of its face in widget coordinates; (-1, -1)
    // when it is not on the board or nothing is drawn yet.
    QPoint TileCentre(int tile) const;

private:
    void Register();
    QString Tr(const QString& s) const;
    bool InMemory() const;
    void SyncScene();
    void Redraw();
    void RedrawTiles(const std::vector<int>& tiles);
    void RedrawCells(const std::vector<Cell>& cells);

    GameServices& services_;
    HallKeeper& hall_;
    TMainForm& form_;
    BoardView& view_;
    MemoryGame game_;
};

} // namespace tovani
