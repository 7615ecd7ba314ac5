#include "play/rivers/RiversPlay.h"

#include "play/BoardView.h"
#include "play/GameServices.h"
#include "play/HallKeeper.h"
#include "scores/SavedGame.h"
#include "shell/MainForm.h"

#include <QAction>
#include <QWidget>

namespace tovani {

namespace {

// The controls that deal each board; any other sender deals the board in play again.
bool IsEasySender(const QString& name) {
    return name == "NewArcadeMahjonggGame1" || name == "BitBtn3";
}

bool IsHardSender(const QString& name) {
    return name == "MahJonggRiversNewGameHard1" || name == "BitBtn4" || name == "SpeedButton2";
}

} // namespace

RiversPlay::RiversPlay(GameServices& services, HallKeeper& hall)
    : services_(services), hall_(hall), form_(services.Form()), view_(services.View()) {
    setObjectName("RiversPlay");
    Register();
}

RiversPlay::~RiversPlay() {
    EndAnimation();
    BoardScene& scene = view_.Scene();
    if (scene.board == &game_.GameBoard() || scene.board == &anim_.shown)
        scene.board = nullptr;
    form_.SetHandler("FourRivers", nullptr);
    form_.SetHandler("AnimateTileRiversClick", nullptr);
    form_.RegisterGame({kModeRivers}, nullptr);
}

void RiversPlay::Register() {
    form_.SetHandler("FourRivers", [this](QObject* s) { FourRivers(s); });
    // The option only changes its check mark; the next removal reads it. A tile on its way
    // arrives at once.
    form_.SetHandler("AnimateTileRiversClick", [this](QObject*) { EndAnimation(); });
    form_.RegisterGame({kModeRivers}, this);
    connect(&view_, &BoardView::PicksCleared, this, [this] {
        if (form_.GameMode() != kModeRivers)
            return;
        EndAnimation();
        game_.ClearSelection();
        SyncScene(); // the view redraws the whole board next
    });
    connect(&view_, &BoardView::TilesRebuilt, this, [this] {
        if (anim_.active)
            EndAnimation();
    });
}

void RiversPlay::Start(const std::string& sender) {
    (void)sender;
    FourRivers(nullptr);
}

GameResult RiversPlay::Result() const {
    return TimedResult(form_.Session(), game_.TilesTotal() - game_.TilesLeft());
}

// ---- Small helpers ----------------------------------------------------------------------------

QString RiversPlay::Tr(const QString& s) const {
    return services_.Tr(s);
}

bool RiversPlay::InRivers() const {
    return form_.GameMode() == kModeRivers;
}

void RiversPlay::SyncScene() {
    BoardScene& scene = view_.Scene();
    scene.gameMode = form_.GameMode();
    // A hint mark leaves with its tiles.
    const Board& b = game_.GameBoard();
    const bool hinted = b.Position(game_.HintA()).OnBoard() && b.Position(game_.HintB()).OnBoard();
    scene.hint1 = hinted ? game_.HintA() : 0;
    scene.hint2 = hinted ? game_.HintB() : 0;
    if (anim_.active && Carrying()) {
        // The leaving pair is drawn where it is seen, in its plain look.
        scene.board = &anim_.shown;
        scene.firstPick = anim_.pair.first;
        scene.secondPick = anim_.pair.second;
        scene.riverFound = true;
        return;
    }
    scene.board = &game_.GameBoard();
    scene.firstPick = game_.FirstPick();
    scene.secondPick = game_.SecondPick();
    scene.riverFound = false;
}

void RiversPlay::Redraw() {
    SyncScene();
    view_.FullRedraw();
}

void RiversPlay::RedrawTiles(const std::vector<int>& tiles) {
    SyncScene();
    for (int t : tiles)
        if (t != 0)
            view_.RedrawTile(t);
}

void RiversPlay::RedrawCells(const std::vector<Cell>& cells) {
    SyncScene();
    view_.RedrawPlaces(cells);
}

QPoint RiversPlay::TileCentre(int tile) const {
    return view_.PlaceCentre(game_.GameBoard().Position(tile));
}

void RiversPlay::UpdateRedoEnabled() {
    const bool can = InRivers() && game_.CanRedo();
    for (const char* name : {"Redo1", "Redo2"})
        if (QAction* a = form_.Item(name))
            a->setEnabled(can);
}

// After the board changed: the counters, the strip and Redo.
void RiversPlay::AfterChange() {
    GameSession& s = form_.Session();
    s.tilesLeft = game_.TilesLeft();
    s.tilesTotal = game_.TilesTotal();
    s.matchCounter = game_.MatchCounter();
    UpdateRedoEnabled();
}

// ---- Starting a game --------------------------------------------------------------------------

void RiversPlay::FourRivers(QObject* sender) {
    if (hall_.InGameOver())
        return;
    GameSession& s = form_.Session();
    EndAnimation();
    // 1.
    form_.RunCommand("ColorHighlight");
    form_.InitVar();
    view_.Area().renderer.ClearHover();
    // 2. The layout in play is kept for the way back to Solitaire.
    if (s.boardNumber >= 1 && s.boardNumber < 1000)
        s.lastBoard = s.boardNumber;
    // 3.
    const QString name = sender ? sender->objectName() : QString();
    if (IsEasySender(name))
        s.boardNumber = kRiversEasyBoard;
    else if (IsHardSender(name))
        s.boardNumber = kRiversHardBoard;
    else if (!RiversVariantOfBoard(s.boardNumber))
        s.boardNumber = kRiversEasyBoard; // nothing to replay yet: the Easy board
    const RiversVariant variant = *RiversVariantOfBoard(s.boardNumber);
    // 4-6.
    services_.Rng().Randomize(form_.GameClock());
    game_.NewGame(variant, services_.Rng());
    FitView();
    // 7.
    AfterChange();
    if (form_.GameMode() == kModePaused)
        form_.SetPauseButtons();
    hall_.ForgetGameOver();
    // 8.
    form_.ShowStatus(Tr("Mahjongg Rivers started."));
    form_.IM(kModeRivers);
    form_.RunCommand("SetMargeHaute");
    Redraw();
    hall_.ShowPanelHOF();
    s.StartClock();
    CountTiles();
}

// The board fills the window with a band of one place around it, where rivers may run.
void RiversPlay::FitView() {
    BoardExtent e = ExtentOf(game_.GameBoard());
    // Corners one place out from the board's, on its lowest layer: the band rivers run in.
    int c0 = kLayoutColumns, c1 = 1, r0 = kLayoutRows, r1 = 1;
    for (const Cell& c : e.places) {
        c0 = std::min(c0, c.column);
        c1 = std::max(c1, c.column);
        r0 = std::min(r0, c.row);
        r1 = std::max(r1, c.row);
    }
    for (int column : {c0 - 2, c1 + 2})
        for (int row : {r0 - 2, r1 + 2})
            e.places.push_back({column, row, 1});
    view_.FitTo(e);
}

bool RiversPlay::Resume(const RiversState& state, std::string* why) {
    if (hall_.InGameOver())
        return false;
    EndAnimation();
    if (!game_.SetState(state, why))
        return false;
    FitView();
    GameSession& s = form_.Session();
    form_.RunCommand("ColorHighlight");
    form_.InitVar();
    view_.Area().renderer.ClearHover();
    if (s.boardNumber >= 1 && s.boardNumber < 1000)
        s.lastBoard = s.boardNumber;
    s.boardNumber = game_.Info().boardNumber;
    AfterChange();
    if (form_.GameMode() == kModePaused)
        form_.SetPauseButtons();
    hall_.ForgetGameOver();
    form_.IM(kModeRivers);
    form_.RunCommand("SetMargeHaute");
    Redraw();
    hall_.ShowPanelHOF();
    s.StartClock();
    CountTiles();
    return true;
}

// ---- Saved games ------------------------------------------------------------------------------

bool RiversPlay::SaveState(std::string& out) const {
    const GameSession& s = form_.Session();
    if (form_.GameMode() != kModeRivers || s.gameOver || hall_.InGameOver())
        return false;
    const RiversState state = game_.State();
    SavedGame g;
    g.kind = SavedGameKind::Rivers;
    g.tiles.board = state.board;
    g.tiles.history = state.history;
    g.tiles.tilesLeft = state.board.tilesLeft;
    g.tiles.tilesTotal = state.board.tilesTotal;
    g.tiles.elapsedSeconds =
        static_cast<int>((form_.GameClock().TickMs() - s.clocks.gameStartTick) / 1000u);
    g.tiles.penaltySeconds = s.penaltySeconds;
    out = WriteSavedGame(g);
    return true;
}

bool RiversPlay::LoadState(const std::string& in, std::string& error) {
    SavedGameRead read = ReadSavedGame(in);
    if (!read.ok() || read.game.kind != SavedGameKind::Rivers) {
        error = Tr(QString::fromStdString(SavedGameErrorText(read.error))).toStdString();
        return false;
    }
    if (hall_.InGameOver()) {
        error = Tr("Finish the game over display first.").toStdString();
        return false;
    }
    const TileGameData& d = read.game.tiles;
    std::string why;
    if (!Resume(RiversState{d.board, d.history}, &why)) {
        error = Tr("The position it holds cannot be played (%1).")
                    .arg(QString::fromStdString(why))
                    .toStdString();
        return false;
    }
    // The clock goes on from the time the file holds.
    GameSession& s = form_.Session();
    s.penaltySeconds = d.penaltySeconds;
    s.elapsedSeconds = d.elapsedSeconds;
    s.clocks.gameStartTick =
        form_.GameClock().TickMs() - static_cast<uint32_t>(d.elapsedSeconds) * 1000u;
    return true;
}

// ---- The mouse --------------------------------------------------------------------------------

void RiversPlay::Click(int x, int y, MouseButton button) {
    if (!InRivers() || button != MouseButton::Left)
        return;
    // A removal still on show ends first: the click is aimed at the board as it now stands.
    EndAnimation();
    ClickTile(view_.TileAt(QPoint(x, y)));
}

void RiversPlay::ClickTile(int tile) {
    GameSession& s = form_.Session();
    if (!InRivers() || hall_.InGameOver() || s.gameOver)
        return;
    EndAnimation();
    if (tile == 0)
        return; // a click beside the tiles does nothing
    const bool showGirls = form_.Option("ShowGirls");
    const bool matching =
        game_.FirstPick() != 0 && game_.FirstPick() != tile && TilesMatch(game_.FirstPick(), tile);
    if (matching && showGirls)
        hall_.ShowPanelHOF();
    RiversEffects fx = game_.ChoisitPai(tile);
    for (tovani::Sound snd : fx.sounds)
        services_.Sound(snd);
    if (fx.removed) {
        PerformRemoval(fx);
        return;
    }
    RedrawTiles(fx.redrawTiles);
}

void RiversPlay::PerformRemoval(const RiversEffects& fx) {
    AfterChange();
    StartAnimation(fx);
    if (!anim_.active)
        RedrawCells({fx.pair.firstCell, fx.pair.secondCell});
    if (form_.Option("ShowGirls"))
        form_.RedrawHallOfFame();
}

// ---- Commands ---------------------------------------------------------------------------------

void RiversPlay::Hint() {
    GameSession& s = form_.Session();
    if (!InRivers() || s.gameOver)
        return;
    EndAnimation();
    RiversEffects fx = game_.Hint();
    if (fx.penaltySeconds == 0 && fx.redrawTiles.empty())
        return; // no pair to show
    s.penaltySeconds += fx.penaltySeconds;
    s.hintCounters[0] = game_.HintIndex();
    Redraw();
}

void RiversPlay::Back() {
    GameSession& s = form_.Session();
    if (!InRivers())
        return;
    if (game_.TilesLeft() == 0 || game_.TilesLeft() >= game_.TilesTotal())
        return;
    GoBack();
    s.status.StopMarquee();
}

void RiversPlay::GoBack() {
    if (!InRivers())
        return;
    EndAnimation();
    if (!game_.BackHistory())
        return;
    AfterChange();
    Redraw();
    if (form_.Option("ShowGirls"))
        form_.RedrawHallOfFame();
    view_.ShowBoardBuffer();
    CountTiles();
}

void RiversPlay::Redo() {
    if (!InRivers() || form_.Session().gameOver)
        return;
    EndAnimation();
    RiversEffects fx = game_.Redo();
    if (!fx.removed)
        return;
    for (tovani::Sound snd : fx.sounds)
        services_.Sound(snd);
    PerformRemoval(fx);
    CountTiles();
}

void RiversPlay::Restart() {
    GameSession& s = form_.Session();
    if (!InRivers())
        return;
    EndAnimation();
    if (game_.Restart() == 0)
        return;
    AfterChange();
    s.elapsedSeconds = 0;
    s.penaltySeconds = 0;
    s.clocks.pausedElapsed = 0;
    s.clocks.playerPausedElapsed[0] = s.clocks.playerPausedElapsed[1] = 0;
    view_.Area().renderer.ClearHover();
    s.StartClock();
    form_.ShowStatus(Tr("Game restarted."));
    Redraw();
    form_.RedrawHallOfFame();
    CountTiles();
}

void RiversPlay::Shuffle() {
    GameSession& s = form_.Session();
    if (!InRivers() || s.gameOver || game_.TilesLeft() == 0)
        return;
    EndAnimation();
    s.hintCounters[0] = s.hintCounters[1] = s.hintCounters[2] = 0;
    const ShuffleOutcome out = game_.Shuffle(services_.Rng(), form_.GameClock());
    switch (out.message) {
    case ShuffleMessage::NoMoves:
        form_.ShowStatus(Tr("No moves found. Try to press Back a few times."));
        break;
    default:
        form_.ShowStatus(Tr("Tiles shuffled. 40 seconds penalty."));
        break;
    }
    s.penaltySeconds += out.penaltySeconds;
    s.movesAvailable = out.movesAvailable;
    AfterChange();
    form_.RedrawHallOfFame();
    Redraw();
}

// ---- The count of every 50 ms tick ------------------------------------------------------------

void RiversPlay::CountTiles() {
    if (!InRivers())
        return;
    GameSession& s = form_.Session();
    const RiversScan scan = game_.IsItFree();
    s.tilesLeft = game_.TilesLeft();
    s.tilesTotal = game_.TilesTotal();
    s.movesAvailable = scan.movesAvailable;
    s.matchCounter = game_.MatchCounter();
    UpdateRedoEnabled();
    // A cleared board ends the game once its clock has started to count, and once the last
    // river has been shown.
    if (game_.Finished() && s.elapsedSeconds > 0 && !anim_.active && !s.gameOver &&
        !hall_.InGameOver()) {
        s.gameOver = true;
        hall_.GameOver();
    }
}

} // namespace tovani
