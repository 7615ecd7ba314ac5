#include "play/slider/SliderController.h"

#include "play/BoardView.h"
#include "play/FieldKeys.h"
#include "play/GameServices.h"
#include "play/HallKeeper.h"
#include "scores/SavedGame.h"
#include "shell/MainForm.h"
#include "shell/ShellWidgets.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>

namespace tovani {

namespace {

// A step of the walking tile, and how long a new tile is shown arriving.
constexpr int kStepMs = 40;
constexpr int kArrivalSteps = 4;

} // namespace

SliderController::SliderController(GameServices& services, HallKeeper& hall)
    : services_(services), hall_(hall), form_(services.Form()), view_(services.View()) {
    setObjectName("SliderController");
    timer_ = new QTimer(this);
    timer_->setInterval(kStepMs);
    connect(timer_, &QTimer::timeout, this, [this] { StepAnimation(); });

    form_.SetHandler("Sliders", [this](QObject* s) { Sliders(s); });
    form_.SetHandler("HighlightSliderClick", [this](QObject*) {
        if (InSlider())
            RedrawSlider();
    });
    // These only change their check mark; the next slide reads them.
    form_.SetHandler("AnimateSliderClick", [](QObject*) {});
    form_.SetHandler("AnimateNextClick", [](QObject*) {});
    // "Show Next Tiles" is Hashira's too: its check mark is followed here without taking its
    // command.
    if (QAction* a = form_.Item("ShowNext"))
        connect(a, &QAction::toggled, this, [this] {
            if (InSlider())
                RedrawSlider();
        });
    form_.RegisterGame({kModeSlider}, this);
    connect(&view_, &BoardView::SmallTilesChanged, this, [this] {
        if (InSlider())
            RedrawSlider();
    });

    grid_ = GridPicture();
    nextGrid_ = NextGridPicture();
    boxWidget_ = form_.Area("SliderBox");
    nextWidget_ = form_.Area("SliderNext");
    if (auto* box = qobject_cast<PaintBox*>(boxWidget_)) {
        box->SetPainter([this](QPainter& p, const QRect& r) { p.drawImage(r, box_); });
        box->setMouseTracking(true);
        box->installEventFilter(this);
    }
    if (auto* next = qobject_cast<PaintBox*>(nextWidget_))
        next->SetPainter([this](QPainter& p, const QRect& r) { p.drawImage(r, next_); });
    shown_ = model_.Grid();
    shownNext_ = model_.Next();
}

SliderController::~SliderController() {
    for (const char* h :
         {"Sliders", "HighlightSliderClick", "AnimateSliderClick", "AnimateNextClick"})
        form_.SetHandler(h, nullptr);
    form_.RegisterGame({kModeSlider}, nullptr);
    if (auto* box = qobject_cast<PaintBox*>(boxWidget_)) {
        box->removeEventFilter(this);
        box->SetPainter({});
    }
    if (auto* next = qobject_cast<PaintBox*>(nextWidget_))
        next->SetPainter({});
}

QString SliderController::Tr(const QString& s) const {
    return services_.Tr(s);
}

bool SliderController::InSlider() const {
    return form_.GameMode() == kModeSlider;
}

void SliderController::Start(const std::string& sender) {
    QObject named;
    named.setObjectName(QString::fromStdString(sender));
    Sliders(sender.empty() ? nullptr : &named);
}

QPoint SliderController::CellCentre(FieldCell cell) {
    return {32 * cell.column, 32 * cell.row - 3};
}

// ---- A new game -------------------------------------------------------------------------------

void SliderController::Sliders(QObject* sender) {
    if (hall_.InGameOver())
        return;
    FinishAnimations();
    GameSession& s = form_.Session();
    form_.RunCommand("ColorHighlight");
    if (s.boardNumber >= 1 && s.boardNumber < 1000)
        s.lastBoard = s.boardNumber;
    const QString name = sender ? sender->objectName() : QString();
    const int byOption = form_.Option("JokerAllow") ? 1030 : 1031;
    if (name == "MahJonggSlider1" || name == "Slider")
        s.boardNumber = 1030;
    else if (name == "SliderHard1" || name == "SliderHard")
        s.boardNumber = 1031;
    else if (name == "SpeedButton5" || !SliderLevelOfBoard(s.boardNumber))
        s.boardNumber = byOption;
    form_.SetOption("JokerAllow", s.boardNumber == 1030);
    const SliderLevel level = SliderLevelOfBoard(s.boardNumber).value_or(SliderLevel::Easy);

    services_.Rng().Randomize(form_.GameClock());
    model_.NewGame(level, services_.Rng(), form_.GameClock().TickMs());
    shown_ = model_.Grid();
    shownNext_ = model_.Next();
    arrived_ = {};
    hovered_ = {};
    cursorShown_ = false;
    endAfterAnimation_ = false;

    form_.InitVar();
    form_.SetPauseButtons();
    s.tilesLeft = model_.TilesLeft();
    s.tilesTotal = SliderGame::TilesTotal();
    s.elapsedSeconds = 0;
    s.StartClock();
    hall_.ForgetGameOver();
    UpdateBackEnabled();

    form_.ShowStatus(Tr("Mahjongg Slider started."));
    form_.IM(kModeSlider);
    form_.RunCommand("SetMargeHaute");
    view_.FullRedraw(); // the play area around the grid's box: the background alone
    RedrawSlider();
    UpdateBackEnabled();
    hall_.ShowPanelHOF();
}

SliderStateProblem SliderController::SetState(const SliderState& state) {
    FinishAnimations();
    const SliderStateProblem problem = model_.SetState(state);
    if (problem == SliderStateProblem::None) {
        shown_ = model_.Grid();
        shownNext_ = model_.Next();
        AfterMove();
        RedrawSlider();
    }
    return problem;
}

// ---- Input ------------------------------------------------------------------------------------

bool SliderController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == boxWidget_) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            // The open hand closes while the button is down.
            if (form_.Option("AnimateCursor") && form_.Option("CoolMouse") && InSlider())
                boxWidget_->setCursor(form_.Cursor(22));
            break;
        case QEvent::MouseButtonRelease: {
            auto* me = static_cast<QMouseEvent*>(event);
            const QPoint p = me->position().toPoint();
            SliderUp(p.x(), p.y(),
                     me->button() == Qt::LeftButton ? MouseButton::Left : MouseButton::Right);
            break;
        }
        case QEvent::MouseMove: {
            const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
            SliderMove(p.x(), p.y());
            break;
        }
        case QEvent::Leave:
            SliderMove(-1, -1);
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void SliderController::SliderUp(int x, int y, MouseButton button) {
    if (button != MouseButton::Left || !InSlider())
        return;
    // The player clicks what is drawn: the slide in progress comes to its end first.
    FinishAnimations();
    // The mouse is in use again: the keyboard cursor goes away.
    cursorShown_ = false;
    const SliderGrid before = model_.Grid();
    const SliderEffects fx =
        model_.Click(SliderGame::CellAt(x, y), services_.Rng(), form_.GameClock().TickMs());
    Perform(fx, before);
}

void SliderController::SliderMove(int x, int y) {
    if (!InSlider())
        return;
    const FieldCell now = SliderGame::HoverCellAt(x, y).value_or(FieldCell{});
    if (!(now == hovered_)) {
        hovered_ = now;
        if (form_.Option("HighlightSlider"))
            RedrawSlider();
    }
    UpdateCursorShape();
}

void SliderController::UpdateCursorShape() {
    if (!boxWidget_)
        return;
    // "Cool Mouse": the hand where a click would pick or slide a tile.
    const bool onTile = !hovered_.None() && model_.Grid()(hovered_) != 0;
    if (form_.Option("CoolMouse") && !hovered_.None() && (onTile || !model_.Selected().None()))
        boxWidget_->setCursor(form_.Cursor(21));
    else
        boxWidget_->unsetCursor();
}

bool SliderController::KeyDown(int key) {
    const std::optional<CursorKey> k = CursorKeyOf(key);
    if (!k || !InSlider())
        return false;
    FinishAnimations();
    if (!cursorShown_) {
        // The first key shows the cursor where it was; the next ones move it or click.
        cursorShown_ = true;
        RedrawSlider();
        return true;
    }
    const SliderGrid before = model_.Grid();
    const SliderEffects fx = model_.Key(*k, services_.Rng(), form_.GameClock().TickMs());
    Perform(fx, before);
    return true;
}

// ---- What the model answered --------------------------------------------------------------------

void SliderController::Perform(const SliderEffects& fx, const SliderGrid& before) {
    if (!fx.moved) {
        for (Sound sound : fx.sounds)
            services_.Sound(sound);
        shown_ = model_.Grid();
        RedrawSlider();
        UpdateCursorShape();
        if (!fx.sounds.empty() && form_.Option("ShowGirls"))
            hall_.ShowPanelHOF();
        return;
    }
    const bool walk = form_.Option("AnimateSlider");
    const bool arrive = form_.Option("AnimateNext");
    // The slide's own sound now; the sound of a line that a new tile completes when it lands.
    if (!fx.sounds.empty())
        services_.Sound(fx.sounds.front());
    frames_.clear();
    frame_ = 0;
    SliderGrid g = before;
    if (walk && fx.path.size() > 1) {
        g(fx.path.front()) = 0;
        for (size_t i = 1; i < fx.path.size(); ++i) {
            SliderGrid step = g;
            step(fx.path[i]) = fx.movingPicture;
            frames_.push_back({step, {}, {}});
        }
    }
    g = fx.afterSlide;
    if (walk || arrive)
        frames_.push_back({g, {}, {}});
    for (const SliderArrival& a : fx.arrivals) {
        std::vector<Sound> done;
        if (!a.removed.empty())
            done.push_back(Sound::Done);
        if (!arrive) {
            for (Sound s : done)
                services_.Sound(s);
            continue;
        }
        SliderGrid landed = g;
        landed(a.cell) = a.picture;
        frames_.push_back({landed, a.cell, {}});
        for (int i = 1; i < kArrivalSteps; ++i)
            frames_.push_back({landed, a.cell, {}});
        g = a.gridAfter;
        frames_.push_back({g, {}, done});
    }
    AfterMove();
    if (fx.gameOver)
        endAfterAnimation_ = true;
    if (frames_.empty()) {
        StepAnimation(); // nothing to show step by step: the final picture at once
        return;
    }
    StepAnimation();
    if (Animating())
        timer_->start();
}

void SliderController::StepAnimation() {
    if (Animating()) {
        const Frame& f = frames_[frame_++];
        shown_ = f.grid;
        arrived_ = f.arrived;
        for (Sound sound : f.sounds)
            services_.Sound(sound);
        RedrawSlider();
        if (Animating())
            return;
    }
    // The end: the game as it stands, the new next tiles.
    timer_->stop();
    frames_.clear();
    frame_ = 0;
    shown_ = model_.Grid();
    shownNext_ = model_.Next();
    arrived_ = {};
    RedrawSlider();
    UpdateCursorShape();
    if (endAfterAnimation_ && InSlider()) {
        endAfterAnimation_ = false;
        EndGame();
    }
}

void SliderController::FinishAnimations() {
    timer_->stop();
    frames_.clear();
    frame_ = 0;
    shown_ = model_.Grid();
    shownNext_ = model_.Next();
    arrived_ = {};
    if (InSlider()) {
        RedrawSlider();
        if (endAfterAnimation_) {
            endAfterAnimation_ = false;
            EndGame();
        }
    }
}

void SliderController::Resume() {
    FinishAnimations();
}

void SliderController::Leave() {
    FinishAnimations();
    hovered_ = {};
    if (boxWidget_)
        boxWidget_->unsetCursor();
}

// ---- Saved games ------------------------------------------------------------------------------

bool SliderController::SaveState(std::string& out) const {
    if (form_.GameMode() != kModeSlider || model_.GameOver() || hall_.InGameOver())
        return false;
    SavedGame g;
    g.kind = SavedGameKind::Slider;
    g.jokers = SliderJokers(model_.Level());
    g.slider.tilesLeft = model_.TilesLeft();
    g.slider.score = model_.Score();
    g.slider.grid = model_.Grid();
    g.slider.next = model_.Next();
    out = WriteSavedGame(g);
    return true;
}

bool SliderController::LoadState(const std::string& in, std::string& error) {
    SavedGameRead read = ReadSavedGame(in);
    if (!read.ok() || read.game.kind != SavedGameKind::Slider) {
        error = Tr(QString::fromStdString(SavedGameErrorText(read.error))).toStdString();
        return false;
    }
    if (hall_.InGameOver()) {
        error = Tr("Finish the game over display first.").toStdString();
        return false;
    }
    GameSession& s = form_.Session();
    // Without a jokers line the game takes the level a new Slider game would have.
    SliderLevel level =
        SliderLevelOfBoard(s.boardNumber)
            .value_or(form_.Option("JokerAllow") ? SliderLevel::Easy : SliderLevel::Hard);
    if (read.game.jokers)
        level = *read.game.jokers ? SliderLevel::Easy : SliderLevel::Hard;
    SliderState state;
    state.level = level;
    state.grid = read.game.slider.grid;
    state.next = read.game.slider.next;
    state.score = read.game.slider.score;
    state.startTick = form_.GameClock().TickMs();
    switch (SliderGame::Check(state)) {
    case SliderStateProblem::None:
        break;
    case SliderStateProblem::FullGrid:
        error = Tr("The grid is full: this game is over.").toStdString();
        return false;
    default:
        error = Tr("The grid holds tiles this level does not have.").toStdString();
        return false;
    }
    // Sound: a new game of the level, then the file's position in it.
    s.boardNumber = SliderBoardNumber(level);
    Sliders(nullptr);
    SetState(state);
    return true;
}

void SliderController::AfterMove() {
    GameSession& s = form_.Session();
    s.tilesLeft = model_.TilesLeft();
    s.elapsedSeconds = model_.Score();
    if (auto* label = qobject_cast<QLabel*>(form_.Area("SliderScore")))
        label->setText(QString::number(model_.Score()));
    UpdateBackEnabled();
    if (form_.Option("ShowGirls"))
        hall_.ShowPanelHOF();
}

void SliderController::EndGame() {
    hall_.ScoredGameOver(model_.TilesLeft(), model_.Score(), [this] {
        cursorShown_ = false;
        RedrawSlider();
    });
}

// ---- The shared commands ----------------------------------------------------------------------

void SliderController::UpdateBackEnabled() {
    const bool can = InSlider() && model_.CanBack();
    form_.SetSliderCanGoBack(can);
    if (!InSlider())
        return;
    for (const char* name : {"ExplorerButton2", "Undo1", "Back1"})
        form_.EnableCommand(name, can);
    for (const char* name : {"Redo1", "Redo2"})
        form_.EnableCommand(name, false);
}

void SliderController::Back() {
    if (!InSlider())
        return;
    FinishAnimations();
    const SliderEffects fx = model_.Back(form_.GameClock().TickMs());
    if (!fx.fullRedraw)
        return;
    shown_ = model_.Grid();
    shownNext_ = model_.Next();
    AfterMove();
    RedrawSlider();
}

void SliderController::CountTiles() {
    if (!InSlider())
        return;
    GameSession& s = form_.Session();
    if (s.gameOver)
        return;
    s.tilesTotal = SliderGame::TilesTotal();
    s.tilesLeft = model_.TilesLeft();
    s.elapsedSeconds = model_.Score();
}

GameResult SliderController::Result() const {
    GameResult r;
    r.kind = GameResult::Kind::Score;
    r.board = model_.BoardNumber();
    r.result = model_.Score();
    r.tilesRemoved = model_.Score();
    return r;
}

} // namespace tovani
