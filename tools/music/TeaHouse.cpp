// "Tea House": an unhurried afternoon piece in F major. A piano tune over a koto turning
// round the chords and soft strings; a flute takes the second strain.
//
// Form (bars of 4/4 at 80 beats a minute, 40 bars, 2:00):
//   intro 4 (strings, koto) | A 8 (piano) | B 8 (flute) | A' 8 (flute, piano answering) |
//   B' 8 (piano) | outro 4, which comes to rest on C so the piece begins again
#include "Pieces.h"

namespace tovani::music {

namespace {

constexpr const char* kIntro = "F:4 Dm7:4 Bbmaj7:4 Csus4:2 C:2";
constexpr const char* kA = "F:4 Dm:4 Bb:4 C:4 | F:4 Dm:4 Bb:4 C:4";
constexpr const char* kB = "Bb:4 F:4 Gm7:4 C:4 | Bb:4 F:4 Gm7:4 C:4";
constexpr const char* kOutro = "Bbmaj7:4 F/A:4 Gm7:4 Csus4:2 C:2";

constexpr const char* kTune = "A5:1 C6:1 A5:1 G5:1 | F5:2 D5:2 | D5:1 F5:1 G5:1 A5:1 | G5:4 |"
                              "A5:1 C6:1 D6:1 C6:1 | A5:2 F5:2 | G5:1 A5:1 Bb5:1 G5:1 | C6:4";
constexpr const char* kSecond = "D6:2 C6:1 Bb5:1 | A5:2 F5:2 | G5:1 Bb5:1 D6:1 C6:1 | C6:4 |"
                                "D6:1 F6:1 D6:1 C6:1 | A5:3 C6:1 | Bb5:1 A5:1 G5:1 F5:1 |"
                                "E5:2 G5:2";
constexpr const char* kAnswer = "r:4 | A4:2 F4:2 | r:4 | E4:2 G4:2 | r:4 | C5:2 A4:2 | r:4 |"
                                "G4:2 E4:2";
constexpr const char* kFarewell = "D5:2 C5:2 | C5:4 | Bb4:2 A4:2 | G4:4";

} // namespace

Piece ComposeTeaHouse() {
    Piece piece("Tea House", 80, 4, -1, false);
    const int intro = 0, a = 4, b = 12, a2 = 20, b2 = 28, outro = 36, end = 40;
    piece.SetLengthBars(end);

    Part& piano = piece.AddPart("Piano", 0, 0);
    piano.volume = 120, piano.pan = 56, piano.reverb = 80;
    Part& koto = piece.AddPart("Koto", 1, 107);
    koto.volume = 106, koto.pan = 84, koto.reverb = 80;
    Part& strings = piece.AddPart("Strings", 2, 49);
    strings.volume = 92, strings.pan = 64, strings.reverb = 100, strings.chorus = 30;
    Part& flute = piece.AddPart("Flute", 3, 73);
    flute.volume = 110, flute.pan = 44, flute.reverb = 90, flute.legato = 0.95;

    const auto cIntro = piece.Chords(kIntro, intro, 4), cA = piece.Chords(kA, a, 8),
               cB = piece.Chords(kB, b, 8), cA2 = piece.Chords(kA, a2, 8),
               cB2 = piece.Chords(kB, b2, 8), cOutro = piece.Chords(kOutro, outro, 4);
    for (const auto* section : {&cIntro, &cA, &cB, &cA2, &cB2, &cOutro}) {
        Pad(strings, *section, 53, 70, 3, 40);
        Arpeggio(koto, *section, 48, "0 2 3 2 4 3 2 1", 0.5, 52, 3);
    }
    strings.Swell(piece.Bar(intro), piece.Bar(4), 70, 105);
    piece.Melody(piano, a, 8, kTune, 78);
    piece.Melody(flute, b, 8, kSecond, 72);
    piece.Melody(flute, a2, 8, kTune, 72, -12);
    piece.Melody(piano, a2, 8, kAnswer, 60);
    piece.Melody(piano, b2, 8, kSecond, 76);
    piece.Melody(piano, outro, 4, kFarewell, 64);
    strings.Swell(piece.Bar(outro), piece.Bar(4), 105, 80);
    return piece;
}

} // namespace tovani::music
