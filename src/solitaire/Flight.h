// The flight of a removed pair: both tiles fly off the board over a number of frames, by one
// of four patterns, driven by the 12 ms timer. Pure geometry; the shell draws the frames.
#pragma once

#include <array>
#include <cstdint>

#include "core/Random.h"

namespace tovani {

enum class AnimationType { Nucleus = 0, Classic = 1, Fuzzy = 2, Union = 3 };
enum class AnimationSpeed { Slow = 0, Normal = 1, Fast = 2, UltraFast = 3, Lightspeed = 4 };

// Frames a flight lasts at each speed.
int FrameCount(AnimationSpeed speed);

struct FlightPoint {
    int x = 0, y = 0;
    friend bool operator==(const FlightPoint&, const FlightPoint&) = default;
};

struct FlightArea {
    int width = 0, height = 0; // the board paint box
    int tileWidth = 0, tileHeight = 0, edge = 0;
};

class Flight {
public:
    // Sets both tiles' targets for the given pattern and starts the flight at frame 0.
    // `vertical`: the vertical free rule is in force, so tiles leave by the top and bottom.
    void Start(std::array<FlightPoint, 2> starts, std::array<int, 2> faces, AnimationType type,
               bool vertical, const FlightArea& area, int frameCount, RandomGenerator& rng);

    // Frames are drawn while the frame is below the count; one more tick puts the finished
    // board back on the screen.
    bool Running() const { return frame_ <= count_; }
    // Ends the flight at once (a speed or type change, a new flight).
    void Finish() { frame_ = count_ + 1; }

    struct Frame {
        std::array<FlightPoint, 2> at;
        // Pixels on each side that cover where the tile stood on the frame before.
        std::array<FlightPoint, 2> marginBefore, marginAfter;
        bool draw = false; // the two tiles are drawn at `at`
        bool last = false; // the flight is over: the finished board goes back on the screen
    };
    // Advances one tick. Only while Running().
    Frame Step();

    int frame() const { return frame_; }
    int count() const { return count_; }
    const std::array<FlightPoint, 2>& starts() const { return start_; }
    const std::array<FlightPoint, 2>& targets() const { return target_; }
    const std::array<int, 2>& faces() const { return faces_; }

private:
    std::array<FlightPoint, 2> start_{}, target_{};
    std::array<int, 2> faces_{};
    int frame_ = 1, count_ = 0;
};

// Rounds to the nearest integer, halves to the even neighbour.
int RoundHalfEven(double v);

} // namespace tovani
