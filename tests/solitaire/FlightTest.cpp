#include "solitaire/Flight.h"

#include <gtest/gtest.h>

using namespace tovani;

namespace {
const FlightArea kArea{800, 600, 40, 50, 6};
}

TEST(Flight, TargetsOfTheFourPatterns) {
    RandomGenerator rng(1);
    Flight f;
    // Classic, side rule: each tile leaves by its nearer side, keeping its row.
    f.Start({FlightPoint{100, 200}, FlightPoint{500, 300}}, {1, 1}, AnimationType::Classic, false,
            kArea, 35, rng);
    EXPECT_EQ(f.targets()[0], (FlightPoint{-46, 200}));
    EXPECT_EQ(f.targets()[1], (FlightPoint{800, 300}));
    // Classic, vertical rule: by the nearer of top and bottom, keeping the column.
    f.Start({FlightPoint{100, 200}, FlightPoint{500, 300}}, {1, 1}, AnimationType::Classic, true,
            kArea, 35, rng);
    EXPECT_EQ(f.targets()[0], (FlightPoint{100, -56}));
    EXPECT_EQ(f.targets()[1], (FlightPoint{500, 600})); // 300 is not above (600-56)/2 = 272
    // Nucleus: both to the middle row; the tile further right goes right.
    f.Start({FlightPoint{500, 10}, FlightPoint{100, 20}}, {1, 1}, AnimationType::Nucleus, false,
            kArea, 35, rng);
    EXPECT_EQ(f.targets()[0], (FlightPoint{800, 272}));
    EXPECT_EQ(f.targets()[1], (FlightPoint{-46, 272}));
    // Union: both tiles to the same random target off the board.
    f.Start({FlightPoint{1, 1}, FlightPoint{2, 2}}, {1, 1}, AnimationType::Union, false, kArea, 35,
            rng);
    EXPECT_EQ(f.targets()[0], f.targets()[1]);
    FlightPoint t = f.targets()[0];
    bool offBoard = t.x == -46 || t.x == 800 || t.y == -56 || t.y == 600;
    EXPECT_TRUE(offBoard);
}

TEST(Flight, FramesRoundHalfToEvenAndEndOneTickLate) {
    RandomGenerator rng(1);
    Flight f;
    // From x 0 to x -46 over 4 frames: -11.5, -23, -34.5, -46.
    f.Start({FlightPoint{0, 0}, FlightPoint{0, 0}}, {1, 2}, AnimationType::Classic, false,
            FlightArea{800, 600, 40, 50, 6}, 4, rng);
    ASSERT_TRUE(f.Running());
    std::vector<int> xs;
    Flight::Frame fr;
    for (int i = 0; i < 4; ++i) {
        fr = f.Step();
        EXPECT_TRUE(fr.draw);
        EXPECT_FALSE(fr.last);
        xs.push_back(fr.at[0].x);
    }
    EXPECT_EQ(xs, (std::vector<int>{-12, -23, -34, -46}));
    // Moving left by 11.5 a frame: nothing before, 1 - trunc(-11.5) = 12 after.
    EXPECT_EQ(fr.marginBefore[0].x, 0);
    EXPECT_EQ(fr.marginAfter[0].x, 12);
    EXPECT_TRUE(f.Running());
    fr = f.Step();
    EXPECT_TRUE(fr.last);
    EXPECT_FALSE(fr.draw);
    EXPECT_FALSE(f.Running());
    EXPECT_EQ(FrameCount(AnimationSpeed::Slow), 60);
    EXPECT_EQ(FrameCount(AnimationSpeed::Lightspeed), 5);
}
