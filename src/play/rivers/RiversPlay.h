// Rivers in the window: the deals of both boards from the menus and the welcome screen, the
// clicks, the carried tile sliding along its river on the 12 ms beat and the river drawn for a
// moment once the pair has gone, hints, Back, Redo, Restart and the shuffle with their costs,
// the moves count and "no more moves", and the end of the game into the hall of fame.
//
// The rules live in the Rivers model (games/rivers/RiversGame.h), whose board is final after
// every action; what the player sees of a removal is drawn from a copy of the board while it
// lasts. Any click or command during that animation ends it first, so the board the player
// acts on is always the model's own.
//
// The code is split by concern: RiversPlay.cpp (starting, commands, clicks, the count) and
// RiversAnimation.cpp (the carried tile and the river line).
#pragma once

#include "games/rivers/RiversGame.h"
#include "play/Game.h"
#include "solitaire/Board.h"

#include <QObject>
#include <QPoint>
#include <QString>

#include <vector>

class QImage;

namespace tovani {

class BoardView;
class GameServices;
class HallKeeper;
class TMainForm;

class RiversPlay : public QObject, public Game {
    Q_OBJECT
public:
    // Beats of the 12 ms timer the river stays drawn once the carried tile has arrived.
    static constexpr int kRiverShowBeats = 30;

    RiversPlay(GameServices& services, HallKeeper& hall);
    ~RiversPlay() override;

    // ---- The game interface ------------------------------------------------------------------
    std::string Name() const override { return "Rivers"; }
    void Start(const std::string& sender) override;
    void Back() override;
    void Redo() override;
    bool CanRedo() const override { return game_.CanRedo(); }
    void Hint() override;
    void Shuffle() override;
    void Restart() override;
    void GoBack() override;
    void CountTiles() override;
    void Click(int x, int y, MouseButton button) override;
    void Tick() override;
    void FullRedraw() override { Redraw(); }
    void Pause() override { EndAnimation(); }
    void Leave() override { EndAnimation(); }
    GameResult Result() const override;
    void FinishAnimations() override;
    bool SaveState(std::string& out) const override;
    bool LoadState(const std::string& in, std::string& error) override;

    // ---- Starting --------------------------------------------------------------------------
    // "FourRivers": the sender's objectName tells the board (Easy or Hard); any other sender
    // deals the board in play again.
    void FourRivers(QObject* sender);
    // Takes up a game from its saved state with a fresh clock. A state the game cannot be in
    // changes nothing and answers false with the reason.
    bool Resume(const RiversState& state, std::string* why = nullptr);

    // ---- Play ------------------------------------------------------------------------------
    // A click on a tile (0: the click hit no tile).
    void ClickTile(int tile);

    // ---- State, for tests --------------------------------------------------------------------
    const RiversGame& Model() const { return game_; }
    // Where a tile stands on `Game2`: the middle of its face in widget coordinates; (-1, -1)
    // when it is not on the board or nothing is drawn yet.
    QPoint TileCentre(int tile) const;
    // A removal is being shown: the tile is carried, or the river is still drawn.
    bool Animating() const { return anim_.active; }
    bool Carrying() const { return anim_.active && anim_.carrying; }
    // Where the carried tile stands now (during the carry), and the river being shown: the
    // carried tile's first place, every place of the river, the place of the other tile.
    Cell CarriedAt() const;
    const std::vector<Cell>& ShownRiver() const { return anim_.line; }

private:
    void FitView();
    void Register();
    QString Tr(const QString& s) const;
    bool InRivers() const;
    void SyncScene();
    void Redraw();
    void RedrawTiles(const std::vector<int>& tiles);
    void RedrawCells(const std::vector<Cell>& cells);
    void PerformRemoval(const RiversEffects& fx);
    void AfterChange();
    void UpdateRedoEnabled();

    // The removal animation (RiversAnimation.cpp).
    void StartAnimation(const RiversEffects& fx);
    void StepAnimation();
    void EndAnimation();
    void DrawRiver(QImage& screen);
    QPoint CellMiddle(const Cell& c) const; // device pixels
    void UpdateRiverArea();

    GameServices& services_;
    HallKeeper& hall_;
    TMainForm& form_;
    BoardView& view_;
    RiversGame game_;

    struct Animation {
        bool active = false;
        Board shown; // the model's board with the leaving pair where it is seen
        RemovedPair pair;
        std::vector<Cell> path; // the places the carried tile visits
        std::vector<Cell> line; // the river drawn: path then the other tile's place
        size_t step = 0;        // index in `path` of the carried tile's place
        bool carrying = false;  // the tile is on its way (else the river alone is shown)
        int lingerBeats = 0;    // beats the river stays once the tile has arrived
    };
    Animation anim_;
};

} // namespace tovani
