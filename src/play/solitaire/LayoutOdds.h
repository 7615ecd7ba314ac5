// How good a layout is to play, measured by the solver on a worker thread: whether a deal that
// can be cleared exists at all (the winnable deal is built backwards on it), and what share of
// its plain deals (game numbers 1 to N) the solver clears. The layout editor measures its
// layout after every change; the layout chooser measures the player's own layouts once.
//
// One worker thread takes the jobs in turn; a job can be dropped for a newer one, and the
// search in progress stops at once. Answers come back on the GUI thread, in steps as the deals
// are solved, so the player sees the share grow; nothing here ever waits for the worker on the
// GUI thread (except WaitIdle, for tests and benchmarks).
#pragma once

#include "solitaire/Board.h"
#include "solitaire/WinnableShare.h"

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace tovani {

struct LayoutOddsReport {
    unsigned job = 0;
    std::string key;           // what the caller named the job
    bool dealable = false;     // the layout can be dealt (an even number of places, 144 at most)
    bool winnableDeal = false; // a deal that can be cleared was built on it
    WinnableShare share;       // the deals solved so far
    int deals = 0;             // how many deals the job measures
    bool done = false;         // the last report of the job
};

class LayoutOddsWorker : public QObject {
    Q_OBJECT
public:
    // Deals measured by the editor and for the player's layouts.
    static constexpr int kDeals = 200;
    // Positions the solver may search for one deal before it is counted unknown.
    static constexpr uint64_t kNodesPerDeal = 200'000;

    explicit LayoutOddsWorker(QObject* parent = nullptr);
    ~LayoutOddsWorker() override;

    // Queues a job (after those waiting), or, with `replace`, drops every job waiting or running
    // for this one. Answers the job's number.
    unsigned Measure(const Layout& layout, const std::string& key, int deals = kDeals,
                     bool replace = true);
    // Drops every job.
    void CancelAll();
    // Waits until no job is waiting or running, then delivers the reports (tests, benchmarks).
    void WaitIdle();

    // Each report of a job, on the GUI thread.
    std::function<void(const LayoutOddsReport&)> onReport;

private:
    struct Job {
        unsigned id = 0;
        Layout layout;
        std::string key;
        int deals = 0;
    };
    void Run();
    void RunJob(const Job& job);
    void Post(const LayoutOddsReport& report);

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<Job> jobs_;
    bool busy_ = false;
    bool stopping_ = false;
    unsigned nextId_ = 0;
    std::atomic<unsigned> cancelBelow_{0}; // jobs numbered below this are dropped
    std::atomic<bool> cancelRunning_{false};
    std::thread thread_;
};

} // namespace tovani
