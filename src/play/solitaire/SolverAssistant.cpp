#include "play/solitaire/SolverAssistant.h"

#include "core/Clock.h"
#include "play/solitaire/SolitaireGame.h"
#include "shell/MainForm.h"
#include "solitaire/Solver.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QMetaObject>
#include <QPointer>
#include <QTimer>

namespace tovani {

namespace {

// The answer of a check, as an int that crosses threads.
constexpr int kWinnable = 0, kUnwinnable = 1, kUnknown = 2;

} // namespace

SolverAssistant::SolverAssistant(TMainForm& form, SolitaireGame& solitaire)
    : QObject(&form), form_(form), solitaire_(solitaire) {
    demoTimer_ = new QTimer(this);
    connect(demoTimer_, &QTimer::timeout, this, [this] { DemoStep(); });
    searchWatch_ = new QTimer(this);
    connect(searchWatch_, &QTimer::timeout, this, [this] {
        if (demoSearching_ && form_.GameMode() != kModeSolitaire)
            StopDemo();
    });
    form_.SetHandler("Demo", [this](QObject*) { Demo(); });
    // The option only needs its check mark; the next removed pair reads it.
    form_.SetHandler("WarnUnwinnableClick", [this](QObject*) {
        if (!form_.Option("WarnUnwinnable"))
            CancelCheck();
    });
    solitaire_.onPairRemoved = [this] {
        ++positionStamp_;
        PairRemoved();
    };
    solitaire_.onPositionReset = [this] {
        ++positionStamp_;
        PositionReset();
        if (!inDemoStep_)
            StopDemo();
    };
    qApp->installEventFilter(this);
}

SolverAssistant::~SolverAssistant() {
    solitaire_.onPairRemoved = nullptr;
    solitaire_.onPositionReset = nullptr;
    qApp->removeEventFilter(this);
    CancelSearch();
    CancelCheck();
}

void SolverAssistant::Demo() {
    StopDemo();
    if (form_.GameMode() != kModeSolitaire)
        return;
    const unsigned generation = ++searchGeneration_;
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    searchCancel_ = cancel;
    searchStamp_ = positionStamp_;
    demoSearching_ = true;
    form_.ShowStatus(form_.Tr(SearchingMessage()));
    // While it searches, a pause, an inactive window or another game ends the search.
    searchWatch_->start(50);
    // The worker reads its own copy of the board: the window goes on answering meanwhile.
    Board copy = solitaire_.GameBoard();
    const FreeRule rule = solitaire_.Rule();
    QPointer<SolverAssistant> self(this);
    searchWorker_ = std::thread([self, copy, rule, cancel, generation]() {
        SystemClock clock;
        SolveLimits limits;
        limits.cancel = cancel.get();
        limits.clock = &clock;
        limits.maxMs = 10000;
        limits.maxNodes = 20'000'000;
        SolveResult r = SolvePosition(copy, rule, limits);
        const int verdict = r.verdict == SolveVerdict::Winnable     ? kWinnable
                            : r.verdict == SolveVerdict::Unwinnable ? kUnwinnable
                                                                    : kUnknown;
        if (!cancel->load() && self)
            QMetaObject::invokeMethod(
                self.data(),
                [self, generation, verdict, removal = std::move(r.removal)]() mutable {
                    if (self)
                        self->SearchFinished(generation, verdict, std::move(removal));
                },
                Qt::QueuedConnection);
    });
}

void SolverAssistant::SearchFinished(unsigned generation, int verdict, std::vector<int> removal) {
    if (generation != searchGeneration_ || !demoSearching_)
        return; // cancelled, or a newer search has been asked for since
    CancelSearch();
    if (form_.GameMode() != kModeSolitaire || searchStamp_ != positionStamp_)
        return; // the position the answer is about is gone
    if (verdict == kUnwinnable) {
        form_.ShowStatus(form_.Tr(LostMessage()));
        return;
    }
    if (verdict != kWinnable || removal.empty()) {
        form_.ShowStatus(form_.Tr(GaveUpMessage()));
        return;
    }
    demoMoves_ = std::move(removal);
    demoNext_ = 0;
    demoRunning_ = true;
    solitaire_.SetDemoPlayed(true); // a game finished by the demo enters no hall of fame
    // The player is told how to take the game back while it plays.
    form_.ShowStatus(form_.Tr(PlayingMessage()));
    // Each pair leaves time for its flight (12 ms a frame) and a short breath for the eye.
    demoTimer_->start(solitaire_.CurrentAnimationFrames() * 12 + 180);
    DemoStep();
}

void SolverAssistant::CancelSearch() {
    searchWatch_->stop();
    demoSearching_ = false;
    if (searchCancel_)
        searchCancel_->store(true);
    if (searchWorker_.joinable())
        searchWorker_.join();
    searchCancel_.reset();
    ++searchGeneration_;
}

void SolverAssistant::WaitForSearch() {
    if (searchWorker_.joinable())
        searchWorker_.join();
    QCoreApplication::processEvents();
}

void SolverAssistant::DemoStep() {
    if (!demoRunning_)
        return;
    if (form_.GameMode() != kModeSolitaire || demoNext_ + 1 >= demoMoves_.size()) {
        StopDemo();
        return;
    }
    const int a = demoMoves_[demoNext_], b = demoMoves_[demoNext_ + 1];
    demoNext_ += 2;
    // The pair is played as a player would click it.
    inDemoStep_ = true;
    solitaire_.ClearSelection();
    solitaire_.ClickTile(a);
    solitaire_.ClickTile(b);
    inDemoStep_ = false;
    if (demoNext_ >= demoMoves_.size()) {
        StopDemo();
        // The invitation to take over no longer holds.
        form_.ShowStatus(form_.Tr("The Demo played this board to its end."));
    }
}

void SolverAssistant::StopDemo() {
    CancelSearch();
    demoRunning_ = false;
    demoTimer_->stop();
    demoMoves_.clear();
    demoNext_ = 0;
}

bool SolverAssistant::eventFilter(QObject* watched, QEvent* event) {
    if ((demoRunning_ || demoSearching_) &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress)) {
        StopDemo();
        form_.ShowStatus(form_.Tr("Demo stopped."));
        return true; // the click or key that stops the demo does nothing else
    }
    return QObject::eventFilter(watched, event);
}

void SolverAssistant::PairRemoved() {
    if (!form_.Option("WarnUnwinnable") || demoRunning_)
        return;
    if (form_.GameMode() != kModeSolitaire && form_.GameMode() != kModeTwoPlayers)
        return;
    StartCheck();
}

void SolverAssistant::PositionReset() {
    CancelCheck();
    lastKnownWinnable_ = true;
}

void SolverAssistant::StartCheck() {
    CancelCheck();
    const unsigned generation = ++generation_;
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    cancel_ = cancel;
    // The worker reads its own copy of the board: the game goes on meanwhile.
    Board copy = solitaire_.GameBoard();
    const FreeRule rule = solitaire_.Rule();
    QPointer<SolverAssistant> self(this);
    worker_ = std::thread([self, copy, rule, cancel, generation]() {
        SolveLimits limits;
        limits.cancel = cancel.get();
        limits.maxNodes = 4'000'000;
        const SolveResult r = SolvePosition(copy, rule, limits);
        const int verdict = r.verdict == SolveVerdict::Winnable     ? kWinnable
                            : r.verdict == SolveVerdict::Unwinnable ? kUnwinnable
                                                                    : kUnknown;
        if (!cancel->load() && self)
            QMetaObject::invokeMethod(
                self.data(),
                [self, generation, verdict] {
                    if (self)
                        self->CheckFinished(generation, verdict);
                },
                Qt::QueuedConnection);
    });
}

void SolverAssistant::CheckFinished(unsigned generation, int verdict) {
    if (generation != generation_)
        return; // a newer position has been asked about since
    ++checksDone_;
    if (verdict == kUnwinnable && lastKnownWinnable_) {
        form_.ShowStatus(form_.Tr(LostMessage()));
        lastKnownWinnable_ = false;
    } else if (verdict == kWinnable) {
        lastKnownWinnable_ = true;
    }
}

void SolverAssistant::CancelCheck() {
    if (cancel_)
        cancel_->store(true);
    if (worker_.joinable())
        worker_.join();
    cancel_.reset();
    ++generation_;
}

void SolverAssistant::WaitForCheck() {
    if (worker_.joinable())
        worker_.join();
    QCoreApplication::processEvents();
}

} // namespace tovani
