// A whole game of Solitaire played with the real mouse on a real X display (run under
// xvfb-run): the program's window as main() builds it, every click sent by xdotool, screenshots
// taken with ImageMagick's import at each step. It chooses "Winnable Layouts" and a numbered
// deal from the menus, plays the deal's removal order tile by tile (with a hint, Back and Redo
// on the way), answers the game-over dialog and the hall of fame with "Launch", then plays a
// two-player game to its winner.
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/xvfb_play_solitaire [screenshot folder]
// (ctest runs it as "solitaire_played_with_the_mouse", label "display").
//
// Exit code 0 when every step was seen to happen.
#include "core/Files.h"
#include "dialogs/GameOverForm.h"
#include "dialogs/HallWindow.h"
#include "dialogs/RandomWindow.h"
#include "play/BoardView.h"
#include "play/GameServices.h"
#include "play/HallKeeper.h"
#include "play/solitaire/SolitaireGame.h"
#include "shell/MainForm.h"

#include "XvfbDriver.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
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

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    MakeShotsFolder(argc, argv, "tovani-xvfb-play");

    // A fresh program folder with the built content, as a new player has it.
    const fs::path dir = RunFolder("tovani_xvfb_");
    MakeProgramFolder(
        dir, {"Layouts", "Tilesets", "Small", "Backgrounds", "Musics", "Languages", "Help"},
        kEnglishSettings);

    MainFormOptions options;
    options.programDir = QString::fromStdString(dir.string()) + "/";
    TMainForm form(options);
    BoardView view(form);
    GameServices services(form, view);
    HallKeeper hall(services);
    SolitaireGame solitaire(services, hall);
    form.show();

    // What to do with each dialog when it comes up (dialogs run their own event loop, so a timer
    // answers them).
    bool launch = false;
    int seed = 777;
    SeenEnd seen; // what the end of the last game showed
    QTimer watcher;
    watcher.setInterval(300);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        // A dialog is answered once; the next one may take the same address.
        QWidget* modal = NewModal();
        if (!modal)
            return;
        if (auto* d = qobject_cast<TRandomWindow*>(modal)) {
            Shot("seed-dialog");
            ClickWidget(d->Field());
            Run("xdotool", {"key", "ctrl+a"});
            Run("xdotool", {"type", QString::number(seed)});
            Wait(200);
            ClickWidget(d->findChild<QPushButton*>("BitBtn1"));
        } else if (auto* d = qobject_cast<GameOverForm*>(modal)) {
            CloseGameOver(d, "game-over", seen);
        } else if (auto* d = qobject_cast<HallWindow*>(modal)) {
            CloseHall(d, "hall-of-fame", seen, launch ? "BitBtn2" : "BitBtn1");
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            AnswerMessage(box);
        }
    });
    watcher.start();

    QTimer::singleShot(0, [&] {
        Check(WaitFor([&] { return form.GameMode() == kModeWelcome; }, 20000),
              "the welcome screen comes up");
        Wait(800);
        Shot("welcome");
        Activate(form);

        auto clickMenu = [&](const char* top, const char* item) {
            QMenuBar* bar = form.MainMenuBar();
            QAction* topAction = form.Item(top);
            ClickGlobal(bar->mapToGlobal(bar->actionGeometry(topAction).center()));
            Wait(500);
            QMenu* menu = form.TopMenu(top);
            ClickGlobal(menu->mapToGlobal(menu->actionGeometry(form.Item(item)).center()));
            Wait(300);
        };

        // "Winnable Layouts", then "Solitaire (Specific)" with deal number 777.
        clickMenu("Config", "Winnable");
        Check(form.Option("Winnable"), "Winnable Layouts checked from the menu");
        clickMenu("Options1", "ShowGirls");
        Check(form.Option("ShowGirls"), "Show Manga Girls checked from the menu");
        clickMenu("File1", "NewSpecificGame1");
        Check(WaitFor([&] { return form.GameMode() == kModeSolitaire; }, 5000),
              "a numbered deal starts");
        Wait(1500);
        Shot("deal-777");
        const auto order = solitaire.LastDeal().removalOrder;
        Check(order.size() == 144, "the deal is winnable (144 places in its removal order)");

        auto clickTile = [&](const Cell& c) {
            int tile = solitaire.GameBoard().TileAt(c);
            QPoint at = solitaire.TileCentre(tile);
            ClickGlobal(form.Game2()->mapToGlobal(at));
            Wait(120);
        };
        for (size_t k = 0; k < 72 && 2 * k + 1 < order.size(); ++k) {
            clickTile(order[2 * k]);
            if (k == 0)
                Shot("first-tile-selected");
            clickTile(order[2 * k + 1]);
            if (k == 0) {
                Wait(60);
                Shot("first-pair-flying");
            }
            if (k == 4) {
                ClickWidget(form.findChild<QWidget*>("ExplorerButton3"));
                Wait(400);
                Shot("hint");
                Check(form.Session().penaltySeconds == 40, "a hint costs 40 seconds");
            }
            if (k == 9) {
                Wait(800);
                const int left = solitaire.GameBoard().tilesLeft;
                ClickWidget(form.findChild<QWidget*>("ExplorerButton2"));
                Wait(400);
                Shot("back");
                Check(solitaire.GameBoard().tilesLeft == left + 2, "Back puts a pair back");
                Run("xdotool", {"key", "ctrl+y"});
                Wait(800);
                Shot("redo");
                Check(solitaire.GameBoard().tilesLeft == left, "Redo takes it off again");
            }
            if (k == 40)
                Shot("half-way");
        }
        Check(solitaire.GameBoard().tilesLeft == 0, "every tile was removed by a click");
        // The next ticks end the game: the dialogs are answered by the watcher.
        Check(WaitFor([&] { return !seen.finalText.isEmpty(); }, 10000), "the game-over dialog");
        Check(seen.finalText.startsWith("Your final time is "), "it tells the final time");
        Check(seen.enterFame, "and that the result enters the hall of fame");
        Check(WaitFor([&] { return form.GameMode() == kModeWelcome; }, 10000),
              "back on the welcome screen");
        Check(seen.highlight == 1, "the new entry is highlighted at rank 1");
        {
            const HallEntry& e = hall.Hall().TableOf(form.Session().boardNumber)[0];
            const QString time = QString::fromStdString(HallOfFame::FormatTime(e.result));
            Check(seen.finalText.endsWith(time), "the hall of fame keeps the time the dialog told");
            std::printf("     %s, entered as %s with %d s of penalty\n",
                        seen.finalText.toUtf8().constData(), time.toUtf8().constData(), e.second);
        }
        Wait(600);
        Shot("after-game");
        Check(QFile::exists(options.programDir + "Hallfame.ini"),
              "Hallfame.ini is written at once");

        // "Launch" from the hall of fame deals the same layout again.
        launch = true;
        seen.finalText.clear();
        ClickWidget(form.findChild<QWidget*>("HallFameButton"));
        Check(WaitFor([&] { return form.GameMode() == kModeSolitaire; }, 10000),
              "Launch in the hall of fame starts a new game");
        Wait(800);
        Shot("launched");

        // Two players at one computer.
        launch = false;
        clickMenu("File1", "MahJonggSolitaire2PlayerSingleComputer1");
        Check(WaitFor([&] { return form.GameMode() == kModeTwoPlayers; }, 5000),
              "a two-player game starts");
        const auto order2 = solitaire.LastDeal().removalOrder;
        for (size_t k = 0; k < 72 && 2 * k + 1 < order2.size(); ++k) {
            if (k % 2 == 1)
                Wait(250); // player 2 thinks longer
            clickTile(order2[2 * k]);
            clickTile(order2[2 * k + 1]);
            if (k == 3)
                Shot("two-players");
        }
        Check(WaitFor([&] { return !seen.finalText.isEmpty(); }, 10000),
              "the two-player game ends");
        Check(seen.finalText.startsWith("And the winner is... PLAYER 1 !\n"),
              "player 1 was faster and wins");
        WaitFor([&] { return form.GameMode() == kModeWelcome; }, 10000);
        Wait(500);
        Shot("two-players-over");
        form.close();
        app.exit(failures == 0 ? 0 : 1);
    });
    int rc = app.exec();
    fs::remove_all(dir);
    std::printf("%s: %d failures, screenshots in %s\n", rc == 0 ? "PASSED" : "FAILED", failures,
                shots.toLocal8Bit().constData());
    return rc;
}
