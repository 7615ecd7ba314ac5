// The main window: the one long-lived object of the program. It holds the areas (toolbar,
// play area, status line, hall-of-fame strip, welcome screen, splash), every menu, the game
// mode and the clocks, and runs start-up, pauses, the 50 ms interface timer and the close.
//
// The games plug in through the game interface (play/Game.h): RegisterGame puts a game in the
// table from game mode to game, and the window sends the shared commands (Back, Redo, Hint,
// Shuffle, Restart, GoBack), the 50 ms count, clicks, keys and the 12 ms beat to the game of the
// current mode, and to no game in the other modes.
//
// Other parts hook in by command name: SetHandler("FourRivers", fn) makes every menu item,
// toolbar button and welcome button bound to that command call fn with the control that sent
// it (a QAction or a button; its objectName tells the variant). A command with no handler does
// nothing. When the window has a part of its own in a command (an option's visible effect, the
// pause), that part runs first and the hooked handler after it. Items are found by their
// objectName with Item("Winnable"); an option's check mark is already inverted when its
// handler runs.
#pragma once

#include "core/Clock.h"
#include "core/IniFile.h"
#include "play/Game.h"
#include "shell/ContentScan.h"
#include "shell/GameModes.h"
#include "shell/GameSession.h"
#include "shell/Settings.h"
#include "solitaire/LayoutCatalog.h"

#include <QHash>
#include <QImage>
#include <QMainWindow>
#include <QPixmap>
#include <QPointer>
#include <QStringList>

#include <array>
#include <optional>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <vector>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QMenuBar;
class QProgressBar;
class QPushButton;
class QSlider;
class QTimer;
class QToolButton;

namespace tovani {

class LanguageFile;
class PaintBox;
class TLanguage;
class TThreadTimer;

struct MainFormOptions {
    QString programDir;           // the folder of the executable, ending with '/'
    QStringList arguments;        // command-line arguments after the program name
    const Clock* clock = nullptr; // the system clock when null
    bool startTimers = true;      // tests drive Temps by hand
    bool interactive = true;      // first-run questions and message boxes may be shown
    // Where the player's own files go: beside the program when its folder may be written to,
    // else the data folder (dataHome/tovani). Empty dataHome: XDG_DATA_HOME, or ~/.local/share.
    // Tests set programDirWritable to try an installed program.
    std::optional<bool> programDirWritable;
    QString dataHome;
};

class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    using Handler = std::function<void(QObject* sender)>;
    enum class MenuSet { Main, Editor };

    explicit TMainForm(MainFormOptions options, QWidget* parent = nullptr);
    ~TMainForm() override;
    const MainFormOptions& Options() const { return options_; }

    // ---- Hooks for the other parts ---------------------------------------------------------
    void SetHandler(const QString& command, Handler handler);
    bool HasHandler(const QString& command) const;

    // ---- The games -------------------------------------------------------------------------
    // Puts `game` in the table for each of `modes` (1..7, and 8 for the layout editor); null
    // takes it out.
    void RegisterGame(std::initializer_list<int> modes, Game* game);
    // A beat of the 12 ms thread timer `TimerColumns`: the game of the mode, then the 3D view.
    void Timer1timer();
    // The game of a mode, or null (modes 0 and 9..13 have none).
    Game* GameOf(int mode) const;
    // The game of the current mode, or null.
    Game* CurrentGame() const { return GameOf(session_.mode); }
    // The Layout menu's item of layout `number` (1..), or null.
    QAction* LayoutItem(int number) const;
    // Runs a command as its menu item would (nothing when no handler is set).
    void RunCommand(const QString& command, QObject* sender = nullptr);
    // A menu item (any menu) or pop-up item by objectName; null when there is none.
    QAction* Item(const QString& name) const;
    // Enables or disables a command wherever it stands: its menu item, or else the toolbar
    // button or control of that name.
    void EnableCommand(const QString& name, bool on);
    // An option's check mark, by item name.
    bool Option(const QString& name) const;
    void SetOption(const QString& name, bool on);
    // Texts shown go through the language component when one is set.
    void SetTranslator(std::function<QString(const QString&)> translator);
    QString Tr(const QString& text) const;
    // The main window's language component, and the language items' handler.
    TLanguage& Language() const { return *language_; }
    void LanguageClick(QObject* sender);
    // Puts a window into the main window's language once per language (dialogs when shown).
    void TranslateWindow(QWidget* window);
    // The file of a language in the Languages folder ("French" gives ".../French.txt").
    QString LanguageFilePath(const QString& name) const;
    // The folder of the help pages in the player's language ("Help/French/"), or the English
    // pages of "Help/" when the language has none.
    QString HelpFolder() const;

    // ---- Game sessions ---------------------------------------------------------------------
    void IM(int mode);
    int GameMode() const { return session_.mode; }
    GameSession& Session() { return session_; }
    const Clock& GameClock() const { return *clock_; }
    void NewGame(QObject* sender = nullptr);
    void InitVar() { session_.InitVar(); }
    void PauseClick();
    void SetPauseButtons();
    void Stop();
    void Exit1Click();
    void FormDeactivate();
    void FormActivate();
    void CheckPause();   // before a modal dialog opens
    void UnCheckPause(); // after it closes
    // A game in play pauses while the window is minimised or hidden and goes on when it is
    // shown again (a game the player paused stays paused).
    void WindowShownOrHidden();
    // A dialog waits for an answer: no click or key reaches a game meanwhile.
    bool DialogUp() const;
    // A game is being played (or paused) and not over: closing would lose it.
    bool GameInProgress() const;
    // The question asked before a game in progress is lost at close; tests answer it. By
    // default a Yes/No box with No as the default, or Yes when the window is not interactive.
    void SetQuitQuestion(std::function<bool(const QString& text)> question) {
        quitQuestion_ = std::move(question);
    }
    void ShowStatus(const QString& text);
    // A problem met while starting (no sound card...): all are said together on the status
    // line when start-up is over.
    void AddStartupProblem(const QString& text);
    void Splashing(const QString& text);
    void WriteScore();
    void Temps();
    void Init();
    void FinishInit();
    bool Initialised() const { return initialised_; }
    // True until the first picture of the play area replaces the intro.
    bool StartingUp() const { return !initialised_ || firstShowPending_; }
    // The board's description in the caption (a layout's name for boards below 1000).
    void SetLayoutName(const QString& name) { layoutName_ = name; }
    // Rebuilds the Layout menu from the Layouts folder and chooses the layout to play (at
    // start-up, and after the editor saves).
    void MakeLayouts();
    const LayoutCatalog& Layouts() const { return catalog_; }
    // The full path of the layout file to play.
    const QString& LayoutPath() const { return layoutPath_; }
    void SetLayoutPath(const QString& path) { layoutPath_ = path; }
    void SetSliderCanGoBack(bool on) { sliderCanGoBack_ = on; }

    // ---- Menus -----------------------------------------------------------------------------
    void SetMenu(MenuSet set);
    MenuSet CurrentMenu() const { return currentMenu_; }
    void SwapMenus();
    bool MenusInPopup() const { return menusInPopup_; }
    QMenuBar* MainMenuBar() const;
    QMenu* Popup() const { return popup_; }
    QMenu* StartLevelMenu() const { return startLevelMenu_; }
    QMenu* TopMenu(const QString& name) const; // "File1", "Play1" ... "EditorMenu" menus too
    QList<QAction*> EditorMenuItems() const { return editorTop_; }
    QList<QAction*> MainMenuItems() const { return mainTop_; }

    // ---- Areas ------------------------------------------------------------------------------
    QWidget* PlayArea() const { return gameArea_; }
    QWidget* Game2() const;
    QWidget* GLPanel() const { return glPanel_; }
    QWidget* HofBox() const;
    // The progress bar in the status field, 42 steps, for content that takes a while to load.
    QProgressBar* LoadingBar() const { return loadingBar_; }
    // "Cool Window Background": the picture the window and the dialogs opened later are
    // papered with (null when the option is off), and the papering of such a dialog.
    const QImage& CoolBackPicture() const { return coolBack_; }
    void PaperDialog(QWidget& dialog) const;
    QWidget* Area(const QString& name) const; // any area or control by objectName
    void RedrawHallOfFame();
    void SetHallOfFamePainter(std::function<void(QPainter&, const QRect&)> painter);
    void SetBoardPainter(std::function<void(QPainter&, const QRect&)> painter);
    // The picture behind the play area (Backgrounds); rebuilt pictures are passed in here.
    void SetPlayAreaBackground(const QImage& picture);
    void ShowFond(); // repaints the play-area background
    const QImage& PlayAreaBackground() const { return background_; }
    void FormResize();
    QCursor Cursor(int number) const; // 21 the open hand, 22 the closed hand

    // ---- Settings and content ---------------------------------------------------------------
    IniFile& SettingsFile() { return ini_; }
    Settings& Prefs() { return settings_; }
    const QString& ProgramDirectory() const { return programDir_; }
    // The folder of the player's own files ("Tovani.ini", "Hallfame.ini", "Favelay.ini",
    // Savegame/, their layouts), ending with '/': the program's folder when it may be written
    // to, else the data folder.
    const QString& UserDirectory() const { return userDir_; }
    const std::vector<ContentEntry>& Content(ContentKind kind) const;
    // The checked content item's entry, or null.
    const ContentEntry* CheckedContent(ContentKind kind) const;
    QString LaunchCount() const { return QString::number(settings_.Launches()); }
    bool View3D() const { return view3D_; }
    void SetView3D(bool on);
    void SetScene3DCreated(bool on) { scene3DCreated_ = on; }

    // Keyboard state for games that read the arrows.
    struct ArrowKeys {
        bool right = false, left = false, up = false, down = false;
        bool prevRight = false, prevLeft = false, prevUp = false;
    };
    const ArrowKeys& Arrows() const { return arrows_; }
    bool FastTimerActive() const { return fastTimerActive_; }

    // Writes every setting (the close sequence without closing); false on a failed write.
    bool SaveSettings();

signals:
    // The status field's text changed (for tests and for the 3D title).
    void StatusShown(const QString& text);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    friend class MainFormBuilder;

    // Launch: building the window.
    void Launch();
    void BuildAreas();
    void BuildToolbar();
    void BuildStatusLine();
    void BuildWelcome();
    void BuildSplash();
    void BuildMenus();
    QMenu* BuildMenuFromTable(const std::vector<struct MenuRow>& rows, QMenu* into,
                              QList<QAction*>* topLevel);
    void RegisterShellHandlers();
    void ApplyDefaultChecks();
    void SetTextStyle();
    void UpdateScreenText();
    void UpdateCaption();

    // Languages (MainFormLanguage.cpp).
    void BuildLanguage();
    void ApplyStartupLanguage();
    void UseMessageLanguage(const QString& name); // messages and Qt's texts, before the pass
    QString CheckedLanguage() const;
    // After a change of language: the texts the program wrote itself, from `previous`.
    void RefreshScreenTexts(const LanguageFile& previous);

    // Start-up steps.
    void ApplySettings();
    void ApplyWindowPlacement();
    void LoadFiles();
    void FillContentMenu(ContentKind kind, QMenu* menu, const QString& handler);
    void LayoutAreas();
    void PlaceSplash();
    void ApplyHighlightEnabling();
    void ApplyDependentEnabling();
    void ApplyFallbackBackground();
    void CollectSettings();
    const QPixmap& ScaledBackground(const QSize& size);

    // View options.
    void ShowTitleClick();
    void ShowGirlsClick();
    void Toolbar1Click();
    void SetMainFontClick();
    void FullScreenClick();
    void AnimatePauseClick();
    void FlatButtonsClick();
    void ShowCurrentTileClick();
    void AnimateCursorClick();
    void AnimateTilesClick();
    void CoolMouseClick();
    void CoolToolbarClick();
    // "Cool Window Background": the window's own surfaces, and the dialogs opened later, are
    // papered with the logo; off, they are plain.
    void CoolBackgrClick();

    void ShowMenuClick();
    void TotalClick();
    void NStatus();
    void ShowTimeClick();
    void GoCheckPauseClick();
    void ShowHallPanel();
    void ShowVolumeClick();
    void HighlightClick(QObject* sender);
    void StartLevelClick();
    void StartatLevel11Click(QObject* sender);
    void LoadlayoutClick(QObject* sender);
    void CallHelp(QObject* sender);
    void About1Click();
    void SyncAreaVisibility();
    void SetStatusField(const QString& text);
    void ReportStartupProblems();

    bool FormKeyDown(int key, Qt::KeyboardModifiers mods); // true when the game used the key
    void FormKeyUp();
    bool ConfirmQuit(const QString& text);

    // The game table and what it dispatches (MainFormGames.cpp).
    void RegisterGameCommands();
    void RunOnGame(void (Game::*command)());
    void ModeLeft(int oldMode, int newMode);
    bool GameMouseEvent(QEvent* event);

    MainFormOptions options_;
    QString programDir_;
    QString userDir_;
    SystemClock systemClock_;
    const Clock* clock_;
    IniFile ini_;
    Settings settings_;
    GameSession session_;

    bool initialised_ = false;
    bool firstShowPending_ = true;
    bool resizeHandlerInstalled_ = false;
    bool fastTimerActive_ = false;
    bool view3D_ = false;
    bool scene3DCreated_ = false;
    bool sliderCanGoBack_ = false;
    bool menusInPopup_ = false;
    bool closing_ = false;
    bool focusRouted_ = false;
    bool pausedByHiding_ = false; // the game was put aside when the window was hidden
    MenuSet currentMenu_ = MenuSet::Main;
    QString layoutName_;
    QString layoutPath_;
    LayoutCatalog catalog_;
    QActionGroup* layoutGroup_ = nullptr;
    bool boardCaption_ = false; // the caption names the board in play
    ArrowKeys arrows_;
    const QEvent* lastKeyEvent_ = nullptr; // the key event last heard, and where
    QPointer<QWidget> lastKeyWidget_;
    int lastKeyType_ = 0;
    quint64 lastKeyStamp_ = 0;
    double speedFall_ = 1.0;
    QStringList startupProblems_;
    int splashProgress_ = 0;

    QHash<QString, Handler> builtins_; // the window's own part of a command
    QHash<QString, Handler> handlers_; // what other parts hooked in
    QHash<QString, QAction*> items_;
    std::function<QString(const QString&)> translator_;
    TLanguage* language_ = nullptr;
    std::shared_ptr<const LanguageFile> englishFile_; // the English file, for reference
    std::shared_ptr<const QHash<QString, QString>> builtTexts_; // captions as built, by path
    std::function<void(QPainter&, const QRect&)> hofPainter_;
    std::function<void(QPainter&, const QRect&)> boardPainter_;
    std::map<ContentKind, std::vector<ContentEntry>> content_;
    std::map<ContentKind, QMenu*> contentMenus_;
    std::map<ContentKind, QActionGroup*> contentGroups_;

    QTimer* timerClassic_ = nullptr;
    TThreadTimer* timerColumns_ = nullptr; // the 12 ms beat of the games and the 3D view
    std::array<Game*, 9> games_{};       // by game mode 0..8
    bool handDown_ = false;
    int dialogDepth_ = 0; // modal dialogs open now, one inside the other
    QSize laidOutSize_;   // the central widget's size when the areas were last laid out
    std::function<bool(const QString&)> quitQuestion_;
    QMenu* popup_ = nullptr;
    QAction* popupSeparator_ = nullptr;
    QMenu* startLevelMenu_ = nullptr;
    QList<QAction*> mainTop_;   // the menus of the bar `VO`
    QList<QAction*> editorTop_; // the menus of `EditorMenu`
    QHash<QString, QMenu*> menus_;

    QWidget* tools_ = nullptr;
    QWidget* editorPanel_ = nullptr;
    QWidget* gameArea_ = nullptr;
    PaintBox* game2_ = nullptr;
    QWidget* glPanel_ = nullptr;
    PaintBox* intro_ = nullptr;
    PaintBox* hofBox_ = nullptr;
    QWidget* ligneStatus_ = nullptr;
    QWidget* welcome_ = nullptr;
    QWidget* splash_ = nullptr;
    QWidget* volumePanel_ = nullptr;
    QWidget* scorePanel_ = nullptr;
    QWidget* sliderBox_ = nullptr;
    QWidget* sliderNext_ = nullptr;
    QWidget* hashiraBox_ = nullptr;
    QWidget* columnsPanel_ = nullptr;
    QProgressBar* splashBar_ = nullptr;
    QLabel* splashText_ = nullptr;
    QProgressBar* loadingBar_ = nullptr;
    QLabel* tilesLeftLine_ = nullptr;
    QLabel* movesLeftLine_ = nullptr;
    QLabel* timeLine_ = nullptr;
    QLabel* statusText_ = nullptr;
    QLabel* description7_ = nullptr;
    QPushButton* sameGameButton_ = nullptr;
    QPushButton* startLevelButton_ = nullptr;
    QList<QToolButton*> toolButtons_;
    QToolButton* pauseButton_ = nullptr;
    QToolButton* set3DButton_ = nullptr;
    QImage introPicture_;
    QImage background_;
    QPixmap scaledBackground_;
    qint64 scaledBackgroundKey_ = 0;
    QImage toolbarWallpaper_;
    QImage logoWallpaper_;
    QImage coolBack_;
    QPalette plainClient_, plainStatus_;
    bool plainSaved_ = false;
    QImage hofStrip_;
    QCursor hand21_;
    QCursor hand22_;
};

} // namespace tovani
