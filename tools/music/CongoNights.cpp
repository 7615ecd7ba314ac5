// "Congo Nights": a warm night groove for modules. Hand drums and a shaker, a plucked bass,
// a marimba turning round the chords and a kalimba singing over them, in A minor.
//
// Form (bars of 4/4 at 112 beats a minute, 48 bars, 1:43):
//   intro 4 (drums, bass) | A 8 (marimba) | A' 8 (kalimba tune) | B 8 (kalimba) |
//   A'' 8 (kalimba tune) | C 8 (marimba alone over the drums) | outro 4
#include "ModPieces.h"

namespace tovani::music {

namespace {

constexpr const char* kA = "Am:4 F:4 C:4 G:4 | Am:4 F:4 C:4 G:4";
constexpr const char* kB = "Dm:4 Am:4 F:4 Em:4 | Dm:4 Am:4 F:4 G:4";
constexpr const char* kIntro = "Am:4 F:4 C:4 G:4";

constexpr const char* kTune = "A5:1 C6:.5 A5:.5 G5:1 E5:1 | F5:1.5 A5:.5 C6:2 |"
                              "E6:1 D6:.5 C6:.5 G5:1 E5:1 | D5:1.5 E5:.5 G5:2 |"
                              "A5:1 C6:.5 D6:.5 E6:1 D6:1 | C6:1.5 A5:.5 F5:2 |"
                              "G5:1 E5:.5 G5:.5 C6:1 B5:1 | G5:1 D5:1 E5:2";
constexpr const char* kBridge = "F5:1 A5:1 D6:1.5 C6:.5 | C6:1 A5:1 E5:2 |"
                                "F5:.5 G5:.5 A5:1 C6:1 A5:1 | G5:1 E5:1 B5:2 |"
                                "D6:1 F6:.5 E6:.5 D6:1 A5:1 | C6:1.5 B5:.5 A5:2 |"
                                "A5:1 C6:1 F6:1 E6:1 | D6:2 B5:2";

// Low drum, high drum and shaker never fall on the same step: a channel sounds one at a time.
const std::vector<DrumRow> kGroove = {
    {36, "X.....x...X....."}, {62, "...o.x.o....x.o."}, {70, ".o..o...oo.o...."}};
const std::vector<DrumRow> kLight = {{36, "X.........x....."}, {70, "..o.o.o...o.o.o."}};

} // namespace

Piece ComposeCongoNights() {
    Piece piece("Congo Nights", 112, 4, 0, true);
    const int intro = 0, a = 4, a2 = 12, b = 20, a3 = 28, c = 36, outro = 44, end = 48;
    piece.SetLengthBars(end);
    Part& drums = piece.AddPart("Drums", kDrumChannel, 0);
    Part& bass = piece.AddPart("Bass", 1, 32);
    Part& marimba = piece.AddPart("Marimba", 2, 12);
    Part& kalimba = piece.AddPart("Kalimba", 3, 108);

    Drums(drums, piece.Bar(intro), piece.Bar(c - intro), 0.25, kGroove, 96);
    Drums(drums, piece.Bar(c), piece.Bar(outro - c), 0.25, kLight, 88);
    Drums(drums, piece.Bar(outro), piece.Bar(end - outro), 0.25, kGroove, 90);

    const auto cIntro = piece.Chords(kIntro, intro, 4), cA = piece.Chords(kA, a, 8),
               cA2 = piece.Chords(kA, a2, 8), cB = piece.Chords(kB, b, 8),
               cA3 = piece.Chords(kA, a3, 8), cC = piece.Chords(kB, c, 8),
               cOutro = piece.Chords(kIntro, outro, 4);
    for (const auto* section : {&cIntro, &cA, &cA2, &cB, &cA3, &cC, &cOutro})
        BassLine(bass, *section, 33, "R:1.5 R:.5 5:1 8:1", 100);
    Arpeggio(marimba, cA, 57, "0 1 2 3 2 1 2 -", 0.5, 84, 2);
    for (const auto* section : {&cA2, &cB, &cA3})
        Arpeggio(marimba, *section, 57, "0 - 2 1 - 3 2 -", 0.5, 66, 2);
    Arpeggio(marimba, cC, 57, "0 1 2 3 4 3 2 1", 0.5, 84, 2);
    Arpeggio(marimba, cOutro, 57, "0 - 2 - 3 - 2 -", 0.5, 70, 2);

    piece.Melody(kalimba, a2, 8, kTune, 96);
    piece.Melody(kalimba, b, 8, kBridge, 96);
    piece.Melody(kalimba, a3, 8, kTune, 100);
    return piece;
}

ModSong CongoNightsSong() {
    ModSong song;
    song.title = "Congo Nights";
    song.samples = {MakeLowDrum(),   MakeHighDrum(), MakeShaker(),
                    MakePluckBass(), MakeMarimba(),  MakeKalimba()};
    song.voices = {{"Drums", 1, {{36, 1}, {62, 2}, {70, 3}}, 1.0},
                   {"Bass", 4, {}, 1.0},
                   {"Marimba", 5, {}, 0.9},
                   {"Kalimba", 6, {}, 1.0}};
    return song;
}

} // namespace tovani::music
