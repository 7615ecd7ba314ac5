// "Lantern Festival": a bright module in G major. A kalimba carries the tune over a turning
// marimba, a plucked bass and light hand drums.
//
// Form (bars of 4/4 at 120 beats a minute, 48 bars, 1:36):
//   intro 4 | A 8 | B 8 | A 8 | B 8 | A 8 | outro 4
#include "ModPieces.h"

namespace tovani::music {

namespace {

constexpr const char* kIntro = "G:4 Em:4 C:4 D:4";
constexpr const char* kA = "G:4 Em:4 C:4 D:4 | G:4 Em:4 C:4 D:4";
constexpr const char* kB = "C:4 G:4 Am:4 D:4 | C:4 G:4 Am:4 D:4";

constexpr const char* kTune = "B5:.5 D6:.5 B5:1 G5:1 A5:1 | B5:1.5 A5:.5 G5:1 E5:1 |"
                              "G5:.5 A5:.5 G5:1 E5:1 C6:1 | A5:3 D6:1 |"
                              "B5:.5 D6:.5 E6:1 D6:1 B5:1 | G5:1.5 E5:.5 G5:1 B5:1 |"
                              "C6:1 B5:1 A5:1 G5:1 | A5:2 D6:2";
constexpr const char* kSecond = "E6:1 D6:1 C6:1 G5:1 | B5:1 A5:.5 B5:.5 D6:2 |"
                                "C6:1 A5:1 E5:1 A5:1 | F#5:2 A5:2 |"
                                "E6:1 G6:1 E6:1 C6:1 | D6:1 B5:1 G5:2 |"
                                "A5:.5 B5:.5 C6:1 E6:1 C6:1 | D6:4";

const std::vector<DrumRow> kBeat = {
    {36, "X.......x.x....."}, {62, "....x.......x..o"}, {70, "..o...o.o...o.o."}};

} // namespace

Piece ComposeLanternFestival() {
    Piece piece("Lantern Festival", 120, 4, 1, false);
    const int intro = 0, a = 4, b = 12, a2 = 20, b2 = 28, a3 = 36, outro = 44, end = 48;
    piece.SetLengthBars(end);
    Part& kalimba = piece.AddPart("Kalimba", 0, 108);
    Part& marimba = piece.AddPart("Marimba", 1, 12);
    Part& bass = piece.AddPart("Bass", 2, 32);
    Part& drums = piece.AddPart("Drums", kDrumChannel, 0);

    Drums(drums, piece.Bar(intro), piece.Bar(end), 0.25, kBeat, 92);
    const auto cIntro = piece.Chords(kIntro, intro, 4), cA = piece.Chords(kA, a, 8),
               cB = piece.Chords(kB, b, 8), cA2 = piece.Chords(kA, a2, 8),
               cB2 = piece.Chords(kB, b2, 8), cA3 = piece.Chords(kA, a3, 8),
               cOutro = piece.Chords(kIntro, outro, 4);
    for (const auto* section : {&cIntro, &cA, &cB, &cA2, &cB2, &cA3, &cOutro}) {
        BassLine(bass, *section, 36, "R:1 -:.5 R:.5 5:1 3:1", 100);
        Arpeggio(marimba, *section, 55, "0 2 1 3 2 1 3 2", 0.5, 70, 2);
    }
    piece.Melody(kalimba, a, 8, kTune, 96);
    piece.Melody(kalimba, b, 8, kSecond, 96);
    piece.Melody(kalimba, a2, 8, kTune, 100);
    piece.Melody(kalimba, b2, 8, kSecond, 100);
    piece.Melody(kalimba, a3, 8, kTune, 96);
    return piece;
}

ModSong LanternFestivalSong() {
    ModSong song;
    song.title = "Lantern Festival";
    song.samples = {MakeKalimba(), MakeMarimba(),  MakePluckBass(),
                    MakeLowDrum(), MakeHighDrum(), MakeShaker()};
    song.voices = {{"Kalimba", 1, {}, 1.0},
                   {"Marimba", 2, {}, 0.85},
                   {"Bass", 3, {}, 1.0},
                   {"Drums", 4, {{36, 4}, {62, 5}, {70, 6}}, 0.9}};
    return song;
}

} // namespace tovani::music
