#include "core/Clock.h"
#include "core/Random.h"

#include <gtest/gtest.h>

using namespace tovani;

TEST(Random, SequenceFromSeedMatchesTheLinearCongruence) {
    // Worked out by hand from state' = state * 134775813 + 1 and (state' * n) >> 32.
    RandomGenerator r(12345);
    EXPECT_EQ(r.Random(144), 55u);
    EXPECT_EQ(r.Random(144), 41u);
    EXPECT_EQ(r.Random(10), 0u);
    EXPECT_EQ(r.Random(1000000), 553610u);
    EXPECT_EQ(r.Random(0xFFFFFFFFu), 2721613529u);
}

TEST(Random, DrawsStayBelowNAndSameSeedRepeats) {
    RandomGenerator a(77), b(77);
    for (int i = 0; i < 10000; ++i) {
        uint32_t n = static_cast<uint32_t>(i % 50 + 1);
        uint32_t x = a.Random(n);
        EXPECT_LT(x, n);
        EXPECT_EQ(x, b.Random(n));
    }
    EXPECT_EQ(a.State(), b.State());
    EXPECT_EQ(a.Below(0), 0);
    EXPECT_EQ(a.Below(-5), 0);
}

TEST(Random, StateWrapsModulo2To32) {
    RandomGenerator r(0xFFFFFFFFu);
    r.Random(2);
    EXPECT_EQ(r.State(), static_cast<uint32_t>(0xFFFFFFFFull * 134775813ull + 1ull));
}

TEST(Random, ReseedFromClockUsesTimeOfDay) {
    ManualClock clock(((13u * 60u + 45u) * 60u + 7u) * 1000u + 250u);
    RandomGenerator r(1);
    r.Randomize(clock);
    EXPECT_EQ(r.State(), 49507250u);
}
