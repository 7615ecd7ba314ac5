// Four-channel modules ("M.K." kind): instruments synthesised here as 8-bit samples, and a
// piece of the composer's toolkit (Score.h) written out as patterns.
//
// Each of the four channels carries one part of the piece and one instrument; a channel
// sounds one note at a time, so a part meant for a module is a single line (a melody, a bass,
// a broken chord, a drum line whose notes pick one of several drum samples).
#pragma once

#include "Score.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tovani::music {

// The rate every sample is made at: the note "C-3" (period 214) plays it at its own pitch.
constexpr int kSampleRate = 16574;

struct ModSample {
    std::string name;
    std::vector<int8_t> data; // an even number of bytes
    int volume = 64;          // 0..64
    int loopStart = 0;        // bytes; a loop of 2 bytes or fewer means none
    int loopLength = 0;
    int basePitch = 72; // the MIDI note the sample sounds when played at "C-3"
};

// Synthesised instruments. Each starts from silence and ends in silence (or loops whole
// cycles), so no note clicks.
ModSample MakeMarimba();
ModSample MakeKalimba(int basePitch = 84);
ModSample MakePluckBass();
ModSample MakeBell();
ModSample MakeFlute(); // a soft, breathy tone with a loop, held until the note ends
ModSample MakeLowDrum();
ModSample MakeHighDrum();
ModSample MakeShaker();

// How one part of a piece goes to a channel. A drum part gives each note number its sample.
struct ModVoice {
    std::string part;                       // the part's name in the piece
    int sample = 0;                         // 1-based sample number
    std::vector<std::pair<int, int>> drums; // note number -> sample number, for drum parts
    double gain = 1.0;                      // on the notes' volumes
};

struct ModSong {
    std::string title;
    std::vector<ModSample> samples; // up to 31
    std::vector<ModVoice> voices;   // exactly 4
    // On every note's volume: brings the module to the loudness of the MIDI pieces, which
    // the General MIDI synthesiser plays well below full scale.
    double gain = 0.42;
};

// The module bytes of `piece`: 4 rows a beat at speed 6, the tempo set to the piece's, one
// pattern every 16 beats, and a jump back to the start on the last row. The piece must last a
// whole number of patterns.
std::vector<uint8_t> WriteMod(const Piece& piece, const ModSong& song);

} // namespace tovani::music
