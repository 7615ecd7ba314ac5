#include "play/solitaire/SolitaireGame.h"

#include "dialogs/RandomWindow.h"
#include "play/BoardView.h"
#include "play/GameServices.h"
#include "play/HallKeeper.h"
#include "shell/MainForm.h"
#include "solitaire/LayoutCatalog.h"
#include "solitaire/Shuffle.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QThread>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace tovani {

namespace {

const QString kWebAddress = QStringLiteral("https://tovani.games.example");
const QString kTitleLine = QStringLiteral("Tovani 10.21");
// The deal drawn tile by tile waits this long after each tile.
constexpr int kPlacingDelayMs = 3;

} // namespace

SolitaireGame::SolitaireGame(GameServices& services, HallKeeper& hall)
    : services_(services), hall_(hall), form_(services.Form()), view_(services.View()) {
    setObjectName("SolitaireGame");
    Register();
}

SolitaireGame::~SolitaireGame() {
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
                                         "AniSpeedClick",
                                         "AnimTypeClick",
                                         "AnimateTilesClick"};
    for (const char* h : kHooks)
        form_.SetHandler(h, nullptr);
    form_.RegisterGame({kModeSolitaire, kModeTwoPlayers}, nullptr);
}

void SolitaireGame::Register() {
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
    hook("AniSpeedClick", [this](QObject*) { AniSpeedClick(); });
    hook("AnimTypeClick", [this](QObject*) { AnimTypeClick(); });
    // Animation turned off: a pair still in the air lands at once.
    hook("AnimateTilesClick", [this](QObject*) {
        if (!form_.Option("AnimateTiles"))
            EndFlight();
    });
    // Back, Hint, Shuffle, Restart, Redo and the 50 ms count reach us through the game
    // interface in our two modes.
    form_.RegisterGame({kModeSolitaire, kModeTwoPlayers}, this);

    hall_.AddStripPainter([this](QPainter& p, int t) { PaintStrip(p, t); });
    connect(&view_, &BoardView::PicksCleared, this, [this] { play_.ClearSelection(); });
    // New tile sizes (a resize, another tileset): a flight in the air would land in the old ones.
    connect(&view_, &BoardView::TilesRebuilt, this, [this] { EndFlight(); });
    connect(&view_, &BoardView::CurrentTileShown, this, [this](int tile, bool covered) {
        currentTile_ = covered ? 0 : tile;
        form_.RedrawHallOfFame();
    });
}

void SolitaireGame::Start(const std::string& sender) {
    (void)sender;
    form_.NewGame(nullptr);
}

bool SolitaireGame::CanRedo() const {
    return play_.CanRedo(board_);
}

RandomGenerator& SolitaireGame::Rng() {
    return services_.Rng();
}

GameResult SolitaireGame::Result() const {
    GameResult r = TimedResult(form_.Session(), form_.Session().matchCounter);
    // A game finished by the Demo was not the player's: it enters no hall of fame.
    r.entersHall = !demoPlayed_;
    r.byDemo = demoPlayed_;
    if (form_.GameMode() == kModeTwoPlayers || form_.Session().mode == kModeTwoPlayers) {
        r.kind = GameResult::Kind::TwoPlayers;
        r.playerMs[0] = play_.clocks.player1Ms;
        r.playerMs[1] = play_.clocks.player2Ms;
        switch (SolitairePlay::WinnerOf(play_.clocks)) {
        case Winner::Player1:
            r.winner = 1;
            break;
        case Winner::Player2:
            r.winner = 2;
            break;
        case Winner::Tie:
            r.winner = 0;
            break;
        }
    }
    return r;
}

// ---- Small helpers ----------------------------------------------------------------------------

QString SolitaireGame::Tr(const QString& s) const {
    return services_.Tr(s);
}

bool SolitaireGame::InSolitaire() const {
    int mode = form_.GameMode();
    return mode == kModeSolitaire || mode == kModeTwoPlayers;
}

FreeRule SolitaireGame::Rule() const {
    return form_.Option("Vertical") ? FreeRule::Vertical : FreeRule::Side;
}

void SolitaireGame::Sound(tovani::Sound s) {
    services_.Sound(s);
}

void SolitaireGame::SyncScene() {
    BoardScene& scene = view_.Scene();
    scene.board = placing_ ? &placingBoard_ : &board_;
    scene.gameMode = form_.GameMode();
    scene.firstPick = play_.firstPick;
    scene.secondPick = play_.secondPick;
    scene.hint1 = play_.hintA;
    scene.hint2 = play_.hintB;
    scene.riverFound = false;
}

void SolitaireGame::Redraw() {
    SyncScene();
    view_.FullRedraw();
}

void SolitaireGame::RedrawTiles(const std::vector<int>& tiles) {
    SyncScene();
    for (int t : tiles)
        if (t != 0)
            view_.RedrawTile(t);
}

void SolitaireGame::RedrawCells(const std::vector<Cell>& cells) {
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

void SolitaireGame::CheckLayoutItem(int number) {
    if (QAction* a = form_.LayoutItem(number))
        a->setChecked(true);
}

int SolitaireGame::CurrentAnimationFrames() const {
    static const char* const kSpeeds[] = {"AniSlow", "AniNormal", "AniFast", "AniUltra",
                                          "AniLight"};
    for (int i = 0; i < 5; ++i)
        if (form_.Option(kSpeeds[i]))
            return FrameCount(static_cast<AnimationSpeed>(i));
    return FrameCount(AnimationSpeed::Normal);
}

AnimationType SolitaireGame::CurrentAnimationType() const {
    static const char* const kTypes[] = {"AniNucleus", "AniClassic", "AniFuzzy", "AniUnion"};
    for (int i = 0; i < 4; ++i)
        if (form_.Option(kTypes[i]))
            return static_cast<AnimationType>(i);
    return AnimationType::Union;
}

void SolitaireGame::UpdateRedoEnabled() {
    // Redo follows Back (the window enables both by game mode), and is there only while a pair
    // taken back can be taken off again.
    bool can = form_.GameMode() == kModeSolitaire && play_.CanRedo(board_);
    for (const char* name : {"Redo1", "Redo2"})
        if (QAction* a = form_.Item(name))
            a->setEnabled(can);
}

void SolitaireGame::SyncTurnStarts(bool toModel) {
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

QPoint SolitaireGame::TileCentre(int tile) const {
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

void SolitaireGame::RunLayout(QObject* sender) {
    LoadLayout(sender);
}

void SolitaireGame::RunShpLayout(QObject* sender) {
    LoadLayout(sender);
}

void SolitaireGame::LoadLayout(QObject* sender) {
    (void)sender;
    GameSession& s = form_.Session();
    const QString path = form_.LayoutPath();
    const bool quiet =
        path.contains(QString::fromUtf8(kQuietLoadMarker.data(), int(kQuietLoadMarker.size())));
    LayoutLoad load = LoadLayoutFile(path.toStdString(), form_.Layouts());
    if (load.refusedVersion && !quiet)
        services_.Inform("Tovani", Tr("You are trying to play a layout intended for use with %1")
                                           .arg(QString::fromStdString(*load.refusedVersion)) +
                                       "\r\n" + Tr("Please upgrade Tovani at %1").arg(kWebAddress));
    if (!load.ok) {
        // The layout in play stays, and so do its number, its file and its menu item.
        if (!quiet && !path.isEmpty())
            services_.Inform("Tovani", QString::fromStdString(
                                           LayoutErrorMessage(load.error, services_.Translator())));
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
    hall_.ClearHallHighlight();
    if (quiet)
        return;
    if (form_.GameMode() == kModeNoGame) {
        // Start-up: the layout is ready, the welcome screen comes next.
        form_.ShowStatus(kTitleLine);
        return;
    }
    form_.ShowStatus(
        Tr("Layout \"%1\" selected.").arg(QString::fromStdString(layout_.name)));
    StartGame(this, false);
}

// ---- Dealing ----------------------------------------------------------------------------------

void SolitaireGame::RandomSolitaireGame1Click(QObject* sender) {
    form_.SetOption("RandomSeed1", false);
    BeginGame(sender);
}

void SolitaireGame::NewSpecificGame1Click(QObject* sender) {
    const bool wasSeeded = form_.Option("RandomSeed1");
    form_.SetOption("RandomSeed1", true);
    TRandomWindow::Context ctx;
    ctx.seed = form_.Prefs().GetInt("RandomSeed");
    ctx.draw = [this](uint32_t n) { return Rng().Random(n); };
    ctx.translate = [this](const QString& t) { return Tr(t); };
    form_.CheckPause();
    TRandomWindow dialog(ctx, form_.PlayAreaBackground(), &form_);
    int result = services_.RunDialog(dialog);
    form_.UnCheckPause();
    if (result != QDialog::Accepted) {
        // Closed without OK: nothing is dealt.
        form_.SetOption("RandomSeed1", wasSeeded);
        return;
    }
    // OK takes the number in the field; a runner that closes the dialog otherwise leaves it there.
    const int32_t seed = dialog.GameNumber() > 0 ? dialog.GameNumber() : dialog.Seed();
    form_.Prefs().SetInt("RandomSeed", seed);
    Rng().Randomize(form_.GameClock());
    BeginGame(sender);
}

void SolitaireGame::BeginGame(QObject* sender) {
    StartGame(sender, false);
}

void SolitaireGame::TwoPlayers(QObject* sender) {
    StartGame(sender, true);
}

bool SolitaireGame::AnimateConditions() const {
    int mode = form_.GameMode();
    return form_.Option("Animate") && mode != kModeNoGame && mode != kModeEditor &&
           mode != kModeWelcome && !form_.Option("RandomSeed1");
}

void SolitaireGame::StartGame(QObject* sender, bool twoPlayers) {
    if (placing_ || hall_.InGameOver())
        return;
    twoPlayerGame_ = twoPlayers;
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
            if (QAction* a = form_.LayoutItem(n); a && a->isChecked())
                checked = n;
        s.boardNumber = checked > 0 ? checked : s.lastBoard;
    }
    // 3. "New Game" with "Random Layouts": a layout drawn at random, loaded quietly.
    if (form_.Option("RandomLayouts") && sender == nullptr && form_.Layouts().Count() > 0) {
        int k = PickRandomLayout(Rng(), form_.Layouts().Count());
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
        services_.Inform("Tovani", Tr("No layout is loaded: choose one in the Layout menu."));
        return;
    }
    if (s.boardNumber >= 1 && s.boardNumber < 1000)
        s.lastBoard = s.boardNumber;
    // 4-5.
    const bool animate = AnimateConditions();
    board_.FillFromLayout(layout_);
    view_.FitTo(ExtentOfPlaces(layout_.Places()));
    s.tilesLeft = s.tilesTotal = board_.tilesTotal;
    play_.NewGame(form_.GameClock().TickMs());
    hall_.ForgetGameOver();
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
    deal_ = tovani::BeginGame(board_, layout_, Rng(), form_.GameClock(), options);
    s.tilesLeft = board_.tilesLeft;
    s.tilesTotal = board_.tilesTotal;
    if (deal_.outcome == DealOutcome::Refused) {
        QString why = deal_.problem ? QString::fromStdString(
                                          LayoutErrorMessage(*deal_.problem, services_.Translator()))
                                    : Tr("This layout cannot be dealt.");
        services_.Inform("Tovani", why);
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
        form_.ShowStatus(Tr("Specific Board started. Random Seed #%1").arg(options.seedNumber));
    // 10.
    Redraw();
    form_.RedrawHallOfFame();
    // A message of this start (a layout, a seed) stays; a blank line or the last game's
    // no-more-moves message gives way.
    const StatusLine& line = s.status;
    const bool growing = line.RevealPosition() > 1;
    const std::string noMoves = "      " + Tr("SORRY, NO MORE MOVES !!").toStdString();
    const bool blank = line.Text().find_first_not_of(' ') == std::string::npos;
    if (!growing || blank || line.Text() == noMoves)
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

void SolitaireGame::AnimatePlacing(const std::vector<int>& order) {
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

void SolitaireGame::VerticalClick() {
    // The check mark is already inverted when this runs.
    const int mode = form_.GameMode();
    if (mode == kModeNoGame || mode == kModeWelcome)
        return;
    const bool wanted = form_.Option("Vertical");
    if (mode != kModeSolitaire) {
        form_.SetOption("Vertical", !wanted);
        return;
    }
    if (!services_.Ask(
            Tr("Vertical Variation"),
            Tr("If you want to change the game mode, you'll have to restart your game. Do you "
               "wish to continue ?"))) {
        form_.SetOption("Vertical", !wanted);
        return;
    }
    BeginGame(this);
}

void SolitaireGame::Shuffle1Click() {
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
    ShuffleOutcome out = tovani::Shuffle(board_, Rng(), form_.GameClock(), options);
    if (onPositionReset)
        onPositionReset();
    if (out.winnable && out.winnableResult.shuffled && form_.Option("Animate") &&
        !form_.Option("RandomSeed1"))
        AnimatePlacing(out.winnableResult.order);
    // 5.
    switch (out.message) {
    case ShuffleMessage::NewMoves:
        form_.ShowStatus(Tr("Tiles shuffled. %1 new moves found.").arg(out.movesAvailable));
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

// ---- Hints and the history --------------------------------------------------------------------

void SolitaireGame::Hint() {
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

void SolitaireGame::Back() {
    GameSession& s = form_.Session();
    if (form_.GameMode() != kModeSolitaire || placing_)
        return;
    if (board_.tilesLeft == 0 || board_.tilesLeft >= board_.tilesTotal)
        return;
    GoBack();
    s.status.StopMarquee();
}

void SolitaireGame::GoBack() {
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

void SolitaireGame::Redo() {
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

void SolitaireGame::Restart() {
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

void SolitaireGame::CountTiles() {
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
    if (board_.tilesLeft == 0 && s.elapsedSeconds > 0 && !s.gameOver && !hall_.InGameOver()) {
        s.gameOver = true;
        hall_.GameOver();
    }
}

} // namespace tovani
