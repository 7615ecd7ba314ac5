// The sound effects: every game plays its wave sounds ("select", "done", "noway") through
// PlayWave and nothing else, so the player's "Play sound effects" option is kept in one place.
//
// The sound output plays them (SetWaveOutput); a listener hears the same names (tests).
#pragma once

#include <functional>
#include <string_view>

namespace tovani {

// The three wave sounds of the board games.
inline constexpr std::string_view kWaveSelect = "select";
inline constexpr std::string_view kWaveDone = "done";
inline constexpr std::string_view kWaveNoWay = "noway";

// Plays a wave sound by name. Nothing is played while the gate says no ("Play sound effects"
// is off). Answers whether the sound was played (by the output, when there is one).
bool PlayWave(std::string_view name);

// Whether sound effects may play now; asked at every PlayWave. Without a gate they always may.
void SetWaveGate(std::function<bool()> gate);

// Hears every wave that is played (after the gate), in order. An empty function stops it.
void SetWaveListener(std::function<void(std::string_view)> listener);

// Where the sounds are played: the sound card's output, answering whether it could play the
// sound. Without one they are silent.
void SetWaveOutput(std::function<bool(std::string_view)> output);

} // namespace tovani
