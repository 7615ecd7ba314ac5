// The pieces written as modules: each composed with the toolkit of Score.h for four single
// lines, and the samples its four channels play.
#pragma once

#include "ModFile.h"

namespace tovani::music {

Piece ComposeCongoNights();
ModSong CongoNightsSong();
// "Jade Garden": slow and still. D major pentatonic, bell, breathy flute, plucked bass and a
// soft marimba.
Piece ComposeJadeGarden();
ModSong JadeGardenSong();
// "Lantern Festival": bright and busy. G major, kalimba tune, marimba, bass and hand drums.
Piece ComposeLanternFestival();
ModSong LanternFestivalSong();

} // namespace tovani::music
