#include "solitaire/Flight.h"

#include <cmath>

namespace tovani {

int FrameCount(AnimationSpeed speed) {
    switch (speed) {
    case AnimationSpeed::Slow:
        return 60;
    case AnimationSpeed::Normal:
        return 35;
    case AnimationSpeed::Fast:
        return 20;
    case AnimationSpeed::UltraFast:
        return 12;
    case AnimationSpeed::Lightspeed:
        return 5;
    }
    return 35;
}

int RoundHalfEven(double v) {
    return static_cast<int>(std::nearbyint(v));
}

void Flight::Start(std::array<FlightPoint, 2> starts, std::array<int, 2> faces, AnimationType type,
                   bool vertical, const FlightArea& a, int frameCount, RandomGenerator& rng) {
    start_ = starts;
    faces_ = faces;
    const int offLeft = -a.tileWidth - a.edge, offTop = -a.tileHeight - a.edge;
    const int offRight = a.width, offBottom = a.height;
    const int midX = (a.width - a.tileWidth - a.edge) / 2;
    const int midY = (a.height - a.tileHeight - a.edge) / 2;
    // A random way off the board: a side, then a place along it.
    auto fuzzy = [&]() {
        FlightPoint t;
        switch (rng.Random(4)) {
        case 0:
            t = {offLeft, static_cast<int>(
                              rng.Random(static_cast<uint32_t>(a.height + a.tileHeight + a.edge))) -
                              a.tileHeight - a.edge};
            break;
        case 1:
            t = {offRight, static_cast<int>(rng.Random(
                               static_cast<uint32_t>(a.height + a.tileHeight + a.edge))) -
                               a.tileHeight - a.edge};
            break;
        case 2:
            t = {static_cast<int>(
                     rng.Random(static_cast<uint32_t>(a.width + a.tileWidth + a.edge))) -
                     a.tileWidth - a.edge,
                 offTop};
            break;
        default:
            t = {static_cast<int>(
                     rng.Random(static_cast<uint32_t>(a.width + a.tileWidth + a.edge))) -
                     a.tileWidth - a.edge,
                 offBottom};
            break;
        }
        return t;
    };
    switch (type) {
    case AnimationType::Classic:
        for (int i = 0; i < 2; ++i) {
            if (!vertical)
                target_[i] = {start_[i].x < midX ? offLeft : offRight, start_[i].y};
            else
                target_[i] = {start_[i].x, start_[i].y < midY ? offTop : offBottom};
        }
        break;
    case AnimationType::Nucleus:
        if (!vertical) {
            bool firstLeft = start_[0].x < start_[1].x;
            target_[0] = {firstLeft ? offLeft : offRight, midY};
            target_[1] = {firstLeft ? offRight : offLeft, midY};
        } else {
            bool firstUp = start_[0].y < start_[1].y;
            target_[0] = {midX, firstUp ? offTop : offBottom};
            target_[1] = {midX, firstUp ? offBottom : offTop};
        }
        break;
    case AnimationType::Fuzzy:
        target_[0] = fuzzy();
        target_[1] = fuzzy();
        break;
    case AnimationType::Union:
        target_[0] = fuzzy();
        target_[1] = target_[0];
        break;
    }
    count_ = frameCount;
    frame_ = 0;
}

Flight::Frame Flight::Step() {
    Frame f;
    if (!Running())
        return f;
    if (frame_ == count_) {
        f.last = true;
        ++frame_; // past the count: no flight
        return f;
    }
    ++frame_;
    f.draw = true;
    for (int i = 0; i < 2; ++i) {
        auto axis = [&](int s, int t, int& at, int& before, int& after) {
            at = RoundHalfEven(s + static_cast<double>(t - s) * frame_ / count_);
            double step = static_cast<double>(t - s) / count_;
            if (t < s) {
                before = 0;
                after = 1 - static_cast<int>(std::trunc(step));
            } else {
                before = static_cast<int>(std::trunc(step)) + 1;
                after = 0;
            }
        };
        axis(start_[i].x, target_[i].x, f.at[i].x, f.marginBefore[i].x, f.marginAfter[i].x);
        axis(start_[i].y, target_[i].y, f.at[i].y, f.marginBefore[i].y, f.marginAfter[i].y);
    }
    return f;
}

} // namespace tovani
