// The window's table of games: the shared commands, the 50 ms count, the mouse on the play
// area, the keys and the 12 ms beat go to the game of the current mode.
#include "shell/MainForm.h"
#include "shell/ShellWidgets.h"
#include "shell/ThreadTimer.h"

#include <QAction>
#include <QMenu>
#include <QMouseEvent>

namespace tovani {

namespace {

// The removal flight and Hashira beat every 12 ms.
constexpr int kFastTimerInterval = 12;

MouseButton ButtonOf(Qt::MouseButton b) {
    switch (b) {
    case Qt::RightButton:
        return MouseButton::Right;
    case Qt::MiddleButton:
        return MouseButton::Middle;
    default:
        return MouseButton::Left;
    }
}

} // namespace

void TMainForm::RegisterGame(std::initializer_list<int> modes, Game* game) {
    for (int mode : modes)
        if (mode >= kModeSolitaire && mode <= kModeEditor)
            games_[static_cast<size_t>(mode)] = game;
}

Game* TMainForm::GameOf(int mode) const {
    if (mode < kModeSolitaire || mode > kModeEditor)
        return nullptr;
    return games_[static_cast<size_t>(mode)];
}

QAction* TMainForm::LayoutItem(int number) const {
    QMenu* menu = TopMenu("Layout1");
    if (!menu)
        return nullptr;
    for (QAction* a : menu->actions()) {
        QString handler = a->property("handler").toString();
        if ((handler == "LoadlayoutClick" || handler == "LoadShplayoutClick") &&
            a->property("tag").toInt() == number)
            return a;
    }
    return nullptr;
}

void TMainForm::RunOnGame(void (Game::*command)()) {
    if (Game* game = CurrentGame())
        (game->*command)();
}

void TMainForm::RegisterGameCommands() {
    auto shared = [this](const char* name, void (Game::*command)()) {
        builtins_.insert(name, [this, command](QObject*) { RunOnGame(command); });
    };
    shared("Back", &Game::Back);
    shared("Redo", &Game::Redo);
    shared("Hint", &Game::Hint);
    shared("Shuffle1Click", &Game::Shuffle);
    shared("Restart", &Game::Restart);
    shared("GoBack", &Game::GoBack);
    shared("CountTiles", &Game::CountTiles);

    timerColumns_ = new TThreadTimer(this);
    timerColumns_->setObjectName("TimerColumns");
    timerColumns_->SetInterval(kFastTimerInterval);
    timerColumns_->OnTimer = [this] { Timer1timer(); };
    builtins_.insert("StartFastTimer", [this](QObject*) {
        if (options_.startTimers)
            timerColumns_->SetEnabled(true);
    });
    builtins_.insert("StopFastTimer", [this](QObject*) { timerColumns_->SetEnabled(false); });
}

void TMainForm::Timer1timer() {
    RunOnGame(&Game::Tick);
    // The 3D view runs on this beat too.
    RunCommand("Timer1timer");
}

// The mode changes from `oldMode` to `newMode`: a pause stops the game's animations dead, the
// end of the pause takes them up again, and a game whose modes are left ends what is in the air.
void TMainForm::ModeLeft(int oldMode, int newMode) {
    Game* was = GameOf(oldMode);
    Game* now = GameOf(newMode);
    if (newMode == kModePaused || newMode == kModeInactive) {
        if (was)
            was->Pause();
        return;
    }
    if (oldMode == kModePaused || oldMode == kModeInactive) {
        // The game a pause or the lost focus suspended takes up where it was, or, when another
        // screen or game comes instead, is left.
        const int suspendedMode =
            oldMode == kModeInactive ? session_.modeBeforeDeactivation : session_.modeBeforePause;
        Game* suspended = GameOf(suspendedMode);
        if (now && now == suspended)
            now->Resume();
        else if (suspended)
            suspended->Leave();
        return;
    }
    if (was && was != now)
        was->Leave();
}

bool TMainForm::GameMouseEvent(QEvent* event) {
    // A click meant for a dialog that waits for its answer is not a move.
    if (DialogUp() && event->type() != QEvent::MouseMove)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        // HandDown: the open hand closes while the button is down.
        if (Option("AnimateCursor") && Option("CoolMouse")) {
            game2_->setCursor(Cursor(22));
            handDown_ = true;
        }
        auto* me = static_cast<QMouseEvent*>(event);
        const QPoint p = me->position().toPoint();
        if (Game* game = CurrentGame())
            game->MouseDown(p.x(), p.y(), ButtonOf(me->button()));
        break;
    }
    case QEvent::MouseButtonRelease: {
        // ButtonDown: the click.
        auto* me = static_cast<QMouseEvent*>(event);
        if (handDown_) {
            game2_->setCursor(Cursor(21));
            handDown_ = false;
        }
        const QPoint p = me->position().toPoint();
        if (Game* game = CurrentGame())
            game->Click(p.x(), p.y(), ButtonOf(me->button()));
        break;
    }
    case QEvent::MouseMove: {
        const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (Game* game = CurrentGame())
            game->MouseMove(p.x(), p.y());
        break;
    }
    default:
        break;
    }
    return false;
}

} // namespace tovani
