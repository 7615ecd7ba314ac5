// Time as the models see it: a millisecond tick and the time of day, both injected, so a test
// can advance time by hand and get the same game every time.
#pragma once

#include <cstdint>

namespace tovani {

struct TimeOfDay {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    int milliseconds = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start; wraps like a 32-bit system tick.
    virtual uint32_t TickMs() const = 0;
    // The current time of day in UTC.
    virtual TimeOfDay UtcTimeOfDay() const = 0;
};

// The real clock of the machine (monotonic tick, UTC time of day).
class SystemClock : public Clock {
public:
    uint32_t TickMs() const override;
    TimeOfDay UtcTimeOfDay() const override;
};

// A clock that moves only when told to: for tests and replays.
class ManualClock : public Clock {
public:
    explicit ManualClock(uint32_t startMs = 0) : now_(startMs) {}
    uint32_t TickMs() const override { return now_; }
    TimeOfDay UtcTimeOfDay() const override {
        uint32_t ms = now_ % 86400000u;
        return TimeOfDay{static_cast<int>(ms / 3600000u), static_cast<int>(ms / 60000u % 60u),
                         static_cast<int>(ms / 1000u % 60u), static_cast<int>(ms % 1000u)};
    }
    void Advance(uint32_t ms) { now_ += ms; }
    void Set(uint32_t ms) { now_ = ms; }

private:
    uint32_t now_;
};

} // namespace tovani
