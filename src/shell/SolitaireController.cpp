#include "shell/SolitaireController.h"

#include "audio/Sounds.h"
#include "dialogs/GameOverForm.h"
#include "dialogs/HallWindow.h"
#include "dialogs/SeedDialog.h"
#include "resources/Resources.h"
#include "shell/BoardView.h"
#include "shell/MainForm.h"
#include "shell/ThreadTimer.h"
#include "solitaire/LayoutCatalog.h"
#include "solitaire/Shuffle.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QThread>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tovani {

namespace {

const QString kWebAddress = QStringLiteral("https://tovani.games.example");
const QString kTitleLine = QStringLiteral("Tovani 10.21");
// The removal flight and Hashira beat every 12 ms.
constexpr int kFastTimerInterval = 12;
// A game's end lets a running flight finish for at most this long.
constexpr int kFlightFinishMs = 1000;
// The deal drawn tile by tile waits this long after each tile.
constexpr int kPlacingDelayMs = 3;

std::string_view WaveName(Sound s) {
    switch (s) {
    case Sound::Select:
        return kWaveSelect;
    case Sound::Done:
        return kWaveDone;
    case Sound::NoWay:
        return kWaveNoWay;
    }
    return kWaveSelect;
}

QString MinutesSeconds(int64_t seconds) {
    return QString::fromStdString(HallOfFame::FormatTime(seconds));
}

bool IsSlider(int board) {
    return board == 1030 || board == 1031;
}
bool IsHashira(int board) {
    return board == 1040;
}
bool IsClicks(int board) {
    return board >= 1020 && board <= 1022;
}

} // namespace

SolitaireController::SolitaireController(TMainForm& form, BoardView& view)
    : form_(form), view_(view) {
    setObjectName("SolitaireController");
    timerColumns_ = new TThreadTimer(this);
    timerColumns_->setObjectName("TimerColumns");
    timerColumns_->SetInterval(kFastTimerInterval);
    timerColumns_->OnTimer = [this] { Timer1timer(); };
    hofPicture_ = ProgramPicture("HofPic");
    Register();
}

SolitaireController::~SolitaireController() {
    timerColumns_->SetEnabled(false);
    SetWaveGate({});
    // The board view must not draw our board any more.
    BoardScene& scene = view_.Scene();
    if (scene.board == &board_ || scene.board == &placingBoard_)
        scene.board = nullptr;
    static const char* const kHooks[] = {"RunLayout",
                                         "RunShpLayout",
                                         "BeginGame",
                                         "TwoPlayers",
                                         "RandomSolitaireGame1Click",
                                         "NewSpecificGame1Click",
                                         "VerticalClick",
                                         "WinnableClick",
                                         "ShuffableClick",
                                         "RandomLayoutsClick",
                                         "Redo",
                                         "GameOver",
                                         "AniSpeedClick",
                                         "AnimTypeClick",
                                         "ShowScores",
                                         "ShowHallPanel",
                                         "EnableHallClick",
                                         "ReadHallOfFame",
                                         "WriteHallOfFame",
                                         "StartFastTimer",
                                         "StopFastTimer",
                                         "ClearHallOfFameHighlight"};
    for (const char* h : kHooks)
        form_.SetHandler(h, nullptr);
    for (auto& [name, handler] : previous_)
        form_.SetHandler(name, handler);
    form_.SetHallOfFamePainter({});
    if (QWidget* game2 = form_.Game2())
        game2->removeEventFilter(this);
}

void SolitaireController::Register() {
    auto hook = [this](const char* name, std::function<void(QObject*)> fn) {
        form_.SetHandler(name, std::move(fn));
    };
    hook("RunLayout", [this](QObject* s) { RunLayout(s); });
    hook("RunShpLayout", [this](QObject* s) { RunShpLayout(s); });
    hook("BeginGame", [this](QObject* s) { BeginGame(s); });
    hook("TwoPlayers", [this](QObject* s) { TwoPlayers(s); });
    hook("RandomSolitaireGame1Click", [this](QObject* s) { RandomSolitaireGame1Click(s); });
    hook("NewSpecificGame1Click", [this](QObject* s) { NewSpecificGame1Click(s); });
    hook("VerticalClick", [this](QObject*) { VerticalClick(); });
    // These options only change their check mark; the deal and the shuffle read them.
    hook("WinnableClick", [](QObject*) {});
    hook("ShuffableClick", [](QObject*) {});
    hook("RandomLayoutsClick", [](QObject*) {});
    hook("EnableHallClick", [](QObject*) {});
    // Commands that other games share: Solitaire answers them in its game modes and passes
    // them on to whoever hooked them before in the others.
    auto shared = [this](const char* name, std::function<void()> mine) {
        TMainForm::Handler previous = form_.HandlerOf(name);
        previous_.push_back({name, previous});
        form_.SetHandler(name, [this, mine, previous](QObject* s) {
            if (InSolitaire())
                mine();
            else if (previous)
                previous(s);
        });
    };
    shared("Shuffle1Click", [this] { Shuffle1Click(); });
    shared("Hint", [this] { Hint(); });
    shared("Back", [this] { Back(); });
    shared("Restart", [this] { Restart(); });
    shared("GoBack", [this] { GoBack(); });
    shared("CountTiles", [this] { CountTiles(); });
    hook("Redo", [this](QObject*) { Redo(); });
    hook("GameOver", [this](QObject*) { GameOver(); });
    hook("AniSpeedClick", [this](QObject*) { AniSpeedClick(); });
    hook("AnimTypeClick", [this](QObject*) { AnimTypeClick(); });
    hook("ShowScores", [this](QObject*) { ShowScores(); });
    hook("ShowHallPanel", [this](QObject*) { ShowPanelHOF(); });
    hook("ReadHallOfFame", [this](QObject*) { ReadHallOfFame(); });
    hook("WriteHallOfFame", [this](QObject*) { WriteHallOfFame(); });
    hook("ClearHallOfFameHighlight", [this](QObject*) { ClearHallHighlight(); });
    hook("StartFastTimer", [this](QObject*) {
        if (form_.Options().startTimers)
            timerColumns_->SetEnabled(true);
    });
    hook("StopFastTimer", [this](QObject*) { timerColumns_->SetEnabled(false); });

    form_.SetHallOfFamePainter([this](QPainter& p, const QRect& r) { PaintHallOfFame(p, r); });
    if (QWidget* game2 = form_.Game2())
        game2->installEventFilter(this);
    SetWaveGate([this] { return form_.Option("PlaySounds"); });
    connect(&view_, &BoardView::PicksCleared, this, [this] { play_.ClearSelection(); });
    // New tile sizes (a resize, another tileset): a flight in the air would land in the old ones.
    connect(&view_, &BoardView::TilesRebuilt, this, [this] { EndFlight(); });
    connect(&view_, &BoardView::CurrentTileShown, this, [this](int tile, bool covered) {
        currentTile_ = covered ? 0 : tile;
        form_.RedrawHallOfFame();
    });
}

// ---- Small helpers ----------------------------------------------------------------------------

QString SolitaireController::Tr(const QString& s) const {
    return form_.Tr(s);
}

bool SolitaireController::Interactive() const {
    return form_.Options().interactive;
}

void SolitaireController::Inform(const QString& title, const QString& text) {
    if (inform_) {
        inform_(title, text);
        return;
    }
    if (!Interactive()) {
        form_.ShowStatus(text);
        return;
    }
    form_.CheckPause();
    QMessageBox::information(&form_, title, text);
    form_.UnCheckPause();
}

bool SolitaireController::Ask(const QString& title, const QString& text) {
    if (ask_)
        return ask_(title, text);
    if (!Interactive())
        return true;
    form_.CheckPause();
    auto answer = QMessageBox::question(&form_, title, text, QMessageBox::Ok | QMessageBox::Cancel);
    form_.UnCheckPause();
    return answer == QMessageBox::Ok;
}

int SolitaireController::RunDialog(QDialog& d) {
    if (runDialog_)
        return runDialog_(d);
    return d.exec();
}

bool SolitaireController::InSolitaire() const {
    int mode = form_.GameMode();
    return mode == kModeSolitaire || mode == kModeTwoPlayers;
}

FreeRule SolitaireController::Rule() const {
    return form_.Option("Vertical") ? FreeRule::Vertical : FreeRule::Side;
}

void SolitaireController::Sound(tovani::Sound s) {
    PlayWave(WaveName(s));
}

void SolitaireController::SyncScene() {
    BoardScene& scene = view_.Scene();
    scene.board = placing_ ? &placingBoard_ : &board_;
    scene.gameMode = form_.GameMode();
    scene.firstPick = play_.firstPick;
    scene.secondPick = play_.secondPick;
    scene.hint1 = play_.hintA;
    scene.hint2 = play_.hintB;
    scene.riverFound = false;
}

void SolitaireController::Redraw() {
    SyncScene();
    view_.FullRedraw();
}

void SolitaireController::RedrawTiles(const std::vector<int>& tiles) {
    SyncScene();
    for (int t : tiles)
        if (t != 0)
            view_.RedrawTile(t);
}

void SolitaireController::RedrawCells(const std::vector<Cell>& cells) {
    // The places that removed tiles have left: only their neighbourhood is drawn again.
    SyncScene();
    QWidget* game2 = form_.Game2();
    PlayArea& area = view_.Area();
    if (!game2 || area.renderer.BoardBuffer.IsEmpty() || form_.GameMode() == kModeInactive)
        return;
    const double dpr = view_.DevicePixelRatio();
    for (const Cell& c : cells) {
        const Rect r = area.RedrawPlace(c, view_.Scene());
        if (r.IsEmpty())
            continue;
        const int left = int(std::floor(r.left / dpr)), top = int(std::floor(r.top / dpr));
        game2->update(QRect(left, top, int(std::ceil(r.right / dpr)) - left,
                            int(std::ceil(r.bottom / dpr)) - top));
    }
}

QAction* SolitaireController::LayoutItem(int number) const {
    QMenu* menu = form_.TopMenu("Layout1");
    if (!menu)
        return nullptr;
    for (QAction* a : menu->actions()) {
        QString handler = a->property("handler").toString();
        if ((handler == "LoadlayoutClick" || handler == "LoadShplayoutClick") &&
            a->property("tag").toInt() == number)
            return a;
    }
    return nullptr;
}

void SolitaireController::CheckLayoutItem(int number) {
    if (QAction* a = LayoutItem(number))
        a->setChecked(true);
}

int SolitaireController::CurrentAnimationFrames() const {
    static const char* const kSpeeds[] = {"AniSlow", "AniNormal", "AniFast", "AniUltra",
                                          "AniLight"};
    for (int i = 0; i < 5; ++i)
        if (form_.Option(kSpeeds[i]))
            return FrameCount(static_cast<AnimationSpeed>(i));
    return FrameCount(AnimationSpeed::Normal);
}

AnimationType SolitaireController::CurrentAnimationType() const {
    static const char* const kTypes[] = {"AniNucleus", "AniClassic", "AniFuzzy", "AniUnion"};
    for (int i = 0; i < 4; ++i)
        if (form_.Option(kTypes[i]))
            return static_cast<AnimationType>(i);
    return AnimationType::Union;
}

void SolitaireController::UpdateRedoEnabled() {
    // Redo follows Back (the window enables both by game mode), and is there only while a pair
    // taken back can be taken off again.
    bool can = form_.GameMode() == kModeSolitaire && play_.CanRedo(board_);
    for (const char* name : {"Redo1", "Redo2"})
        if (QAction* a = form_.Item(name))
            a->setEnabled(can);
}

void SolitaireController::ClearHallHighlight() {
    if (lastHallRank_ != 0) {
        lastHallRank_ = 0;
        form_.RedrawHallOfFame();
    }
}

void SolitaireController::SyncTurnStarts(bool toModel) {
    GameClocks& c = form_.Session().clocks;
    if (toModel) {
        play_.clocks.player1TurnStart = c.playerStartTick[0];
        play_.clocks.player2TurnStart = c.playerStartTick[1];
    } else {
        c.playerStartTick[0] = play_.clocks.player1TurnStart;
        c.playerStartTick[1] = play_.clocks.player2TurnStart;
        form_.Session().twoPlayerTurn = play_.clocks.player2Turn;
    }
}

QPoint SolitaireController::TileCentre(int tile) const {
    const Cell c = board_.Position(tile);
    if (!c.OnBoard() || view_.TileWidth() <= 0)
        return {-1, -1};
    const BoardRenderer& r = view_.Area().renderer;
    const double dpr = view_.DevicePixelRatio();
    const int x = r.CoordX(c.column - 1, c.layer - 1) + view_.TileWidth() / 2;
    const int y = r.CoordY(c.row - 1, c.layer - 1) + view_.TileHeight() / 2;
    return {int(std::floor(x / dpr)), int(std::floor(y / dpr))};
}

// ---- Layouts ----------------------------------------------------------------------------------

void SolitaireController::RunLayout(QObject* sender) {
    LoadLayout(sender);
}

void SolitaireController::RunShpLayout(QObject* sender) {
    LoadLayout(sender);
}

void SolitaireController::LoadLayout(QObject* sender) {
    (void)sender;
    GameSession& s = form_.Session();
    const QString path = form_.LayoutPath();
    const bool quiet =
        path.contains(QString::fromUtf8(kQuietLoadMarker.data(), int(kQuietLoadMarker.size())));
    LayoutLoad load = LoadLayoutFile(path.toStdString(), form_.Layouts());
    if (load.refusedVersion && !quiet)
        Inform("Tovani", Tr("You are trying to play a layout intended for use with") + " " +
                             QString::fromStdString(*load.refusedVersion) + "\r\n" +
                             Tr("Please upgrade Tovani at") + " " + kWebAddress);
    if (!load.ok) {
        // The layout in play stays, and so do its number, its file and its menu item.
        if (!quiet && !path.isEmpty())
            Inform("Tovani", Tr(QString::fromStdString(LayoutErrorMessage(load.error))));
        if (haveLayout_) {
            s.boardNumber = layoutBoard_;
            form_.SetLayoutPath(layoutPath_);
            form_.SetLayoutName(QString::fromStdString(layout_.name));
            CheckLayoutItem(layoutBoard_);
        }
        return;
    }
    if (load.boardNumber > 0) {
        s.boardNumber = load.boardNumber;
        CheckLayoutItem(load.boardNumber);
    }
    layout_ = load.layout;
    haveLayout_ = true;
    layoutPath_ = QString::fromStdString(load.path);
    form_.SetLayoutPath(layoutPath_);
    if (s.boardNumber >= 1 && s.boardNumber < 1000)
        layoutBoard_ = s.boardNumber;
    form_.SetLayoutName(QString::fromStdString(layout_.name));
    ClearHallHighlight();
    if (quiet)
        return;
    if (form_.GameMode() == kModeNoGame) {
        // Start-up: the layout is ready, the welcome screen comes next.
        form_.ShowStatus(kTitleLine);
        return;
    }
    form_.ShowStatus(Tr("Layout") + " " + QChar(0x201C) + QString::fromStdString(layout_.name) +
                     QChar(0x201D) + " " + Tr("selected."));
    StartGame(this, false);
}

// ---- Dealing ----------------------------------------------------------------------------------

void SolitaireController::RandomSolitaireGame1Click(QObject* sender) {
    form_.SetOption("RandomSeed1", false);
    BeginGame(sender);
}

void SolitaireController::NewSpecificGame1Click(QObject* sender) {
    const bool wasSeeded = form_.Option("RandomSeed1");
    form_.SetOption("RandomSeed1", true);
    SeedDialog::Context ctx;
    ctx.seed = form_.Prefs().GetInt("RandomSeed");
    ctx.draw = [this](uint32_t n) { return rng_.Random(n); };
    ctx.translate = [this](const QString& t) { return Tr(t); };
    form_.CheckPause();
    SeedDialog dialog(ctx, form_.PlayAreaBackground(), &form_);
    int result = RunDialog(dialog);
    form_.UnCheckPause();
    if (result != QDialog::Accepted) {
        // Closed without OK: nothing is dealt.
        form_.SetOption("RandomSeed1", wasSeeded);
        return;
    }
    form_.Prefs().SetInt("RandomSeed", dialog.Seed());
    rng_.Randomize(form_.GameClock());
    BeginGame(sender);
}

void SolitaireController::BeginGame(QObject* sender) {
    StartGame(sender, false);
}

void SolitaireController::TwoPlayers(QObject* sender) {
    StartGame(sender, true);
}

bool SolitaireController::AnimateConditions() const {
    int mode = form_.GameMode();
    return form_.Option("Animate") && mode != kModeNoGame && mode != kModeEditor &&
           mode != kModeWelcome && !form_.Option("RandomSeed1");
}

void SolitaireController::StartGame(QObject* sender, bool twoPlayers) {
    if (placing_ || inGameOver_)
        return;
    GameSession& s = form_.Session();
    EndFlight();
    demoPlayed_ = false;
    if (onPositionReset)
        onPositionReset();
    // 1.
    form_.RunCommand("ColorHighlight");
    form_.InitVar();
    form_.SetPauseButtons();
    view_.Area().renderer.ClearHover();
    // 2. Coming from another game: back to the layout of the layout menu.
    if (s.boardNumber >= 1000 || s.boardNumber < 1) {
        int checked = 0;
        for (int n = 1; n <= form_.Layouts().Count(); ++n)
            if (QAction* a = LayoutItem(n); a && a->isChecked())
                checked = n;
        s.boardNumber = checked > 0 ? checked : s.lastBoard;
    }
    // 3. "New Game" with "Random Layouts": a layout drawn at random, loaded quietly.
    if (form_.Option("RandomLayouts") && sender == nullptr && form_.Layouts().Count() > 0) {
        int k = PickRandomLayout(rng_, form_.Layouts().Count());
        const QString path = QString::fromStdString(form_.Layouts().PathOf(k));
        s.boardNumber = k;
        CheckLayoutItem(k);
        form_.SetLayoutPath(
            path + QString::fromUtf8(kQuietLoadMarker.data(), int(kQuietLoadMarker.size())));
        LoadLayout(nullptr);
        if (form_.LayoutPath() != layoutPath_)
            form_.SetLayoutPath(layoutPath_);
    }
    if (!haveLayout_) {
        Inform("Tovani", Tr("No layout is loaded: choose one in the Layout menu."));
        return;
    }
    if (s.boardNumber >= 1 && s.boardNumber < 1000)
        s.lastBoard = s.boardNumber;
    // 4-5.
    const bool animate = AnimateConditions();
    board_.FillFromLayout(layout_);
    s.tilesLeft = s.tilesTotal = board_.tilesTotal;
    play_.NewGame(form_.GameClock().TickMs());
    lastGameOver_ = {};
    // 6.
    if (twoPlayers)
        form_.IM(kModeTwoPlayers);
    else if (form_.GameMode() != kModeEditor)
        form_.IM(kModeSolitaire);
    if (twoPlayers)
        form_.ShowStatus(Tr("Two-Player Solitaire started."));
    // 7. The deal.
    DealOptions options;
    options.winnable = form_.Option("Winnable");
    options.seeded = form_.Option("RandomSeed1");
    options.seedNumber = form_.Prefs().GetInt("RandomSeed");
    deal_ = tovani::BeginGame(board_, layout_, rng_, form_.GameClock(), options);
    s.tilesLeft = board_.tilesLeft;
    s.tilesTotal = board_.tilesTotal;
    if (deal_.outcome == DealOutcome::Refused) {
        QString why = deal_.problem ? QString::fromStdString(LayoutErrorMessage(*deal_.problem))
                                    : Tr("This layout cannot be dealt.");
        Inform("Tovani", Tr(why));
        form_.Stop();
        return;
    }
    if (animate) {
        form_.ShowFond();
        AnimatePlacing(deal_.order);
    }
    // 8-9.
    form_.RunCommand("SetMargeHaute");
    if (deal_.outcome == DealOutcome::WinnableGaveUp)
        form_.ShowStatus(Tr("No winnable deal was found on this layout: the tiles were dealt at "
                            "random."));
    else if (options.seeded && options.seedNumber > 0)
        form_.ShowStatus(Tr("Specific Board started. Random Seed #") +
                         QString::number(options.seedNumber));
    // 10.
    Redraw();
    form_.RedrawHallOfFame();
    const StatusLine& line = s.status;
    const bool growing = line.RevealPosition() > 1;
    const std::string noMoves = "      " + Tr("SORRY, NO MORE MOVES !!").toStdString();
    if (!growing || line.Text() == noMoves)
        form_.ShowStatus(Tr("New game started."));
    // 11.
    s.StartClock();
    if (twoPlayers) {
        s.StartPlayerClock(0);
        s.StartPlayerClock(1);
        SyncTurnStarts(true);
        play_.clocks.player2Turn = false;
        s.twoPlayerTurn = false;
    }
    CountTiles();
    UpdateRedoEnabled();
}

void SolitaireController::AnimatePlacing(const std::vector<int>& order) {
    // The tiles appear one by one in the order they were put on the board, on a copy of the
    // board; the game's board is already complete.
    placingBoard_ = board_;
    for (int t = 1; t <= kTileCount; ++t)
        if (placingBoard_.Position(t).OnBoard())
            placingBoard_.Remove(t);
    placing_ = true;
    Redraw();
    QElapsedTimer wait;
    for (int tile : order) {
        const Cell c = board_.Position(tile);
        if (!c.OnBoard())
            continue;
        placingBoard_.Place(tile, c);
        SyncScene();
        view_.RedrawTile(tile);
        if (QWidget* game2 = form_.Game2(); game2 && game2->isVisible())
            game2->repaint();
        wait.start();
        while (wait.elapsed() < kPlacingDelayMs)
            QThread::msleep(1);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    placing_ = false;
    Redraw();
}

void SolitaireController::VerticalClick() {
    // The check mark is already inverted when this runs.
    const int mode = form_.GameMode();
    if (mode == kModeNoGame || mode == kModeWelcome)
        return;
    const bool wanted = form_.Option("Vertical");
    if (mode != kModeSolitaire) {
        form_.SetOption("Vertical", !wanted);
        return;
    }
    if (!Ask(Tr("Vertical Variation"),
             Tr("If you want to change the game mode, you'll have to restart your game. Do you "
                "wish to continue ?"))) {
        form_.SetOption("Vertical", !wanted);
        return;
    }
    BeginGame(this);
}

void SolitaireController::Shuffle1Click() {
    GameSession& s = form_.Session();
    if (s.gameOver || !InSolitaire() || placing_)
        return;
    EndFlight();
    // 2.
    play_.ClearSelection();
    play_.hintIndex = 0;
    s.hintCounters[0] = s.hintCounters[1] = s.hintCounters[2] = 0;
    // 3-4.
    ShuffleOptions options;
    options.shuffable = form_.Option("Shuffable");
    options.twoPlayers = form_.GameMode() == kModeTwoPlayers;
    options.rule = Rule();
    ShuffleOutcome out = Shuffle(board_, rng_, form_.GameClock(), options);
    if (onPositionReset)
        onPositionReset();
    if (out.winnable && out.winnableResult.shuffled && form_.Option("Animate") &&
        !form_.Option("RandomSeed1"))
        AnimatePlacing(out.winnableResult.order);
    // 5.
    switch (out.message) {
    case ShuffleMessage::NewMoves:
        form_.ShowStatus(Tr("Tiles shuffled.") + " " + QString::number(out.movesAvailable) + " " +
                         Tr("new moves found."));
        break;
    case ShuffleMessage::OneNewMove:
        form_.ShowStatus(Tr("Tiles shuffled. 1 new move found."));
        break;
    case ShuffleMessage::NoMoves:
        form_.ShowStatus(Tr("No moves found. Try to press Back a few times."));
        break;
    case ShuffleMessage::RiversShuffled:
        form_.ShowStatus(Tr("Tiles shuffled. 40 seconds penalty."));
        break;
    }
    s.penaltySeconds += out.penaltySeconds;
    s.movesAvailable = out.movesAvailable;
    // 6.
    form_.RedrawHallOfFame();
    Redraw();
    UpdateRedoEnabled();
}

// ---- The mouse --------------------------------------------------------------------------------

bool SolitaireController::eventFilter(QObject* watched, QEvent* event) {
    QWidget* game2 = form_.Game2();
    if (watched != game2)
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress) {
        // HandDown: the open hand closes while the button is down.
        if (form_.Option("AnimateCursor") && form_.Option("CoolMouse")) {
            game2->setCursor(form_.Cursor(22));
            handDown_ = true;
        }
    } else if (event->type() == QEvent::MouseButtonRelease) {
        // ButtonDown.
        auto* me = static_cast<QMouseEvent*>(event);
        if (handDown_) {
            game2->setCursor(form_.Cursor(21));
            handDown_ = false;
        }
        if (InSolitaire() && me->button() == Qt::LeftButton)
            ChoisitPai(me->position().toPoint(), me->button());
    }
    return QObject::eventFilter(watched, event);
}

void SolitaireController::ChoisitPai(const QPoint& point, Qt::MouseButton button) {
    if (button != Qt::LeftButton)
        return;
    ClickTile(view_.TileAt(point));
}

void SolitaireController::ClickTile(int tile) {
    if (!InSolitaire() || placing_ || inGameOver_ || form_.Session().gameOver)
        return;
    if (tile == 0 || !board_.Position(tile).OnBoard())
        return; // a click on empty board does nothing at all
    const bool twoPlayers = form_.GameMode() == kModeTwoPlayers;
    if (twoPlayers)
        SyncTurnStarts(true);
    const uint32_t now = form_.GameClock().TickMs();
    PlayEffects fx = play_.ChoisitPai(board_, tile, Rule(), twoPlayers, now);
    for (tovani::Sound snd : fx.sounds)
        Sound(snd);
    if (fx.removed) {
        PerformRemoval(fx);
        return;
    }
    RedrawTiles(fx.redrawTiles);
}

void SolitaireController::PerformRemoval(const PlayEffects& fx) {
    // A flight still in the air ends at once.
    EndFlight();
    if (form_.Option("AnimateTiles"))
        StartFlight(fx.pair);
    RedrawCells({fx.pair.firstCell, fx.pair.secondCell});
    AfterPair(fx.turnPassed);
}

void SolitaireController::AfterPair(bool turnPassed) {
    GameSession& s = form_.Session();
    s.tilesLeft = board_.tilesLeft;
    s.matchCounter = play_.matchCounter;
    if (turnPassed)
        SyncTurnStarts(false);
    if (form_.Option("ShowGirls") || turnPassed)
        form_.RedrawHallOfFame();
    UpdateRedoEnabled();
    if (onPairRemoved)
        onPairRemoved();
}

void SolitaireController::ClearSelection() {
    if (play_.firstPick == 0 && play_.secondPick == 0 && play_.hintA == 0 && play_.hintB == 0)
        return;
    const std::vector<int> was = {play_.firstPick, play_.secondPick, play_.hintA, play_.hintB};
    play_.ClearSelection();
    SyncScene();
    std::vector<int> redraw;
    for (int t : was)
        if (t != 0)
            redraw.push_back(t);
    RedrawTiles(redraw);
}

// ---- The flight -------------------------------------------------------------------------------

void SolitaireController::StartFlight(const RemovedPair& pair) {
    const BoardRenderer& r = view_.Area().renderer;
    const int e = view_.EdgeSize();
    if (view_.TileWidth() <= 0 || r.BoardBuffer.IsEmpty())
        return;
    auto startOf = [&](const Cell& c) {
        return FlightPoint{r.CoordX(c.column - 1, c.layer - 1) - e,
                           r.CoordY(c.row - 1, c.layer - 1)};
    };
    FlightArea area;
    area.width = r.BoardBuffer.Width();
    area.height = r.BoardBuffer.Height();
    area.tileWidth = view_.TileWidth();
    area.tileHeight = view_.TileHeight();
    area.edge = e;
    flight_.Start({startOf(pair.firstCell), startOf(pair.secondCell)},
                  {FaceOf(pair.first), FaceOf(pair.second)}, CurrentAnimationType(),
                  Rule() == FreeRule::Vertical, area, CurrentAnimationFrames(), rng_);
    flightAt_ = flight_.starts();
    flightDraw_ = false;
    view_.SetOverlay([this](QImage& screen) { DrawFlight(screen); });
}

void SolitaireController::EndFlight() {
    if (!flight_.Running() && !flightDraw_)
        return;
    flight_.Finish();
    flightDraw_ = false;
    view_.ClearOverlay();
}

void SolitaireController::StepFlight() {
    if (!flight_.Running())
        return;
    Flight::Frame f = flight_.Step();
    if (f.last) {
        EndFlight();
        return;
    }
    if (f.draw) {
        // Only where the tiles were and where they are now is painted again.
        const std::array<FlightPoint, 2> before = flightAt_;
        flightAt_ = f.at;
        flightDraw_ = true;
        QWidget* game2 = form_.Game2();
        const FaceSheets& sheets = view_.Area().sheets;
        if (!game2 || sheets.IsEmpty())
            return;
        const double dpr = view_.DevicePixelRatio();
        const int w = sheets.geometry.CellWidth(), h = sheets.geometry.CellHeight();
        QRegion dirty;
        for (const auto& at : {before[0], before[1], flightAt_[0], flightAt_[1]}) {
            const int left = int(std::floor(at.x / dpr)), top = int(std::floor(at.y / dpr));
            dirty += QRect(left - 1, top - 1, int(std::ceil((at.x + w) / dpr)) - left + 2,
                           int(std::ceil((at.y + h) / dpr)) - top + 2);
        }
        game2->update(dirty);
    }
}

void SolitaireController::DrawFlight(QImage& screen) {
    if (!flightDraw_ || screen.depth() != 32)
        return;
    const FaceSheets& sheets = view_.Area().sheets;
    if (sheets.IsEmpty())
        return;
    const int w = sheets.geometry.CellWidth(), h = sheets.geometry.CellHeight();
    const Point mask = sheets.MaskCellOrigin();
    const PixelBuffer& sheet = sheets.FaceSheet;
    for (int i = 0; i < 2; ++i) {
        const Point face = sheets.FaceCellOrigin(flight_.faces()[static_cast<size_t>(i)]);
        const int x0 = flightAt_[static_cast<size_t>(i)].x;
        const int y0 = flightAt_[static_cast<size_t>(i)].y;
        // The board AND the shape mask, then OR the face: the tile's own outline over the board.
        for (int y = std::max(0, -y0); y < h && y0 + y < screen.height(); ++y) {
            auto* dst = reinterpret_cast<uint32_t*>(screen.scanLine(y0 + y));
            const Pixel* m = sheet.ScanLine(mask.y + y) + mask.x;
            const Pixel* src = sheet.ScanLine(face.y + y) + face.x;
            for (int x = std::max(0, -x0); x < w && x0 + x < screen.width(); ++x)
                dst[x0 + x] = (dst[x0 + x] & m[x]) | src[x];
        }
    }
}

void SolitaireController::Timer1timer() {
    if (form_.FastTimerActive() && InSolitaire() && !form_.View3D())
        StepFlight();
    else if (flight_.Running() && !InSolitaire())
        EndFlight(); // paused, stopped or left: nothing flies over the screen that replaces it
    // The other games that run on this beat (Hashira, the 3D view) hook in here.
    form_.RunCommand("Timer1timer");
}

void SolitaireController::AniSpeedClick() {
    EndFlight();
}

void SolitaireController::AnimTypeClick() {
    EndFlight();
}

// ---- Hints and the history --------------------------------------------------------------------

void SolitaireController::Hint() {
    GameSession& s = form_.Session();
    if (form_.GameMode() != kModeSolitaire || placing_ || s.gameOver)
        return;
    FreeScan scan = IsItFree(board_, Rule());
    s.movesAvailable = scan.movesAvailable;
    if (scan.movesAvailable <= 0)
        return;
    const int oldA = play_.hintA, oldB = play_.hintB;
    if (play_.Hint(board_, Rule())) {
        s.penaltySeconds += SolitairePlay::kHintPenalty;
        s.hintCounters[0] = play_.hintIndex;
    }
    RedrawTiles({oldA, oldB, play_.hintA, play_.hintB});
}

void SolitaireController::Back() {
    GameSession& s = form_.Session();
    if (form_.GameMode() != kModeSolitaire || placing_)
        return;
    if (board_.tilesLeft == 0 || board_.tilesLeft >= board_.tilesTotal)
        return;
    GoBack();
    if (s.status.Marquee()) {
        s.status.StopMarquee();
        form_.ShowStatus("   ");
    }
}

void SolitaireController::GoBack() {
    if (form_.GameMode() != kModeSolitaire || placing_)
        return;
    EndFlight();
    if (!play_.BackHistory(board_))
        return;
    if (onPositionReset)
        onPositionReset();
    form_.Session().tilesLeft = board_.tilesLeft;
    Redraw();
    if (form_.Option("ShowGirls"))
        form_.RedrawHallOfFame();
    if (QWidget* game2 = form_.Game2(); game2 && game2->isVisible())
        game2->repaint();
    CountTiles();
    UpdateRedoEnabled();
}

void SolitaireController::Redo() {
    if (form_.GameMode() != kModeSolitaire || placing_ || form_.Session().gameOver)
        return;
    if (!play_.CanRedo(board_))
        return;
    // The pair flies off again, as when it was first removed; the clock and penalty stay.
    const int n = board_.tilesTotal - board_.tilesLeft;
    const HistoryEntry a = play_.history[static_cast<size_t>(n)];
    const HistoryEntry b = play_.history[static_cast<size_t>(n + 1)];
    EndFlight();
    if (!play_.Redo(board_, Rule()))
        return;
    Sound(Sound::Done);
    if (form_.Option("AnimateTiles"))
        StartFlight(RemovedPair{a.tile, b.tile, a.cell, b.cell});
    Redraw();
    AfterPair(false);
    CountTiles();
}

void SolitaireController::Restart() {
    GameSession& s = form_.Session();
    if (form_.GameMode() != kModeSolitaire || placing_)
        return;
    if (board_.tilesLeft == 0 || board_.tilesLeft >= board_.tilesTotal)
        return;
    EndFlight();
    play_.Restart(board_);
    if (onPositionReset)
        onPositionReset();
    s.tilesLeft = board_.tilesLeft;
    s.elapsedSeconds = 0;
    s.penaltySeconds = 0;
    view_.Area().renderer.ClearHover();
    s.clocks.pausedElapsed = 0;
    s.clocks.playerPausedElapsed[0] = s.clocks.playerPausedElapsed[1] = 0;
    s.StartClock();
    form_.ShowStatus(Tr("Game restarted."));
    Redraw();
    form_.RedrawHallOfFame();
    CountTiles();
    UpdateRedoEnabled();
}

void SolitaireController::CountTiles() {
    if (!InSolitaire() || placing_)
        return;
    GameSession& s = form_.Session();
    FreeScan scan = IsItFree(board_, Rule());
    s.tilesLeft = board_.tilesLeft;
    s.tilesTotal = board_.tilesTotal;
    s.movesAvailable = scan.movesAvailable;
    s.matchCounter = play_.matchCounter;
    UpdateRedoEnabled();
    // A cleared board ends the game once its clock has started to count.
    if (board_.tilesLeft == 0 && s.elapsedSeconds > 0 && !s.gameOver && !inGameOver_) {
        s.gameOver = true;
        GameOver();
    }
}

// ---- The end of a game ------------------------------------------------------------------------

void SolitaireController::GameOver() {
    if (inGameOver_)
        return;
    GameSession& s = form_.Session();
    const int mode = form_.GameMode();
    struct Guard {
        bool& flag;
        ~Guard() { flag = false; }
    } guard{inGameOver_};
    inGameOver_ = true;
    playedMode_ = mode;
    // 1.
    if (QWidget* game2 = form_.Game2())
        game2->unsetCursor();
    if (mode != kModeClicks && mode != kModeSlider)
        form_.ShowFond();
    auto toWelcome = [&] {
        form_.IM(kModeWelcome);
        s.modeBeforePause = kModeWelcome;
        form_.RedrawHallOfFame();
    };
    QPixmap girl = QPixmap::fromImage(GirlPicture(3 * int(rng_.Random(4)) + 1));
    if (mode == kModeTwoPlayers) {
        // 2.
        s.won = true;
        EndFlight();
        form_.WriteScore();
        form_.IM(kModeGameOver);
        QString text;
        switch (SolitairePlay::WinnerOf(play_.clocks)) {
        case Winner::Player2:
            text = Tr("And the winner is... PLAYER 2 !");
            break;
        case Winner::Tie:
            text = Tr("Same score for both players !");
            break;
        case Winner::Player1:
            text = Tr("And the winner is... PLAYER 1 !");
            break;
        }
        GameOverForm dialog(form_.PlayAreaBackground(), girl, &form_);
        dialog.FinalTime()->setText(text);
        lastGameOver_ = {text, false, true};
        for (QLabel* l : {dialog.Label1(), dialog.Label2(), dialog.EnterFame()})
            l->setText(Tr(l->text()));
        RunDialog(dialog);
        toWelcome();
        return;
    }
    // 3.
    if (!s.gameOver || s.won) {
        toWelcome();
        return;
    }
    s.won = true;
    const int board = s.boardNumber;
    if (IsClicks(board) && s.tilesLeft == 0)
        s.elapsedSeconds = 0;
    // 4. A flight still in the air finishes first.
    if (form_.Option("AnimateTiles") && flight_.Running()) {
        QElapsedTimer t;
        t.start();
        while (flight_.Running() && t.elapsed() < kFlightFinishMs) {
            StepFlight();
            if (QWidget* game2 = form_.Game2(); game2 && game2->isVisible())
                game2->repaint();
        }
    }
    EndFlight();
    // 5.
    form_.WriteScore();
    form_.IM(kModeGameOver);
    // 6.
    const bool scoreGame = IsSlider(board) || IsHashira(board);
    int64_t result = s.elapsedSeconds;
    int32_t penalty = s.penaltySeconds;
    QString text;
    if (scoreGame || (IsClicks(board) && s.elapsedSeconds > 0)) {
        text = Tr("Your final score is") + " " + QString::number(s.elapsedSeconds);
    } else if (IsClicks(board)) {
        text = Tr("You reached the top ! Great !");
    } else {
        text = Tr("Your final time is") + " " + MinutesSeconds(result + penalty);
    }
    if (IsHashira(board)) {
        result /= 100;
        penalty = 0;
    }
    if (scoreGame)
        penalty = 0;
    const int64_t total = result + penalty;
    // 7.
    // A game finished by the Demo was not the player's: it enters no hall of fame.
    const bool enabled = form_.Option("EnableHall") && !demoPlayed_;
    const bool qualifies = hall_.Qualifies(board, total, enabled);
    {
        GameOverForm dialog(form_.PlayAreaBackground(), girl, &form_);
        for (QLabel* l : {dialog.Label1(), dialog.Label2(), dialog.EnterFame()})
            l->setText(Tr(l->text()));
        if (scoreGame) {
            dialog.Label1()->setText("   " + Tr("Game Over !"));
            dialog.Label2()->setText("");
        }
        dialog.FinalTime()->setText(text);
        dialog.EnterFame()->setVisible(qualifies && !(scoreGame && s.elapsedSeconds == 0));
        lastGameOver_ = {text, dialog.EnterFame()->isVisibleTo(&dialog), true};
        RunDialog(dialog);
    }
    // 8.
    if (scoreGame && s.elapsedSeconds == 0) {
        toWelcome();
        return;
    }
    if (qualifies) {
        HallOfFame::Result r;
        r.board = board;
        r.total = total;
        r.penalty = penalty;
        r.tilesRemoved = s.matchCounter; // the games count the tiles they removed here
        r.onePlayerSolitaire = board < 1000 && playedMode_ == kModeSolitaire;
        r.player = form_.Prefs().GetString("CurrentPlayer1");
        const QDate today = QDate::currentDate();
        r.date = HallOfFame::FormatDate(today.day(), today.month(), today.year());
        if (IsSlider(board))
            s.penaltySeconds = static_cast<int>(s.elapsedSeconds / 10000);
        int rank = hall_.AddHall(r);
        if (rank > 0) {
            lastHallRank_ = rank;
            WriteHallOfFame(); // an entry is never lost to a crash afterwards
        }
        ShowPanelHOF();
        hallEntryPending_ = true;
        int launch = 0;
        {
            HallWindow::Context ctx;
            ctx.hall = &hall_;
            ctx.boardNumber = board;
            ctx.lastHallRank = lastHallRank_;
            ctx.entryPending = true;
            ctx.playerName = r.player;
            ctx.translate = [this](const QString& t) { return Tr(t); };
            ctx.setVozedo = [this](bool on) {
                form_.SettingsFile().WriteBool("Tovani", "Vozedo", on);
                form_.SettingsFile().UpdateFile();
            };
            ctx.redrawPanel = [this] { ShowPanelHOF(); };
            ctx.confirmReset = [this](const QString& text) {
                bool ok = Ask(Tr("Please confirm"), text);
                hallWritePending_ = hallWritePending_ || ok;
                return ok;
            };
            HallWindow hallWindow(ctx, form_.PlayAreaBackground(), &form_);
            launch = RunDialog(hallWindow);
            form_.Prefs().SetString("CurrentPlayer1", hallWindow.PlayerName());
            if (launch == HallWindow::kLaunch)
                s.boardNumber = hallWindow.BoardNumber();
        }
        hallEntryPending_ = false;
        // The name of the new entry may have changed in the dialog.
        WriteHallOfFame();
        hallWritePending_ = false;
        ShowPanelHOF();
        if (launch == HallWindow::kLaunch) {
            inGameOver_ = false;
            LaunchBoard(s.boardNumber);
            return;
        }
    }
    // 9.
    toWelcome();
}

void SolitaireController::LaunchBoard(int board) {
    GameSession& s = form_.Session();
    s.boardNumber = board;
    if (board >= 1000) {
        form_.NewGame(nullptr);
        return;
    }
    if (QAction* a = LayoutItem(board))
        a->trigger(); // reloads the layout and deals a new game on it
}

// ---- The hall of fame -------------------------------------------------------------------------

QString SolitaireController::HallFilePath() const {
    return form_.ProgramDirectory() + "Hallfame.ini";
}

void SolitaireController::ReadHallOfFame() {
    std::vector<std::string> names;
    for (const LayoutEntry& e : form_.Layouts().Entries())
        names.push_back(e.name);
    hall_.SetLayouts(std::move(names));
    hallFile_ = IniFile(HallFilePath().toStdString());
    hall_.Read(hallFile_);
    hallRead_ = true;
}

bool SolitaireController::WriteHallOfFame() {
    if (!hallRead_)
        return true; // nothing was read: the file stays as it is
    hallFile_.SetFileName(HallFilePath().toStdString());
    hall_.Write(hallFile_);
    if (hallFile_.UpdateFile())
        return true;
    const QString why = QString::fromStdString(hallFile_.WriteError());
    std::fprintf(stderr, "tovani: %s\n", why.toUtf8().constData());
    form_.ShowStatus(why);
    return false;
}

void SolitaireController::ShowScores() {
    GameSession& s = form_.Session();
    form_.CheckPause();
    int launch = 0;
    int chosen = s.boardNumber;
    {
        HallWindow::Context ctx;
        ctx.hall = &hall_;
        ctx.boardNumber = s.boardNumber;
        ctx.lastHallRank = lastHallRank_;
        ctx.entryPending = false;
        ctx.playerName = form_.Prefs().GetString("CurrentPlayer1");
        ctx.translate = [this](const QString& t) { return Tr(t); };
        ctx.setVozedo = [this](bool on) {
            form_.SettingsFile().WriteBool("Tovani", "Vozedo", on);
            form_.SettingsFile().UpdateFile();
        };
        ctx.redrawPanel = [this] { ShowPanelHOF(); };
        ctx.confirmReset = [this](const QString& text) {
            bool ok = Ask(Tr("Please confirm"), text);
            hallWritePending_ = hallWritePending_ || ok;
            return ok;
        };
        HallWindow hallWindow(ctx, form_.PlayAreaBackground(), &form_);
        launch = RunDialog(hallWindow);
        form_.Prefs().SetString("CurrentPlayer1", hallWindow.PlayerName());
        chosen = hallWindow.BoardNumber();
    }
    if (hallWritePending_) {
        WriteHallOfFame(); // a reset is written at once
        hallWritePending_ = false;
        form_.RunCommand("FullRedraw");
    }
    form_.UnCheckPause();
    ShowPanelHOF();
    if (launch == HallWindow::kLaunch)
        LaunchBoard(chosen);
}

void SolitaireController::ShowPanelHOF() {
    if (hallWritePending_) {
        WriteHallOfFame();
        hallWritePending_ = false;
    }
    form_.RedrawHallOfFame();
}

bool SolitaireController::Vozedo() const {
    return form_.SettingsFile().ReadBool("Tovani", "Vozedo", false);
}

QImage SolitaireController::GirlPicture(int index) {
    if (girls_.empty()) {
        girls_.resize(19);
        for (int i = 1; i <= 18; ++i)
            girls_[static_cast<size_t>(i)] =
                ProgramPicture(QString("Girl%1").arg(i, 2, 10, QChar('0')));
    }
    if (index < 1 || index > 18)
        return {};
    return girls_[static_cast<size_t>(index)];
}

int SolitaireController::GirlIndex() {
    const GameSession& s = form_.Session();
    int mode = form_.GameMode();
    if (mode == kModePaused)
        mode = s.modeBeforePause;
    if (Vozedo()) {
        if (mode == kModeRivers || mode == kModeMemory)
            return 15;
        if (mode == kModeSolitaire || mode == kModeSlider)
            return 14;
        if (mode == kModeClicks || mode == kModeHashira)
            return 13;
        return 12;
    }
    const int left = s.tilesLeft, total = std::max(1, s.tilesTotal);
    const int time = s.elapsedSeconds + s.penaltySeconds;
    switch (mode) {
    case kModeHashira:
        return 16 + hashiraGirl_;
    case kModeSlider:
        return left < 30 ? 10 : left <= 60 ? 9 : 11;
    case kModeClicks: {
        if (left == 0)
            return 3;
        const double ratio = double(s.movesAvailable) / left;
        return ratio < 7.0 / total ? 5 : ratio < 25.0 / total ? 3 : 4;
    }
    case kModeMemory:
        return time < 61 ? 7 : time < 121 ? 6 : 8;
    case kModeRivers:
        return time < 121 ? 7 : time < 241 ? 6 : 8;
    case kModeSolitaire: {
        if (left == 0)
            return 9;
        const int moves =
            InSolitaire() ? IsItFree(board_, Rule()).movesAvailable : s.movesAvailable;
        const double ratio = double(moves) / left;
        return ratio < 3.0 / total ? 11 : ratio <= 7.0 / total ? 9 : 10;
    }
    default:
        return 1;
    }
}

void SolitaireController::PaintHallOfFame(QPainter& p, const QRect& r) {
    ++stripPaints_;
    const int height = r.height();
    // The strip's picture, repeated downwards up to four times.
    if (hofPicture_.isNull()) {
        p.fillRect(r, QColor(40, 24, 16));
    } else {
        for (int i = 0, y = 0; i < 4 && y < height; ++i, y += hofPicture_.height())
            p.drawImage(QPoint(0, y), hofPicture_);
        if (4 * hofPicture_.height() < height)
            p.fillRect(QRect(0, 4 * hofPicture_.height(), r.width(), height), QColor(40, 24, 16));
    }
    GameSession& s = form_.Session();
    int mode = form_.GameMode();
    const bool showTile = form_.Option("ShowCurrentTile");
    int t;
    if (form_.Option("ShowGirls") && mode != kModeTwoPlayers &&
        !(showTile && mode == kModeSolitaire))
        t = 90;
    else if (mode == kModeTwoPlayers)
        t = 20;
    else if (showTile)
        t = 10;
    else
        t = -20;
    if (height >= 568)
        t = 30;
    else if (height < 468)
        t = 92;

    auto textAt = [&p](int x, int y, const QString& text) {
        p.drawText(x, y + p.fontMetrics().ascent(), text);
    };
    if (t < 90) {
        QFont title("Comic Sans MS");
        title.setPointSize(10);
        title.setBold(true);
        p.setFont(title);
        p.setPen(Qt::yellow);
        for (auto [text, y] : {std::pair{Tr("HALL OF"), 50 - t}, std::pair{Tr("FAME"), 70 - t}})
            textAt((r.width() - p.fontMetrics().horizontalAdvance(text)) / 2, y, text);
    }
    if ((t == 30 || t == 90) && form_.Option("ShowGirls") && !form_.View3D()) {
        QImage girl = GirlPicture(GirlIndex());
        if (!girl.isNull())
            p.drawImage(QPoint(0, height - 166), girl);
    }
    // The ten best of the board in play.
    const int board = s.boardNumber;
    if (hall_.IsKnownBoard(board)) {
        const HallOfFame::Table& table = hall_.TableOf(board);
        QFont nameFont("Verdana");
        nameFont.setPointSize(9);
        nameFont.setBold(true);
        QFont resultFont("Verdana");
        resultFont.setPointSize(9);
        for (int rank = 1; rank <= 10; ++rank) {
            const HallEntry& e = table[static_cast<size_t>(rank - 1)];
            if (e.Empty())
                continue;
            QFont f = nameFont;
            f.setItalic(rank == lastHallRank_);
            p.setFont(f);
            p.setPen(Qt::white);
            textAt(15, 27 * rank - t + 81, QString::fromStdString(e.name));
            p.setFont(resultFont);
            p.setPen(Qt::cyan);
            QString value;
            if (HallOfFame::IsScoreTable(board) || IsClicks(board)) {
                int64_t v = HallOfFame::Comparable(board, e);
                if (IsHashira(board))
                    v *= 100;
                value = QString::number(v);
                static const int pad[] = {8, 6, 4, 2, 1}; // lengths 1..5
                if (value.size() <= 5)
                    value = QString(pad[value.size() - 1], ' ') + value;
            } else {
                value = MinutesSeconds(e.result);
            }
            textAt(32, 27 * rank - t + 94, value);
        }
    }
    // "Show Current Tile": the tile under the mouse in one-player Solitaire.
    if (mode == kModeSolitaire && showTile && currentTile_ != 0) {
        QImage tile = view_.TilePicture(FaceOf(currentTile_));
        if (!tile.isNull()) {
            const int e =
                std::max(0, int(std::lround(view_.EdgeSize() / view_.DevicePixelRatio())));
            QImage scaled =
                tile.scaled(40 + e, 50 + e, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            p.drawImage(QPoint(30 - e, 390), scaled);
        }
    }
    // Two players: both names and clocks, the name of the player to move blinking.
    if (mode == kModeTwoPlayers || (mode == kModePaused && s.modeBeforePause == kModeTwoPlayers)) {
        if (!hofPicture_.isNull())
            p.drawImage(QRect(0, 380, 92, 88), hofPicture_,
                        QRect(0, 380 % std::max(1, hofPicture_.height()), 92, 88));
        const uint32_t now = form_.GameClock().TickMs();
        SyncTurnStarts(true);
        const bool player2 = play_.clocks.player2Turn;
        QFont nameFont("Arial");
        nameFont.setPointSize(12);
        nameFont.setBold(true);
        QFont timeFont("Arial");
        timeFont.setPointSize(10);
        for (int player = 1; player <= 2; ++player) {
            const bool toMove = (player == 2) == player2;
            const int y = player == 1 ? 382 : 424;
            p.setFont(nameFont);
            p.setPen(player == 1 ? Qt::yellow : Qt::cyan);
            const QString name = Tr(player == 1 ? "PLAYER 1" : "PLAYER 2");
            if (!toMove || now % 1000 > 500)
                textAt((92 - p.fontMetrics().horizontalAdvance(name)) / 2, y, name);
            int64_t ms = play_.clocks.TimeOf(player, now);
            if (mode == kModePaused && toMove)
                ms = (player == 1 ? play_.clocks.player1Ms : play_.clocks.player2Ms) +
                     s.clocks.playerPausedElapsed[player - 1];
            p.setFont(timeFont);
            p.setPen(Qt::white);
            textAt(30, y + 20, MinutesSeconds(ms / 1000));
        }
    }
}

} // namespace tovani
