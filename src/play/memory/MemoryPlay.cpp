#include "play/memory/MemoryPlay.h"

#include "play/BoardView.h"
#include "play/GameServices.h"
#include "play/HallKeeper.h"
#include "shell/MainForm.h"

namespace tovani {

namespace {

bool IsEasySender(const QString& name) {
    return name == "MahJonggMemoryNewGame1" || name == "BitBtn5" || name == "SpeedButton3";
}

bool IsHardSender(const QString& name) {
    return name == "MahJonggMemoryNewGameHard1" || name == "BitBtn6";
}

} // namespace

MemoryPlay::MemoryPlay(GameServices& services, HallKeeper& hall)
    : services_(services), hall_(hall), form_(services.Form()), view_(services.View()) {
    setObjectName("MemoryPlay");
    Register();
}

MemoryPlay::~MemoryPlay() {
    BoardScene& scene = view_.Scene();
    if (scene.board == &game_.GameBoard())
        scene.board = nullptr;
    form_.SetHandler("Memory", nullptr);
    form_.SetHandler("PairCheck", nullptr);
    form_.RegisterGame({kModeMemory}, nullptr);
}

void MemoryPlay::Register() {
    form_.SetHandler("Memory", [this](QObject* s) { StartMemory(s); });
    form_.SetHandler("PairCheck", [this](QObject*) { PairCheck(); });
    form_.RegisterGame({kModeMemory}, this);
}

void MemoryPlay::Start(const std::string& sender) {
    (void)sender;
    StartMemory(nullptr);
}

GameResult MemoryPlay::Result() const {
    return TimedResult(form_.Session(), game_.TilesTotal() - game_.TilesLeft());
}

// ---- Small helpers ----------------------------------------------------------------------------

QString MemoryPlay::Tr(const QString& s) const {
    return services_.Tr(s);
}

bool MemoryPlay::InMemory() const {
    return form_.GameMode() == kModeMemory;
}

void MemoryPlay::SyncScene() {
    BoardScene& scene = view_.Scene();
    scene.board = &game_.GameBoard();
    scene.gameMode = form_.GameMode();
    // The turned tiles show their faces; the board draws every other one face down.
    scene.firstPick = game_.FirstPick();
    scene.secondPick = game_.SecondPick();
    scene.hint1 = scene.hint2 = 0;
    scene.riverFound = false;
}

void MemoryPlay::Redraw() {
    SyncScene();
    view_.FullRedraw();
}

void MemoryPlay::RedrawTiles(const std::vector<int>& tiles) {
    SyncScene();
    for (int t : tiles)
        if (t != 0)
            view_.RedrawTile(t);
}

void MemoryPlay::RedrawCells(const std::vector<Cell>& cells) {
    SyncScene();
    view_.RedrawPlaces(cells);
}

QPoint MemoryPlay::TileCentre(int tile) const {
    return view_.PlaceCentre(game_.GameBoard().Position(tile));
}

// ---- Starting a game --------------------------------------------------------------------------

void MemoryPlay::StartMemory(QObject* sender) {
    if (hall_.InGameOver())
        return;
    GameSession& s = form_.Session();
    // 1.
    form_.RunCommand("ColorHighlight");
    form_.InitVar(); // also forgets a reveal of the last game still waiting
    view_.Area().renderer.ClearHover();
    if (s.boardNumber >= 1 && s.boardNumber < 1000)
        s.lastBoard = s.boardNumber;
    // 2.
    const QString name = sender ? sender->objectName() : QString();
    if (IsEasySender(name))
        s.boardNumber = kMemoryEasyBoard;
    else if (IsHardSender(name))
        s.boardNumber = kMemoryHardBoard;
    else if (!MemoryVariantOfBoard(s.boardNumber))
        s.boardNumber = kMemoryEasyBoard; // nothing to replay yet: the Easy board
    const MemoryVariant variant = *MemoryVariantOfBoard(s.boardNumber);
    // 3-5.
    services_.Rng().Randomize(form_.GameClock());
    game_.NewGame(variant, services_.Rng());
    view_.FitTo(ExtentOf(game_.GameBoard()));
    // 6.
    s.tilesLeft = game_.TilesLeft();
    s.tilesTotal = game_.TilesTotal();
    if (form_.GameMode() == kModePaused)
        form_.SetPauseButtons();
    hall_.ForgetGameOver();
    // 7.
    form_.ShowStatus(Tr("Mahjongg Memory started."));
    form_.IM(kModeMemory);
    form_.RunCommand("SetMargeHaute");
    Redraw();
    hall_.ShowPanelHOF();
    s.StartClock();
}

// ---- The mouse and the reveal -----------------------------------------------------------------

void MemoryPlay::Click(int x, int y, MouseButton button) {
    // While a pair is up every click is ignored, on a tile or not.
    if (!InMemory() || button != MouseButton::Left || game_.Revealing())
        return;
    ClickTile(view_.TileAt(QPoint(x, y)));
}

void MemoryPlay::ClickTile(int tile) {
    GameSession& s = form_.Session();
    if (!InMemory() || hall_.InGameOver() || s.gameOver || game_.Revealing() || tile == 0)
        return;
    const MemoryEffects fx = game_.ChoisitPai(tile);
    for (tovani::Sound snd : fx.sounds)
        services_.Sound(snd);
    RedrawTiles(fx.redrawTiles);
    if (game_.Revealing())
        s.pairCheckCountdown = game_.RevealCountdown();
}

void MemoryPlay::PairCheck() {
    if (!game_.Revealing())
        return; // a reveal of a game since replaced
    MemoryEffects fx;
    for (int i = 0; i <= MemoryGame::kRevealTicks && !fx.resolved; ++i)
        fx = game_.Tick();
    if (!fx.resolved)
        return;
    GameSession& s = form_.Session();
    if (form_.Option("ShowGirls"))
        hall_.ShowPanelHOF();
    if (fx.removed)
        RedrawCells({fx.pair.firstCell, fx.pair.secondCell});
    else
        Redraw();
    s.penaltySeconds += fx.penaltySeconds;
    s.tilesLeft = game_.TilesLeft();
    s.matchCounter = (game_.TilesTotal() - game_.TilesLeft()) / 2;
    for (tovani::Sound snd : fx.sounds)
        services_.Sound(snd);
}

// ---- The count of every 50 ms tick ------------------------------------------------------------

void MemoryPlay::CountTiles() {
    if (!InMemory())
        return;
    GameSession& s = form_.Session();
    s.tilesLeft = game_.TilesLeft();
    s.tilesTotal = game_.TilesTotal();
    // Memory has no count of moves: every face-down pair is one.
    s.movesAvailable = game_.TilesLeft() / 2;
    if (game_.Finished() && s.elapsedSeconds > 0 && !s.gameOver && !hall_.InGameOver()) {
        s.gameOver = true;
        hall_.GameOver();
    }
}

} // namespace tovani
