// A standard MIDI file checked before the synthesiser sees it. The synthesiser takes a file
// it cannot read without complaint and then fails on it again and again while it plays, so
// a broken file must be turned away here, with a reason.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tovani {

// Empty when `bytes` is a well-formed standard MIDI file (header, every track whole, every
// event inside its track, each track closed by its end marker); else what is wrong.
std::string MidiFileProblem(std::string_view bytes);

// An instrument a piece selects: the bank and program of a program change (the bank from the
// channel's last bank select), with `drums` for the percussion channel 10.
struct MidiInstrument {
    int bank = 0;
    int program = 0;
    bool drums = false;
    bool operator==(const MidiInstrument&) const = default;
};

// The instruments a well-formed file selects, each once, in the order first met; the channels
// that play notes without selecting one use the piano or, on channel 10, the standard kit.
std::vector<MidiInstrument> MidiInstruments(std::string_view bytes);

} // namespace tovani
