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
    unsigned generation;
    {
        std::lock_guard lock(mutex_);
        generation = generation_;
    }
    for (;;) {
        const auto t0 = Clock::now();
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
        const int handlerMs = static_cast<int>(
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t0).count());
        const int sleepMs = SleepAfter(interval_.load(), handlerMs);
        std::unique_lock lock(mutex_);
        if (wake_.wait_for(lock, std::chrono::milliseconds(sleepMs), [this] { return stop_; }))
            return;
    }
}

} // namespace tovani
