// The window in French and in German on a real X display (run under xvfb-run): the language is
// chosen from the Language menu with real clicks while a game is in play, then every dialog the
// menus open is opened, photographed and checked (Qt's own file dialog and buttons as well, in
// the chosen language), the layout editor's panel is looked at, and English is chosen again at
// the end.
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/xvfb_languages [screenshot folder]
// (ctest runs it as "languages_on_screen", label "display").
//
// Exit code 0 when every step was seen to happen.
#include "core/Files.h"
#include "core/TextKey.h"
#include "dialogs/GameOverForm.h"
#include "dialogs/LanguageChooser.h"
#include "play/BoardView.h"
#include "play/GameServices.h"
#include "play/HallKeeper.h"
#include "play/LayoutImporter.h"
#include "play/SavedGames.h"
#include "play/solitaire/LayoutChoice.h"
#include "play/solitaire/LayoutEditor.h"
#include "play/solitaire/SolitaireGame.h"
#include "shell/Language.h"
#include "shell/MainForm.h"

#include "XvfbDriver.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>

#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;
using namespace tovani;
using namespace tovani::xvfb;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    MakeShotsFolder(argc, argv, "tovani-xvfb-languages");

    const fs::path dir = RunFolder("tovani_xvfb_lang_");
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
    LayoutEditor editor(services, hall, solitaire);
    LayoutChoice choice(services);
    LayoutImporter importer(services);
    SavedGames savedGames(services);
    form.show();

    // The dialog that comes up next is photographed and answered by `answer`.
    QString dialogName;
    std::function<void(QWidget*)> answer;
    bool answered = false;
    QTimer watcher;
    watcher.setInterval(250);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || answered || !answer)
            return;
        answered = true;
        Wait(500);
        Shot(dialogName);
        answer(modal);
    });
    watcher.start();

    auto clickMenu = [&](const char* top, const char* item) {
        QMenuBar* bar = form.MainMenuBar();
        ClickGlobal(bar->mapToGlobal(bar->actionGeometry(form.Item(top)).center()));
        Wait(500);
        QMenu* menu = form.TopMenu(top);
        QAction* a = nullptr;
        for (QAction* x : menu->actions())
            if (x->objectName() == item || x->text() == item)
                a = x;
        if (!a) {
            Check(false, "a menu item is there");
            return;
        }
        ClickGlobal(menu->mapToGlobal(menu->actionGeometry(a).center()));
        Wait(400);
    };
    // The Language menu is inside Configuration.
    auto chooseLanguage = [&](const char* name) {
        QMenuBar* bar = form.MainMenuBar();
        ClickGlobal(bar->mapToGlobal(bar->actionGeometry(form.Item("Config")).center()));
        Wait(500);
        QMenu* config = form.TopMenu("Config");
        QMenu* languages = form.TopMenu("MenuLanguage");
        ClickGlobal(config->mapToGlobal(config->actionGeometry(languages->menuAction()).center()));
        Wait(600);
        for (QAction* a : languages->actions())
            if (a->text() == name)
                ClickGlobal(languages->mapToGlobal(languages->actionGeometry(a).center()));
        Wait(500);
    };
    // Opens a dialog from a menu, photographs it and checks one of its texts.
    auto dialog = [&](const QString& name, const char* top, const char* item,
                      std::function<void(QWidget*)> check) {
        dialogName = name;
        answered = false;
        answer = [&, check](QWidget* d) {
            check(d);
            if (auto* box = qobject_cast<QMessageBox*>(d))
                ClickWidget(box->button(QMessageBox::No) ? box->button(QMessageBox::No)
                                                         : box->button(QMessageBox::Ok));
            else
                qobject_cast<QDialog*>(d)->reject();
        };
        clickMenu(top, item);
        Check(WaitFor([&] { return answered && !QApplication::activeModalWidget(); }, 8000),
              qPrintable(name + " opened and closed"));
        answer = nullptr;
        Wait(300);
    };
    auto text = [](QWidget* d, const char* name) {
        if (auto* b = d->findChild<QAbstractButton*>(name))
            return b->text();
        if (auto* l = d->findChild<QLabel*>(name))
            return l->text();
        return QString();
    };
    auto inLanguage = [&](const char* english) { return form.Language().File().Message(english); };

    QTimer::singleShot(0, [&] {
        Check(WaitFor([&] { return form.GameMode() == kModeWelcome; }, 20000),
              "the welcome screen comes up");
        Wait(800);
        Activate(form);
        clickMenu("File1", "RandomSolitaireGame1");
        Check(WaitFor([&] { return form.GameMode() == kModeSolitaire; }, 5000), "a game starts");
        Wait(1500);
        Shot("english-game");

        struct Language {
            const char* name;
            const char* newMenu;
            const char* shuffle;
            const char* qtCancel;  // Qt's own word on its file dialog
            const char* helpTitle; // the heading of the help's contents page
        };
        for (const Language& l :
             {Language{"French", "Nouveau", "M\xC3\xA9langer", "Annuler", "Bienvenue dans Tovani"},
              Language{"German", "Neu", "Mischen", "Abbrechen", "Willkommen bei Tovani"}}) {
            const QString lang = QString(l.name).toLower();
            chooseLanguage(l.name);
            Wait(800);
            Check(form.TopMenu("File1")->title() == QString(l.newMenu),
                  qPrintable(lang + ": the menus speak it"));
            Check(form.findChild<QAbstractButton*>("ShuffleButton")->text() == QString(l.shuffle),
                  qPrintable(lang + ": the toolbar speaks it"));
            Check(form.GameMode() == kModeSolitaire, qPrintable(lang + ": the game goes on"));
            Shot(lang + "-game");
            // A menu held open.
            QMenuBar* bar = form.MainMenuBar();
            ClickGlobal(bar->mapToGlobal(bar->actionGeometry(form.Item("Play1")).center()));
            Wait(600);
            Shot(lang + "-play-menu");
            Keys({"Escape"});
            Wait(300);
            ClickGlobal(bar->mapToGlobal(bar->actionGeometry(form.Item("Options1")).center()));
            Wait(600);
            Shot(lang + "-view-menu");
            Keys({"Escape"});
            Wait(300);

            dialog(lang + "-about", "Help1", "About1", [&](QWidget* d) {
                Check(d->windowTitle().toStdString() ==
                          form.Language().File().Translation("AboutBox.Caption"),
                      qPrintable(lang + ": the about box's title"));
            });
            dialog(lang + "-hall-of-fame", "Help1", "Halloffame1", [&](QWidget* d) {
                Check(text(d, "BitBtn2") == inLanguage("Launch").c_str(),
                      qPrintable(lang + ": the hall of fame's Launch button"));
            });
            dialog(lang + "-help", "Help1", "Contents1", [&](QWidget* d) {
                Check(text(d, "BitBtn1").toStdString() ==
                          form.Language().File().Translation("HelpForm.BitBtn1.Caption"),
                      qPrintable(lang + ": the help viewer's Close button"));
                auto* page = d->findChild<QTextBrowser*>("HelpBrowser");
                Check(page && page->toPlainText().contains(QString::fromUtf8(l.helpTitle)),
                      qPrintable(lang + ": the help pages"));
            });
            dialog(lang + "-seed", "File1", "NewSpecificGame1", [&](QWidget* d) {
                Check(text(d, "BitBtn2") == inLanguage("New random game seed").c_str(),
                      qPrintable(lang + ": the seed dialog's buttons"));
            });
            dialog(lang + "-layout-chooser", "Layout1", "SelectLayout1", [&](QWidget* d) {
                Check(text(d, "BitBtn1").toStdString() ==
                          form.Language().File().Translation("ChooseLayout.BitBtn1.Caption"),
                      qPrintable(lang + ": the layout chooser's Play button"));
            });
            WaitFor([&] { return form.GameMode() == kModeSolitaire; }, 3000);
            dialog(lang + "-save-game", "Play1", "SaveGame", [&](QWidget* d) {
                // Qt's own dialog, with Qt's own words in the player's language.
                bool cancel = false;
                for (auto* box : d->findChildren<QDialogButtonBox*>())
                    for (QAbstractButton* b : box->buttons())
                        cancel = cancel || b->text().remove('&') == l.qtCancel;
                Check(qobject_cast<QFileDialog*>(d) && cancel,
                      qPrintable(lang + ": Qt's file dialog speaks it"));
            });
            WaitFor([&] { return form.GameMode() == kModeSolitaire; }, 3000);
            // A layout of another game that cannot be imported: the reason in the language.
            {
                const fs::path bad = dir / "bad.layout";
                WriteFileAtomic(bad.string(), "kmahjongg-layout-v2.0\n12\n43\n");
                dialogName = lang + "-import-refused";
                answered = false;
                const QString expected =
                    QString::fromStdString(FillBlanks(inLanguage("The file \"%1\""), {"bad.layout"}));
                answer = [&, expected](QWidget* d) {
                    auto* box = qobject_cast<QMessageBox*>(d);
                    Check(box && box->text().startsWith(expected) &&
                              !box->text().startsWith("The file"),
                          qPrintable(lang + ": a refused import says why in it"));
                    if (box)
                        ClickWidget(box->button(QMessageBox::Ok));
                };
                importer.ImportFile(QString::fromStdString(bad.string()));
                Check(answered, qPrintable(lang + ": the refusal was shown"));
                answer = nullptr;
                Wait(300);
            }
            dialog(lang + "-quit-question", "File1", "Exit1", [&](QWidget* d) {
                auto* box = qobject_cast<QMessageBox*>(d);
                Check(box && box->button(QMessageBox::No)->text().remove('&') ==
                                 inLanguage("No").c_str(),
                      qPrintable(lang + ": the message box's buttons"));
            });
            // The end-of-game dialog and the first-run chooser, as the program builds them.
            {
                GameOverForm over(form.PlayAreaBackground(), QPixmap(), &form);
                over.FinalTime()->setText(QString::fromStdString(
                    FillBlanks(inLanguage("Your final time is %1"), {"04:21"})));
                over.show();
                Wait(600);
                Check(text(&over, "BitBtn1").toStdString() ==
                          form.Language().File().Translation("GameOverForm.BitBtn1.Caption"),
                      qPrintable(lang + ": the end-of-game dialog"));
                Shot(lang + "-game-over");
            }
            {
                LanguageChooser chooser(&form, {"English", "French", "German"}, l.name,
                                        form.PlayAreaBackground());
                chooser.show();
                Wait(600);
                Shot(lang + "-language-chooser");
            }
            // The layout editor's panel, then back to a game.
            clickMenu("Layout1", "CreateLayout1");
            Check(WaitFor([&] { return form.GameMode() == kModeEditor; }, 5000),
                  qPrintable(lang + ": the editor opens"));
            Wait(800);
            Check(text(&form, "Label30") == inLanguage("Tiles").c_str() &&
                      text(&form, "LabelLayout") == inLanguage("Layout Name").c_str(),
                  qPrintable(lang + ": the editor's panel"));
            // Nothing of the panel is cut at this window size: the name field shows the whole
            // name and the Winnable line ends inside the window.
            {
                auto* name = form.findChild<QLineEdit*>("Edit1");
                auto* odds = form.findChild<QLabel*>("OddsLabel");
                Check(name && name->fontMetrics().horizontalAdvance(name->text()) <
                                  name->contentsRect().width() - 4,
                      qPrintable(lang + ": the layout's name fits its field"));
                const QString longest =
                    inLanguage("Winnable: needs an even number of tiles").c_str();
                Check(odds && odds->mapTo(&form, QPoint(0, 0)).x() +
                                      odds->fontMetrics().horizontalAdvance(longest) <=
                                  form.width(),
                      qPrintable(lang + ": the Winnable line fits the panel"));
            }
            Shot(lang + "-editor");
            form.RunCommand("Cancel2Click", form.Item("Cancel2"));
            Wait(500);
            clickMenu("File1", "RandomSolitaireGame1");
            Check(WaitFor([&] { return form.GameMode() == kModeSolitaire; }, 5000),
                  qPrintable(lang + ": a game again"));
            Wait(800);
        }
        chooseLanguage("English");
        Wait(800);
        Check(form.TopMenu("File1")->title() == "New", "english: the menus are English again");
        Shot("english-again");
        clickMenu("Play1", "Stoppe");
        Wait(500);
        form.close();
        app.exit(failures == 0 ? 0 : 1);
    });
    int rc = app.exec();
    fs::remove_all(dir);
    std::printf("%s: %d failures, screenshots in %s\n", rc == 0 ? "PASSED" : "FAILED", failures,
                shots.toLocal8Bit().constData());
    return rc;
}
