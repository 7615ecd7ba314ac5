// A standard MIDI file checked before the synthesiser sees it. The synthesiser takes a file
// it cannot read without complaint and then fails on it again and again while it plays, so
// a broken file must be turned away here, with a reason.
#pragma once

#include <string>
#include <string_view>

namespace tovani {

// Empty when `bytes` is a well-formed standard MIDI file (header, every track whole, every
// event inside its track, each track closed by its end marker); else what is wrong.
std::string MidiFileProblem(std::string_view bytes);

} // namespace tovani
