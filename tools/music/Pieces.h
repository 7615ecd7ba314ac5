// The pieces of the Music menu, each composed in code with the toolkit of Score.h.
#pragma once

#include "Score.h"

#include <functional>
#include <string>
#include <vector>

namespace tovani::music {

// "Endless": the calm default piece. D major pentatonic, koto, piano, warm pad, shakuhachi.
Piece ComposeEndless();
// "Moonlit Pond": a slow, dreamy waltz. F major, music box, harp, strings, celesta.
Piece ComposeMoonlitPond();
// "Bamboo Rain": light and flowing. A minor pentatonic, kalimba, pan flute, marimba, pizzicato
// strings and soft hand percussion.
Piece ComposeBambooRain();
// "Mountain Path": stately and wide. E minor pentatonic, shamisen, strings, horn, flute and
// taiko.
Piece ComposeMountainPath();

// "Tea House": unhurried. F major, piano, koto, strings and flute.
Piece ComposeTeaHouse();

struct ModSong;

struct PieceEntry {
    std::string fileName; // "Endless.mid", "Congo Nights.mod"
    std::function<Piece()> compose;
    // For a module: its samples and channels; empty for a MIDI piece.
    std::function<ModSong()> song;
};
const std::vector<PieceEntry>& AllPieces();

} // namespace tovani::music
