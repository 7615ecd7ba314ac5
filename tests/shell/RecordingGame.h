// A game for the window's tests: it records which of its commands the window called, and lets
// a test say what its 50 ms count does.
#pragma once

#include "play/Game.h"

#include <functional>
#include <string>
#include <vector>

namespace tovani {

class RecordingGame : public Game {
public:
    explicit RecordingGame(std::string name = "Recording") : name_(std::move(name)) {}
    std::string Name() const override { return name_; }
    void Start(const std::string& sender) override { calls.push_back("Start " + sender); }
    void Back() override { calls.push_back("Back"); }
    void Redo() override { calls.push_back("Redo"); }
    void Hint() override { calls.push_back("Hint"); }
    void Shuffle() override { calls.push_back("Shuffle"); }
    void Restart() override { calls.push_back("Restart"); }
    void GoBack() override { calls.push_back("GoBack"); }
    void CountTiles() override {
        calls.push_back("CountTiles");
        if (onCount)
            onCount();
    }
    void MouseDown(int x, int y, MouseButton) override {
        calls.push_back("MouseDown " + std::to_string(x) + "," + std::to_string(y));
    }
    void Click(int x, int y, MouseButton) override {
        calls.push_back("Click " + std::to_string(x) + "," + std::to_string(y));
    }
    bool KeyDown(int key) override {
        calls.push_back("Key " + std::to_string(key));
        return true;
    }
    void KeyUp() override { calls.push_back("KeyUp"); }
    void Tick() override { calls.push_back("Tick"); }
    void Pause() override { calls.push_back("Pause"); }
    void Resume() override { calls.push_back("Resume"); }
    void Leave() override { calls.push_back("Leave"); }
    GameResult Result() const override { return {}; }

    std::vector<std::string> calls;
    std::function<void()> onCount;

private:
    std::string name_;
};

} // namespace tovani
