// The main window as built and as it behaves, on Qt's offscreen platform: menus, toolbar,
// welcome screen, status line, the game-mode switch on the widgets, pause, Total Immersion,
// the menu swap, the start-up scans and the settings written at close.
#include "shell/MainForm.h"
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

namespace fs = std::filesystem;

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("tovani_shell_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "Backgrounds");
        fs::create_directories(dir_ / "Musics");
        fs::create_directories(dir_ / "Languages");
        QImage garden(64, 48, QImage::Format_RGB32);
        garden.fill(Qt::darkGreen);
        garden.save(QString::fromStdString((dir_ / "Backgrounds" / "Garden.JPG").string()), "JPG");
        garden.save(QString::fromStdString((dir_ / "Backgrounds" / "Autumn.bmp").string()), "BMP");
        Write("Musics/Endless.mid", "MThd");
        Write("Musics/Aria.MID", "MThd");
        Write("Languages/English.txt", "[Messages]\r\n");
        Write("Languages/Deutsch.txt", "[Messages]\r\n");
        Write("Tovani.ini", "[Tovani]\r\nLanguage=English\r\nMaximize=0\r\n");
    }
    void TearDown() override {
        form_.reset();
        fs::remove_all(dir_);
    }
    void Write(const std::string& rel, const std::string& bytes) {
        ASSERT_TRUE(WriteFileAtomic((dir_ / rel).string(), bytes));
    }
    TMainForm& Start(QStringList args = {}) {
        MainFormOptions o;
        o.programDir = QString::fromStdString(dir_.string()) + "/";
        o.arguments = args;
        o.clock = &clock_;
        o.startTimers = false;
        o.interactive = false;
        form_ = std::make_unique<TMainForm>(o);
        form_->show();
        form_->Temps(); // the first tick starts the program
        return *form_;
    }
    QString StatusText() { return form_->findChild<QLabel*>("StatusText")->text(); }
    void Ticks(int n) {
        for (int i = 0; i < n; ++i) {
            clock_.Advance(50);
            form_->Temps();
        }
    }

    fs::path dir_;
    ManualClock clock_{100000};
    std::unique_ptr<TMainForm> form_;
};

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

TEST_F(MainFormTest, ContentMenusAndMissingFolders) {
    TMainForm& f = Start();
    QStringList bg;
    for (QAction* a : f.TopMenu("Background")->actions())
        if (!a->isSeparator())
            bg << a->text() + (a->isChecked() ? "*" : "");
    EXPECT_EQ(bg, QStringList({"Load from disk", "None (Solid)", "Autumn", "Garden*"}));
    QStringList music;
    for (QAction* a : f.TopMenu("Music")->actions())
        music << a->text() + (a->isChecked() ? "*" : "");
    EXPECT_EQ(music, QStringList({"Random Music", "Aria", "Endless*"}));
    QStringList lang;
    for (QAction* a : f.TopMenu("MenuLanguage")->actions())
        lang << a->text() + (a->isChecked() ? "*" : "");
    EXPECT_EQ(lang, QStringList({"Deutsch", "English*"}));
    EXPECT_EQ(f.CheckedContent(ContentKind::Background)->fileName, "Garden.JPG");
    // The welcome screen stands on that picture.
    EXPECT_EQ(f.PlayAreaBackground().size(), QSize(64, 48));
    Ticks(120);
    EXPECT_TRUE(StatusText().contains("Tilesets/")) << StatusText().toStdString();
    EXPECT_TRUE(StatusText().contains("Small/"));
    EXPECT_FALSE(StatusText().contains("Musics/"));
}

// A background kept by its name opens as the same picture after a new file joins the folder;
// an old numeric choice is read once as the position it meant and kept by name from then on.
TEST_F(MainFormTest, ContentChoicesAreKeptByName) {
    Write("Tovani.ini", "[Tovani]\r\nLanguage=English\r\nMaximize=0\r\nBackground=2\r\n");
    {
        TMainForm& f = Start(); // 2 is the separator: the last picture, Garden
        EXPECT_EQ(f.CheckedContent(ContentKind::Background)->caption, "Garden");
        Write("Tovani.ini", "[Tovani]\r\nLanguage=English\r\nMaximize=0\r\nBackground=3\r\n");
    }
    form_.reset();
    {
        TMainForm& f = Start(); // position 3 was Autumn
        EXPECT_EQ(f.CheckedContent(ContentKind::Background)->caption, "Autumn");
        f.close();
    }
    form_.reset();
    EXPECT_EQ(IniFile((dir_ / "Tovani.ini").string()).ReadString("Tovani", "Background", ""),
              "Autumn");
    // A new picture sorts before Autumn: the kept name still finds Autumn.
    fs::copy(dir_ / "Backgrounds" / "Autumn.bmp", dir_ / "Backgrounds" / "Abbey.bmp");
    {
        TMainForm& f = Start();
        EXPECT_EQ(f.CheckedContent(ContentKind::Background)->caption, "Autumn");
        // Another choice from the menu is kept by its name too.
        for (QAction* a : f.TopMenu("Background")->actions())
            if (a->text() == "Garden")
                a->trigger();
        f.close();
    }
    form_.reset();
    EXPECT_EQ(IniFile((dir_ / "Tovani.ini").string()).ReadString("Tovani", "Background", ""),
              "Garden");
    // A name that is gone falls back to the usual picture.
    Write("Tovani.ini", "[Tovani]\r\nLanguage=English\r\nMaximize=0\r\nBackground=Winter\r\n");
    TMainForm& f = Start();
    EXPECT_EQ(f.CheckedContent(ContentKind::Background)->caption, "Garden");
    Write("Tovani.ini", "[Tovani]\r\nLanguage=English\r\nMaximize=0\r\nBackground=Abbey\r\n");
    form_.reset();
    EXPECT_EQ(Start().CheckedContent(ContentKind::Background)->caption, "Abbey");
}

// On a screen of twice the density the welcome pictures and toolbar icons come from their
// "@2x" files, not from the normal ones blown up; without such a file the normal one serves.
TEST_F(MainFormTest, PicturesOfTwiceTheDensityServeDenseScreens) {
    const QString res = QString::fromStdString((dir_ / "Resources").string());
    QDir().mkpath(res);
    auto plain = [](int w, int h, QColor c) {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(c);
        return img;
    };
    ASSERT_TRUE(plain(150, 100, Qt::red).save(res + "/screen1.png"));
    ASSERT_TRUE(plain(300, 200, Qt::blue).save(res + "/screen1@2x.png"));
    ASSERT_TRUE(plain(150, 100, Qt::red).save(res + "/screen2.png"));
    ASSERT_TRUE(plain(24, 24, Qt::red).save(res + "/IconNew.png"));
    ASSERT_TRUE(plain(48, 48, Qt::blue).save(res + "/IconNew@2x.png"));
    const QString dir = QString::fromStdString(dir_.string()) + "/";

    const QIcon welcome = WelcomeIcon(dir, 1);
    const QPixmap dense = welcome.pixmap(QSize(150, 100), 2.0);
    EXPECT_EQ(dense.size(), QSize(300, 200));
    EXPECT_EQ(dense.toImage().pixelColor(150, 100), QColor(Qt::blue));
    const QPixmap normal = welcome.pixmap(QSize(150, 100), 1.0);
    EXPECT_EQ(normal.size(), QSize(150, 100));
    EXPECT_EQ(normal.toImage().pixelColor(75, 50), QColor(Qt::red));
    // No "@2x" file: the normal picture, scaled.
    EXPECT_EQ(WelcomeIcon(dir, 2).pixmap(QSize(150, 100), 2.0).toImage().pixelColor(10, 10),
              QColor(Qt::red));

    const QIcon icon = ToolbarIcon(dir, "ExplorerButton1");
    EXPECT_EQ(icon.pixmap(QSize(18, 18), 2.0).toImage().pixelColor(18, 18), QColor(Qt::blue));
    EXPECT_EQ(icon.pixmap(QSize(18, 18), 1.0).toImage().pixelColor(9, 9), QColor(Qt::red));
    EXPECT_DOUBLE_EQ(ShellPicture2x(dir, "screen1").devicePixelRatio(), 2.0);
    EXPECT_TRUE(ShellPicture2x(dir, "screen2").isNull());

    // The dense picture is read when it is first drawn, not before: on an ordinary screen it
    // never is. (Written after the icon was made, it is still the one that serves.)
    ASSERT_TRUE(plain(150, 100, Qt::red).save(res + "/screen3.png"));
    const QIcon later = WelcomeIcon(dir, 3);
    EXPECT_EQ(later.pixmap(QSize(150, 100), 1.0).toImage().pixelColor(75, 50), QColor(Qt::red));
    ASSERT_TRUE(plain(300, 200, Qt::green).save(res + "/screen3@2x.png"));
    const QIcon copy = later; // copies share what has been read
    EXPECT_EQ(copy.pixmap(QSize(150, 100), 2.0).toImage().pixelColor(150, 100),
              QColor(Qt::green));
    QFile::remove(res + "/screen3@2x.png");
    EXPECT_EQ(later.pixmap(QSize(150, 100), 2.0).toImage().pixelColor(150, 100),
              QColor(Qt::green));
    // A disabled button still gets its greyed picture.
    EXPECT_FALSE(later.pixmap(QSize(150, 100), 1.0, QIcon::Disabled).isNull());
}

TEST_F(MainFormTest, LayoutMenuFromTheLayoutsFolder) {
    fs::create_directories(dir_ / "Layouts");
    Write("Layouts/Traditional.lay", "x");
    Write("Layouts/pyramid.LAY", "x");
    Write("Layouts/Spiral.shp", "x");
    TMainForm& f = Start();
    QStringList items;
    for (QAction* a : f.TopMenu("Layout1")->actions().mid(5))
        items << a->text() + (a->isChecked() ? "*" : "");
    // ".lay" layouts sorted, then ".shp" ones under their full file name.
    EXPECT_EQ(items, QStringList({"pyramid", "Traditional*", "Spiral.shp"}));
    EXPECT_EQ(f.Session().boardNumber, 2); // a new player starts on "Traditional"
    EXPECT_TRUE(f.LayoutPath().endsWith("Layouts/Traditional.lay"));
    QString ran;
    f.SetHandler("RunLayout", [&ran, &f](QObject*) { ran = f.LayoutPath(); });
    f.TopMenu("Layout1")->actions().at(5)->trigger();
    EXPECT_EQ(f.Session().boardNumber, 1);
    EXPECT_TRUE(ran.endsWith("Layouts/pyramid.LAY"));
    f.IM(kModeSolitaire);
    EXPECT_EQ(f.windowTitle(), "Tovani 10.21 - Layout : pyramid");
}

TEST_F(MainFormTest, NoLayoutIsSaidAndTheOtherGamesStillPlay) {
    TMainForm& f = Start();
    EXPECT_EQ(f.GameMode(), kModeWelcome);
    Ticks(150);
    EXPECT_TRUE(StatusText().contains("No layout found")) << StatusText().toStdString();
}

TEST_F(MainFormTest, NoMusicStartsSilently) {
    fs::remove_all(dir_ / "Musics");
    TMainForm& f = Start();
    EXPECT_EQ(f.GameMode(), kModeWelcome);
    EXPECT_TRUE(f.isVisible());
    Ticks(150);
    EXPECT_TRUE(StatusText().contains("plays silently")) << StatusText().toStdString();
}

TEST_F(MainFormTest, SettingsWrittenAtClose) {
    {
        TMainForm& f = Start();
        f.Item("Winnable")->trigger();
        f.Item("CoolStatus")->trigger();
        f.Item("Highlight5")->trigger();
        f.Item("AniFast")->trigger();
        f.Item("FastFall")->trigger();
        f.Item("N512x512texture1")->trigger();
        f.Item("Static1")->trigger();
        f.Item("StartatLevel71")->trigger();
        f.TopMenu("Background")->actions().at(3)->trigger(); // Autumn
        f.close();
    }
    IniFile ini((dir_ / "Tovani.ini").string());
    EXPECT_EQ(ini.ReadInteger("Tovani", "Launches", 0), 1);
    EXPECT_TRUE(ini.ReadBool("Tovani", "Winnable", false));
    EXPECT_FALSE(ini.ReadBool("Tovani", "CoolStatus", true));
    EXPECT_EQ(ini.ReadInteger("Tovani", "Highlight", -1), 4);
    EXPECT_EQ(ini.ReadInteger("Tovani", "AnimationSpeed", -1), 2);
    EXPECT_EQ(ini.ReadInteger("Tovani", "SpeedFall", -1), 3);
    EXPECT_EQ(ini.ReadInteger("Tovani", "BackTexSize", -1), 512);
    EXPECT_EQ(ini.ReadInteger("Tovani", "Contemplation", -1), 0);
    EXPECT_EQ(ini.ReadInteger("Tovani", "StartLevel", -1), 7);
    EXPECT_EQ(ini.ReadString("Tovani", "Background", ""), "Autumn"); // by name, not position
    EXPECT_EQ(ini.ReadInteger("Tovani", "MidiNumber", -1), 2);
    EXPECT_EQ(ini.ReadString("Tovani", "Language", ""), "English");
    EXPECT_EQ(ini.ReadString("Tovani", "CustomColors", "").size(), 96u);
    EXPECT_FALSE(ini.ValueExists("Tovani", "Rotation3D")); // no 3D scene this time
    EXPECT_TRUE(ini.ValueExists("Tovani", "XPos"));
    // The next start reads them back.
    Start();
    EXPECT_TRUE(form_->Option("Winnable"));
    EXPECT_TRUE(form_->Option("Highlight5"));
    EXPECT_TRUE(form_->Option("FastFall"));
    EXPECT_EQ(form_->findChild<QPushButton*>("StartLevel")->text(), "Level 7");
    EXPECT_EQ(form_->CheckedContent(ContentKind::Background)->caption, "Autumn");
    EXPECT_EQ(form_->Prefs().Launches(), 2);
}

// Every option of the settings table changed from its default, the window closed and started
// again: each item carries the mark it was left with.
TEST_F(MainFormTest, EveryOptionSurvivesARestart) {
    std::map<std::string, bool> left;
    {
        TMainForm& f = Start();
        for (const SettingKey& k : Settings::Table()) {
            // The 3D view needs OpenGL, which this window has not.
            if (!k.item || k.kind != SettingKind::Bool || std::string_view(k.item) == "N3D")
                continue;
            QAction* a = f.Item(k.item);
            ASSERT_NE(a, nullptr) << k.item;
            if (!a->isEnabled())
                a->setEnabled(true);
            a->trigger();
        }
        // Items of a radio group (the layout view, the 3D background) uncheck each other:
        // the marks are read once every item has been clicked.
        int changed = 0;
        for (const SettingKey& k : Settings::Table()) {
            if (!k.item || k.kind != SettingKind::Bool || std::string_view(k.item) == "N3D")
                continue;
            left[k.item] = f.Option(k.item);
            changed += left[k.item] != (f.Prefs().Default(k) != 0) ? 1 : 0;
        }
        EXPECT_GE(changed, static_cast<int>(left.size()) - 4); // ShowFave and the 3D trio
        f.Item("Highlight2")->trigger();
        f.Item("AniClassic")->trigger();
        f.Item("AniUltra")->trigger();
        f.Item("FollowMouseFast")->trigger();
        f.close();
    }
    Start();
    for (const auto& [item, on] : left)
        EXPECT_EQ(form_->Option(QString::fromStdString(item)), on) << item;
    EXPECT_TRUE(form_->Option("Highlight2"));
    EXPECT_TRUE(form_->Option("AniClassic"));
    EXPECT_TRUE(form_->Option("AniUltra"));
    EXPECT_TRUE(form_->Option("FollowMouseFast"));
}

// The stored bounds are used on a screen as wide as the one they were left on; on another the
// window is centred at its own size. The font comes back with its style; a close in full
// screen leaves the stored bounds alone.
TEST_F(MainFormTest, WindowPlacementAndFontSurviveARestart) {
    const int width = QGuiApplication::primaryScreen()->geometry().width();
    const std::string bounds = "XPos=40\r\nYPos=30\r\nWPos=700\r\nHPos=500\r\nMaximize=0\r\n";
    Write("Tovani.ini", "[Tovani]\r\nLanguage=English\r\nPreviousRes=" + std::to_string(width) +
                            "\r\n" + bounds +
                            "FontName=DejaVu Serif\r\nFontSize=12\r\nFontBold=1\r\n"
                            "FontItalic=1\r\n");
    {
        TMainForm& f = Start();
        EXPECT_EQ(f.geometry().size(), QSize(700, 500));
        EXPECT_EQ(f.font().family(), "DejaVu Serif");
        EXPECT_EQ(f.font().pointSize(), 12);
        EXPECT_TRUE(f.font().bold());
        EXPECT_TRUE(f.font().italic());
        f.close();
    }
    IniFile ini((dir_ / "Tovani.ini").string());
    EXPECT_EQ(ini.ReadInteger("Tovani", "WPos", 0), 700);
    EXPECT_EQ(ini.ReadString("Tovani", "FontName", ""), "DejaVu Serif");
    EXPECT_EQ(ini.ReadInteger("Tovani", "FontSize", 0), 12);
    EXPECT_TRUE(ini.ReadBool("Tovani", "FontItalic", false));

    // Another screen width: centred at the window's own size.
    Write("Tovani.ini", "[Tovani]\r\nLanguage=English\r\nPreviousRes=" + std::to_string(width + 1) +
                            "\r\n" + bounds);
    {
        TMainForm& f = Start();
        EXPECT_NE(f.geometry().size(), QSize(700, 500));
        const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
        EXPECT_LE(std::abs(f.geometry().center().x() - avail.center().x()), 2);
        f.close();
    }

    // Closed in full screen: the stored bounds stay as they were.
    Write("Tovani.ini", "[Tovani]\r\nLanguage=English\r\nFullScreen=1\r\nPreviousRes=" +
                            std::to_string(width) + "\r\n" + bounds);
    {
        TMainForm& f = Start();
        f.resize(900, 650);
        f.close();
    }
    IniFile after((dir_ / "Tovani.ini").string());
    EXPECT_EQ(after.ReadInteger("Tovani", "WPos", 0), 700);
    EXPECT_EQ(after.ReadInteger("Tovani", "HPos", 0), 500);
}

TEST_F(MainFormTest, CustomColorsSurviveARestart) {
    std::string value;
    for (int i = 0; i < 16; ++i)
        value += i % 2 ? "0000FF" : "00FF00";
    Write("Tovani.ini", "[Tovani]\r\nLanguage=English\r\nCustomColors=" + value + "\r\n");
    {
        TMainForm& f = Start();
        EXPECT_EQ(QColorDialog::customColor(1), QColor(255, 0, 0)); // 0000FF is red
        EXPECT_EQ(QColorDialog::customColor(0), QColor(0, 255, 0));
        f.close();
    }
    IniFile ini((dir_ / "Tovani.ini").string());
    EXPECT_EQ(ini.ReadString("Tovani", "CustomColors", ""), value);
}

TEST_F(MainFormTest, FullScreenOnlyChangesTheMark) {
    TMainForm& f = Start();
    QRect before = f.geometry();
    f.Item("FullScreen")->trigger();
    EXPECT_TRUE(f.Option("FullScreen"));
    EXPECT_EQ(f.geometry(), before);
    EXPECT_FALSE(f.isFullScreen());
}

TEST_F(MainFormTest, KeyboardFlagsAndEscape) {
    TMainForm& f = Start();
    QTest::keyPress(f.PlayArea(), Qt::Key_Left);
    EXPECT_TRUE(f.Arrows().left);
    QTest::keyPress(f.PlayArea(), Qt::Key_Up);
    EXPECT_TRUE(f.Arrows().up);
    EXPECT_FALSE(f.Arrows().left);
    EXPECT_TRUE(f.Arrows().prevLeft);
    QTest::keyRelease(f.PlayArea(), Qt::Key_Up);
    EXPECT_FALSE(f.Arrows().up);
    QTest::keyPress(f.PlayArea(), Qt::Key_Escape, Qt::AltModifier);
    EXPECT_TRUE(f.isVisible());
    QTest::keyPress(f.PlayArea(), Qt::Key_Escape);
    EXPECT_FALSE(f.isVisible());
}

TEST_F(MainFormTest, LayoutFileOnTheCommandLineIsCopiedAndPlayed) {
    const std::string layout =
        ReadWholeFile(std::string(TOVANI_BIN_DIR) + "/Layouts/Traditional.lay").value_or("");
    ASSERT_FALSE(layout.empty());
    Write("outside.LAY", layout);
    fs::create_directories(dir_ / "Layouts");
    bool begun = false;
    MainFormOptions o;
    o.programDir = QString::fromStdString(dir_.string()) + "/";
    o.arguments = {QString::fromStdString((dir_ / "outside.LAY").string())};
    o.clock = &clock_;
    o.startTimers = false;
    o.interactive = false;
    form_ = std::make_unique<TMainForm>(o);
    form_->SetHandler("BeginGame", [&](QObject*) { begun = true; });
    form_->show();
    form_->Temps();
    EXPECT_TRUE(begun);
    EXPECT_EQ(*ReadWholeFile((dir_ / "Layouts" / "outside.LAY").string()), layout);
    EXPECT_EQ(form_->LayoutPath().toStdString(), (dir_ / "Layouts" / "outside.LAY").string());
}

TEST_F(MainFormTest, ABrokenLayoutOnTheCommandLineIsRefusedAndReplacesNothing) {
    // A layout cut short, named like one already in the Layouts folder.
    const std::string layout =
        ReadWholeFile(std::string(TOVANI_BIN_DIR) + "/Layouts/Traditional.lay").value_or("");
    ASSERT_FALSE(layout.empty());
    fs::create_directories(dir_ / "Layouts");
    Write("Layouts/Traditional.lay", layout);
    fs::create_directories(dir_ / "elsewhere");
    Write("elsewhere/Traditional.lay", layout.substr(0, 600));
    bool begun = false;
    MainFormOptions o;
    o.programDir = QString::fromStdString(dir_.string()) + "/";
    o.arguments = {QString::fromStdString((dir_ / "elsewhere" / "Traditional.lay").string())};
    o.clock = &clock_;
    o.startTimers = false;
    o.interactive = false;
    form_ = std::make_unique<TMainForm>(o);
    form_->SetHandler("BeginGame", [&](QObject*) { begun = true; });
    form_->show();
    form_->Temps();
    EXPECT_FALSE(begun);
    EXPECT_EQ(*ReadWholeFile((dir_ / "Layouts" / "Traditional.lay").string()), layout);
    EXPECT_EQ(ListFiles((dir_ / "Layouts").string()).size(), 1u);
    Ticks(150);
    const QString status = form_->findChild<QLabel*>("StatusText")->text();
    EXPECT_TRUE(status.contains("Traditional.lay")) << status.toStdString();
}

TEST_F(MainFormTest, HostileSettingsFilesAreSurvivedAndKept) {
    // A stored window size no screen holds and the largest launch count: the window fits the
    // screen and the count does not wrap.
    Write("Tovani.ini", "[Tovani]\r\nLanguage=English\r\nMaximize=0\r\nLaunches=2147483647\r\n"
                        "CurrentVersion=Tovani 10.21\r\nPreviousRes=" +
                            std::to_string(QGuiApplication::primaryScreen()->geometry().width()) +
                            "\r\nWPos=30000\r\nHPos=30000\r\n");
    {
        TMainForm& f = Start();
        const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
        EXPECT_LE(f.width(), avail.width());
        EXPECT_LE(f.height(), avail.height());
        EXPECT_EQ(f.Prefs().Launches(), 2147483647);
        f.close();
        EXPECT_LE(IniFile((dir_ / "Tovani.ini").string()).ReadInteger("Tovani", "WPos", 0),
                  avail.width());
    }
    // A settings file too large to read: the player is told, and it is left as it was.
    const std::string big = "[Tovani]\r\nLanguage=English\r\nFontName=Mine\r\n; " +
                            std::string(17u << 20, 'x') + "\r\n";
    Write("Tovani.ini", big);
    TMainForm& f = Start();
    Ticks(150);
    EXPECT_TRUE(StatusText().contains("Tovani.ini is too large to be read"))
        << StatusText().toStdString();
    f.close();
    EXPECT_EQ(ReadWholeFile((dir_ / "Tovani.ini").string(), 32u << 20).value_or(""), big);

    // A write-protected settings file is read, respected, and the player told.
    const std::string mine = "[Tovani]\r\nLanguage=English\r\nMaximize=0\r\nShowMoves=0\r\n";
    Write("Tovani.ini", mine);
    fs::permissions(dir_ / "Tovani.ini", fs::perms::owner_read | fs::perms::group_read);
    TMainForm& g = Start();
    Ticks(150);
    EXPECT_TRUE(StatusText().contains("Tovani.ini is write-protected"))
        << StatusText().toStdString();
    EXPECT_FALSE(g.Option("Moves"));
    g.close();
    EXPECT_EQ(ReadWholeFile((dir_ / "Tovani.ini").string()).value_or(""), mine);
    fs::permissions(dir_ / "Tovani.ini", fs::perms::owner_all);
}

TEST(HelpPages, ViewerOpensPagesAndSaysWhenOneIsMissing) {
    QString help = QString(TOVANI_SOURCE_DIR) + "/content/Help/";
    HelpViewer v(nullptr, help);
    v.Open("hashira.html");
    EXPECT_TRUE(v.Browser()->toPlainText().contains("Up cycles its three tiles"));
    v.Open("nowhere.html");
    EXPECT_TRUE(v.Browser()->toPlainText().contains("Help page not found"));
    // Every page of the folder links back to the contents, and every link leads to a page.
    for (const QString& page : QDir(help).entryList({"*.html"})) {
        v.Open(page);
        QString html = v.Browser()->toHtml();
        EXPECT_TRUE(html.contains("index.html")) << page.toStdString();
        QRegularExpression link("href=\"([^\"#]+)\"");
        for (auto it = link.globalMatch(html); it.hasNext();) {
            QString target = it.next().captured(1);
            EXPECT_TRUE(QFileInfo::exists(help + target))
                << page.toStdString() << " -> " << target.toStdString();
        }
    }
}

TEST(HelpPages, TilesetPageShowsTheFaces) {
    // A plain tileset: nine by five cells of 40 x 50 in distinct colours.
    QImage set(360, 250, QImage::Format_RGB32);
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 9; ++c)
            for (int y = 0; y < 50; ++y)
                for (int x = 0; x < 40; ++x)
                    set.setPixel(c * 40 + x, r * 50 + y, qRgb(20 * c + 40, 40 * r + 30, 200));
    QString path = QDir::temp().filePath("tovani_test_tileset.bmp");
    ASSERT_TRUE(set.save(path, "BMP"));
    QString problem;
    QImage faces = TilesetFacesPicture(path, &problem);
    QFile::remove(path);
    ASSERT_FALSE(faces.isNull()) << problem.toStdString();
    EXPECT_TRUE(problem.isEmpty());
    // Nine tiles a row, five rows, at least as large as the source cells are wide.
    EXPECT_GT(faces.width(), 9 * 20);
    EXPECT_GT(faces.height(), 5 * 20);
    EXPECT_NEAR(double(faces.width()) / faces.height(), 9.0 * 40 / (5 * 50), 0.6);
    // A missing or broken file says why.
    QImage none = TilesetFacesPicture("/nonexistent/x.bmp", &problem);
    EXPECT_TRUE(none.isNull());
    EXPECT_TRUE(problem.contains("cannot be read"));
    HelpViewer v(nullptr, QDir::tempPath());
    v.OpenTileset("Test", QImage(), "", problem);
    EXPECT_TRUE(v.Browser()->toPlainText().contains("cannot be read"));
    v.OpenTileset("Test", faces, "");
    EXPECT_TRUE(v.Browser()->toPlainText().contains("43 tiles of Test"));
}

TEST(AboutBoxText, CountsLaunches) {
    EXPECT_TRUE(AboutBox::LaunchesText(1).contains("first time"));
    EXPECT_EQ(AboutBox::LaunchesText(7), "You have started Tovani 7 times.");
    AboutBox box(nullptr, "10.21", 7);
    EXPECT_EQ(box.findChild<QLabel*>("AboutVersion")->text(), "Version 10.21");
    EXPECT_EQ(box.findChild<QLabel*>("AboutLaunches")->text(), "You have started Tovani 7 times.");
}

} // namespace
} // namespace tovani

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
