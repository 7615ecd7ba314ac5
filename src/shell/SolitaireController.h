// Solitaire in the window: loading layouts and dealing, the mouse on the board, selecting and
// removing pairs with their sounds and the flight of the removed tiles on the 12 ms timer,
// hints, Back, Redo and Restart, shuffles, the two-player game with its turns and clocks, the
// end of a game, and the hall of fame (its file, its dialog and the side strip).
//
// The rules live in the Solitaire models (Board, Dealer, SolitairePlay, Flight) and in
// HallOfFame; this class turns the window's commands and mouse clicks into calls on them and
// performs what they answer: sounds, redraws, status texts, dialogs. It hooks itself into the
// window by command name (see TMainForm::SetHandler) and draws through the BoardView.
//
// Besides the Solitaire commands it drives the window's 12 ms thread timer `TimerColumns`: each
// tick runs the Solitaire flight, then the `Timer1timer` hook for the games that need the beat.
#pragma once

#include "core/IniFile.h"
#include "core/Random.h"
#include "scores/HallOfFame.h"
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
#include <memory>
#include <vector>

class QAction;
class QDialog;
class QPainter;
class QRect;

namespace tovani {

class BoardView;
class TMainForm;
class TThreadTimer;

class SolitaireController : public QObject {
    Q_OBJECT
public:
    SolitaireController(TMainForm& form, BoardView& view);
    ~SolitaireController() override;

    // ---- What a dialog or a question does (tests answer them without showing them) ---------
    // Shows a modal dialog and answers its result. By default it runs the dialog.
    using DialogRunner = std::function<int(QDialog&)>;
    void SetDialogRunner(DialogRunner runner) { runDialog_ = std::move(runner); }
    // An OK/Cancel question; true for OK. By default a message box, or OK when the window is
    // not interactive.
    using QuestionRunner = std::function<bool(const QString& title, const QString& text)>;
    void SetQuestionRunner(QuestionRunner runner) { ask_ = std::move(runner); }
    // A message for the player. By default a message box, or the status line when the window
    // is not interactive.
    using MessageRunner = std::function<void(const QString& title, const QString& text)>;
    void SetMessageRunner(MessageRunner runner) { inform_ = std::move(runner); }

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
    void Hint();
    void Back();
    void Redo();
    void Restart();
    void GoBack();
    void CountTiles();
    void GameOver();
    void Timer1timer();
    void AniSpeedClick();
    void AnimTypeClick();

    // ---- Hall of fame ----------------------------------------------------------------------
    void ShowScores();
    void ShowPanelHOF();
    void ReadHallOfFame();
    // Writes "Hallfame.ini" now (after an entry, a reset and at close). False on a failed write.
    bool WriteHallOfFame();
    // Draws the side strip (the window's painter of `HofBox`).
    void PaintHallOfFame(QPainter& p, const QRect& r);

    // ---- State, for the strip, the saved games and tests ------------------------------------
    Board& GameBoard() { return board_; }
    const SolitairePlay& PlayState() const { return play_; }
    // The play state to restore a saved game into (history, match counter, clocks).
    SolitairePlay& PlayModel() { return play_; }
    const Layout& CurrentLayout() const { return layout_; }
    const Deal& LastDeal() const { return deal_; }
    HallOfFame& Hall() { return hall_; }
    RandomGenerator& Rng() { return rng_; }
    const Flight& CurrentFlight() const { return flight_; }
    FreeRule Rule() const;
    int LastHallRank() const { return lastHallRank_; }
    // Where a tile stands on `Game2`: the middle of its face, in widget coordinates; (-1, -1)
    // when it is not on the board or nothing is drawn yet.
    QPoint TileCentre(int tile) const;
    // The Layout menu's item of layout `number` (1..), or null.
    QAction* LayoutItem(int number) const;
    // The game-over dialog's texts as last shown (for the status of a finished game and tests).
    struct GameOverTexts {
        QString finalTime;
        bool enterFame = false;
        bool shown = false;
    };
    const GameOverTexts& LastGameOver() const { return lastGameOver_; }
    // How many times the strip was drawn (tests: the strip follows the game).
    int StripPaints() const { return stripPaints_; }

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

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Register();
    QString Tr(const QString& s) const;
    bool Interactive() const;
    void Inform(const QString& title, const QString& text);
    int RunDialog(QDialog& d);
    bool Ask(const QString& title, const QString& text);
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
    void LaunchBoard(int board);
    void SyncTurnStarts(bool toModel);
    AnimationType CurrentAnimationType() const;
    void UpdateRedoEnabled();
    void ClearHallHighlight();
    QImage GirlPicture(int index);
    int GirlIndex();
    bool Vozedo() const;
    QString HallFilePath() const;

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
    RandomGenerator rng_;
    Flight flight_;
    std::array<FlightPoint, 2> flightAt_{};
    bool flightDraw_ = false;
    TThreadTimer* timerColumns_ = nullptr;
    int playedMode_ = 0; // the game mode the finished game was played in
    bool inGameOver_ = false;
    bool handDown_ = false;

    HallOfFame hall_;
    IniFile hallFile_;
    int lastHallRank_ = 0;
    bool hallEntryPending_ = false;
    bool hallWritePending_ = false;
    QImage hofPicture_;
    std::vector<QImage> girls_;
    int hashiraGirl_ = 0;
    int stripPaints_ = 0;
    int currentTile_ = 0; // "Show Current Tile": the tile under the mouse, 0 for none
    bool hallRead_ = false;
    GameOverTexts lastGameOver_;

    // The handlers of the shared commands before this hooked them.
    std::vector<std::pair<QString, std::function<void(QObject*)>>> previous_;

    bool demoPlayed_ = false;

    DialogRunner runDialog_;
    QuestionRunner ask_;
    MessageRunner inform_;
};

} // namespace tovani
