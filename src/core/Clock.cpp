#include "core/Clock.h"
#include "core/Random.h"

#include <chrono>

namespace tovani {

uint32_t SystemClock::TickMs() const {
    using namespace std::chrono;
    auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<uint32_t>(ms);
}

TimeOfDay SystemClock::UtcTimeOfDay() const {
    using namespace std::chrono;
    auto ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    auto inDay = static_cast<uint64_t>(ms) % 86400000ull;
    return TimeOfDay{static_cast<int>(inDay / 3600000ull), static_cast<int>(inDay / 60000ull % 60),
                     static_cast<int>(inDay / 1000ull % 60), static_cast<int>(inDay % 1000ull)};
}

void RandomGenerator::Randomize(const Clock& clock) {
    TimeOfDay t = clock.UtcTimeOfDay();
    state_ = static_cast<uint32_t>(((t.hours * 60 + t.minutes) * 60 + t.seconds) * 1000 +
                                   t.milliseconds);
}

} // namespace tovani
