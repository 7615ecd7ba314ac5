// The program-wide random generator: a 32-bit linear congruential generator.
// Seeded deals depend on its exact draw order, so every draw goes through `Random`.
#pragma once

#include <cstdint>

namespace tovani {

class Clock;

class RandomGenerator {
public:
    RandomGenerator() = default;
    explicit RandomGenerator(uint32_t seed) : state_(seed) {}

    // Each draw advances the state to state * 134775813 + 1 (modulo 2^32) and answers the high
    // 32 bits of the 64-bit product of the new state and n: a number in 0..n-1 (0 when n is 0).
    uint32_t Random(uint32_t n) {
        state_ = state_ * 134775813u + 1u;
        return static_cast<uint32_t>((static_cast<uint64_t>(state_) * n) >> 32);
    }

    // A draw in 0..n-1 for a signed count; a count below 1 gives 0.
    int Below(int n) { return n <= 0 ? 0 : static_cast<int>(Random(static_cast<uint32_t>(n))); }

    void Seed(uint32_t seed) { state_ = seed; }
    uint32_t State() const { return state_; }

    // Reseeding from the clock: ((hours * 60 + minutes) * 60 + seconds) * 1000 + milliseconds of
    // the current time of day (UTC).
    void Randomize(const Clock& clock);

private:
    uint32_t state_ = 0;
};

} // namespace tovani
