// A game of Hashira played with the real keyboard on a real X display (run under xvfb-run): the
// program's window as main() builds it, the 12 ms thread timer running, every key sent by
// xdotool, screenshots taken with ImageMagick's import along the way. It picks a start level
// from the welcome screen's pop-up menu, starts Hashira with the welcome button, steers the
// first columns to where they remove most tiles, then sets up a well where the next column
// sets off a chain reaction (the banner shows its points twice), drops it with the keys, and
// holds Down until the entry is blocked; the game-over dialog and the hall of fame are answered
// with the mouse.
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/xvfb_play_hashira [screenshot folder]
// (ctest runs it as "hashira_played_with_the_keys", label "display").
//
// Exit code 0 when every step was seen to happen.
#include "core/Files.h"
#include "dialogs/GameOverForm.h"
#include "dialogs/HallWindow.h"
#include "play/BoardView.h"
#include "play/GameServices.h"
#include "play/HallKeeper.h"
#include "play/hashira/HashiraPlay.h"
#include "play/solitaire/SolitaireGame.h"
#include "shell/MainForm.h"

#include "XvfbDriver.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <filesystem>
#include <functional>

namespace fs = std::filesystem;
using namespace tovani;
using namespace tovani::xvfb;

namespace {

// Where a column of these pictures removes most tiles: its column and how often to press Up.
struct Plan {
    int column = 2;
    int turns = 0;
    int marked = 0;
};

Plan BestPlace(const HashiraGame& game) {
    Plan best;
    best.marked = -1;
    const HashiraColumn now = game.FallingColumn();
    for (int turns = 0; turns < 3; ++turns)
        for (int column = 0; column < kHashiraColumns; ++column) {
            HashiraGame trial = game;
            RandomGenerator rng(1);
            for (int t = 0; t < turns; ++t) {
                trial.KeyDown(HashiraKey::Up);
                trial.DoColumns(rng);
            }
            const int steps = column - now.x / kHashiraCell;
            for (int s = 0; s < std::abs(steps); ++s) {
                trial.KeyDown(steps < 0 ? HashiraKey::Left : HashiraKey::Right);
                trial.DoColumns(rng);
            }
            if (trial.FallingColumn().x != column * kHashiraCell)
                continue; // blocked on the way
            trial.KeyDown(HashiraKey::Down);
            int marked = 0;
            for (int t = 0; t < 400; ++t) {
                const HashiraEffects fx = trial.DoColumns(rng);
                if (fx.landed) {
                    marked = fx.marked;
                    break;
                }
            }
            // Most tiles removed; else the lowest stack, away from the entry.
            const int height = [&] {
                int h = 0;
                for (int row = 0; row < kHashiraRows; ++row)
                    if (game.CellPicture(column, row) >= 0)
                        ++h;
                return h;
            }();
            const int value = marked * 100 - height * 2 - (column == 2 ? 1 : 0);
            if (value > best.marked) {
                best = Plan{column, turns, value};
            }
        }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    MakeShotsFolder(argc, argv, "tovani-xvfb-hashira");

    const fs::path dir = RunFolder("tovani_xvfb_hashira_");
    MakeProgramFolder(
        dir,
        {"Layouts", "Tilesets", "Small", "Backgrounds", "Musics", "Languages", "Help", "Resources"},
        kEnglishSettings);

    MainFormOptions options;
    options.programDir = QString::fromStdString(dir.string()) + "/";
    TMainForm form(options);
    BoardView view(form);
    GameServices services(form, view);
    HallKeeper hall(services);
    SolitaireGame solitaire(services, hall);
    HashiraPlay hashira(services, hall);
    form.show();

    SeenEnd seen; // what the end of the last game showed
    QTimer watcher;
    watcher.setInterval(300);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        // A dialog is answered once; the next one may take the same address.
        QWidget* modal = NewModal();
        if (!modal)
            return;
        if (auto* d = qobject_cast<GameOverForm*>(modal)) {
            CloseGameOver(d, "game-over", seen);
        } else if (auto* d = qobject_cast<HallWindow*>(modal)) {
            CloseHall(d, "hall-of-fame", seen);
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            Shot("message");
            ClickWidget(box->button(QMessageBox::Ok));
        }
    });
    watcher.start();

    QTimer::singleShot(0, [&] {
        Check(WaitFor([&] { return form.GameMode() == kModeWelcome; }, 20000),
              "the welcome screen comes up");
        Wait(800);
        Activate(form);
        Shot("welcome");

        // "Start Level" opens its menu; "Start at Level 2".
        ClickWidget(form.findChild<QPushButton*>("StartLevel"));
        Check(WaitFor([&] { return form.StartLevelMenu()->isVisible(); }, 3000),
              "the start-level menu opens below its button");
        Wait(300);
        Shot("start-level-menu");
        QMenu* levels = form.StartLevelMenu();
        ClickGlobal(
            levels->mapToGlobal(levels->actionGeometry(form.Item("StartatLevel21")).center()));
        Wait(300);
        Check(form.findChild<QPushButton*>("StartLevel")->text() == "Level 2",
              "the button reads \"Level 2\"");

        ClickWidget(form.findChild<QPushButton*>("Column"));
        Check(WaitFor([&] { return form.GameMode() == kModeHashira; }, 3000),
              "the Hashira button starts a game");
        Check(WaitFor([&] { return hashira.Model().FallingColumn().falling; }, 3000),
              "the first column enters on the timer's beat");
        Check(form.findChild<QLabel*>("Level")->text() == "2", "the panel shows level 2");
        Wait(600);
        Shot("first-column");

        // Steer six columns to their best places with the keys.
        int placed = 0, removedByPlay = 0;
        for (int c = 0; c < 6 && form.GameMode() == kModeHashira; ++c) {
            if (!WaitFor([&] { return hashira.Model().FallingColumn().falling; }, 8000))
                break;
            const Plan plan = BestPlace(hashira.Model());
            QStringList keys;
            for (int t = 0; t < plan.turns; ++t)
                keys << "Up";
            const int steps = plan.column - hashira.Model().FallingColumn().x / kHashiraCell;
            for (int s = 0; s < std::abs(steps); ++s)
                keys << (steps < 0 ? "Left" : "Right");
            Keys(keys);
            Wait(150);
            if (c == 2)
                Shot("steering");
            const int removed = hashira.Model().BlocksRemoved();
            Run("xdotool", {"keydown", "Down"});
            WaitFor([&] { return !hashira.Model().FallingColumn().falling; }, 5000);
            Run("xdotool", {"keyup", "Down"});
            ++placed;
            WaitFor([&] { return hashira.Model().Phase() == HashiraPhase::Falling; }, 5000);
            removedByPlay += hashira.Model().BlocksRemoved() - removed;
        }
        Check(placed == 6, "six columns steered and dropped with the keys");
        std::printf("     %d tiles removed while steering, score %d\n", removedByPlay,
                    hashira.Model().Score());
        Shot("after-six-columns");

        // A staged well: the next column lands on a tile like its lower two (a vertical three);
        // the tile on top of them then falls between two like tiles on the floor (a horizontal
        // three, counted twice). The column enters at the top; the keys take it to the left.
        {
            const HashiraState played = hashira.Model().State();
            HashiraState s;
            s.started = true;
            s.startLevel = played.startLevel;
            s.removedTotal = played.removedTotal;
            s.score = played.score;
            s.frameCounter = played.frameCounter;
            s.baseFallSpeed = played.baseFallSpeed;
            s.next = played.next;
            auto tile = [&s](int column, int row, int picture) {
                s.blocks[static_cast<size_t>(++s.blockCount)] =
                    HashiraBlock{column * kHashiraCell, static_cast<double>(row * kHashiraCell),
                                 kBlockNormal, picture};
            };
            tile(0, 11, 0);
            tile(1, 11, 1);
            tile(2, 11, 1);
            tile(3, 11, 5);
            tile(4, 11, 3);
            tile(4, 10, 4);
            tile(4, 9, 3);
            tile(5, 11, 4);
            tile(5, 10, 3);
            tile(5, 9, 5);
            tile(5, 8, 4);
            for (int k = 0; k < 3; ++k) // top to bottom: 1 above two 0s
                s.blocks[static_cast<size_t>(++s.blockCount)] =
                    HashiraBlock{kHashiraEntryX, -96.0 + 32 * k, kBlockNormal, k == 0 ? 1 : 0};
            s.phase = HashiraPhase::Falling;
            s.fallSpeed = hashira.Model().LevelFallSpeed();
            form.SetOption("AnimateChain", true);
            const bool staged = hashira.Model().SetState(s) == HashiraStateProblem::None;
            Check(staged, "the chain-reaction well is set up");
        }
        const int scoreBefore = hashira.Model().Score();
        Wait(300);
        Shot("chain-ready");
        Keys({"Left", "Left"});
        Wait(100);
        Check(hashira.Model().FallingColumn().x == 0, "Left twice takes the column to the wall");
        Run("xdotool", {"keydown", "Down"});
        const bool first = WaitFor(
            [&] {
                const HashiraState& st = hashira.Model().State();
                return st.phase == HashiraPhase::Flashing && st.chainCounter == 1 &&
                       st.removalTicks >= 6 && st.removalTicks % 2 == 0;
            },
            5000);
        Shot("banner-500");
        Run("xdotool", {"keyup", "Down"});
        Check(first && hashira.Model().PointsBanner().text == " 500 ",
              "the vertical three flashes under a \" 500 \" banner");
        const bool second = WaitFor(
            [&] {
                const HashiraState& st = hashira.Model().State();
                return st.phase == HashiraPhase::Flashing && st.chainCounter == 2 &&
                       st.removalTicks >= 4 && st.removalTicks % 2 == 0;
            },
            5000);
        Shot("chain-banner-1000");
        Check(second && hashira.Model().PointsBanner().text == " 1000",
              "the fall makes a second three, counted twice: \" 1000\"");
        WaitFor([&] { return hashira.Model().Phase() == HashiraPhase::Falling; }, 5000);
        Check(hashira.Model().Score() == scoreBefore + 1500, "the chain scores 500 + 1000");
        Check(form.findChild<QLabel*>("ColumnsScore")->text() ==
                  QString::number(hashira.Model().Score()),
              "the panel shows the score");
        Wait(200);
        Shot("after-chain");

        // Down held in the middle column: the well fills up to the entry.
        Run("xdotool", {"keydown", "Down"});
        Check(WaitFor([&] { return !seen.finalText.isEmpty(); }, 120000), "the game-over dialog");
        Run("xdotool", {"keyup", "Down"});
        Check(seen.finalText.startsWith("Your final score is "), "it tells the final score");
        Check(seen.enterFame, "and that it enters the hall of fame");
        Check(WaitFor([&] { return form.GameMode() == kModeWelcome; }, 20000),
              "back on the welcome screen");
        Check(seen.highlight == 1, "the new entry is highlighted at rank 1");
        const HallEntry& e = hall.Hall().TableOf(1040)[0];
        Check(e.result == hashira.Model().Score() / 100, "the Columns table keeps hundreds");
        Check(e.second == hashira.Model().Level(), "and the level reached");
        std::printf("     %s; entered as %d, level %d\n", seen.finalText.toUtf8().constData(),
                    e.result, e.second);
        Wait(500);
        Shot("after-game");
        form.close();
        QApplication::quit();
    });
    app.exec();
    fs::remove_all(dir);
    std::printf("%s\n", failures == 0 ? "all steps seen" : "some steps failed");
    return failures == 0 ? 0 : 1;
}
