#include "shell/ThreadTimer.h"

#include <QMetaObject>
#include <QPointer>

#include <algorithm>
#include <chrono>

namespace tovani {

TThreadTimer::TThreadTimer(QObject* parent) : QObject(parent) {}

TThreadTimer::~TThreadTimer() {
    SetEnabled(false);
}

int TThreadTimer::SleepAfter(int intervalMs, int handlerMs) {
    return std::max(kMinimumSleepMs, intervalMs - handlerMs);
}

double TThreadTimer::NextBeatMs(double startMs, double handlerEndMs, int intervalMs) {
    return std::max(startMs + intervalMs, handlerEndMs + kMinimumSleepMs);
}

double TThreadTimer::BeatStartMs(double dueMs, double wokeMs, int intervalMs) {
    return wokeMs - dueMs < intervalMs ? dueMs : wokeMs;
}

void TThreadTimer::SetInterval(int ms) {
    interval_ = std::max(1, ms);
}

void TThreadTimer::SetEnabled(bool on) {
    if (on == enabled_)
        return;
    enabled_ = on;
    if (on) {
        {
            std::lock_guard lock(mutex_);
            stop_ = false;
            ++generation_;
        }
        thread_ = std::thread([this] { Loop(); });
        return;
    }
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    // The thread never waits for this (interface) thread once stop is set, so joining here
    // cannot hang even though the thread's ticks run on this thread.
    if (thread_.joinable())
        thread_.join();
}

void TThreadTimer::RunOnce() {
    if (OnTimer)
        OnTimer();
    ++ticks_;
}

void TThreadTimer::Loop() {
    using Clock = std::chrono::steady_clock;
    using Ms = std::chrono::duration<double, std::milli>;
    unsigned generation;
    {
        std::lock_guard lock(mutex_);
        generation = generation_;
    }
    const auto origin = Clock::now();
    auto now = [origin] { return Ms(Clock::now() - origin).count(); };
    double start = now();
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (stop_)
                return;
            handled_ = false;
        }
        // Have the interface thread run the handler, and wait until it has: a blocking queued
        // call that also wakes up when the timer is stopped.
        QPointer<TThreadTimer> self(this);
        QMetaObject::invokeMethod(
            this,
            [this, self, generation] {
                if (!self)
                    return;
                bool run;
                {
                    std::lock_guard lock(mutex_);
                    run = !stop_ && generation == generation_;
                }
                if (run)
                    RunOnce();
                {
                    std::lock_guard lock(mutex_);
                    if (generation == generation_)
                        handled_ = true;
                }
                wake_.notify_all();
            },
            Qt::QueuedConnection);
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return handled_ || stop_; });
            if (stop_)
                return;
        }
        // The interval less the handler's time (measured to the microsecond), at least 3 ms.
        const double due = NextBeatMs(start, now(), interval_.load());
        const auto wakeAt = origin + std::chrono::duration_cast<Clock::duration>(Ms(due));
        std::unique_lock lock(mutex_);
        if (wake_.wait_until(lock, wakeAt, [this] { return stop_; }))
            return;
        lock.unlock();
        start = BeatStartMs(due, now(), interval_.load());
    }
}

} // namespace tovani
