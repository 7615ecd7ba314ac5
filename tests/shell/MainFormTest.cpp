// The main window as built and as it behaves, on Qt's offscreen platform: menus, toolbar,
// welcome screen, status line, the game-mode switch on the widgets, pause, Total Immersion and
// the menu swap.
#include "shell/MainForm.h"
#include "MainFormFixture.h"
#include "RecordingGame.h"
#include "shell/MenuTable.h"
#include "shell/ShellPictures.h"

#include "dialogs/AboutBox.h"
#include "dialogs/HelpViewer.h"

#include "core/Files.h"

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace tovani {
namespace {

TEST_F(MainFormTest, WindowAsCreated) {
    MainFormOptions o;
    o.programDir = QString::fromStdString(dir_.string()) + "/";
    o.startTimers = false;
    o.interactive = false;
    TMainForm f(o);
    EXPECT_EQ(f.size(), QSize(832, 630));
    EXPECT_EQ(f.windowTitle(), "Tovani 10.21 ");
    EXPECT_FALSE(f.Initialised());
    // Every area, by name.
    for (const char* n : {"Tools", "EditorPanel", "Game2", "GLPanel", "SliderBox", "SliderNext",
                          "HashiraBox", "ColumnsPanel", "HofBox", "LigneStatus", "Welcome",
                          "SplashPanel", "VolumePanel", "ScorePanel", "LoadingBar", "Intro"})
        EXPECT_NE(f.Area(n), nullptr) << n;
    EXPECT_EQ(f.Area("Welcome")->size(), QSize(505, 401));
    EXPECT_EQ(f.Area("VolumePanel")->size(), QSize(89, 185));
    EXPECT_EQ(f.Area("ScorePanel")->size(), QSize(105, 65));
    EXPECT_EQ(f.Area("SliderBox")->size(), QSize(320, 320));
    EXPECT_EQ(f.Area("HashiraBox")->size(), QSize(198, 392));
    EXPECT_EQ(f.Area("SplashPanel")->height(), f.Area("SplashPicture")->height() + 24);
    EXPECT_EQ(f.findChild<QProgressBar*>("SplashProgress")->maximum(), 121);
    EXPECT_EQ(f.findChild<QProgressBar*>("LoadingBar")->maximum(), 42);
    EXPECT_TRUE(f.Area("EditorPanel")->isHidden());
    EXPECT_TRUE(f.Area("Game2")->isHidden());
}

TEST_F(MainFormTest, MenusFollowTheirTables) {
    TMainForm& f = Start();
    for (const auto* table :
         {&MainMenuTable(), &PopupMenuTable(), &StartLevelMenuTable(), &EditorMenuTable()}) {
        for (const MenuRow& row : *table) {
            if (row.flags & kMenuSeparator)
                continue;
            QAction* a = f.Item(row.name);
            ASSERT_NE(a, nullptr) << row.name;
            EXPECT_EQ(a->text(), QString(row.caption)) << row.name;
            EXPECT_EQ(a->shortcut().toString(QKeySequence::PortableText), QString(row.shortcut))
                << row.name;
            if (!(row.flags & kMenuSubMenu)) {
                EXPECT_EQ(a->isCheckable(), (row.flags & (kMenuCheckable | kMenuRadio)) != 0)
                    << row.name;
            }
            EXPECT_EQ(a->isVisible(), !(row.flags & kMenuHidden)) << row.name;
        }
    }
}

TEST_F(MainFormTest, MenuBarItemsCaptionsAndShortcuts) {
    TMainForm& f = Start();
    QStringList top;
    for (QAction* a : f.MainMenuBar()->actions())
        top << a->text();
    EXPECT_EQ(top, QStringList({"New", "Play", "View", "Highlight", "3D", "Configuration",
                                "Animations", "Background", "Tileset", "Layout", "Music", "Help"}));
    const std::tuple<const char*, const char*, const char*> expected[] = {
        {"RandomSolitaireGame1", "Solitaire (Random)", "F2"},
        {"NewSpecificGame1", "Solitaire (Specific)", "Ctrl+F2"},
        {"MahJonggSolitaire2PlayerSingleComputer1", "Solitaire (2-Player)", "Shift+F2"},
        {"MahJonggClicks1", "Clicks (Easy)", "Ctrl+F5"},
        {"MahJonggClicksNormal1", "Clicks (Normal)", "F5"},
        {"MahJonggColumns", "Hashira", "F7"},
        {"Exit1", "E&xit", "Ctrl+C"},
        {"Undo1", "&Back", "Ctrl+Z"},
        {"Pause1", "&Pause", "F12"},
        {"Stoppe", "&Stop", "Ctrl+X"},
        {"SaveGame", "Save Game", "Ctrl+S"},
        {"FullScreen", "Full Screen", "Ins"},
        {"Total", "Total Immersion", "Ctrl+Ins"},
        {"ShowMenu", "Show M&enu", "Ctrl+E"},
        {"N3D", "Go 3D !!", "Del"},
        {"Contents1", "&Contents", "F1"},
        {"Halloffame1", "&Hall of Fame", "F10"},
        {"About1", "&About...", "F11"},
        {"Movetotop1", "Move to top /\\", "Ctrl+E"},
    };
    for (auto [name, caption, keys] : expected) {
        QAction* a = f.Item(name);
        ASSERT_NE(a, nullptr) << name;
        EXPECT_EQ(a->text(), caption);
        EXPECT_EQ(a->shortcut(), QKeySequence(QString(keys), QKeySequence::PortableText)) << name;
    }
    // Hidden items keep their state but are never shown.
    for (const char* n : {"RandomSeed1", "CoolMenu1", "JokerAllow", "EnvironmentMap"})
        EXPECT_FALSE(f.Item(n)->isVisible()) << n;
    // The Layout menu's layouts start at position 5 (four commands and a separator).
    EXPECT_EQ(f.TopMenu("Layout1")->actions().size(), 5);
    EXPECT_TRUE(f.TopMenu("Layout1")->actions().at(4)->isSeparator());
    EXPECT_EQ(f.StartLevelMenu()->actions().size(), 10);
    EXPECT_EQ(f.Item("StartatLevel101")->property("tag").toInt(), 10);
    // The contemplation menu keeps separators at 1 and 3, so an item's tag is its position.
    QList<QAction*> contemplation = f.TopMenu("Contemplation")->actions();
    ASSERT_EQ(contemplation.size(), 7);
    for (int i : {0, 2, 4, 5, 6})
        EXPECT_EQ(contemplation[i]->property("tag").toInt(), i);
}

TEST_F(MainFormTest, InitialCheckMarksAreTheDefaults) {
    TMainForm& f = Start();
    for (const char* on :
         {"Moves",        "ShowTime",       "PlayMusic",       "PlaySounds",       "ShowHallFame",
          "Toolbar1",     "ShowTitle",      "ShowMenu",        "CoolStatus",       "FlatButtons",
          "GoCheckPause", "Shuffable",      "AnimateTiles",    "Highlight4",       "ShowFave",
          "AniUnion",     "AniNormal",      "FollowMouseSlow", "N256x256texture1", "NormalBack3D",
          "SlowFall",     "StretchTileset", "KeepRatio"})
        EXPECT_TRUE(f.Option(on)) << on;
    for (const char* off :
         {"Winnable", "Total", "FullScreen", "Invert", "ShowGirls", "Vertical", "EnableGL", "N3D",
          "AutoSave", "Highlight1", "ViewAllLayouts", "MarbleBorders", "RandomSeed1"})
        EXPECT_FALSE(f.Option(off)) << off;
    // Radio groups hold one mark.
    f.Item("Highlight2")->trigger();
    EXPECT_TRUE(f.Option("Highlight2"));
    EXPECT_FALSE(f.Option("Highlight4"));
    // "None" disables the two options that show the selection.
    f.Item("Highlight1")->trigger();
    EXPECT_FALSE(f.Item("ShowCurrentTile")->isEnabled());
    EXPECT_FALSE(f.Item("OnlyPossibleMoves")->isEnabled());
    f.Item("Highlight3")->trigger();
    EXPECT_TRUE(f.Item("ShowCurrentTile")->isEnabled());
    // An option enables another.
    EXPECT_FALSE(f.Item("MarbleBorders")->isEnabled() && !f.Option("TexturedTiles"));
    f.Item("StretchTileset")->trigger();
    EXPECT_FALSE(f.Item("KeepRatio")->isEnabled());
}

TEST_F(MainFormTest, ToolbarStatusLineAndWelcomeScreen) {
    TMainForm& f = Start();
    const std::tuple<const char*, const char*, const char*> buttons[] = {
        {"ExplorerButton1", "New", "New game"},
        {"ExplorerButton2", "Back", "Undo move"},
        {"ExplorerButton3", "Hint", "Show possible moves"},
        {"ShuffleButton", "Shuffle", "Shuffle tiles"},
        {"PauseButton", "Pause", "Pause game"},
        {"SetMusic", "Music", "Pause music"},
        {"LayoutButton", "Layout", "Choose new layout"},
        {"HelpButton", "Help", "Help :)"},
        {"AboutButton", "About", nullptr},
        {"HallFameButton", "Hall", "Best of the best :)"},
        {"ExitButton", "Exit", "Don't leave me !! :("},
        {"Set3D", "3D", ""},
    };
    QList<QToolButton*> shown;
    for (QToolButton* b : f.Area("Tools")->findChildren<QToolButton*>())
        if (!b->isHidden())
            shown << b;
    ASSERT_EQ(shown.size(), 12);
    int i = 0;
    for (auto [name, caption, hint] : buttons) {
        QToolButton* b = shown[i++];
        EXPECT_EQ(b->objectName(), name);
        EXPECT_EQ(b->text(), caption);
        if (hint)
            EXPECT_EQ(b->toolTip(), hint);
        else
            EXPECT_FALSE(b->toolTip().isEmpty());
        EXPECT_FALSE(b->icon().isNull()) << name;
    }
    EXPECT_TRUE(f.Area("ConfigButton")->isHidden());
    for (auto [name, text] :
         {std::pair{"TilesLeftPanel", "Tiles"}, std::pair{"MovesLeftPanel", "Moves left"},
          std::pair{"TimePanel", "Time"}, std::pair{"StatusPanel", "Status"}})
        EXPECT_EQ(f.findChild<QLabel*>(name)->text(), text);
    // Clicking the "Moves left" caption is the menu item's command.
    QTest::mouseClick(f.findChild<QLabel*>("MovesLeftPanel"), Qt::LeftButton);
    EXPECT_FALSE(f.Option("Moves"));
    QTest::mouseClick(f.findChild<QLabel*>("TimePanel"), Qt::LeftButton);
    EXPECT_FALSE(f.Option("ShowTime"));

    // The welcome screen: six pictures with hints and their buttons.
    ASSERT_EQ(f.GameMode(), kModeWelcome);
    EXPECT_TRUE(f.Area("Welcome")->isVisible());
    EXPECT_TRUE(f.Area("HofBox")->isVisible());
    EXPECT_EQ(f.Area("HofBox")->width(), 92);
    EXPECT_EQ(f.Area("SpeedButton4")->toolTip(),
              "Clicks - Remove groups of tiles with a single click !");
    QStringList captions;
    for (const char* n :
         {"BitBtn1", "BitBtn2", "BitBtn3", "BitBtn4", "BitBtn5", "BitBtn6", "BitBtn7", "BitBtn13",
          "BitBtn10", "Slider", "SliderHard", "Column", "StartLevel"})
        captions << f.findChild<QPushButton*>(n)->text();
    EXPECT_EQ(captions, QStringList({"Classic", "Two Players", "Easy Rivers (84 tiles)",
                                     "Hard Rivers (144 tiles)", "Easy Memory (32 tiles)",
                                     "Hard Memory (60 tiles)", "Easy", "Normal", "Hard", "Easy",
                                     "Hard", "Hashira", "Level 1"}));
    auto* description = f.findChild<QLabel*>("Label7");
    EXPECT_EQ(description->text(), "Game Description...");
    QTest::mouseMove(f.Area("SpeedButton2"));
    QApplication::processEvents();
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(f.Area("SpeedButton2"), &move);
    EXPECT_EQ(description->text(), "Rivers game - Connect the matching tiles !");
    EXPECT_TRUE(f.Area("SameGameButton")->isHidden());
}

TEST_F(MainFormTest, CommandsWithoutAGameDoNothing) {
    TMainForm& f = Start();
    f.Item("RandomSolitaireGame1")->trigger();
    f.findChild<QPushButton*>("BitBtn3")->click();
    f.Item("LastPlayedGame1")->trigger();
    EXPECT_EQ(f.GameMode(), kModeWelcome);
    EXPECT_TRUE(f.Area("Welcome")->isVisible());
}

TEST_F(MainFormTest, GameModeSwitchOnTheWidgets) {
    TMainForm& f = Start();
    QObject* sentBy = nullptr;
    f.SetHandler("FourRivers", [&](QObject* sender) {
        sentBy = sender;
        f.Session().boardNumber = 1001;
        f.IM(kModeRivers);
        f.Session().StartClock();
    });
    f.findChild<QPushButton*>("BitBtn4")->click();
    ASSERT_EQ(f.GameMode(), kModeRivers);
    EXPECT_EQ(sentBy->objectName(), "BitBtn4");
    EXPECT_EQ(f.windowTitle(), "Tovani 10.21 - 144-Tile Rivers");
    for (const char* n : {"Undo1", "Back1", "GiveHint", "Hint3", "Shuffle1", "Shuffle2", "Restart1",
                          "Restart2", "Stoppe", "Stop1", "SaveGame", "Pause1"})
        EXPECT_TRUE(f.Item(n)->isEnabled()) << n;
    EXPECT_TRUE(f.Area("ExplorerButton2")->isEnabled());
    EXPECT_FALSE(f.Area("Welcome")->isVisible());
    EXPECT_FALSE(f.Area("SameGameButton")->isHidden());
    f.IM(kModeMemory);
    EXPECT_FALSE(f.Item("Undo1")->isEnabled());
    EXPECT_FALSE(f.Area("ShuffleButton")->isEnabled());
    EXPECT_TRUE(f.Item("Stop1")->isEnabled());
    f.Item("Stoppe")->trigger();
    EXPECT_EQ(f.GameMode(), kModeWelcome);
    EXPECT_EQ(f.windowTitle(), "Tovani 10.21 ");
    EXPECT_TRUE(f.Area("Welcome")->isVisible());
    EXPECT_FALSE(f.Item("Pause1")->isEnabled());
    // Slider and Hashira show their own areas.
    f.IM(kModeSlider);
    EXPECT_TRUE(f.Area("SliderBox")->isVisible());
    EXPECT_TRUE(f.Area("ScorePanel")->isVisible());
    f.IM(kModeHashira);
    EXPECT_FALSE(f.Area("SliderBox")->isVisible());
    EXPECT_TRUE(f.Area("HashiraBox")->isVisible());
    EXPECT_TRUE(f.Area("ColumnsPanel")->isVisible());
    // The editor has no pop-up menu.
    f.IM(kModeEditor);
    EXPECT_EQ(f.Game2()->contextMenuPolicy(), Qt::NoContextMenu);
    f.IM(kModeWelcome);
    EXPECT_EQ(f.Game2()->contextMenuPolicy(), Qt::CustomContextMenu);
}

TEST_F(MainFormTest, NewGameStartsTheLastKind) {
    TMainForm& f = Start();
    QStringList started;
    for (const char* n : {"RandomSolitaireGame1Click", "TwoPlayers", "FourRivers", "Memory",
                          "MahJonggClicks", "Sliders", "MahJonggColumnsClick"})
        f.SetHandler(n, [&started, n](QObject*) { started << n; });
    f.Session().boardNumber = 1030;
    f.Item("LastPlayedGame1")->trigger();
    f.Session().boardNumber = 1011;
    f.findChild<QToolButton*>("ExplorerButton1")->click();
    f.Session().boardNumber = 4;
    f.findChild<QPushButton*>("SameGameButton")->click();
    f.IM(kModeTwoPlayers);
    f.NewGame();
    EXPECT_EQ(started,
              QStringList({"Sliders", "Memory", "RandomSolitaireGame1Click", "TwoPlayers"}));
}

TEST_F(MainFormTest, PauseKeepsTheClockAndRenamesTheCommands) {
    TMainForm& f = Start();
    f.IM(kModeSolitaire);
    f.Session().StartClock();
    clock_.Advance(65000);
    f.Temps();
    EXPECT_EQ(f.findChild<QLabel*>("TimeLine")->text(), "01:05");
    f.Item("Pause1")->trigger();
    EXPECT_EQ(f.GameMode(), kModePaused);
    EXPECT_EQ(f.Item("Pause1")->text(), "Continue");
    EXPECT_EQ(f.Item("Pause2")->text(), "Continue");
    EXPECT_EQ(f.findChild<QToolButton*>("PauseButton")->text(), "Play");
    EXPECT_TRUE(f.Item("Pause1")->isEnabled());
    EXPECT_FALSE(f.Item("GiveHint")->isEnabled());
    clock_.Advance(300000);
    f.Temps();
    EXPECT_EQ(f.findChild<QLabel*>("TimeLine")->text(), ""); // no clock while paused
    f.findChild<QToolButton*>("PauseButton")->click();
    EXPECT_EQ(f.GameMode(), kModeSolitaire);
    EXPECT_EQ(f.Item("Pause1")->text(), "&Pause");
    EXPECT_EQ(f.findChild<QToolButton*>("PauseButton")->text(), "Pause");
    clock_.Advance(2000);
    f.Temps();
    EXPECT_EQ(f.findChild<QLabel*>("TimeLine")->text(), "01:07");
    // Stop ends a pause too.
    f.PauseClick();
    f.Stop();
    EXPECT_EQ(f.GameMode(), kModeWelcome);
    EXPECT_EQ(f.Item("Pause1")->text(), "&Pause");
}

TEST_F(MainFormTest, TimedGameStopsAtSixThousandSeconds) {
    TMainForm& f = Start();
    f.IM(kModeMemory);
    f.Session().StartClock();
    f.Session().penaltySeconds = 30;
    clock_.Advance(5969 * 1000);
    f.Temps();
    EXPECT_EQ(f.GameMode(), kModeMemory);
    EXPECT_EQ(f.findChild<QLabel*>("TimeLine")->text(), "99:59");
    clock_.Advance(1000);
    f.Temps();
    EXPECT_EQ(f.GameMode(), kModeWelcome);
}

TEST_F(MainFormTest, FocusLossPausesTheGame) {
    TMainForm& f = Start();
    f.IM(kModeRivers);
    f.Session().StartClock();
    clock_.Advance(3000);
    f.CheckPause();
    EXPECT_EQ(f.GameMode(), kModeInactive);
    clock_.Advance(50000);
    f.UnCheckPause();
    EXPECT_EQ(f.GameMode(), kModeRivers);
    f.Temps();
    EXPECT_EQ(f.Session().elapsedSeconds, 3);
    // With the option off a dialog does not pause.
    f.Item("GoCheckPause")->trigger();
    ASSERT_FALSE(f.Option("GoCheckPause"));
    f.CheckPause();
    EXPECT_EQ(f.GameMode(), kModeRivers);
}

TEST_F(MainFormTest, StatusRevealFollowsCoolStatus) {
    TMainForm& f = Start();
    Ticks(200); // the start-up message is spent
    f.ShowStatus("Good move");
    Ticks(1);
    EXPECT_EQ(StatusText(), "ve");
    Ticks(7);
    EXPECT_EQ(StatusText(), "Good move");
    f.Item("CoolStatus")->trigger();
    ASSERT_FALSE(f.Option("CoolStatus"));
    f.ShowStatus("Shuffled");
    Ticks(1);
    EXPECT_EQ(StatusText(), "Shuffled");
}

TEST_F(MainFormTest, NoMoreMovesMarquee) {
    TMainForm& f = Start();
    Ticks(200);
    RecordingGame game;
    game.onCount = [&f] {
        f.Session().tilesLeft = 12;
        f.Session().movesAvailable = 0;
    };
    f.RegisterGame({kModeSolitaire}, &game);
    f.IM(kModeSolitaire);
    f.Session().StartClock();
    Ticks(1);
    EXPECT_TRUE(f.Session().status.Marquee());
    Ticks(2);
    EXPECT_EQ(StatusText(), "!!"); // it comes in from the right
    Ticks(22);
    EXPECT_EQ(StatusText(), " SORRY, NO MORE MOVES !!");
    Ticks(7);
    // 5, 4, 3, 2, 1, then it turns at the left end and is back at 2.
    EXPECT_EQ(StatusText(), "     SORRY, NO MORE MOVES !!");
    EXPECT_EQ(f.findChild<QLabel*>("MovesLeftLine")->text(), "0");
    EXPECT_EQ(f.findChild<QLabel*>("TilesLeftLine")->text(), "12");
    // A move found again (a shuffle) stops it.
    game.onCount = [&f] { f.Session().movesAvailable = 3; };
    Ticks(1);
    EXPECT_FALSE(f.Session().status.Marquee());
    f.RegisterGame({kModeSolitaire}, nullptr);
}

TEST_F(MainFormTest, TheLayoutNameBeforeAnyLayoutIsLoadedIsExternalLayout) {
    TMainForm& f = Start();
    Ticks(200);
    f.Session().boardNumber = 1;
    f.IM(kModeSolitaire);
    EXPECT_TRUE(f.windowTitle().contains("External Layout")) << f.windowTitle().toStdString();
}

TEST_F(MainFormTest, ClosingAskesBeforeAGameInProgressIsLost) {
    TMainForm& f = Start();
    Ticks(200);
    QStringList asked;
    bool answer = false;
    f.SetQuitQuestion([&](const QString& text) {
        asked << text;
        return answer;
    });
    // Nothing in play: it closes without a word.
    EXPECT_FALSE(f.GameInProgress());
    // A game in play, AutoSave off: No keeps the window and the game.
    f.IM(kModeRivers);
    f.Session().StartClock();
    f.SetOption("AutoSave", false);
    EXPECT_FALSE(f.close());
    EXPECT_EQ(asked, QStringList{"Quit and lose the game in progress?"});
    EXPECT_EQ(f.GameMode(), kModeRivers);
    // Paused, the game is still in progress; Escape asks too.
    f.PauseClick();
    ASSERT_EQ(f.GameMode(), kModePaused);
    EXPECT_TRUE(f.GameInProgress());
    QTest::keyClick(f.Game2(), Qt::Key_Escape);
    EXPECT_EQ(asked.size(), 2);
    EXPECT_TRUE(f.isVisible());
    // Yes closes.
    answer = true;
    EXPECT_TRUE(f.close());
    EXPECT_EQ(asked.size(), 3);
}

TEST_F(MainFormTest, ShowMenuAndTotalImmersion) {
    TMainForm& f = Start();
    QMenu* popup = f.Popup();
    int own = popup->actions().size();
    EXPECT_FALSE(f.Item("PopupMenuSeparator")->isVisible());
    f.Item("ShowMenu")->trigger();
    EXPECT_TRUE(f.MenusInPopup());
    EXPECT_TRUE(f.MainMenuBar()->isHidden());
    EXPECT_EQ(popup->actions().size(), own + 12);
    EXPECT_TRUE(f.Item("PopupMenuSeparator")->isVisible());
    // Shortcuts still work with the menu hidden.
    EXPECT_TRUE(f.actions().contains(f.Item("RandomSolitaireGame1")));
    f.Item("ShowMenu")->trigger();
    EXPECT_FALSE(f.MenusInPopup());
    EXPECT_EQ(popup->actions().size(), own);
    EXPECT_EQ(f.MainMenuBar()->actions().size(), 12);
    EXPECT_FALSE(f.MainMenuBar()->isHidden());

    f.Item("Total")->trigger();
    EXPECT_TRUE(f.Area("Tools")->isHidden());
    EXPECT_TRUE(f.Area("LigneStatus")->isHidden());
    EXPECT_TRUE(f.Area("HofBox")->isHidden());
    EXPECT_TRUE(f.MenusInPopup());
    for (const char* n : {"ShowHallFame", "ShowTitle", "ShowGirls", "Toolbar1", "ShowMenu"})
        EXPECT_FALSE(f.Item(n)->isEnabled()) << n;
    // Nothing comes back while it is on.
    f.Temps();
    EXPECT_TRUE(f.Area("HofBox")->isHidden());
    f.Item("Total")->trigger();
    EXPECT_FALSE(f.Area("Tools")->isHidden());
    EXPECT_FALSE(f.Area("LigneStatus")->isHidden());
    EXPECT_FALSE(f.Area("HofBox")->isHidden());
    EXPECT_FALSE(f.MenusInPopup());
    EXPECT_TRUE(f.Item("ShowMenu")->isEnabled());
    // Each area follows its own option afterwards.
    f.Item("ShowTitle")->trigger();
    EXPECT_TRUE(f.Area("LigneStatus")->isHidden());
    QRect area = f.PlayArea()->geometry();
    f.Item("Toolbar1")->trigger();
    EXPECT_TRUE(f.Area("Tools")->isHidden());
    EXPECT_EQ(f.PlayArea()->geometry().top(), area.top() - 33);
    f.Item("Toolbar1")->trigger();
    EXPECT_EQ(f.PlayArea()->geometry(), area);
    // In the editor the toolbar option changes only its check mark.
    f.IM(kModeEditor);
    f.Item("Toolbar1")->trigger();
    EXPECT_FALSE(f.Option("Toolbar1"));
    EXPECT_FALSE(f.Area("Tools")->isHidden());
}

TEST_F(MainFormTest, EditorMenuSwapsIn) {
    TMainForm& f = Start();
    f.SetMenu(TMainForm::MenuSet::Editor);
    QStringList top;
    for (QAction* a : f.MainMenuBar()->actions())
        top << a->text();
    EXPECT_EQ(top, QStringList({"Exit", "Move Board"}));
    EXPECT_FALSE(f.actions().contains(f.Item("SaveGame"))); // its Ctrl+S is the editor's now
    EXPECT_TRUE(f.actions().contains(f.Item("Movetoleft1")));
    f.SetMenu(TMainForm::MenuSet::Main);
    EXPECT_EQ(f.MainMenuBar()->actions().size(), 12);
    EXPECT_FALSE(f.actions().contains(f.Item("Movetoleft1")));
}

} // namespace
} // namespace tovani

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
