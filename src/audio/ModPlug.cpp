#include "audio/ModPlug.h"

#include "audio/ModLength.h"

#include <fstream>
#include <iterator>

namespace tovani {

int32_t ModPlugPlayer::ModPlug_CreateEx(const std::string& parameters) {
    if (!output_.IsOpen())
        return 0;
    parameters_.clear();
    // "name|value|name|value...": an odd name at the end gets no value.
    size_t start = 0;
    std::string name;
    bool isName = true;
    while (start <= parameters.size()) {
        size_t end = parameters.find('|', start);
        if (end == std::string::npos)
            end = parameters.size();
        std::string part = parameters.substr(start, end - start);
        if (isName)
            name = part;
        else
            parameters_[name] = part;
        isName = !isName;
        start = end + 1;
    }
    handle_ = nextHandle_++;
    loaded_ = false;
    return handle_;
}

void ModPlugPlayer::ModPlug_SetWindow(int32_t handle, void* window) {
    if (Valid(handle))
        window_ = window;
}

void ModPlugPlayer::ModPlug_Destroy(int32_t handle) {
    if (!Valid(handle))
        return;
    if (Mine())
        output_.StopMusic();
    loaded_ = false;
    window_ = nullptr;
    handle_ = 0;
}

bool ModPlugPlayer::ModPlug_Load(int32_t handle, const std::string& path) {
    if (!Valid(handle))
        return false;
    loaded_ = false;
    durationMs_ = -1;
    startAtMs_ = 0;
    std::ifstream file(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    durationMs_ = ModDurationMs(bytes);
    if (!output_.LoadMusic(path))
        return false;
    loaded_ = true;
    musicId_ = output_.MusicId();
    return true;
}

void ModPlugPlayer::ModPlug_Play(int32_t handle) {
    if (!Valid(handle) || !Mine())
        return;
    if (output_.MusicStarted()) {
        output_.ResumeMusic();
        return;
    }
    const auto loop = parameters_.find("loop");
    const bool loops = loop != parameters_.end() && loop->second == "true";
    if (!output_.StartMusic(loops ? -1 : 1))
        return;
    if (startAtMs_ > 0)
        output_.SeekMusic(double(startAtMs_) / 1000.0);
    startAtMs_ = 0;
}

void ModPlugPlayer::ModPlug_Stop(int32_t handle) {
    if (Valid(handle) && Mine())
        output_.PauseMusic();
}

bool ModPlugPlayer::ModPlug_IsPlaying(int32_t handle) const {
    return Valid(handle) && Mine() && output_.MusicPlaying();
}

void ModPlugPlayer::ModPlug_SetCurrentPosition(int32_t handle, int32_t position) {
    if (!Valid(handle) || !Mine())
        return;
    if (position <= 0) {
        // Back to the start: the next ModPlug_Play begins the piece afresh.
        output_.HaltMusic();
        startAtMs_ = 0;
        return;
    }
    if (output_.MusicStarted())
        output_.SeekMusic(double(position) / 1000.0);
    else
        startAtMs_ = position;
}

int32_t ModPlugPlayer::ModPlug_GetCurrentPosition(int32_t handle) const {
    if (!Valid(handle) || !Mine())
        return 0;
    int64_t ms = output_.MusicStarted() ? output_.MusicMilliseconds() : startAtMs_;
    if (durationMs_ > 0)
        ms %= durationMs_;
    return static_cast<int32_t>(ms);
}

} // namespace tovani
