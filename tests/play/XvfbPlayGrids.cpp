// Clicks and Slider played to their end on a real X display (run under xvfb-run): the window as
// main() builds it, each game played once with the mouse alone (xdotool clicks) and once with the
// keyboard alone (xdotool keys: F5 and F6 to start, the arrows, Space and Enter, Enter in the
// dialogs), into the hall of fame each time, with ImageMagick screenshots at each step.
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/tests/xvfb_play_grids [screenshot folder]
// (ctest runs it as "clicks_and_slider_played", label "display").
//
// Exit code 0 when every step was seen to happen.
#include "XvfbDriver.h"
#include "core/Files.h"
#include "dialogs/GameOverForm.h"
#include "dialogs/HallWindow.h"
#include "play/BoardView.h"
#include "play/GameServices.h"
#include "play/HallKeeper.h"
#include "play/clicks/ClicksController.h"
#include "play/slider/SliderController.h"
#include "shell/MainForm.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <vector>

namespace fs = std::filesystem;
using namespace tovani;
using namespace tovani::xvfb;

namespace {
// The grids' keys are typed quickly: a cursor walks many cells.
void TypeKeys(const QStringList& keys) {
    Keys(keys, 15);
}
} // namespace

namespace {

// The arrows that take a cursor from one cell to another.
QStringList ArrowsTo(FieldCell from, FieldCell to) {
    QStringList keys;
    for (int d = from.column; d < to.column; ++d)
        keys << "Right";
    for (int d = from.column; d > to.column; --d)
        keys << "Left";
    for (int d = from.row; d < to.row; ++d)
        keys << "Down";
    for (int d = from.row; d > to.row; --d)
        keys << "Up";
    return keys;
}

// Clicks: the cell of the largest group, or none when no group is left.
FieldCell BiggestGroup(const ClicksGame& game) {
    ClicksGrid grid = game.State().grid;
    FieldCell best;
    size_t bestSize = 0;
    for (int c = 1; c <= kClicksColumns; ++c)
        for (int r = 1; r <= kClicksRows; ++r)
            if (HasLikeNeighbour(grid, c, r)) {
                ClicksGrid copy = grid;
                const size_t n = RemoveGroup(copy, c, r).size();
                if (n > bestSize) {
                    bestSize = n;
                    best = {c, r};
                }
            }
    return best;
}

// Slider: like tiles standing in line with `cell` along one direction, both ways.
int RunThrough(const SliderGrid& g, FieldCell cell, int dc, int dr) {
    const uint8_t p = g(cell);
    int n = 1;
    for (int sign : {1, -1})
        for (FieldCell at{cell.column + sign * dc, cell.row + sign * dr};
             SliderGrid::Inside(at) && g(at) != 0 &&
             (g(at) == p || g(at) == kSliderJoker || p == kSliderJoker);
             at = {at.column + sign * dc, at.row + sign * dr})
            ++n;
    return n;
}

// Slider: while `wantLine`, a slide that makes a line if there is one, else the one that lines
// up most tiles; afterwards a slide that makes no line, so that the grid fills.
std::pair<FieldCell, FieldCell> ChooseSlide(const SliderGrid& grid, bool wantLine) {
    std::pair<FieldCell, FieldCell> best{};
    int bestValue = -1;
    for (int sc = 1; sc <= kSliderSize; ++sc)
        for (int sr = 1; sr <= kSliderSize; ++sr) {
            const FieldCell s{sc, sr};
            if (grid(s) == 0)
                continue;
            for (int dc = 1; dc <= kSliderSize; ++dc)
                for (int dr = 1; dr <= kSliderSize; ++dr) {
                    const FieldCell d{dc, dr};
                    if (grid(d) != 0 || FindPath(grid, s, d).empty())
                        continue;
                    SliderGrid g = grid;
                    g(d) = g(s);
                    g(s) = 0;
                    const bool line = !FindLines(g).empty();
                    int value = 0;
                    if (!wantLine) {
                        value = line ? 0 : 1;
                    } else if (line) {
                        value = 1000;
                    } else {
                        for (auto [x, y] : {std::pair{1, 0}, {0, 1}, {1, 1}, {1, -1}})
                            value = std::max(value, RunThrough(g, d, x, y));
                    }
                    if (value > bestValue) {
                        bestValue = value;
                        best = {s, d};
                    }
                }
        }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    MakeShotsFolder(argc, argv, "tovani-xvfb-grids");

    // A fresh program folder with the built content, as a new player has it.
    const fs::path dir = RunFolder("tovani_grids_");
    MakeProgramFolder(
        dir, {"Layouts", "Tilesets", "Small", "Backgrounds", "Musics", "Languages", "Help"},
        kEnglishSettings, "Tovani.ini", TOVANI_BIN_DIR);

    MainFormOptions options;
    options.programDir = QString::fromStdString(dir.string()) + "/";
    TMainForm form(options);
    BoardView view(form);
    GameServices services(form, view);
    HallKeeper hall(services);
    ClicksController clicks(services, hall);
    SliderController slider(services, hall);
    form.show();

    // The dialogs: answered with the mouse or, in the keyboard games, with Enter.
    bool keyboard = false;
    QString seenFinal, seenQuestion;
    bool seenEnterFame = false, seenHall = false, keyboardAnswered = true;
    QString label;
    QTimer watcher;
    watcher.setInterval(300);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        // A dialog is answered once; the next one may take the same address.
        QWidget* modal = NewModal();
        if (!modal)
            return;
        Wait(300);
        QAbstractButton* button = nullptr;
        if (auto* d = qobject_cast<GameOverForm*>(modal)) {
            Shot(label + "-game-over");
            seenFinal = d->FinalTime()->text();
            seenEnterFame = !d->EnterFame()->isHidden();
            button = d->findChild<QPushButton*>("BitBtn1");
        } else if (auto* d = qobject_cast<HallWindow*>(modal)) {
            Shot(label + "-hall-of-fame");
            seenHall = true;
            button = d->findChild<QPushButton*>("BitBtn1");
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            Shot(label + "-question");
            seenQuestion = box->text();
            button = box->button(QMessageBox::Yes) ? box->button(QMessageBox::Yes)
                                                   : box->button(QMessageBox::Ok);
        }
        if (keyboard) {
            TypeKeys({"Return"});
            if (WaitFor([&] { return !modal->isVisible(); }, 1500))
                return;
            keyboardAnswered = false;
        }
        ClickWidget(button);
    });
    watcher.start();

    // The window takes the keyboard (no window manager runs here to give it the focus when a
    // dialog closes).
    auto focusWindow = [&] {
        Run("xdotool", {"windowfocus", "--sync", QString::number(form.winId())});
        Wait(300);
    };

    auto clicksGame = [&](bool keys) {
        keyboard = keys;
        label = keys ? "clicks-keys" : "clicks-mouse";
        seenFinal.clear();
        seenQuestion.clear();
        seenHall = false;
        if (keys) {
            focusWindow();
            TypeKeys({"F5"});
        } else
            ClickWidget(form.Area("BitBtn13"));
        Check(WaitFor([&] { return form.GameMode() == kModeClicks; }, 5000),
              keys ? "F5 starts Clicks (Normal)" : "the Normal button starts Clicks");
        Check(form.Session().boardNumber == 1022, "on the Normal board");
        Wait(500);
        Shot(label + "-dealt");
        int moves = 0;
        while (form.GameMode() == kModeClicks && moves < 150) {
            const FieldCell target = BiggestGroup(clicks.Model());
            if (target.None())
                break;
            const int before = clicks.Model().TilesLeft();
            if (keys) {
                if (!clicks.CursorShown())
                    TypeKeys({"Up"});
                Keys(ArrowsTo(clicks.Model().cursor.Cell(), target) << "space");
            } else {
                ClickGlobal(form.Game2()->mapToGlobal(clicks.CellCentre(target)));
            }
            if (!WaitFor([&] { return clicks.Model().TilesLeft() < before; }, 3000))
                break;
            if (moves == 1 && clicks.Animating())
                Shot(label + "-falling");
            WaitFor([&] { return !clicks.Animating(); }, 3000);
            ++moves;
            if (moves == 3)
                Shot(label + "-three-groups-gone");
        }
        Check(moves > 0, "groups were removed one by one");
        if (keys)
            Check(clicks.CursorShown() || form.GameMode() != kModeClicks,
                  "the keyboard cursor is on screen");
        // No group is left: the question comes, then the end of the game.
        Check(WaitFor([&] { return form.GameMode() == kModeWelcome; }, 20000),
              "the game ends and the welcome screen is back");
        const bool cleared = clicks.Model().TilesLeft() == 0;
        Check(cleared || seenQuestion.startsWith("No more moves. Do you want to give up ?"),
              "the give-up question was asked");
        Check(cleared ? seenFinal == "You reached the top ! Great !"
                      : seenFinal ==
                            "Your final score is " + QString::number(clicks.Model().TilesLeft()),
              "the game-over dialog tells the score");
        Check(seenEnterFame && seenHall, "the score enters the hall of fame");
        std::printf("     %s\n", seenFinal.toUtf8().constData());
        Wait(500);
        Shot(label + "-after");
    };

    auto sliderGame = [&](bool keys) {
        keyboard = keys;
        label = keys ? "slider-keys" : "slider-mouse";
        seenFinal.clear();
        seenHall = false;
        if (keys) {
            focusWindow();
            TypeKeys({"F6"});
        } else
            ClickWidget(form.Area("Slider"));
        Check(WaitFor([&] { return form.GameMode() == kModeSlider; }, 5000),
              keys ? "F6 starts Slider (Easy)" : "the Easy button starts Slider");
        Check(form.Session().boardNumber == 1030, "with jokers");
        Wait(500);
        Shot(label + "-dealt");
        QWidget* box = form.Area("SliderBox");
        int slides = 0;
        while (form.GameMode() == kModeSlider && slides < 200) {
            WaitFor([&] { return !slider.Animating(); }, 5000);
            if (form.GameMode() != kModeSlider)
                break;
            const auto [from, to] = ChooseSlide(slider.Model().Grid(), slider.Model().Score() == 0);
            if (from.None())
                break;
            const int score = slider.Model().Score(), tiles = slider.Model().TilesLeft();
            if (keys) {
                if (!slider.CursorShown())
                    TypeKeys({"Up"});
                Keys(ArrowsTo(slider.Model().cursor.Cell(), from) << "Return");
                Keys(ArrowsTo(from, to) << "space");
            } else {
                ClickGlobal(box->mapToGlobal(SliderController::CellCentre(from)));
                Wait(60);
                if (slides == 0)
                    Shot(label + "-picked");
                ClickGlobal(box->mapToGlobal(SliderController::CellCentre(to)));
            }
            if (!WaitFor(
                    [&] {
                        return slider.Model().Score() != score ||
                               slider.Model().TilesLeft() != tiles || slider.Model().GameOver();
                    },
                    3000))
                break;
            ++slides;
            if (slides == 1 || slider.Model().Score() > score)
                Shot(label + (slider.Model().Score() > score ? "-line" : "-slid"));
        }
        Check(slides > 5, "tiles were slid one after the other");
        Check(WaitFor([&] { return form.GameMode() == kModeWelcome; }, 20000),
              "the grid fills, the game ends and the welcome screen is back");
        Check(seenFinal == "Your final score is " + QString::number(slider.Model().Score()),
              "the game-over dialog tells the score");
        Check(slider.Model().Score() > 0 && seenEnterFame && seenHall,
              "a score above 0 enters the hall of fame");
        std::printf("     %s after %d slides\n", seenFinal.toUtf8().constData(), slides);
        Wait(500);
        Shot(label + "-after");
    };

    QTimer::singleShot(0, [&] {
        Check(WaitFor([&] { return form.GameMode() == kModeWelcome; }, 20000),
              "the welcome screen comes up");
        Wait(800);
        Shot("welcome");
        // The falling tiles are shown pass by pass: the option from its menu.
        {
            QMenuBar* bar = form.MainMenuBar();
            ClickGlobal(bar->mapToGlobal(bar->actionGeometry(form.Item("Animations1")).center()));
            Wait(500);
            QMenu* menu = form.TopMenu("Animations1");
            ClickGlobal(
                menu->mapToGlobal(menu->actionGeometry(form.Item("AnimateClicks")).center()));
            Wait(300);
            Check(form.Option("AnimateClicks"), "Animate Falling Tiles in Clicks checked");
        }
        clicksGame(false);
        sliderGame(false);
        clicksGame(true);
        sliderGame(true);
        Check(keyboardAnswered, "every dialog was answered with Enter in the keyboard games");
        const std::string file = ReadWholeFile((dir / "Hallfame.ini").string()).value_or("");
        Check(file.find("[Clicks3]") != std::string::npos &&
                  file.find("[Slider]") != std::string::npos,
              "Hallfame.ini holds the Clicks and Slider tables");
        form.close();
        app.exit(failures == 0 ? 0 : 1);
    });
    int rc = app.exec();
    fs::remove_all(dir);
    std::printf("%s: %d failures, screenshots in %s\n", rc == 0 ? "PASSED" : "FAILED", failures,
                shots.toLocal8Bit().constData());
    return rc;
}
