// The camera's rules: each input moves one counter, and the distance stays within its bounds.
#include "play/view3d/Camera3D.h"

#include <algorithm>

namespace tovani {

Contemplation Camera3D::ModeFromNumber(int n) {
    switch (n) {
    case 2:
        return Contemplation::Rotate;
    case 4:
        return Contemplation::FollowSlow;
    case 5:
        return Contemplation::FollowNormal;
    case 6:
        return Contemplation::FollowFast;
    default:
        return Contemplation::Normal;
    }
}

void Camera3D::Clamp() {
    distance = std::clamp(distance, kMinDistance, kMaxDistance);
}

CameraKey Camera3D::Key(char key) {
    switch (key) {
    case '4':
        ++yAngle;
        break;
    case '6':
        --yAngle;
        break;
    case '8':
        ++xAngle;
        break;
    case '2':
        --xAngle;
        break;
    case '-':
        if (distance <= 92)
            distance += 2;
        break;
    case '+':
        if (distance > 3)
            distance -= 2;
        break;
    case '/':
        ++zAngle;
        break;
    case '*':
        --zAngle;
        break;
    case '0':
        return CameraKey::ToggleTopTexture;
    case '5':
        if (mode != Contemplation::Rotate)
            yAngle = kDefaultY;
        xAngle = 0;
        distance = kDefaultDistance;
        zAngle = 0;
        break;
    default:
        return CameraKey::None;
    }
    Clamp();
    return CameraKey::Moved;
}

bool Camera3D::Wheel(int notches, bool shift) {
    if (notches == 0)
        return false;
    if (shift != wheelTurns) {
        zAngle += 2 * notches;
    } else {
        // One notch at a time, each with its own bound.
        const int step = notches > 0 ? 1 : -1;
        for (int i = 0; i != notches; i += step) {
            if (step > 0 && distance <= 90)
                distance += 4;
            else if (step < 0 && distance > 5)
                distance -= 4;
        }
    }
    Clamp();
    return true;
}

void Camera3D::BeginDrag(int x, int y) {
    dragging_ = true;
    dragMoved_ = false;
    dragX_ = x;
    dragY_ = y;
    dragXAngle_ = xAngle;
    dragYAngle_ = yAngle;
}

bool Camera3D::DragTo(int x, int y) {
    if (!dragging_)
        return false;
    const int ny = dragYAngle_ + (x - dragX_) / 20;
    const int nx = dragXAngle_ + (y - dragY_) / 20;
    if (x != dragX_ || y != dragY_)
        dragMoved_ = true;
    if (ny == yAngle && nx == xAngle)
        return false;
    yAngle = ny;
    xAngle = nx;
    return true;
}

bool Camera3D::EndDrag() {
    const bool moved = dragging_ && dragMoved_;
    dragging_ = false;
    dragMoved_ = false;
    return moved;
}

void Camera3D::Follow(int x, int y, int width, int height, bool following) {
    float sx = 0, sy = 0;
    if (following) {
        switch (mode) {
        case Contemplation::FollowSlow:
            sx = 1.0f / 60, sy = 1.0f / 45;
            break;
        case Contemplation::FollowNormal:
            sx = 1.0f / 40, sy = 1.0f / 30;
            break;
        case Contemplation::FollowFast:
            sx = 1.0f / 20, sy = 1.0f / 15;
            break;
        default:
            break;
        }
    }
    eyeX = float(x - width / 2) * sx;
    eyeY = float(height / 2 - y) * sy;
}

void Camera3D::SetMode(Contemplation m) {
    if (m == Contemplation::Rotate && mode != Contemplation::Rotate)
        yAngle *= 10;
    else if (m != Contemplation::Rotate && mode == Contemplation::Rotate)
        yAngle /= 10;
    mode = m;
    if (m != Contemplation::FollowSlow && m != Contemplation::FollowNormal &&
        m != Contemplation::FollowFast)
        eyeX = eyeY = 0;
}

} // namespace tovani
