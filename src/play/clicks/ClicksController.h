// Clicks in the window: the three levels and their start commands, the field drawn from the
// small tileset over the play area's background, clicks and the keyboard cursor, the settling
// passes shown one by one ("Animate Falling Tiles in Clicks"), the 50 ms count with the give-up
// question, Back and Restart, and the end of the game.
//
// The rules live in the Clicks model (games/clicks); this class turns the window's commands,
// clicks and keys into calls on it and performs what it answers: sounds, redraws, status texts,
// the question. It draws into the board picture each time the board view redraws it, so the
// paint handler only copies the finished picture.
#pragma once

#include "games/clicks/Clicks.h"
#include "play/Game.h"

#include <QObject>
#include <QRect>
#include <QString>

#include <vector>

class QTimer;

namespace tovani {

class BoardView;
class GameServices;
class HallKeeper;
class TMainForm;

class ClicksController : public QObject, public Game {
    Q_OBJECT
public:
    ClicksController(GameServices& services, HallKeeper& hall);
    ~ClicksController() override;

    // ---- The game interface ------------------------------------------------------------------
    std::string Name() const override { return "Clicks"; }
    void Start(const std::string& sender) override;
    void Back() override;
    void Restart() override;
    void GoBack() override { Back(); }
    void CountTiles() override;
    void Click(int x, int y, MouseButton button) override;
    bool KeyDown(int key) override;
    void FullRedraw() override { Redraw(); }
    // A pause hides the field; the settling comes to its end at once.
    void Pause() override;
    void Resume() override;
    void Leave() override { FinishAnimations(); }
    GameResult Result() const override;
    void Describe3D(Scene3DContent& out) const override;
    void Click3D(int name, MouseButton button) override;
    void FinishAnimations() override;

    // The start command: the sender's objectName chooses the level (null keeps the board's).
    void MahJonggClicks(QObject* sender);

    // ---- State, for tests ----------------------------------------------------------------------
    const ClicksGame& Model() const { return model_; }
    ClicksGame& Model() { return model_; }
    bool Animating() const { return frame_ < frames_.size(); }
    bool CursorShown() const { return cursorShown_; }
    // The field's 640 x 448 area on `Game2` (widget coordinates).
    QRect FieldArea() const;
    // The middle of a cell's face on `Game2`.
    QPoint CellCentre(FieldCell cell) const;
    // Puts the field in another state (tests build positions with it); answers the model's check.
    ClicksStateProblem SetState(const ClicksState& state);

private:
    QString Tr(const QString& s) const;
    bool InClicks() const;
    void Perform(const ClicksEffects& fx, const ClicksGrid& before);
    void StartAnimation(std::vector<ClicksGrid> frames);
    void StepAnimation();
    void EndGame();
    void Redraw();
    // Draws the field into the board picture (after the board view drew the background).
    void RedrawClicks();
    void UpdateBackEnabled();

    GameServices& services_;
    HallKeeper& hall_;
    TMainForm& form_;
    BoardView& view_;
    ClicksGame model_;
    ClicksGrid shown_{};             // what the screen shows (a settling pass while animating)
    std::vector<ClicksGrid> frames_; // the passes still to show
    size_t frame_ = 0;
    bool endAfterAnimation_ = false;
    bool cursorShown_ = false;
    QTimer* timer_ = nullptr;
};

} // namespace tovani
