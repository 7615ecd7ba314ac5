#include "play/clicks/ClicksController.h"

#include "graphics/Tileset.h"
#include "play/BoardView.h"
#include "play/FieldKeys.h"
#include "play/GameServices.h"
#include "play/HallKeeper.h"
#include "shell/MainForm.h"

#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <cmath>
#include <cstring>

namespace tovani {

namespace {

// The field's area on the play area, and the pitch of its cells.
constexpr int kFieldWidth = 640;
constexpr int kFieldHeight = 448;
constexpr int kCell = 32;
// One settling pass a frame when the falls are animated.
constexpr int kPassMs = 45;

// The board of a start command's sender; any other sender keeps a Clicks board.
int BoardOfSender(const QString& name, int current) {
    if (name == "MahJonggClicks1" || name == "BitBtn7")
        return 1020;
    if (name == "MahJonggClicksHard1" || name == "BitBtn10")
        return 1021;
    if (name == "MahJonggClicksNormal1" || name == "BitBtn13" || name == "SpeedButton4")
        return 1022;
    return ClicksLevelOfBoard(current) ? current : 1022;
}

// The part of a picture under `r` (device pixels) brought to `w` x `h` working pixels.
PixelBuffer CutOut(const PixelBuffer& from, const QRect& r, int w, int h) {
    PixelBuffer out(w, h);
    if (from.IsEmpty())
        return out;
    QImage image(reinterpret_cast<const uchar*>(from.Data()), from.Width(), from.Height(),
                 from.BytesPerLine(), QImage::Format_RGB32);
    QImage part = image.copy(r);
    if (part.size() != QSize(w, h))
        part = part.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    part = part.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        std::memcpy(out.ScanLine(y), part.constScanLine(y), size_t(w) * sizeof(Pixel));
    return out;
}

} // namespace

ClicksController::ClicksController(GameServices& services, HallKeeper& hall)
    : services_(services), hall_(hall), form_(services.Form()), view_(services.View()) {
    setObjectName("ClicksController");
    timer_ = new QTimer(this);
    timer_->setInterval(kPassMs);
    connect(timer_, &QTimer::timeout, this, [this] { StepAnimation(); });
    form_.SetHandler("MahJonggClicks", [this](QObject* s) { MahJonggClicks(s); });
    // The option only changes its check mark; the next click reads it.
    form_.SetHandler("AnimateClicksClick", [](QObject*) {});
    form_.RegisterGame({kModeClicks}, this);
    // The board view drew the background again: the field goes over it.
    connect(&view_, &BoardView::Redrawn, this, [this] { RedrawClicks(); });
    connect(&view_, &BoardView::SmallTilesChanged, this, [this] {
        if (InClicks())
            Redraw();
    });
    shown_ = {};
}

ClicksController::~ClicksController() {
    form_.SetHandler("MahJonggClicks", nullptr);
    form_.SetHandler("AnimateClicksClick", nullptr);
    form_.RegisterGame({kModeClicks}, nullptr);
}

QString ClicksController::Tr(const QString& s) const {
    return services_.Tr(s);
}

bool ClicksController::InClicks() const {
    return form_.GameMode() == kModeClicks;
}

void ClicksController::Start(const std::string& sender) {
    QObject named;
    named.setObjectName(QString::fromStdString(sender));
    MahJonggClicks(sender.empty() ? nullptr : &named);
}

// ---- A new game -------------------------------------------------------------------------------

void ClicksController::MahJonggClicks(QObject* sender) {
    if (hall_.InGameOver())
        return;
    FinishAnimations();
    GameSession& s = form_.Session();
    form_.RunCommand("ColorHighlight");
    if (s.boardNumber >= 1 && s.boardNumber < 1000)
        s.lastBoard = s.boardNumber;
    s.boardNumber = BoardOfSender(sender ? sender->objectName() : QString(), s.boardNumber);
    const ClicksLevel level = ClicksLevelOfBoard(s.boardNumber).value_or(ClicksLevel::Normal);

    services_.Rng().Randomize(form_.GameClock());
    const uint32_t now = form_.GameClock().TickMs();
    model_.NewGame(level, services_.Rng(), now);
    shown_ = model_.State().grid;
    cursorShown_ = false;

    endAfterAnimation_ = false;
    form_.InitVar();
    form_.SetPauseButtons();
    s.tilesLeft = s.tilesTotal = ClicksGame::TilesTotal();
    s.elapsedSeconds = ClicksGame::TilesTotal();
    s.movesAvailable = model_.MovesAvailable();
    s.StartClock();
    hall_.ForgetGameOver();

    form_.ShowStatus(Tr("Mahjongg Clicks started."));
    form_.IM(kModeClicks);
    form_.RunCommand("SetMargeHaute");
    Redraw();
    hall_.ShowPanelHOF();
    UpdateBackEnabled();
}

ClicksStateProblem ClicksController::SetState(const ClicksState& state) {
    FinishAnimations();
    const ClicksStateProblem problem = model_.SetState(state);
    if (problem == ClicksStateProblem::None) {
        shown_ = model_.State().grid;
        form_.Session().tilesLeft = model_.TilesLeft();
        Redraw();
        UpdateBackEnabled();
    }
    return problem;
}

// ---- Input ------------------------------------------------------------------------------------

QRect ClicksController::FieldArea() const {
    QWidget* game2 = form_.Game2();
    const int w = game2 ? game2->width() : kFieldWidth;
    const int h = game2 ? game2->height() : kFieldHeight;
    return {(w - kFieldWidth) / 2, (h - kFieldHeight) / 2, kFieldWidth, kFieldHeight};
}

QPoint ClicksController::CellCentre(FieldCell cell) const {
    const QRect f = FieldArea();
    return {f.left() + kCell * cell.column + kCell / 2, f.top() + kCell * cell.row + kCell / 2};
}

void ClicksController::Click(int x, int y, MouseButton button) {
    if (button != MouseButton::Left || !InClicks())
        return;
    // The player clicks what is drawn: the settling comes to its end first.
    FinishAnimations();
    const QRect f = FieldArea();
    const FieldCell cell = ClicksGame::CellAt(x, y, f.left(), f.top());
    // The mouse is in use again: the keyboard cursor goes away.
    const bool hadCursor = cursorShown_;
    cursorShown_ = false;
    const ClicksGrid before = model_.State().grid;
    const ClicksEffects fx = model_.Click(cell, form_.GameClock().TickMs());
    Perform(fx, before);
    if (hadCursor && fx.passes.empty() && !fx.fullRedraw)
        Redraw();
}

bool ClicksController::KeyDown(int key) {
    const std::optional<CursorKey> k = CursorKeyOf(key);
    if (!k || !InClicks())
        return false;
    FinishAnimations();
    if (!cursorShown_) {
        // The first key shows the cursor where it was; the next ones move it or click.
        cursorShown_ = true;
        Redraw();
        return true;
    }
    cursorShown_ = true;
    const ClicksGrid before = model_.State().grid;
    const ClicksEffects fx = model_.Key(*k, form_.GameClock().TickMs());
    Perform(fx, before);
    if (!fx.fullRedraw)
        Redraw();
    return true;
}

// ---- What the model answered --------------------------------------------------------------------

void ClicksController::Perform(const ClicksEffects& fx, const ClicksGrid& before) {
    for (Sound sound : fx.sounds)
        services_.Sound(sound);
    GameSession& s = form_.Session();
    s.tilesLeft = model_.TilesLeft();
    if (fx.fullRedraw) {
        if (form_.Option("AnimateClicks") && !fx.removed.empty()) {
            // The group goes first, then each settling pass in turn.
            std::vector<ClicksGrid> frames;
            ClicksGrid gone = before;
            for (const FieldCell& c : fx.removed)
                gone[c.column][c.row] = 0;
            frames.push_back(gone);
            frames.insert(frames.end(), fx.passes.begin(), fx.passes.end());
            StartAnimation(std::move(frames));
        } else {
            shown_ = model_.State().grid;
            Redraw();
        }
    }
    if (form_.Option("ShowGirls"))
        hall_.ShowPanelHOF();
    UpdateBackEnabled();
    if (fx.gameOver) {
        if (Animating())
            endAfterAnimation_ = true;
        else
            EndGame();
    }
}

void ClicksController::StartAnimation(std::vector<ClicksGrid> frames) {
    frames_ = std::move(frames);
    frame_ = 0;
    StepAnimation();
    if (Animating())
        timer_->start();
}

void ClicksController::StepAnimation() {
    if (!Animating()) {
        timer_->stop();
        return;
    }
    shown_ = frames_[frame_++];
    Redraw();
    if (!Animating()) {
        timer_->stop();
        frames_.clear();
        frame_ = 0;
        shown_ = model_.State().grid;
        if (endAfterAnimation_) {
            endAfterAnimation_ = false;
            EndGame();
        }
    }
}

void ClicksController::Pause() {
    FinishAnimations();
    // The paused board shows the background alone.
    Redraw();
}

void ClicksController::Resume() {
    if (endAfterAnimation_) {
        endAfterAnimation_ = false;
        EndGame();
        return;
    }
    Redraw();
}

void ClicksController::FinishAnimations() {
    timer_->stop();
    const bool wasAnimating = Animating();
    frames_.clear();
    frame_ = 0;
    shown_ = model_.State().grid;
    if (wasAnimating && InClicks())
        Redraw();
    if (endAfterAnimation_ && InClicks()) {
        endAfterAnimation_ = false;
        EndGame();
    }
}

void ClicksController::EndGame() {
    hall_.ScoredGameOver(model_.TilesLeft(), model_.Score(), [this] {
        cursorShown_ = false;
        Redraw();
    });
}

// ---- The shared commands ----------------------------------------------------------------------

void ClicksController::UpdateBackEnabled() {
    // The window enables Back and Restart in our mode; they act only while a move can be taken
    // back, and say so by their look.
    if (!InClicks())
        return;
    const bool can = model_.CanBack();
    for (const char* name : {"ExplorerButton2", "Undo1", "Back1", "Restart1", "Restart2"})
        form_.EnableCommand(name, can);
    // Clicks has nothing to redo.
    for (const char* name : {"Redo1", "Redo2"})
        form_.EnableCommand(name, false);
}

void ClicksController::Back() {
    if (!InClicks())
        return;
    FinishAnimations();
    const ClicksEffects fx = model_.Back(form_.GameClock().TickMs());
    if (!fx.fullRedraw)
        return;
    shown_ = model_.State().grid;
    form_.Session().tilesLeft = model_.TilesLeft();
    Redraw();
    if (form_.Option("ShowGirls"))
        hall_.ShowPanelHOF();
    UpdateBackEnabled();
}

void ClicksController::Restart() {
    if (!InClicks())
        return;
    FinishAnimations();
    const ClicksEffects fx = model_.Restart(form_.GameClock().TickMs());
    if (!fx.fullRedraw)
        return;
    shown_ = model_.State().grid;
    form_.Session().tilesLeft = model_.TilesLeft();
    form_.ShowStatus(Tr("Game restarted."));
    Redraw();
    hall_.ShowPanelHOF();
    UpdateBackEnabled();
}

void ClicksController::CountTiles() {
    if (!InClicks())
        return;
    GameSession& s = form_.Session();
    if (s.gameOver || hall_.InGameOver())
        return;
    s.tilesTotal = ClicksGame::TilesTotal();
    if (Animating()) {
        // The question waits until the player has seen the field settle.
        s.tilesLeft = model_.TilesLeft();
        s.movesAvailable = model_.MovesAvailable();
        return;
    }
    const ClicksCount count = model_.Tick(form_.GameClock().TickMs());
    s.tilesLeft = count.tilesLeft;
    s.movesAvailable = count.movesAvailable;
    if (!count.askGiveUp)
        return;
    // The status line shows the field as it stands under the question (the model counts the
    // question as open, so this refresh does not ask again).
    form_.WriteScore();
    const bool giveUp = services_.AskYesNo(
        Tr("Game Over !"),
        Tr("No more moves. Do you want to give up ? (If you reply Yes and made a good score, "
           "you'll enter the hall of fame. If you reply No, the game will go back one move)"));
    const ClicksEffects fx = model_.AnswerGiveUp(giveUp, form_.GameClock().TickMs());
    if (!InClicks())
        return; // the game was left while the question was up
    s.tilesLeft = model_.TilesLeft();
    s.movesAvailable = model_.MovesAvailable();
    if (fx.gameOver) {
        EndGame();
        return;
    }
    shown_ = model_.State().grid;
    Redraw();
    UpdateBackEnabled();
}

GameResult ClicksController::Result() const {
    GameResult r;
    r.board = model_.BoardNumber();
    r.result = model_.Score();
    r.kind = model_.TilesLeft() == 0 ? GameResult::Kind::ReachedTop : GameResult::Kind::Score;
    r.tilesRemoved = ClicksGame::TilesTotal() - model_.TilesLeft();
    return r;
}

// ---- Drawing ----------------------------------------------------------------------------------

void ClicksController::Redraw() {
    // The board view draws the background and calls us back (Redrawn) to put the field on it.
    view_.FullRedraw();
}

void ClicksController::RedrawClicks() {
    const int mode = form_.GameMode();
    // The field stays under the game-over dialog of a Clicks game.
    const bool ending = mode == kModeGameOver && form_.Session().gameOver &&
                        ClicksLevelOfBoard(form_.Session().boardNumber).has_value();
    if (mode != kModeClicks && !ending)
        return;
    QWidget* game2 = form_.Game2();
    PlayArea& area = view_.Area();
    PixelBuffer& board = area.renderer.BoardBuffer;
    if (!game2 || board.IsEmpty())
        return;
    const double dpr = view_.DevicePixelRatio();
    const QRect f = FieldArea();
    const QRect device(int(std::lround(f.left() * dpr)), int(std::lround(f.top() * dpr)),
                       int(std::lround(kFieldWidth * dpr)), int(std::lround(kFieldHeight * dpr)));

    // The field is composed at its own size over the background under it, then put in place.
    PixelBuffer field = CutOut(area.BackgroundBuffer.IsEmpty() ? board : area.BackgroundBuffer,
                               device, kFieldWidth, kFieldHeight);
    const PixelBuffer& small = view_.SmallTileset();
    const bool small3D = form_.Option("Small3D");
    if (!small.IsEmpty())
        for (int c = kClicksColumns; c >= 1; --c)
            for (int r = 1; r <= kClicksRows; ++r)
                if (const int v = shown_[c][r]; v != 0)
                    ClickoDraw(field, kCell * c - 6, kCell * r, v - 1, small, small3D, false);

    QImage picture(reinterpret_cast<const uchar*>(field.Data()), field.Width(), field.Height(),
                   field.BytesPerLine(), QImage::Format_RGB32);
    QImage composed = picture.copy();
    if (cursorShown_ && mode == kModeClicks) {
        QPainter p(&composed);
        const FieldCell at = model_.cursor.Cell();
        const QRect face(kCell * at.column, kCell * at.row, kCell, kCell);
        p.setPen(QPen(QColor(255, 220, 0), 3));
        p.setBrush(Qt::NoBrush);
        p.drawRect(face.adjusted(-1, -1, 0, 0));
        p.setPen(QPen(QColor(0, 0, 0), 1));
        p.drawRect(face.adjusted(-3, -3, 2, 2));
    }
    QImage screen(reinterpret_cast<uchar*>(board.Data()), board.Width(), board.Height(),
                  board.BytesPerLine(), QImage::Format_RGB32);
    {
        QPainter p(&screen);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(device, composed);
    }
    game2->update(f);
}

} // namespace tovani
