#include "audio/Sounds.h"

#include <utility>

namespace tovani {

namespace {

// Sounds are asked for on the interface thread only, so these need no lock.
std::function<bool()>& Gate() {
    static std::function<bool()> gate;
    return gate;
}

std::function<void(std::string_view)>& Listener() {
    static std::function<void(std::string_view)> listener;
    return listener;
}

std::function<bool(std::string_view)>& Output() {
    static std::function<bool(std::string_view)> output;
    return output;
}

} // namespace

bool PlayWave(std::string_view name) {
    if (name.empty())
        return false;
    if (Gate() && !Gate()())
        return false;
    if (Listener())
        Listener()(name);
    if (Output())
        return Output()(name);
    return true;
}

void SetWaveGate(std::function<bool()> gate) {
    Gate() = std::move(gate);
}

void SetWaveListener(std::function<void(std::string_view)> listener) {
    Listener() = std::move(listener);
}

} // namespace tovani

namespace tovani {

void SetWaveOutput(std::function<bool(std::string_view)> output) {
    Output() = std::move(output);
}

} // namespace tovani
