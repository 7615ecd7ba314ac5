// Slider in the window: Easy (with jokers) and Hard and their start commands, the grid in its
// own box `SliderBox` with the next tiles beside it in `SliderNext` and the score in the score
// panel, a click to pick a tile and a click to slide it (the tile seen walking its path with
// "Animate Sliding Tiles in Slider", the new tiles seen arriving with "Animate New Tiles in
// Slider"), the hover frame ("Highlight Slider"), the keyboard cursor, the one-step Back, and the
// end of the game when the grid fills.
//
// The rules live in the Slider model (games/slider); this class turns clicks and keys into calls
// on it and performs what it answers. Both boxes are drawn into pictures of their own, which
// their paint handlers only copy.
//
// The code is split by concern: SliderController.cpp (commands, input, animation) and
// SliderDraw.cpp (the pictures of the two boxes).
#pragma once

#include "games/slider/Slider.h"
#include "play/Game.h"

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QString>

#include <vector>

class QTimer;
class QWidget;

namespace tovani {

class BoardView;
class GameServices;
class HallKeeper;
class TMainForm;

class SliderController : public QObject, public Game {
    Q_OBJECT
public:
    SliderController(GameServices& services, HallKeeper& hall);
    ~SliderController() override;

    // ---- The game interface ------------------------------------------------------------------
    std::string Name() const override { return "Slider"; }
    void Start(const std::string& sender) override;
    void Back() override;
    void GoBack() override { Back(); }
    void CountTiles() override;
    bool KeyDown(int key) override;
    void FullRedraw() override { RedrawSlider(); }
    void Pause() override { FinishAnimations(); }
    void Resume() override;
    void Leave() override;
    GameResult Result() const override;
    void Describe3D(Scene3DContent& out) const override;
    void Click3D(int name, MouseButton button) override;
    void FinishAnimations() override;
    bool SaveState(std::string& out) const override;
    bool LoadState(const std::string& in, std::string& error) override;

    // The start command: the sender's objectName chooses the level (null keeps the board's).
    void Sliders(QObject* sender);
    // `SliderBox`'s mouse: the release is the click, the move the hover (box coordinates).
    void SliderUp(int x, int y, MouseButton button);
    void SliderMove(int x, int y);

    // ---- State, for tests ----------------------------------------------------------------------
    const SliderGame& Model() const { return model_; }
    bool Animating() const { return frame_ < frames_.size(); }
    bool CursorShown() const { return cursorShown_; }
    FieldCell Hovered() const { return hovered_; }
    // The middle of a cell's face in `SliderBox`.
    static QPoint CellCentre(FieldCell cell);
    // The pictures the two boxes show.
    const QImage& BoxPicture() const { return box_; }
    const QImage& NextPicture() const { return next_; }
    // Puts the game in another state (tests build positions with it); answers the model's check.
    SliderStateProblem SetState(const SliderState& state);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // One picture of the animation: the grid as it shows, a cell that a new tile has just
    // filled (none otherwise), and the sounds that go with it.
    struct Frame {
        SliderGrid grid;
        FieldCell arrived;
        std::vector<Sound> sounds; // played when the frame shows
    };

    QString Tr(const QString& s) const;
    bool InSlider() const;
    void Perform(const SliderEffects& fx, const SliderGrid& before);
    void StepAnimation();
    void EndGame();
    void AfterMove();
    void UpdateBackEnabled();
    void UpdateCursorShape();

    // SliderDraw.cpp: composes both pictures and asks the boxes to copy them.
    void RedrawSlider();
    void ComposeBox();
    void ComposeNext();
    QImage GridPicture() const;
    QImage NextGridPicture() const;

    GameServices& services_;
    HallKeeper& hall_;
    TMainForm& form_;
    BoardView& view_;
    QWidget* boxWidget_ = nullptr;
    QWidget* nextWidget_ = nullptr;
    SliderGame model_;
    SliderGrid shown_;                   // what the box shows (a step of an animation)
    std::array<uint8_t, 3> shownNext_{}; // what the next box shows
    FieldCell arrived_;                  // a tile that has just come in (drawn brighter)
    std::vector<Frame> frames_;
    size_t frame_ = 0;
    bool endAfterAnimation_ = false;
    FieldCell hovered_;
    bool cursorShown_ = false;
    QImage box_, next_;
    QImage grid_, nextGrid_; // the boxes' backgrounds, made once
    QTimer* timer_ = nullptr;
};

} // namespace tovani
