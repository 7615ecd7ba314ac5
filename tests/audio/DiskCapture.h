// The sound card replaced by SDL's disk driver: what the program plays is written to a file
// that the tests read back and measure. With `fast` the driver writes as fast as the mixer
// can fill it (modules and effects); MIDI needs the real pace, since the synthesiser's
// sequencer follows the wall clock.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tovani::testing {

// Points the disk driver at a new file; call before the output opens.
std::string UseDiskDriver(const std::string& name, bool fast);

struct Capture {
    std::vector<int16_t> samples; // interleaved left, right
    size_t Frames() const { return samples.size() / 2; }
    double PeakDb(size_t fromFrame = 0, size_t toFrame = SIZE_MAX) const;
    double RmsDb(size_t fromFrame = 0, size_t toFrame = SIZE_MAX) const;
    // The first frame louder than `level` (0..32767), or Frames() when there is none.
    size_t FirstAbove(int level) const;
};

// How much the file holds now: sound written after this point is what a call made now gives.
std::uintmax_t Mark(const std::string& file);

// Waits (at most `timeoutMs`) until the file holds `seconds` of sound after byte `from` and
// returns that much. `poll`, when set, runs between the looks.
Capture WaitForSound(const std::string& file, double seconds, std::uintmax_t from = 0,
                     int timeoutMs = 20000, void (*poll)(void*) = nullptr, void* context = nullptr);

// The bytes of a MIDI file of one held piano note (middle C) lasting `beats` half-second beats.
std::string OneNoteMidiBytes(int beats);
// The same written to a file of the system's temporary folder, under a name of the test's
// own; returns its path.
std::string OneNoteMidi(const std::string& name, int beats);

} // namespace tovani::testing
