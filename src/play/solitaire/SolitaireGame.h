// Solitaire in the window: loading layouts and dealing, the mouse on the board, selecting and
// removing pairs with their sounds and the flight of the removed tiles on the 12 ms timer,
// hints, Back, Redo and Restart, shuffles, and the two-player game with its turns and clocks.
//
// The rules live in the Solitaire models (Board, Dealer, SolitairePlay, Flight); this class
// turns the window's commands and mouse clicks into calls on them and performs what they
// answer: sounds, redraws, status texts, dialogs. The window reaches it through the game
// interface in game modes 1 and 2; its own commands (the deals, the layouts, its options) are
// hooked by command name. It draws through the BoardView.
//
// The code is split by concern: SolitaireGame.cpp (layouts, deals, commands and the history),
// SolitaireMouse.cpp (clicks, removals and the strip's two-player clocks), SolitaireFlight.cpp
// (the flight of a removed pair).
#pragma once

#include "core/Random.h"
#include "play/Game.h"
#include "solitaire/Board.h"
#include "solitaire/Dealer.h"
#include "solitaire/Flight.h"
#include "solitaire/FreeRules.h"
#include "solitaire/Play.h"

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QString>

#include <array>
#include <functional>
#include <vector>

class QAction;
class QPainter;

namespace tovani {

class BoardView;
class GameServices;
class HallKeeper;
class TMainForm;

class SolitaireGame : public QObject, public Game {
    Q_OBJECT
public:
    SolitaireGame(GameServices& services, HallKeeper& hall);
    ~SolitaireGame() override;

    // ---- The game interface ------------------------------------------------------------------
    std::string Name() const override { return "Solitaire"; }
    void Start(const std::string& sender) override;
    void Back() override;
    void Redo() override;
    bool CanRedo() const override;
    void Hint() override;
    void Shuffle() override { Shuffle1Click(); }
    void Restart() override;
    void GoBack() override;
    void CountTiles() override;
    void Click(int x, int y, MouseButton button) override;
    void Tick() override;
    void FullRedraw() override { Redraw(); }
    void Pause() override { EndFlight(); }
    void Leave() override { EndFlight(); }
    GameResult Result() const override;
    void FinishAnimations() override;
    // Saved games (SolitaireSave.cpp): the one-player game in play, and resuming a file's
    // position on its layout once it has been checked whole.
    bool SaveState(std::string& out) const override;
    bool LoadState(const std::string& in, std::string& error) override;

    // ---- Layouts and dealing ---------------------------------------------------------------
    void RunLayout(QObject* sender);
    void RunShpLayout(QObject* sender);
    void BeginGame(QObject* sender);
    void TwoPlayers(QObject* sender);
    void RandomSolitaireGame1Click(QObject* sender);
    void NewSpecificGame1Click(QObject* sender);
    void VerticalClick();
    void Shuffle1Click();

    // ---- Play ------------------------------------------------------------------------------
    // A click on the board at a point of `Game2` (widget coordinates), as `ButtonDown` passes
    // it on in game modes 1 and 2.
    void ChoisitPai(const QPoint& point, Qt::MouseButton button);
    // A click on a tile (0: the click hit no tile).
    void ClickTile(int tile);
    void AniSpeedClick();
    void AnimTypeClick();

    // ---- State, for the strip, the saved games and tests ------------------------------------
    Board& GameBoard() { return board_; }
    const SolitairePlay& PlayState() const { return play_; }
    // The play state to restore a saved game into (history, match counter, clocks).
    SolitairePlay& PlayModel() { return play_; }
    const Layout& CurrentLayout() const { return layout_; }
    const Deal& LastDeal() const { return deal_; }
    RandomGenerator& Rng();
    const Flight& CurrentFlight() const { return flight_; }
    FreeRule Rule() const;
    // Where a tile stands on `Game2`: the middle of its face, in widget coordinates; (-1, -1)
    // when it is not on the board or nothing is drawn yet.
    QPoint TileCentre(int tile) const;

    // ---- What the solver's Demo and warning need ---------------------------------------------
    // Called after every pair taken off the board (also by Redo), and when the position starts
    // again: a new deal, Back, Restart or a shuffle.
    std::function<void()> onPairRemoved;
    std::function<void()> onPositionReset;
    // A game finished by the Demo enters no hall of fame; a new deal clears the mark.
    void SetDemoPlayed(bool on) { demoPlayed_ = on; }
    bool DemoPlayed() const { return demoPlayed_; }
    // Drops the selection (and the hint) and redraws, so the Demo's clicks start afresh.
    void ClearSelection();
    // Frames of a removal flight at the chosen "Animation Speed".
    int CurrentAnimationFrames() const;

private:
    void Register();
    QString Tr(const QString& s) const;
    bool InSolitaire() const; // game mode 1 or 2
    void Sound(tovani::Sound s);
    void SyncScene();
    void Redraw();
    void RedrawTiles(const std::vector<int>& tiles);
    void RedrawCells(const std::vector<Cell>& cells);
    void StartGame(QObject* sender, bool twoPlayers);
    void LoadLayout(QObject* sender);
    void AnimatePlacing(const std::vector<int>& order);
    bool AnimateConditions() const;
    void StartFlight(const RemovedPair& pair);
    void EndFlight();
    void StepFlight();
    void DrawFlight(QImage& screen);
    void PerformRemoval(const PlayEffects& fx);
    void AfterPair(bool turnPassed);
    void CheckLayoutItem(int number);
    void SyncTurnStarts(bool toModel);
    AnimationType CurrentAnimationType() const;
    void UpdateRedoEnabled();
    void PaintStrip(QPainter& p, int t);

    GameServices& services_;
    HallKeeper& hall_;
    TMainForm& form_;
    BoardView& view_;
    Board board_;
    Board placingBoard_; // what the board shows while a deal or a shuffle is drawn tile by tile
    bool placing_ = false;
    Layout layout_;
    bool haveLayout_ = false;
    int layoutBoard_ = 0; // the board number of the layout in play
    QString layoutPath_;  // its file
    SolitairePlay play_;
    Deal deal_;
    Flight flight_;
    std::array<FlightPoint, 2> flightAt_{};
    bool flightDraw_ = false;
    int currentTile_ = 0; // "Show Current Tile": the tile under the mouse, 0 for none
    bool demoPlayed_ = false;
    bool twoPlayerGame_ = false; // the game in play (or just finished) is the two-player one
};

} // namespace tovani
