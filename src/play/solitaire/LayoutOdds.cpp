#include "play/solitaire/LayoutOdds.h"

#include "core/Clock.h"
#include "core/Random.h"
#include "solitaire/Dealer.h"
#include "solitaire/LayoutFile.h"
#include "solitaire/Solver.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>

namespace tovani {

namespace {

// Reports go back after this many deals, so the share grows on the screen.
constexpr int kReportEvery = 10;

} // namespace

LayoutOddsWorker::LayoutOddsWorker(QObject* parent) : QObject(parent) {
    thread_ = std::thread([this] { Run(); });
}

LayoutOddsWorker::~LayoutOddsWorker() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
        jobs_.clear();
    }
    cancelRunning_ = true;
    wake_.notify_all();
    thread_.join();
}

unsigned LayoutOddsWorker::Measure(const Layout& layout, const std::string& key, int deals,
                                   bool replace) {
    unsigned id;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        id = ++nextId_;
        if (replace) {
            jobs_.clear();
            cancelBelow_ = id;
            cancelRunning_ = true;
        }
        jobs_.push_back(Job{id, layout, key, deals});
    }
    wake_.notify_all();
    return id;
}

void LayoutOddsWorker::CancelAll() {
    std::lock_guard<std::mutex> lock(mutex_);
    jobs_.clear();
    cancelBelow_ = nextId_ + 1;
    cancelRunning_ = true;
}

void LayoutOddsWorker::WaitIdle() {
    {
        std::unique_lock<std::mutex> lock(mutex_);
        idle_.wait(lock, [this] { return jobs_.empty() && !busy_; });
    }
    QCoreApplication::sendPostedEvents(this);
}

void LayoutOddsWorker::Run() {
    for (;;) {
        Job job;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            busy_ = false;
            idle_.notify_all();
            wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
            if (stopping_)
                return;
            job = std::move(jobs_.front());
            jobs_.pop_front();
            busy_ = true;
            cancelRunning_ = false;
        }
        if (job.id >= cancelBelow_)
            RunJob(job);
    }
}

void LayoutOddsWorker::RunJob(const Job& job) {
    auto dropped = [this, &job] { return cancelRunning_.load() || job.id < cancelBelow_.load(); };
    LayoutOddsReport r;
    r.job = job.id;
    r.key = job.key;
    r.deals = job.deals;
    r.dealable = !CheckDealable(job.layout).has_value();
    if (!r.dealable) {
        r.done = true;
        Post(r);
        return;
    }
    {
        // The backward construction either builds a deal that can be cleared or gives up.
        Board board;
        RandomGenerator rng;
        ManualClock clock;
        DealOptions options{true, true, 1};
        Deal deal = BeginGame(board, job.layout, rng, clock, options);
        r.winnableDeal = deal.outcome == DealOutcome::Winnable;
    }
    if (dropped())
        return;
    Post(r);
    SolveLimits limits;
    limits.maxNodes = kNodesPerDeal;
    limits.cancel = &cancelRunning_;
    for (int k = 0; k < job.deals; ++k) {
        const WinnableShare one = MeasureWinnableShare(job.layout, k + 1, 1, limits);
        if (dropped())
            return;
        r.share.winnable += one.winnable;
        r.share.unwinnable += one.unwinnable;
        r.share.unknown += one.unknown;
        if (one.winnable > 0)
            r.winnableDeal = true; // the solver found one even where the construction gave up
        r.done = k + 1 == job.deals;
        if (r.done || (k + 1) % kReportEvery == 0)
            Post(r);
    }
    if (job.deals == 0) {
        r.done = true;
        Post(r);
    }
}

void LayoutOddsWorker::Post(const LayoutOddsReport& report) {
    QPointer<LayoutOddsWorker> self(this);
    QMetaObject::invokeMethod(
        this,
        [self, report] {
            if (self && self->onReport && report.job >= self->cancelBelow_.load())
                self->onReport(report);
        },
        Qt::QueuedConnection);
}

} // namespace tovani
