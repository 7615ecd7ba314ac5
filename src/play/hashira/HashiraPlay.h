// Hashira in the window: the start command (F7, the welcome buttons, the hall of fame's
// Launch), the game driven one step per beat of the 12 ms timer, the arrow keys, the fall-speed
// and animation options, the well in `HashiraBox`, the side panel `ColumnsPanel` (next column,
// score, tiles removed, level), the mascot of the side strip, and the end of the game into the
// "Columns" table of the hall of fame.
//
// The rules live in the model (games/hashira/HashiraGame); this class feeds it the keys and the
// beats and performs what each beat answers: sounds, the panel, the next column, game over. The
// well is composed by HashiraWell.
#pragma once

#include "games/hashira/HashiraGame.h"
#include "graphics/PixelBuffer.h"
#include "play/Game.h"

#include <QObject>
#include <QPixmap>
#include <QString>

#include <deque>

class QPainter;
class QRect;

namespace tovani {

class GameServices;
class HallKeeper;
class TMainForm;
struct HashiraEffects;

class HashiraPlay : public QObject, public Game {
    Q_OBJECT
public:
    HashiraPlay(GameServices& services, HallKeeper& hall);
    ~HashiraPlay() override;

    // ---- The game interface ------------------------------------------------------------------
    std::string Name() const override { return "Hashira"; }
    void Start(const std::string& sender) override;
    bool KeyDown(int key) override;
    void KeyUp() override;
    void Tick() override;
    void FullRedraw() override;
    void Pause() override;
    void Resume() override;
    void Leave() override;
    GameResult Result() const override;
    void Describe3D(Scene3DContent& out) const override;

    // ---- Hashira's own commands ----------------------------------------------------------------
    // Starts a game at the start level of the "Start Level" button.
    void MahJonggColumnsClick(QObject* sender);
    // Fills the panel's labels from the game.
    void ShowColumnsTexts();

    // ---- State, for tests and the benchmark ------------------------------------------------
    const HashiraGame& Model() const { return model_; }
    HashiraGame& Model() { return model_; }
    const PixelBuffer& WellBuffer() const { return well_; }
    const PixelBuffer& NextBuffer() const { return next_; }
    // Beats the game took (a paused or stopped game takes none).
    long long Beats() const { return beats_; }

private:
    void Unhook();
    void ApplyOptions();
    void Perform(const HashiraEffects& fx);
    void DrawWell();
    void DrawNext();
    void UpdateGirl(const HashiraEffects& fx);
    void ForgetKeys();
    void EndGame();
    void PaintWell(QPainter& p, const QRect& r);
    void PaintNext(QPainter& p, const QRect& r);
    QString Tr(const QString& s) const;

    GameServices& services_;
    HallKeeper& hall_;
    TMainForm& form_;
    HashiraGame model_;
    PixelBuffer well_;
    PixelBuffer next_;
    PixelBuffer digits_;  // the digit strip of the points banner
    QPixmap floor_;       // the marble under the well
    bool stopped_ = true; // no game, or the game was left
    static constexpr size_t kKeyQueueLength = 3;
    std::deque<HashiraKey> keyQueue_; // key-downs not yet served, one a beat
    bool releasePending_ = false;     // a release that follows them
    long long beats_ = 0;
    int girl_ = 0;
    int cheerTicks_ = 0; // the mascot celebrates a new level this long
};

} // namespace tovani
