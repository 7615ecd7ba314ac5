// "Bamboo Rain": light and moving, for quick games. A kalimba patters in A minor pentatonic
// under a pan flute; a marimba answers; soft hand percussion keeps it walking. The last bars
// hang on E so the rain starts over.
//
// Form (bars of 4/4 at 100 beats a minute, 56 bars, 2:14):
//   intro 4 | A 8 (pan flute) | B 8 (marimba) | A 8 | C 8 (long flute notes, drums) |
//   B 8 | A 8 | turn-around 4
#include "Pieces.h"

namespace tovani::music {

namespace {

constexpr const char* kIntro = "Am7:4 Fadd9:4 G:4 Em7:4";
constexpr const char* kA = "Am7:4 Fadd9:4 G:4 Am7:4 | Dm7:4 Fadd9:4 G:2 Esus4:2 Am7:4";
constexpr const char* kB = "Fadd9:4 G:4 Em7:4 Am7:4 | Fadd9:4 G:4 Dm7:4 Esus4:4";
constexpr const char* kC = "Am7:4 G:4 Fadd9:4 G:4 | Am7:4 G:4 Fadd9:4 Esus4:4";
constexpr const char* kOutro = "Fadd9:4 G:4 Dm7:4 Esus4:4";

constexpr const char* kTune = "E5:1 G5:.5 A5:.5 G5:1 E5:1 | D5:1.5 C5:.5 A4:2 |"
                              "D5:1 E5:.5 G5:.5 E5:1 D5:1 | E5:3 r:1 |"
                              "A5:1 G5:.5 E5:.5 D5:1 C5:1 | C5:1.5 D5:.5 E5:2 |"
                              "D5:1 C5:1 B4:1 E5:1 | A4:2 r:2";
constexpr const char* kAnswer = "A4:.5 C5:.5 D5:.5 E5:.5 G5:1 E5:1 | D5:.5 E5:.5 D5:.5 B4:.5 G4:2 |"
                                "E4:.5 G4:.5 A4:.5 B4:.5 D5:1 B4:1 | A4:.5 C5:.5 E5:.5 A5:.5 E5:2 |"
                                "A4:.5 C5:.5 D5:.5 E5:.5 G5:1 A5:1 | G5:.5 E5:.5 D5:.5 B4:.5 D5:2 |"
                                "A4:.5 C5:.5 D5:.5 F5:.5 E5:1 D5:1 | B4:1 E5:1 B4:2";
constexpr const char* kLongTones = "A5:4 | G5:4 | F5:4 | G5:4 | E5:4 | D5:4 | C5:4 | B4:4";
// The same long breath, lower, under the marimba's second turn.
constexpr const char* kLowTones = "C5:4 | B4:4 | G4:4 | A4:4 | A4:4 | B4:4 | F4:4 | E4:4";
constexpr const char* kFarewell = "A4:2 C5:2 | D5:4 | F5:2 E5:1 D5:1 | E5:4";

// General MIDI percussion keys.
constexpr int kLowConga = 64, kOpenHighConga = 63, kMaracas = 70, kLowWoodBlock = 77;

} // namespace

Piece ComposeBambooRain() {
    Piece piece("Bamboo Rain", 100, 4, 0, true);
    const int intro = 0, a = 4, b = 12, a2 = 20, c = 28, b2 = 36, a3 = 44, outro = 52, end = 56;
    piece.SetLengthBars(end);

    Part& flute = piece.AddPart("Pan flute", 0, 75);
    flute.volume = 96, flute.pan = 50, flute.reverb = 80, flute.legato = 0.9;
    Part& kalimba = piece.AddPart("Kalimba", 1, 108);
    kalimba.volume = 90, kalimba.pan = 78, kalimba.reverb = 60;
    Part& marimba = piece.AddPart("Marimba", 2, 12);
    marimba.volume = 94, marimba.pan = 40, marimba.reverb = 64;
    Part& pizz = piece.AddPart("Pizzicato", 3, 45);
    pizz.volume = 92, pizz.pan = 64, pizz.reverb = 50;
    Part& strings = piece.AddPart("Strings", 4, 49);
    strings.volume = 70, strings.pan = 64, strings.reverb = 96;
    Part& drums = piece.AddPart("Hand drums", kDrumChannel, 0);
    drums.volume = 84, drums.pan = 64, drums.reverb = 40;

    const auto cIntro = piece.Chords(kIntro, intro, 4), cA = piece.Chords(kA, a, 8),
               cB = piece.Chords(kB, b, 8), cA2 = piece.Chords(kA, a2, 8),
               cC = piece.Chords(kC, c, 8), cB2 = piece.Chords(kB, b2, 8),
               cA3 = piece.Chords(kA, a3, 8), cOutro = piece.Chords(kOutro, outro, 4);

    // The kalimba never stops: the rain itself.
    const char* patter = "0 2 4 2 3 2 4 2";
    for (const auto* section : {&cIntro, &cA, &cB, &cA2, &cC, &cB2, &cA3, &cOutro})
        Arpeggio(kalimba, *section, 57, patter, 0.5, 54, 2);
    for (const auto* section : {&cA, &cB, &cA2, &cC, &cB2, &cA3})
        BassLine(pizz, *section, 45, "R:1 R:.5 5:.5 8:1 5:1", 60);
    for (const auto* section : {&cIntro, &cOutro})
        BassLine(pizz, *section, 45, "R:2 5:2", 54);
    for (const auto* section : {&cB, &cC, &cB2})
        Pad(strings, *section, 55, 72, 3, 36);

    // Percussion: maracas alone at the ends (where the loop joins), the full groove inside.
    const std::vector<DrumRow> maracas = {{kMaracas, "oxoxoxoxoxoxoxox"}};
    const std::vector<DrumRow> groove = {{kMaracas, "oxoxoxoxoxoxoxox"},
                                         {kLowConga, "x.....x...x....."},
                                         {kOpenHighConga, "....x.......x..x"},
                                         {kLowWoodBlock, "..o.....o...o..."}};
    Drums(drums, piece.Bar(intro), piece.Bar(4), 0.25, maracas, 40);
    Drums(drums, piece.Bar(a), piece.Bar(outro - a), 0.25, groove, 46);
    Drums(drums, piece.Bar(outro), piece.Bar(4), 0.25, maracas, 40);

    piece.Melody(flute, a, 8, kTune, 78);
    piece.Melody(marimba, b, 8, kAnswer, 74);
    piece.Melody(flute, a2, 8, kTune, 80);
    Arpeggio(marimba, cA2, 57, "- - - - 4 - 3 -", 0.5, 52, 1);
    piece.Melody(flute, c, 8, kLongTones, 70);
    Arpeggio(marimba, cC, 57, "0 - 2 3 - 4 3 -", 0.5, 58, 1);
    piece.Melody(marimba, b2, 8, kAnswer, 76);
    piece.Melody(flute, b2, 8, kLowTones, 56);
    piece.Melody(flute, a3, 8, kTune, 80);
    piece.Melody(flute, outro, 4, kFarewell, 66);
    return piece;
}

} // namespace tovani::music
