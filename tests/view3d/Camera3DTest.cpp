// The 3D view's camera: each key, the wheel, the right-button drag and the contemplation modes
// move exactly the counter they should, and the distance keeps within its bounds.
#include "play/view3d/Camera3D.h"

#include <gtest/gtest.h>

using namespace tovani;

TEST(Camera3D, DefaultsShowTheBoardSquarelyFromInFront) {
    Camera3D c;
    c.mode = Contemplation::Normal;
    // 123 + 3 x 79 = 360 degrees: the board faces the eye, tilted by -9 degrees, from z = 49.
    EXPECT_FLOAT_EQ(c.YDegrees(), 360.0f);
    EXPECT_FLOAT_EQ(c.XDegrees(), -9.0f);
    EXPECT_FLOAT_EQ(c.EyeZ(), 49.0f);
    EXPECT_FLOAT_EQ(c.ZDegrees(), 0.0f);
}

TEST(Camera3D, EachKeyMovesItsOwnCounter) {
    struct Case {
        char key;
        int dz, dy, dx, dd;
    };
    const Case cases[] = {{'4', 0, 1, 0, 0},  {'6', 0, -1, 0, 0}, {'8', 0, 0, 1, 0},
                          {'2', 0, 0, -1, 0}, {'-', 0, 0, 0, 2},  {'+', 0, 0, 0, -2},
                          {'/', 1, 0, 0, 0},  {'*', -1, 0, 0, 0}};
    for (const Case& k : cases) {
        Camera3D c;
        EXPECT_EQ(c.Key(k.key), CameraKey::Moved) << k.key;
        EXPECT_EQ(c.zAngle, 0 + k.dz) << k.key;
        EXPECT_EQ(c.yAngle, Camera3D::kDefaultY + k.dy) << k.key;
        EXPECT_EQ(c.xAngle, Camera3D::kDefaultX + k.dx) << k.key;
        EXPECT_EQ(c.distance, Camera3D::kDefaultDistance + k.dd) << k.key;
    }
    Camera3D c;
    EXPECT_EQ(c.Key('0'), CameraKey::ToggleTopTexture);
    EXPECT_EQ(c.Key('a'), CameraKey::None);
}

TEST(Camera3D, DistanceKeysStopAtTheirBounds) {
    Camera3D c;
    c.distance = 3;
    c.Key('+'); // needs a distance above 3
    EXPECT_EQ(c.distance, 3);
    c.distance = 4;
    c.Key('+');
    EXPECT_EQ(c.distance, 2);
    c.distance = 92;
    c.Key('-');
    EXPECT_EQ(c.distance, 94);
    c.Key('-'); // 94 is above 92: no further
    EXPECT_EQ(c.distance, 94);
}

TEST(Camera3D, ResetKeepsTheTurnOfRotateMode) {
    Camera3D c;
    c.zAngle = 5, c.yAngle = 12, c.xAngle = 7, c.distance = 20;
    c.Key('5');
    EXPECT_EQ(c.yAngle, Camera3D::kDefaultY);
    EXPECT_EQ(c.xAngle, 0);
    EXPECT_EQ(c.distance, 48);
    EXPECT_EQ(c.zAngle, 0);
    c.SetMode(Contemplation::Rotate);
    c.yAngle = 555;
    c.Key('5');
    EXPECT_EQ(c.yAngle, 555);
}

TEST(Camera3D, WheelZoomsWithinBoundsOrRolls) {
    Camera3D c;
    c.distance = 90;
    c.Wheel(1, false);
    EXPECT_EQ(c.distance, 94);
    c.Wheel(3, false);
    EXPECT_EQ(c.distance, 94);
    c.distance = 6;
    c.Wheel(-1, false);
    EXPECT_EQ(c.distance, 2);
    c.Wheel(-5, false);
    EXPECT_EQ(c.distance, 2); // never below 2
    // Shift, or the middle button's toggle, makes the wheel roll the board instead.
    c.Wheel(1, true);
    EXPECT_EQ(c.zAngle, 2);
    c.wheelTurns = true;
    c.Wheel(-2, false);
    EXPECT_EQ(c.zAngle, -2);
    c.Wheel(1, true); // both: zoom again
    EXPECT_EQ(c.distance, 6);
}

TEST(Camera3D, RightDragTurnsAndAClickDoesNot) {
    Camera3D c;
    c.BeginDrag(100, 100);
    EXPECT_TRUE(c.DragTo(160, 140)); // 60 div 20 = 3, 40 div 20 = 2
    EXPECT_EQ(c.yAngle, Camera3D::kDefaultY + 3);
    EXPECT_EQ(c.xAngle, Camera3D::kDefaultX + 2);
    EXPECT_TRUE(c.DragTo(100, 100)); // back where it began
    EXPECT_EQ(c.yAngle, Camera3D::kDefaultY);
    EXPECT_TRUE(c.EndDrag()); // it moved: no pop-up menu
    c.BeginDrag(50, 50);
    EXPECT_FALSE(c.EndDrag());        // a plain right click opens the menu
    EXPECT_FALSE(c.DragTo(500, 500)); // no drag after the release
}

TEST(Camera3D, FollowMeScalesTheEyeOffsetByMode) {
    Camera3D c;
    c.mode = Contemplation::FollowSlow;
    c.Follow(400 + 60, 300 - 45, 800, 600, true);
    EXPECT_FLOAT_EQ(c.eyeX, 1.0f);
    EXPECT_FLOAT_EQ(c.eyeY, 1.0f);
    c.mode = Contemplation::FollowFast;
    c.Follow(400 + 60, 300 - 45, 800, 600, true);
    EXPECT_FLOAT_EQ(c.eyeX, 3.0f);
    EXPECT_FLOAT_EQ(c.eyeY, 3.0f);
    c.Follow(460, 255, 800, 600, false); // the welcome screen: the eye stays put
    EXPECT_FLOAT_EQ(c.eyeX, 0.0f);
    c.mode = Contemplation::Normal;
    c.Follow(0, 0, 800, 600, true);
    EXPECT_FLOAT_EQ(c.eyeY, 0.0f);
}

TEST(Camera3D, RotateModeTurnsInTenthsAndKeepsTheAngle) {
    Camera3D c;
    c.SetMode(Contemplation::Rotate);
    EXPECT_EQ(c.yAngle, 790);
    EXPECT_FLOAT_EQ(c.YDegrees(), 360.0f);
    c.Turn();
    EXPECT_FLOAT_EQ(c.YDegrees(), 360.3f);
    c.SetMode(Contemplation::FollowNormal);
    EXPECT_EQ(c.yAngle, 79);
    EXPECT_EQ(Camera3D::ModeFromNumber(1), Contemplation::Normal);
    EXPECT_EQ(Camera3D::ModeFromNumber(3), Contemplation::Normal);
    EXPECT_EQ(Camera3D::ModeFromNumber(6), Contemplation::FollowFast);
}
