// The camera of the 3D view: three angle counters and the distance (saved with the settings),
// the eye offsets of the follow-me modes, and the keys, wheel and right-button drag that move
// it. Plain code without Qt or OpenGL, so the rules are checked one input at a time.
#pragma once

namespace tovani {

// How the camera moves by itself: still, turning, or following the mouse.
enum class Contemplation {
    Normal = 0,
    Rotate = 2,
    FollowSlow = 4,
    FollowNormal = 5,
    FollowFast = 6
};

// What a key typed in the 3D view did.
enum class CameraKey { None, Moved, ToggleTopTexture };

struct Camera3D {
    static constexpr int kMinDistance = 2;
    static constexpr int kMaxDistance = 94;
    static constexpr int kDefaultY = 79;
    static constexpr int kDefaultX = -3;
    static constexpr int kDefaultDistance = 48;

    int zAngle = 0;                  // roll, 3 degrees a unit
    int yAngle = kDefaultY;          // turn about the vertical axis
    int xAngle = kDefaultX;          // tilt, 3 degrees a unit
    int distance = kDefaultDistance; // the eye stands at z = distance + 1
    float eyeX = 0, eyeY = 0;        // the follow-me offsets
    Contemplation mode = Contemplation::FollowSlow;
    bool wheelTurns = false; // toggled by the middle button: the wheel rolls without Shift

    // A stored mode number; 1 and 3 (and anything unknown) are Normal.
    static Contemplation ModeFromNumber(int n);

    // The model's rotations in degrees, applied about x, then y, then z.
    float XDegrees() const { return 3.0f * xAngle; }
    // Rotate turns the board a tenth as far a beat, so it turns smoothly.
    float YDegrees() const {
        return 123.0f + (mode == Contemplation::Rotate ? 0.3f : 3.0f) * float(yAngle);
    }
    float ZDegrees() const { return 3.0f * zAngle; }
    float EyeZ() const { return float(distance) + 1.0f; }

    // A key typed ("4", "6", "8", "2", "+", "-", "/", "*", "0", "5").
    CameraKey Key(char key);
    // A wheel turn of `notches` (positive away from the player); `shift` held.
    bool Wheel(int notches, bool shift);
    // The right-button drag: from where it started, the counters follow the mouse.
    void BeginDrag(int x, int y);
    bool DragTo(int x, int y);
    bool Dragging() const { return dragging_; }
    // The button was released: answers whether it moved the camera (else the pop-up menu).
    bool EndDrag();
    // The mouse at (x, y) on a panel of width x height; `following` when the game mode lets
    // the eye follow the mouse.
    void Follow(int x, int y, int width, int height, bool following);
    // Another contemplation mode: entering Rotate makes the turn ten times finer, leaving it
    // coarse again, so the board keeps its angle.
    void SetMode(Contemplation m);
    // A beat in Rotate mode.
    void Turn() { ++yAngle; }
    void Clamp();

private:
    bool dragging_ = false;
    bool dragMoved_ = false;
    int dragX_ = 0, dragY_ = 0, dragXAngle_ = 0, dragYAngle_ = 0;
};

} // namespace tovani
