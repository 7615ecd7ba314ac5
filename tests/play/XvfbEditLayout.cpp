// A new layout built with the real mouse on a real X display (run under xvfb-run): the layout
// editor from the menu, tiles put down with clicks where the preview shows, the name typed in
// the panel, "Save as..." through the file dialog, then the chooser from the toolbar, where the
// new layout is found, dragged onto the favourites and played; a pair is taken off it. Every
// step is sent by xdotool, with screenshots by ImageMagick's import.
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/xvfb_edit_layout [screenshot folder]
// (ctest runs it as "layout_built_with_the_mouse", label "display").
//
// Exit code 0 when every step was seen to happen.
#include "core/Files.h"
#include "play/BoardView.h"
#include "play/GameServices.h"
#include "play/HallKeeper.h"
#include "play/solitaire/LayoutChoice.h"
#include "play/solitaire/LayoutChooser.h"
#include "play/solitaire/LayoutEditor.h"
#include "play/solitaire/SolitaireGame.h"
#include "shell/MainForm.h"
#include "solitaire/FreeRules.h"
#include "solitaire/Tiles.h"

#include "XvfbDriver.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>

#include <unistd.h>

#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;
using namespace tovani;
using namespace tovani::xvfb;

namespace {

void Drag(const QPoint& from, const QPoint& to) {
    // One xdotool run in the background: the drag runs an event loop of its own while the
    // button is down, so this process must keep answering meanwhile.
    QStringList args{"mousemove",
                     QString::number(from.x()),
                     QString::number(from.y()),
                     "mousedown",
                     "1",
                     "sleep",
                     "0.2"};
    for (int k = 1; k <= 10; ++k) {
        const QPoint p = from + (to - from) * k / 10;
        args << "mousemove" << QString::number(p.x()) << QString::number(p.y()) << "sleep"
             << "0.08";
    }
    args << "sleep"
         << "0.3"
         << "mouseup"
         << "1";
    QProcess::startDetached("xdotool", args);
    Wait(3000);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    MakeShotsFolder(argc, argv, "tovani-xvfb-editor");

    const fs::path dir = RunFolder("tovani_xvfb_editor_");
    // Deals that can be cleared ("Winnable"): the pair taken off below is always there.
    MakeProgramFolder(
        dir, {"Layouts", "Tilesets", "Small", "Backgrounds", "Languages"},
        "[Tovani]\r\nLanguage=English\r\nMaximize=0\r\nCoolMouse=1\r\nWinnable=1\r\n");

    MainFormOptions options;
    options.programDir = QString::fromStdString(dir.string()) + "/";
    TMainForm form(options);
    BoardView view(form);
    GameServices services(form, view);
    HallKeeper hall(services);
    SolitaireGame solitaire(services, hall);
    LayoutEditor editor(services, hall, solitaire);
    LayoutChoice choice(services);
    form.SetQuitQuestion([](const QString&) { return true; });

    form.show();

    const QString layoutName = "Garden Steps";
    const QString saveAs = QString::fromStdString((dir / "Layouts").string()) + "/" + layoutName;
    QPointer<TChooseLayout> chooser;
    bool chooserDone = false;
    bool secondVisit = false; // the second time: the background option and the expanded view
    int expandedRow = -1;
    QTimer watcher;
    watcher.setInterval(300);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        QWidget* modal = NewModal();
        if (!modal)
            return;
        if (qobject_cast<QFileDialog*>(modal)) {
            // The file name typed, and Return.
            Wait(500);
            Shot("save-dialog");
            Run("xdotool", {"key", "ctrl+a"});
            Run("xdotool", {"type", "--delay", "20", saveAs});
            Wait(300);
            Run("xdotool", {"key", "Return"});
        } else if (auto* x = qobject_cast<TExtendedChoose*>(modal)) {
            Wait(600);
            Shot("expanded-view");
            auto* mini = x->Scroll()->findChild<QLabel*>(QString("Mini%1").arg(expandedRow));
            Check(mini != nullptr, "the expanded view shows the new layout's miniature");
            if (mini) {
                x->findChild<QScrollArea*>()->ensureWidgetVisible(mini);
                Wait(300);
                ClickWidget(mini);
            } else {
                ClickWidget(x->findChild<QPushButton*>("BitBtn1"));
            }
            chooserDone = true;
        } else if (auto* c = qobject_cast<TChooseLayout*>(modal); c && secondVisit) {
            Wait(400);
            ClickWidget(c->findChild<QCheckBox*>("CheckBox1"));
            Wait(400);
            Check(c->PreviewBack(), "the preview takes the game's background");
            Shot("chooser-background");
            expandedRow = c->LayoutList()->row(
                c->LayoutList()->findItems(layoutName, Qt::MatchExactly).value(0));
            ClickWidget(c->findChild<QPushButton*>("BitBtn5"));
        } else if (auto* c = qobject_cast<TChooseLayout*>(modal)) {
            chooser = c;
            Wait(500);
            Shot("chooser");
            QListWidget* list = c->LayoutList();
            const auto found = list->findItems(layoutName, Qt::MatchExactly);
            Check(found.size() == 1, "the new layout is listed in the chooser");
            if (found.isEmpty()) {
                ClickWidget(c->findChild<QPushButton*>("BitBtn2"));
                chooserDone = true;
                return;
            }
            list->scrollToItem(found.first());
            Wait(200);
            const QPoint item =
                list->viewport()->mapToGlobal(list->visualItemRect(found.first()).center());
            ClickGlobal(item);
            Wait(500);
            Check(c->LayoutN()->text() == layoutName, "its name shows under the miniature");
            Check(c->TilesLabel()->text() == "16", "with its 16 tiles");
            Shot("chooser-new-layout");
            QListWidget* faves = c->FaveLayouts();
            Drag(item, faves->viewport()->mapToGlobal(QPoint(40, faves->viewport()->height() - 8)));
            Wait(600);
            Check(!faves->findItems(layoutName, Qt::MatchExactly).isEmpty(),
                  "dragged onto the favourites");
            Shot("chooser-favourite");
            ClickWidget(c->findChild<QPushButton*>("BitBtn1"));
            chooserDone = true;
        }
    });
    watcher.start();

    QTimer::singleShot(0, [&] {
        Check(WaitFor([&] { return form.GameMode() == kModeWelcome; }, 20000),
              "the welcome screen comes up");
        Wait(800);
        Activate(form);
        auto clickMenu = [&](const char* top, const char* item) {
            QMenuBar* bar = form.MainMenuBar();
            QAction* topAction = form.Item(top);
            ClickGlobal(bar->mapToGlobal(bar->actionGeometry(topAction).center()));
            Wait(500);
            QMenu* menu = topAction->menu();
            ClickGlobal(menu->mapToGlobal(menu->actionGeometry(form.Item(item)).center()));
            Wait(400);
        };

        clickMenu("Layout1", "CreateLayout1");
        Check(form.GameMode() == kModeEditor, "Create Layout opens the editor");
        Wait(500);
        Shot("editor-empty");
        // Three rows of four on the bottom layer, and four on the second.
        auto put = [&](const Cell& c) {
            const QPoint at = form.Game2()->mapToGlobal(editor.CellCentre(c));
            Run("xdotool", {"mousemove", QString::number(at.x()), QString::number(at.y())});
            Wait(120);
            ClickGlobal(at);
            Wait(150);
        };
        for (int row : {7, 9, 11})
            for (int col : {11, 13, 15, 17})
                put({col, row, 1});
        Check(editor.Editing().Places() == 12, "twelve tiles put down with the mouse");
        for (const Cell& c : {Cell{12, 8, 2}, Cell{16, 8, 2}, Cell{12, 10, 2}, Cell{16, 10, 2}})
            put(c);
        Check(editor.Editing().Places() == 16, "four more on the second layer");
        // The preview tile where the next one would go.
        const QPoint ghost = form.Game2()->mapToGlobal(editor.CellCentre({14, 9, 2}));
        Run("xdotool", {"mousemove", QString::number(ghost.x()), QString::number(ghost.y())});
        Wait(400);
        Check(editor.Candidate().has_value(), "the preview follows the mouse");
        Shot("editor-built");
        // The name, typed into the panel.
        auto* name = form.Area("EditorPanel")->findChild<QLineEdit*>("Edit1");
        ClickWidget(name);
        Run("xdotool", {"key", "ctrl+a"});
        Run("xdotool", {"type", "--delay", "20", layoutName});
        Wait(300);
        Check(name->text() == layoutName, "the name typed in the panel");
        Check(WaitFor([&] { return editor.OddsText().startsWith("Winnable: yes, "); }, 60000),
              "the panel says the layout can be cleared");
        Shot("editor-named");

        // Saved through the file dialog, then played.
        {
            QMenuBar* bar = form.MainMenuBar();
            QAction* top = form.Item("Editor1");
            ClickGlobal(bar->mapToGlobal(bar->actionGeometry(top).center()));
            Wait(500);
            QMenu* menu = top->menu();
            ClickGlobal(
                menu->mapToGlobal(menu->actionGeometry(form.Item("Saveasandexit")).center()));
        }
        Check(WaitFor([&] { return form.GameMode() == kModeSolitaire; }, 15000),
              "saved, and a game starts on it");
        Check(fs::exists(dir / "Layouts" / "Garden Steps.lay"), "the file is written");
        const int number = form.Layouts().NumberOf(layoutName.toStdString());
        Check(number > 0 && form.Session().boardNumber == number,
              "the saved layout is found and selected");
        Wait(800);
        Shot("playing-new-layout");

        // The chooser from the toolbar: found, made a favourite and played.
        ClickWidget(form.Area("LayoutButton"));
        Check(WaitFor([&] { return chooserDone; }, 20000), "the chooser was used");
        Check(WaitFor([&] { return QApplication::activeModalWidget() == nullptr; }, 5000),
              "the chooser closed");
        Check(form.GameMode() == kModeSolitaire && form.Session().boardNumber == number,
              "Play this layout plays it");
        Check(choice.Favourites().Contains(layoutName.toStdString()), "it is among the favourites");
        Check(ReadWholeFile((dir / "Favelay.ini").string()).value_or("").find("Garden Steps") !=
                  std::string::npos,
              "and in Favelay.ini");
        Wait(800);
        // A pair taken off with two clicks.
        const FreeScan scan = IsItFree(solitaire.GameBoard(), FreeRule::Side);
        int a = 0, b = 0;
        for (size_t i = 0; i + 1 < scan.freeTiles.size() && !a; ++i)
            if (TilesMatch(scan.freeTiles[i], scan.freeTiles[i + 1]))
                a = scan.freeTiles[i], b = scan.freeTiles[i + 1];
        Check(a != 0, "a pair is free on the new layout");
        if (a) {
            ClickGlobal(form.Game2()->mapToGlobal(solitaire.TileCentre(a)));
            Wait(300);
            ClickGlobal(form.Game2()->mapToGlobal(solitaire.TileCentre(b)));
            Wait(800);
            Check(solitaire.GameBoard().tilesLeft == 14, "the pair is taken off");
        }
        Shot("played");
        // The chooser again, from the menu: the game's background behind the miniature, and the
        // expanded view, where a click on the new layout's miniature plays it.
        chooserDone = false;
        secondVisit = true;
        form.LayoutItem(1)->trigger();
        Wait(500);
        {
            QMenuBar* bar = form.MainMenuBar();
            QAction* top = form.Item("Layout1");
            ClickGlobal(bar->mapToGlobal(bar->actionGeometry(top).center()));
            Wait(500);
            QMenu* menu = top->menu();
            ClickGlobal(
                menu->mapToGlobal(menu->actionGeometry(form.Item("SelectLayout1")).center()));
        }
        Check(WaitFor([&] { return chooserDone; }, 20000), "the expanded view was used");
        Check(WaitFor([&] { return QApplication::activeModalWidget() == nullptr; }, 5000),
              "the chooser closed again");
        Check(form.Session().boardNumber == number, "the miniature clicked is played");
        Check(form.Prefs().GetBool("PreviewBack"), "the background option is kept");
        Wait(500);
        // The menu with favourites only.
        form.SetOption("ShowFave", true);
        form.RunCommand("ShowFaveClick", form.Item("ShowFave"));
        QMenuBar* bar = form.MainMenuBar();
        ClickGlobal(bar->mapToGlobal(bar->actionGeometry(form.Item("Layout1")).center()));
        Wait(600);
        Check(form.LayoutItem(number)->isVisible(), "the Layout menu shows it among favourites");
        Shot("layout-menu-favourites");
        Run("xdotool", {"key", "Escape"});
        Wait(300);
        form.close();
        app.exit(failures == 0 ? 0 : 1);
    });
    const int rc = app.exec();
    fs::remove_all(dir);
    std::printf("%s: %d failures, screenshots in %s\n", rc == 0 ? "PASSED" : "FAILED", failures,
                shots.toLocal8Bit().constData());
    return rc;
}
