// A timer on a thread of its own, for the games that need a steadier beat than the window's
// 50 ms timer (the 12 ms beat of the tile flights and of Hashira).
//
// The thread only measures time and sleeps: each tick it has the interface thread run the
// handler and waits until it has run, then sleeps the interval less the handler's run time, but
// at least 3 ms. So ticks come every `Interval` milliseconds, or 3 ms after the handler when the
// handler takes longer. All game state is touched on the interface thread only.
#pragma once

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace tovani {

class TThreadTimer : public QObject {
    Q_OBJECT
public:
    static constexpr int kMinimumSleepMs = 3;

    explicit TThreadTimer(QObject* parent = nullptr);
    ~TThreadTimer() override;

    // Starting creates the thread; stopping asks it to end and waits for it. A handler that
    // is running on the interface thread finishes first; a tick not yet run is dropped.
    void SetEnabled(bool on);
    bool Enabled() const { return enabled_; }
    // Wanted time between the starts of two ticks, in milliseconds (at least 1).
    void SetInterval(int ms);
    int Interval() const { return interval_.load(); }
    // The handler, run on the thread that owns this object (the interface thread).
    std::function<void()> OnTimer;

    // Ticks the handler has run since the timer was made (for tests and benchmarks).
    long long Ticks() const { return ticks_.load(); }

    // What the thread sleeps after a handler that took `handlerMs`.
    static int SleepAfter(int intervalMs, int handlerMs);
    // The same rule on the clock, to the microsecond: a beat that started at `startMs` and whose
    // handler ended at `handlerEndMs` is followed by one `intervalMs` after its start, or 3 ms
    // after the handler when it ran long.
    static double NextBeatMs(double startMs, double handlerEndMs, int intervalMs);
    // Where the beat woken at `wokeMs` for `dueMs` counts from: its due time when the thread woke
    // less than an interval late (so the delays of a busy machine never add up and the beats
    // keep their interval on average), the wake-up itself after a longer stall (no burst of
    // beats to catch up).
    static double BeatStartMs(double dueMs, double wokeMs, int intervalMs);

private:
    void Loop();
    void RunOnce();

    bool enabled_ = false;
    std::atomic<int> interval_{12};
    std::atomic<long long> ticks_{0};
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;       // guarded by mutex_
    bool handled_ = false;    // the tick asked for has run (or was dropped); guarded by mutex_
    unsigned generation_ = 0; // guarded by mutex_; a new thread drops the old thread's ticks
};

} // namespace tovani
