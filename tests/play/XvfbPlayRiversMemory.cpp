// Rivers and Memory played to their ends with the real mouse on a real X display (run under
// xvfb-run): the program's window as main() builds it, every click sent by xdotool, screenshots
// taken with ImageMagick's import at each step. Easy Rivers starts from its welcome button and
// is played pair by pair (a carried tile and its river caught on the way, a hint, Back and Redo,
// a shuffle when no pair is left) into the hall of fame; then Easy Memory from its welcome
// button, one pair turned that does not match, then every pair, into the hall of fame.
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/tests/xvfb_play_rivers_memory [shot folder]
// (ctest runs it as "rivers_and_memory_played_with_the_mouse", label "display").
//
// Exit code 0 when every step was seen to happen.
#include "core/Files.h"
#include "dialogs/GameOverForm.h"
#include "dialogs/HallWindow.h"
#include "games/rivers/RiverSearch.h"
#include "play/BoardView.h"
#include "play/GameServices.h"
#include "play/HallKeeper.h"
#include "play/memory/MemoryPlay.h"
#include "play/rivers/RiversPlay.h"
#include "play/solitaire/SolitaireGame.h"
#include "shell/MainForm.h"

#include "XvfbDriver.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>

namespace fs = std::filesystem;
using namespace tovani;
using namespace tovani::xvfb;

namespace {

int TilesOn(const Board& b) {
    int n = 0;
    for (int t = 1; t <= kTileCount; ++t)
        if (b.Position(t).OnBoard() && b.TileAt(b.Position(t)) == t)
            ++n;
    return n;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    MakeShotsFolder(argc, argv, "tovani-xvfb-play");

    const fs::path dir = RunFolder("tovani_xvfb_rm_");
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
    RiversPlay rivers(services, hall);
    MemoryPlay memory(services, hall);
    form.show();

    SeenEnd seen; // what the end of the last game showed
    QString label = "rivers";
    QTimer watcher;
    watcher.setInterval(300);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        // A dialog is answered once; the next one may take the same address.
        QWidget* modal = NewModal();
        if (!modal)
            return;
        if (auto* d = qobject_cast<GameOverForm*>(modal)) {
            CloseGameOver(d, label + "-game-over", seen);
        } else if (auto* d = qobject_cast<HallWindow*>(modal)) {
            CloseHall(d, label + "-hall-of-fame", seen);
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            AnswerMessage(box);
        }
    });
    watcher.start();

    QTimer::singleShot(0, [&] {
        Check(WaitFor([&] { return form.GameMode() == kModeWelcome; }, 20000),
              "the welcome screen comes up");
        Wait(800);
        Activate(form);
        Shot("welcome");

        // ---- Rivers -------------------------------------------------------------------------
        ClickWidget(form.findChild<QWidget*>("BitBtn3"));
        Check(WaitFor([&] { return form.GameMode() == kModeRivers; }, 5000),
              "\"Easy Rivers (84 tiles)\" starts Rivers");
        Check(form.windowTitle().contains("84-Tile Rivers"), "the title names the board");
        Wait(800);
        Shot("rivers-deal");
        const Board& rb = rivers.Model().GameBoard();
        auto clickRivers = [&](int tile) {
            ClickGlobal(form.Game2()->mapToGlobal(rivers.TileCentre(tile)));
            Wait(60);
        };
        auto pathOf = [&](int a, int b) {
            RiverSearch search(rb);
            return search.CanBeReached(b, a) ? search.carriedSteps : std::vector<Cell>{};
        };
        clickRivers(rivers.Model().IsItFree().pairs.front().first);
        Shot("rivers-first-tile-selected");
        clickRivers(rivers.Model().IsItFree().pairs.front().first); // dropped again
        bool caughtCarry = false, caughtRiver = false, hinted = false, backRedo = false;
        int pairs = 0, guard = 0;
        while (rb.tilesLeft > 0 && guard++ < 200) {
            const RiversScan scan = rivers.Model().IsItFree();
            if (scan.pairs.empty()) {
                ClickWidget(form.findChild<QWidget*>("ShuffleButton"));
                Wait(400);
                Shot("rivers-shuffled");
                continue;
            }
            // The longest river available, to see it.
            std::pair<int, int> pick = scan.pairs.front();
            for (const auto& p : scan.pairs)
                if (pathOf(p.first, p.second).size() > pathOf(pick.first, pick.second).size())
                    pick = p;
            const size_t steps = pathOf(pick.first, pick.second).size();
            const int left = rb.tilesLeft;
            clickRivers(pick.first);
            ClickGlobal(form.Game2()->mapToGlobal(rivers.TileCentre(pick.second)));
            if (!caughtCarry && steps >= 4) {
                Wait(30);
                if (rivers.Carrying()) {
                    Shot("rivers-tile-carried");
                    caughtCarry = true;
                }
            }
            if (!caughtRiver && steps >= 3) {
                WaitFor([&] { return !rivers.Carrying(); }, 2000);
                if (rivers.Animating()) {
                    Shot("rivers-river-shown");
                    caughtRiver = true;
                }
            }
            WaitFor([&] { return !rivers.Animating(); }, 3000);
            Wait(40);
            if (rb.tilesLeft != left - 2 || TilesOn(rb) != rb.tilesLeft) {
                Check(false, "a pair clicked leaves the board");
                break;
            }
            ++pairs;
            if (pairs == 3 && !hinted) {
                ClickWidget(form.findChild<QWidget*>("ExplorerButton3"));
                Wait(400);
                Shot("rivers-hint");
                hinted = true;
                Check(form.Session().penaltySeconds == 40, "a hint costs 40 seconds");
            }
            if (pairs == 6 && !backRedo) {
                ClickWidget(form.findChild<QWidget*>("ExplorerButton2"));
                Wait(400);
                Shot("rivers-back");
                Check(rb.tilesLeft == left, "Back puts the pair back");
                Run("xdotool", {"key", "ctrl+y"});
                WaitFor([&] { return !rivers.Animating(); }, 3000);
                Wait(200);
                Check(rb.tilesLeft == left - 2, "Redo (Ctrl+Y) takes it off again");
                backRedo = true;
            }
            if (pairs == 20)
                Shot("rivers-half-way");
        }
        Check(caughtCarry, "a tile was seen on its way along a river");
        Check(caughtRiver, "a river was seen drawn after its pair left");
        Check(rb.tilesLeft == 0, "every Rivers tile was removed by a click");
        Check(WaitFor([&] { return !seen.finalText.isEmpty(); }, 10000), "the game-over dialog");
        Check(seen.finalText.startsWith("Your final time is "), "it tells the final time");
        Check(seen.enterFame, "and that the result enters the hall of fame");
        Check(WaitFor([&] { return form.GameMode() == kModeWelcome; }, 10000),
              "back on the welcome screen");
        Check(seen.highlight == 1, "the new Rivers entry is highlighted at rank 1");
        Check(!hall.Hall().TableOf(1000)[0].Empty(), "the entry is in the table \"Rivers\"");
        std::printf("     Rivers: %s\n", seen.finalText.toUtf8().constData());
        Wait(500);

        // ---- Memory -------------------------------------------------------------------------
        label = "memory";
        seen.finalText.clear();
        seen.highlight = 0;
        Activate(form);
        ClickWidget(form.findChild<QWidget*>("BitBtn5"));
        Check(WaitFor([&] { return form.GameMode() == kModeMemory; }, 5000),
              "\"Easy Memory (32 tiles)\" starts Memory");
        Check(form.windowTitle().contains("Easy Memory"), "the title names the board");
        Wait(800);
        Shot("memory-deal");
        const Board& mb = memory.Model().GameBoard();
        auto clickMemory = [&](int tile) {
            ClickGlobal(form.Game2()->mapToGlobal(memory.TileCentre(tile)));
            Wait(60);
        };
        auto anyTile = [&](int other, bool same) {
            for (int u = 1; u <= mb.tilesTotal; ++u)
                if (u != other && mb.Position(u).OnBoard() &&
                    (other == 0 || TilesMatch(u, other) == same))
                    return u;
            return 0;
        };
        // One pair that does not match: it shows, then turns back two seconds dearer.
        const int a = anyTile(0, true), b = anyTile(a, false);
        clickMemory(a);
        clickMemory(b);
        Shot("memory-reveal");
        Check(memory.Model().Revealing(), "two tiles turned over stay up");
        Check(WaitFor([&] { return !memory.Model().Revealing(); }, 3000), "and turn back");
        Check(form.Session().penaltySeconds == 2, "a pair that does not match costs 2 seconds");
        Wait(200);
        Shot("memory-turned-back");
        int guard2 = 0;
        while (mb.tilesLeft > 0 && guard2++ < 40) {
            const int x = anyTile(0, true), y = anyTile(x, true);
            clickMemory(x);
            clickMemory(y);
            if (mb.tilesLeft == 20)
                Shot("memory-pair-up");
            WaitFor([&] { return !memory.Model().Revealing(); }, 3000);
            Wait(50);
            if (TilesOn(mb) != mb.tilesLeft)
                Check(false, "the Memory board keeps its count");
        }
        Check(mb.tilesLeft == 0, "every Memory pair was found by clicks");
        Check(WaitFor([&] { return !seen.finalText.isEmpty(); }, 10000), "the game-over dialog");
        Check(seen.finalText.startsWith("Your final time is "), "it tells the final time");
        Check(WaitFor([&] { return form.GameMode() == kModeWelcome; }, 10000),
              "back on the welcome screen");
        Check(seen.highlight == 1, "the new Memory entry is highlighted at rank 1");
        {
            const HallEntry& e = hall.Hall().TableOf(1010)[0];
            Check(!e.Empty() && e.second == 2, "the table \"Memory\" keeps the 2 s of penalty");
        }
        std::printf("     Memory: %s\n", seen.finalText.toUtf8().constData());
        Wait(500);
        Shot("after-both-games");

        // ---- Hard Rivers from the welcome picture: two layers, the upper one plays first. --
        ClickWidget(form.findChild<QWidget*>("SpeedButton2"));
        Check(WaitFor([&] { return form.GameMode() == kModeRivers; }, 5000),
              "the Rivers picture starts Rivers");
        Check(rb.tilesTotal == 144 && form.windowTitle().contains("144-Tile Rivers"),
              "it is Hard Rivers, 144 tiles");
        Wait(800);
        Shot("hard-rivers-deal");
        for (int k = 0; k < 6; ++k) {
            const RiversScan scan = rivers.Model().IsItFree();
            if (scan.pairs.empty())
                break;
            clickRivers(scan.pairs.back().first);
            clickRivers(scan.pairs.back().second);
            WaitFor([&] { return !rivers.Animating(); }, 3000);
        }
        Wait(200);
        Shot("hard-rivers-six-pairs");
        Check(rb.tilesLeft == 132 && TilesOn(rb) == 132, "six pairs leave the two layers");
        Run("xdotool", {"key", "ctrl+x"}); // "Stop"
        Check(WaitFor([&] { return form.GameMode() == kModeWelcome; }, 5000),
              "Stop goes back to the welcome screen");
        form.close();
        app.exit(failures == 0 ? 0 : 1);
    });
    int rc = app.exec();
    fs::remove_all(dir);
    std::printf("%s: %d failures, screenshots in %s\n", rc == 0 ? "PASSED" : "FAILED", failures,
                shots.toLocal8Bit().constData());
    return rc;
}
