#include "play/hashira/HashiraPlay.h"

#include "play/BoardView.h"
#include "play/GameServices.h"
#include "play/HallKeeper.h"
#include "play/hashira/HashiraWell.h"
#include "resources/Resources.h"
#include "shell/MainForm.h"
#include "shell/ShellWidgets.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

namespace tovani {

namespace {

constexpr int kBoardHashira = 1040;
// The mascot: 0 juggling while the game runs, 1 jumping for joy in a chain reaction, 2 in
// triumph for a while after a new level.
constexpr int kGirlPlaying = 0;
constexpr int kGirlChain = 1;
constexpr int kGirlLevel = 2;
constexpr int kCheerTicks = 250; // three seconds of beats

// The four exclusive fall-speed items, slowest first.
const char* const kFallItems[] = {"TurtleFall", "SlowFall", "NormalFall", "FastFall"};

PixelBuffer FromImage(const QImage& image) {
    if (image.isNull())
        return {};
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    PixelBuffer out(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* src = reinterpret_cast<const Pixel*>(rgb.constScanLine(y));
        Pixel* dst = out.ScanLine(y);
        for (int x = 0; x < rgb.width(); ++x)
            dst[x] = src[x] | 0xFF000000u;
    }
    return out;
}

QImage Wrap(const PixelBuffer& b) {
    return QImage(reinterpret_cast<const uchar*>(b.Data()), b.Width(), b.Height(), b.BytesPerLine(),
                  QImage::Format_RGB32);
}

HashiraKey KeyOf(int key) {
    switch (key) {
    case Qt::Key_Left:
        return HashiraKey::Left;
    case Qt::Key_Right:
        return HashiraKey::Right;
    case Qt::Key_Up:
        return HashiraKey::Up;
    case Qt::Key_Down:
        return HashiraKey::Down;
    default:
        return HashiraKey::Other;
    }
}

} // namespace

HashiraPlay::HashiraPlay(GameServices& services, HallKeeper& hall)
    : services_(services), hall_(hall), form_(services.Form()) {
    setObjectName("HashiraPlay");
    // The program's pictures beside the program (a test's program folder holds its own).
    QImage digits = ProgramPictureIn(form_.ProgramDirectory() + "Resources", "Digits");
    digits_ = FromImage(digits.isNull() ? ProgramPicture("Digits") : digits);
    QImage marble = ProgramPictureIn(form_.ProgramDirectory() + "Resources", "Marble");
    floor_ = QPixmap::fromImage(marble.isNull() ? ProgramPicture("Marble") : marble);
    well_.Reset(kHashiraWellWidth, kHashiraWellHeight);
    next_.Reset(kNextPicWidth, kNextPicHeight, kNextPicSilver);

    form_.SetHandler("MahJonggColumnsClick", [this](QObject* s) { MahJonggColumnsClick(s); });
    // The options only change their check marks: each beat reads them.
    form_.SetHandler("AnimateChainClick", [](QObject*) {});
    form_.SetHandler("AnimateBackgroundHashiraClick", [this](QObject*) {
        if (form_.GameMode() == kModeHashira)
            DrawWell();
    });
    form_.RegisterGame({kModeHashira}, this);

    if (auto* box = qobject_cast<PaintBox*>(form_.Area("HashiraBox")))
        box->SetPainter([this](QPainter& p, const QRect& r) { PaintWell(p, r); });
    if (auto* box = qobject_cast<PaintBox*>(form_.Area("NextPic")))
        box->SetPainter([this](QPainter& p, const QRect& r) { PaintNext(p, r); });
    // "Show Next Tiles" is shared with Slider: we only follow its check mark.
    if (QAction* a = form_.Item("ShowNext"))
        connect(a, &QAction::toggled, this, [this] {
            if (!stopped_)
                DrawNext();
        });
    connect(&services_.View(), &BoardView::SmallTilesChanged, this, [this] {
        if (!stopped_) {
            DrawNext();
            DrawWell();
        }
    });
    // A key held when the window loses the focus is never seen released: let it go now.
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state != Qt::ApplicationActive)
                    ForgetKeys();
            });
}

HashiraPlay::~HashiraPlay() {
    Unhook();
}

void HashiraPlay::Unhook() {
    for (const char* h :
         {"MahJonggColumnsClick", "AnimateChainClick", "AnimateBackgroundHashiraClick"})
        form_.SetHandler(h, nullptr);
    form_.RegisterGame({kModeHashira}, nullptr);
    for (const char* name : {"HashiraBox", "NextPic"})
        if (auto* box = qobject_cast<PaintBox*>(form_.Area(name)))
            box->SetPainter({});
}

QString HashiraPlay::Tr(const QString& s) const {
    return services_.Tr(s);
}

void HashiraPlay::Start(const std::string& sender) {
    (void)sender;
    MahJonggColumnsClick(nullptr);
}

// ---- Starting a game --------------------------------------------------------------------------

void HashiraPlay::MahJonggColumnsClick(QObject* sender) {
    (void)sender; // every sender plays the one Hashira board
    GameSession& s = form_.Session();
    form_.RunCommand("ColorHighlight");
    if (s.boardNumber < 1000 && s.boardNumber > 0)
        s.lastBoard = s.boardNumber;
    s.boardNumber = kBoardHashira;

    int level = 1;
    if (QWidget* button = form_.Area("StartLevel"))
        level = HashiraGame::StartLevelFromSetting(button->property("tag").toInt());
    model_.SetStartLevel(level);
    ApplyOptions();
    model_.Start(services_.Rng(), form_.GameClock());
    ForgetKeys();
    stopped_ = false;
    girl_ = kGirlPlaying;
    cheerTicks_ = 0;
    hall_.SetHashiraGirl(girl_);

    form_.InitVar();
    if (form_.GameMode() == kModePaused)
        form_.SetPauseButtons();
    DrawNext();
    well_.Fill(kBlack);
    form_.IM(kModeHashira);
    form_.RunCommand("SetMargeHaute");
    form_.ShowStatus(Tr("Mahjongg Hashira started."));
    ShowColumnsTexts();
    hall_.ShowPanelHOF();
    if (QWidget* box = form_.Area("HashiraBox"))
        box->update();
}

// The options as the menus hold them now: they take effect at the next beat, also in a game.
void HashiraPlay::ApplyOptions() {
    for (int i = 0; i < 4; ++i)
        if (form_.Option(kFallItems[i]))
            model_.SetBaseFallSpeed(HashiraGame::FallSpeedOption(i));
    model_.SetAnimateChain(form_.Option("AnimateChain"));
    const PixelBuffer* picture = services_.View().BackgroundPicture();
    const bool scroll = form_.Option("AnimateBackgroundHashira") && picture && !form_.View3D();
    model_.SetBackgroundWidth(scroll ? picture->Width() : 0);
}

// ---- The beat ---------------------------------------------------------------------------------

void HashiraPlay::Tick() {
    if (stopped_ || form_.GameMode() != kModeHashira || !form_.FastTimerActive())
        return;
    ApplyOptions();
    if (!keyQueue_.empty()) {
        model_.KeyDown(keyQueue_.front());
        keyQueue_.pop_front();
    }
    const HashiraEffects fx = model_.DoColumns(services_.Rng());
    if (releasePending_ && keyQueue_.empty()) {
        model_.KeyUp();
        releasePending_ = false;
    }
    if (!fx.redrawWell && !fx.gameOver)
        return; // the model is paused or over
    ++beats_;
    Perform(fx);
}

void HashiraPlay::Perform(const HashiraEffects& fx) {
    for (tovani::Sound s : fx.sounds)
        services_.Sound(s);
    if (fx.redrawNext)
        DrawNext();
    if (fx.redrawPanel || fx.levelChanged)
        ShowColumnsTexts();
    UpdateGirl(fx);
    if (fx.gameOver) {
        EndGame();
        return;
    }
    DrawWell();
}

void HashiraPlay::UpdateGirl(const HashiraEffects& fx) {
    if (fx.levelChanged)
        cheerTicks_ = kCheerTicks;
    else if (cheerTicks_ > 0)
        --cheerTicks_;
    const HashiraState& st = model_.State();
    const bool chain = st.chainCounter >= 2 &&
                       (st.phase == HashiraPhase::Flashing || st.phase == HashiraPhase::Collapsing);
    const int girl = cheerTicks_ > 0 ? kGirlLevel : chain ? kGirlChain : kGirlPlaying;
    if (girl != girl_) {
        girl_ = girl;
        hall_.SetHashiraGirl(girl);
        form_.RedrawHallOfFame();
    }
}

// The entry is blocked: the game is over, the hall of fame takes its score.
void HashiraPlay::EndGame() {
    GameSession& s = form_.Session();
    stopped_ = true;
    DrawWell();
    // The score lives in the session's elapsed seconds, as the hall of fame reads it.
    s.elapsedSeconds = model_.Score();
    s.penaltySeconds = 0;
    form_.ShowStatus(Tr("GAME OVER -- Final Score : %1").arg(model_.Score()));
    s.gameOver = true;
    // May start the next game (the hall's Launch) before it returns: nothing may follow.
    hall_.GameOver();
}

GameResult HashiraPlay::Result() const {
    GameResult r;
    r.kind = GameResult::Kind::Score;
    r.board = kBoardHashira;
    r.result = model_.Score(); // the "Columns" table keeps it in hundreds
    r.tilesRemoved = model_.State().removedTotal;
    return r;
}

// ---- Keys, pause, leaving ---------------------------------------------------------------------

// Key-downs wait in a short queue and reach the game one a beat: a tap released before the
// beat that serves it (a quick player, or two taps between two beats) still moves or turns the
// column, once per tap. A release reaches the game after the presses before it were served.
bool HashiraPlay::KeyDown(int key) {
    const HashiraKey k = KeyOf(key);
    if (!model_.Running())
        return k != HashiraKey::Other;
    if (keyQueue_.size() < kKeyQueueLength)
        keyQueue_.push_back(k);
    releasePending_ = false;
    return k != HashiraKey::Other;
}

void HashiraPlay::KeyUp() {
    if (keyQueue_.empty()) {
        model_.KeyUp();
        releasePending_ = false;
    } else {
        releasePending_ = true;
    }
}

void HashiraPlay::ForgetKeys() {
    keyQueue_.clear();
    releasePending_ = false;
    model_.KeyUp();
}

void HashiraPlay::Pause() {
    model_.Pause();
    ForgetKeys();
}

void HashiraPlay::Resume() {
    model_.Resume();
    ForgetKeys();
    DrawWell();
}

void HashiraPlay::Leave() {
    model_.Pause();
    ForgetKeys();
    stopped_ = true;
}

// ---- Drawing ----------------------------------------------------------------------------------

void HashiraPlay::FullRedraw() {
    DrawNext();
    DrawWell();
}

void HashiraPlay::DrawWell() {
    HashiraPictures pictures;
    pictures.smallTiles = &services_.View().SmallTileset();
    pictures.digits = digits_.IsEmpty() ? nullptr : &digits_;
    if (form_.Option("AnimateBackgroundHashira") && !form_.View3D())
        pictures.background = services_.View().BackgroundPicture();
    pictures.small3D = form_.Option("Small3D");
    ComposeWell(well_, model_, pictures);
    if (QWidget* box = form_.Area("HashiraBox"))
        box->update();
}

void HashiraPlay::DrawNext() {
    ComposeNext(next_, model_.NextColumn(), form_.Option("ShowNext"),
                services_.View().SmallTileset(), form_.Option("Small3D"));
    if (QWidget* box = form_.Area("NextPic"))
        box->update();
}

void HashiraPlay::ShowColumnsTexts() {
    auto set = [this](const char* name, int value) {
        if (auto* l = qobject_cast<QLabel*>(form_.Area(name)))
            l->setText(QString::number(value));
    };
    set("ColumnsScore", model_.Score());
    set("BlocksRemoved", model_.BlocksRemoved());
    set("Level", model_.Level());
}

void HashiraPlay::PaintWell(QPainter& p, const QRect& r) {
    (void)r;
    p.drawImage(QPoint(0, 0), Wrap(well_));
    // The well stands on a marble floor.
    const QRect floor(0, well_.Height(), p.device()->width(),
                      p.device()->height() - well_.Height());
    if (floor.height() <= 0)
        return;
    if (floor_.isNull())
        p.fillRect(floor, QColor(96, 96, 96));
    else
        p.drawTiledPixmap(floor, floor_);
    p.setPen(QColor(40, 40, 40));
    p.drawLine(floor.topLeft(), floor.topRight());
}

void HashiraPlay::PaintNext(QPainter& p, const QRect& r) {
    (void)r;
    p.drawImage(QPoint(0, 0), Wrap(next_));
}

} // namespace tovani
