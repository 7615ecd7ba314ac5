// The MOD music player: the nine operations the window needs of a module player, on the
// mixer's own module support.
//
// A player is made from a parameter string of "name|value" pairs ("loop|true" repeats a piece
// without end; the colours name the level meter's). It plays one module at a time on the
// shared AudioOutput. The position is a clock of our own in milliseconds, counted from the
// frames the mixer has played: it grows while the piece plays, stands still while it is
// stopped, and drops back when the piece comes round to its start again.
#pragma once

#include "audio/AudioOutput.h"

#include <cstdint>
#include <map>
#include <string>

namespace tovani {

class ModPlugPlayer {
public:
    explicit ModPlugPlayer(AudioOutput& output) : output_(output) {}

    // A new player; 0 when there is no sound card to play on.
    int32_t ModPlug_CreateEx(const std::string& parameters);
    // The window that shows the player's level meter (it reads the output's peaks).
    void ModPlug_SetWindow(int32_t handle, void* window);
    void ModPlug_Destroy(int32_t handle);
    // Loads a module, stopped at its start; false when the file is no module we can play.
    bool ModPlug_Load(int32_t handle, const std::string& path);
    // Starts the piece from its position, or goes on where ModPlug_Stop left it.
    void ModPlug_Play(int32_t handle);
    void ModPlug_Stop(int32_t handle);
    bool ModPlug_IsPlaying(int32_t handle) const;
    void ModPlug_SetCurrentPosition(int32_t handle, int32_t position);
    int32_t ModPlug_GetCurrentPosition(int32_t handle) const;

private:
    bool Valid(int32_t handle) const { return handle != 0 && handle == handle_; }
    // The output still holds the module this player loaded (not a MIDI piece since).
    bool Mine() const { return loaded_ && output_.MusicId() == musicId_; }

    AudioOutput& output_;
    int32_t handle_ = 0;
    int32_t nextHandle_ = 1;
    std::map<std::string, std::string> parameters_;
    void* window_ = nullptr;
    bool loaded_ = false;
    uint64_t musicId_ = 0;
    int64_t durationMs_ = -1; // one pass through the loaded piece
    int64_t startAtMs_ = 0;   // where ModPlug_Play starts a piece not yet started
};

} // namespace tovani
