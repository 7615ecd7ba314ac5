// "Jade Garden": a slow module for quiet games. A bell sings in D major pentatonic, a breathy
// flute answers, a plucked bass and a soft marimba keep the ground.
//
// Form (bars of 4/4 at 84 beats a minute, 32 bars, 1:31):
//   intro 4 (marimba, bass) | A 8 (bell) | B 8 (flute) | A' 8 (bell over the flute) | outro 4
#include "ModPieces.h"

namespace tovani::music {

namespace {

constexpr const char* kIntro = "D:4 Bm:4 G:4 A:4";
constexpr const char* kA = "D:4 Bm:4 G:4 A:4 | D:4 Bm:4 G:4 A:4";
constexpr const char* kB = "G:4 D:4 Em:4 A:4 | G:4 D:4 Em:4 A:4";

constexpr const char* kBellTune = "F#5:1 A5:1 B5:2 | D6:1 B5:1 A5:2 | E5:1 F#5:1 A5:1 B5:1 |"
                                  "A5:4 | F#5:1 A5:1 B5:2 | D6:1 E6:1 F#6:2 |"
                                  "E6:1 D6:1 B5:1 A5:1 | A5:4";
constexpr const char* kFluteSong = "B4:2 D5:2 | A4:3 F#4:1 | G4:2 B4:2 | A4:4 |"
                                   "B4:1.5 A4:.5 B4:1 D5:1 | F#5:3 E5:1 | D5:2 B4:2 |"
                                   "C#5:2 E5:2";
constexpr const char* kFluteBelow = "D5:4 | D5:4 | B4:4 | C#5:4 | D5:4 | D5:4 | B4:2 D5:2 | "
                                    "E5:4";

} // namespace

Piece ComposeJadeGarden() {
    Piece piece("Jade Garden", 84, 4, 2, false);
    const int intro = 0, a = 4, b = 12, a2 = 20, outro = 28, end = 32;
    piece.SetLengthBars(end);
    Part& bell = piece.AddPart("Bell", 0, 14);
    Part& flute = piece.AddPart("Flute", 1, 73);
    flute.legato = 0.9;
    Part& bass = piece.AddPart("Bass", 2, 32);
    Part& marimba = piece.AddPart("Marimba", 3, 12);

    const auto cIntro = piece.Chords(kIntro, intro, 4), cA = piece.Chords(kA, a, 8),
               cB = piece.Chords(kB, b, 8), cA2 = piece.Chords(kA, a2, 8),
               cOutro = piece.Chords(kIntro, outro, 4);
    for (const auto* section : {&cIntro, &cA, &cB, &cA2, &cOutro}) {
        BassLine(bass, *section, 38, "R:2 5:1.5 8:.5", 96);
        Arpeggio(marimba, *section, 62, "0 2 1 2", 1, 64, 2);
    }
    piece.Melody(bell, a, 8, kBellTune, 100);
    piece.Melody(flute, b, 8, kFluteSong, 100);
    piece.Melody(flute, a2, 8, kFluteBelow, 80);
    piece.Melody(bell, a2, 8, kBellTune, 96);
    piece.Melody(bell, outro, 4, "D6:2 B5:2 | A5:4 | F#5:2 E5:2 | E5:4", 80);
    return piece;
}

ModSong JadeGardenSong() {
    ModSong song;
    song.title = "Jade Garden";
    song.samples = {MakeBell(), MakeFlute(), MakePluckBass(), MakeMarimba()};
    song.voices = {
        {"Bell", 1, {}, 1.0}, {"Flute", 2, {}, 1.0}, {"Bass", 3, {}, 1.0}, {"Marimba", 4, {}, 0.9}};
    return song;
}

} // namespace tovani::music
