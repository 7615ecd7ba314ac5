// A layout of another game brought in through the Layout menu and played with the real mouse on
// a real X display (run under xvfb-run): "Import Layout..." on a map file of two layouts, the
// second one picked in the chooser by clicks, the imported layout dealt winnable and cleared
// tile by tile. On the way: clicks on the board while the About box is up change nothing, and
// hiding the window pauses the game until it is shown again. Screenshots at each step.
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/xvfb_import_layout [screenshot folder]
// (ctest runs it as "layout_imported_and_played", label "display").
#include "core/Files.h"
#include "dialogs/AboutBox.h"
#include "dialogs/GameOverForm.h"
#include "dialogs/HallWindow.h"
#include "play/BoardView.h"
#include "play/GameServices.h"
#include "play/HallKeeper.h"
#include "play/LayoutImporter.h"
#include "play/solitaire/SolitaireGame.h"
#include "shell/MainForm.h"

#include "XvfbDriver.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <unistd.h>

#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;
using namespace tovani;
using namespace tovani::xvfb;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    MakeShotsFolder(argc, argv, "tovani-xvfb-import");

    // An installed game: the content in one folder, the player's files in the data folder.
    const fs::path dir = RunFolder("tovani_xvfb_import_");
    MakeProgramFolder(
        dir,
        {"Layouts", "Tilesets", "Small", "Backgrounds", "Musics", "Languages", "Help", "Resources"},
        kEnglishSettings, "data/tovani/Tovani.ini");

    MainFormOptions options;
    options.programDir = QString::fromStdString(dir.string()) + "/";
    options.programDirWritable = false;
    options.dataHome = QString::fromStdString((dir / "data").string());
    TMainForm form(options);
    BoardView view(form);
    GameServices services(form, view);
    HallKeeper hall(services);
    SolitaireGame solitaire(services, hall);
    LayoutImporter importer(services);
    // The file dialog is the desktop's own; the file it would give is given here.
    services.SetFileNameRunner(
        [](GameServices::FileDialog, const QString&, const QString&, const QString&) {
            return QString(TOVANI_SOURCE_DIR) + "/tests/solitaire/import/gardens.map";
        });
    form.show();

    SeenEnd seen; // what the end of the game showed
    bool chooserSeen = false;
    QTimer watcher;
    watcher.setInterval(300);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        static QPointer<QWidget> handled;
        if (handled && modal == handled)
            return;
        if (modal->objectName() == "ImportChooser") {
            handled = modal;
            chooserSeen = true;
            Wait(300);
            Shot("chooser");
            auto* list = modal->findChild<QListWidget*>("ImportMaps");
            QListWidgetItem* second = list ? list->item(1) : nullptr;
            if (second)
                ClickGlobal(list->viewport()->mapToGlobal(list->visualItemRect(second).center()));
            Wait(300);
            Shot("chooser-second-picked");
            auto* box = modal->findChild<QDialogButtonBox*>();
            ClickWidget(box ? box->button(QDialogButtonBox::Ok) : nullptr);
        } else if (auto* d = qobject_cast<GameOverForm*>(modal)) {
            handled = modal;
            CloseGameOver(d, "game-over", seen);
        } else if (auto* d = qobject_cast<HallWindow*>(modal)) {
            handled = modal;
            CloseHall(d, "hall-of-fame", seen);
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            handled = modal;
            AnswerMessage(box);
        }
    });
    watcher.start();

    QTimer::singleShot(0, [&] {
        Check(WaitFor([&] { return form.GameMode() == kModeWelcome; }, 20000),
              "the welcome screen comes up");
        Wait(800);
        form.SetOption("Winnable", true);
        Activate(form);

        auto clickMenu = [&](const char* top, const char* item) {
            QMenuBar* bar = form.MainMenuBar();
            ClickGlobal(bar->mapToGlobal(bar->actionGeometry(form.Item(top)).center()));
            Wait(500);
            QMenu* menu = form.TopMenu(top);
            if (QString(item) == "ImportLayout1")
                Shot("layout-menu");
            ClickGlobal(menu->mapToGlobal(menu->actionGeometry(form.Item(item)).center()));
            Wait(300);
        };
        clickMenu("Layout1", "ImportLayout1");
        Check(WaitFor([&] { return form.GameMode() == kModeSolitaire; }, 10000),
              "the imported layout is played");
        Check(chooserSeen, "the chooser asked which of the two layouts");
        Check(fs::exists(dir / "data/tovani/Layouts/Twin & Stars.lay"),
              "the second layout is saved among the player's layouts");
        Check(!fs::exists(dir / "Layouts/Twin & Stars.lay"), "and not beside the program");
        Check(form.Layouts().NumberOf("Twin & Stars") > 0, "the Layout menu lists it");
        Check(solitaire.GameBoard().tilesTotal == 10, "its ten tiles are dealt");
        Wait(1200);
        Shot("imported-deal");

        const auto order = solitaire.LastDeal().removalOrder;
        Check(order.size() == 10, "the deal is winnable (ten places in its removal order)");
        auto clickTile = [&](const Cell& c) {
            const int tile = solitaire.GameBoard().TileAt(c);
            ClickGlobal(form.Game2()->mapToGlobal(solitaire.TileCentre(tile)));
            Wait(150);
        };

        // A dialog is up: clicks on the board do not play.
        auto* about = new AboutBox(&form, "10.21", 1);
        about->setAttribute(Qt::WA_DeleteOnClose);
        about->open();
        Wait(500);
        const int before = solitaire.GameBoard().tilesLeft;
        clickTile(order[0]);
        clickTile(order[1]);
        Shot("board-clicked-under-the-about-box");
        Check(solitaire.GameBoard().tilesLeft == before, "no tile is removed while a dialog is up");
        about->close();
        Wait(400);

        // Hidden, the game pauses; shown again, it goes on.
        form.hide();
        Wait(400);
        Check(form.GameMode() == kModeInactive, "hiding the window pauses the game");
        form.show();
        Wait(600);
        Activate(form);
        Check(form.GameMode() == kModeSolitaire, "showing it again resumes the game");

        for (size_t k = 0; 2 * k + 1 < order.size(); ++k) {
            clickTile(order[2 * k]);
            clickTile(order[2 * k + 1]);
            Wait(300);
            if (k == 1)
                Shot("two-pairs-removed");
        }
        Check(solitaire.GameBoard().tilesLeft == 0, "every tile was removed by a click");
        Check(WaitFor([&] { return !seen.finalText.isEmpty(); }, 10000), "the game-over dialog");
        WaitFor([&] { return form.GameMode() == kModeWelcome; }, 10000);
        Wait(500);
        Shot("after-game");
        form.close();
        app.exit(failures == 0 ? 0 : 1);
    });
    int rc = app.exec();
    fs::remove_all(dir);
    std::printf("%s: %d failures, screenshots in %s\n", rc == 0 ? "PASSED" : "FAILED", failures,
                shots.toLocal8Bit().constData());
    return rc;
}
