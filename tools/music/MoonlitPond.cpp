// "Moonlit Pond": a slow waltz for late games. A music box sings over harp and slow strings in
// F major; a flute takes the middle; the closing bars rest on C so the waltz begins again.
//
// Form (bars of 3/4 at 60 beats a minute, 48 bars, 2:24):
//   intro 4 | A 8 (music box) | A' 8 | B 8 (flute) | B' 8 (flute, celesta) | A' 8 (music box,
//   flute below) | turn-around 4
#include "Pieces.h"

namespace tovani::music {

namespace {

constexpr const char* kIntro = "Fmaj7:3 Dm7:3 Bbmaj7:3 Csus4:3";
constexpr const char* kA = "F:3 Am7:3 Bbmaj7:3 F:3 | Dm7:3 Gm7:3 Csus4:3 C:3";
constexpr const char* kA2 = "F:3 Am7:3 Bbmaj7:3 F:3 | Dm7:3 Gm7:3 C:3 F:3";
constexpr const char* kB = "Dm7:3 Am7:3 Bbmaj7:3 F:3 | Gm7:3 Dm7:3 Bbmaj7:3 Csus4:3";
constexpr const char* kB2 = "Dm7:3 Am7:3 Bbmaj7:3 F/A:3 | Gm7:3 Am7:3 Bbmaj7:3 C:3";
constexpr const char* kOutro = "Bbmaj7:3 F/A:3 Gm7:3 Csus4:3";

constexpr const char* kTune = "A5:2 G5:1 | E5:2 C5:1 | D5:1.5 F5:.5 G5:1 | A5:3 |"
                              "C6:2 A5:1 | G5:1 F5:1 D5:1 | F5:2 G5:1 | G5:3";
constexpr const char* kTuneAnswer = "A5:2 G5:1 | E5:2 C5:1 | D5:1.5 F5:.5 A5:1 | C6:3 |"
                                    "D6:2 C6:1 | A5:1 G5:1 F5:1 | G5:2 E5:1 | F5:3";
constexpr const char* kSong = "D5:2 C5:1 | A4:3 | F4:1 G4:1 A4:1 | C5:3 |"
                              "Bb4:2 A4:1 | F4:3 | G4:1 A4:1 D5:1 | C5:3";
constexpr const char* kSongHigh = "F5:2 D5:1 | E5:3 | D5:1 C5:1 A4:1 | C5:3 |"
                                  "D5:2 Bb4:1 | C5:2 A4:1 | Bb4:1 A4:1 G4:1 | G4:3";
constexpr const char* kBelow = "F5:3 | E5:3 | D5:3 | C5:3 | F5:3 | D5:3 | E5:3 | C5:3";
constexpr const char* kFarewell = "D6:2 C6:1 | A5:3 | G5:2 F5:1 | G5:3";

} // namespace

Piece ComposeMoonlitPond() {
    Piece piece("Moonlit Pond", 60, 3, -1, false);
    const int intro = 0, a = 4, a2 = 12, b = 20, b2 = 28, a3 = 36, outro = 44, end = 48;
    piece.SetLengthBars(end);

    Part& box = piece.AddPart("Music box", 0, 10);
    box.volume = 96, box.pan = 52, box.reverb = 96;
    Part& harp = piece.AddPart("Harp", 1, 46);
    harp.volume = 92, harp.pan = 84, harp.reverb = 84;
    Part& strings = piece.AddPart("Slow strings", 2, 49);
    strings.volume = 80, strings.pan = 60, strings.reverb = 100, strings.chorus = 30;
    Part& flute = piece.AddPart("Flute", 3, 73);
    flute.volume = 88, flute.pan = 44, flute.reverb = 96, flute.legato = 0.96;
    Part& celesta = piece.AddPart("Celesta", 4, 8);
    celesta.volume = 76, celesta.pan = 90, celesta.reverb = 100;

    const auto cIntro = piece.Chords(kIntro, intro, 4), cA = piece.Chords(kA, a, 8),
               cA2 = piece.Chords(kA2, a2, 8), cB = piece.Chords(kB, b, 8),
               cB2 = piece.Chords(kB2, b2, 8), cA3 = piece.Chords(kA2, a3, 8),
               cOutro = piece.Chords(kOutro, outro, 4);

    for (const auto* section : {&cIntro, &cA, &cA2, &cB, &cB2, &cA3, &cOutro})
        Pad(strings, *section, 53, 72, 3, 40);
    strings.Swell(piece.Bar(intro), piece.Bar(4), 80, 110);
    strings.Swell(piece.Bar(outro), piece.Bar(4), 110, 80);

    // The harp rocks in quavers: low note, then up the chord and back.
    const char* waltz = "0 2 3 4 3 2";
    for (const auto* section : {&cIntro, &cA, &cA2, &cB2, &cA3, &cOutro})
        Arpeggio(harp, *section, 41, waltz, 0.5, 50, 6);
    Arpeggio(harp, cB, 41, "0 3 4", 1, 46, 3);

    piece.Melody(box, a, 8, kTune, 80);
    piece.Melody(box, a2, 8, kTuneAnswer, 82);
    piece.Melody(flute, b, 8, kSong, 66);
    Arpeggio(celesta, cB, 65, "- - - 3 - 4", 0.5, 40, 2);
    piece.Melody(flute, b2, 8, kSongHigh, 68);
    Arpeggio(celesta, cB2, 65, "- - 3 - 4 -", 0.5, 42, 2);
    piece.Melody(box, a3, 8, kTuneAnswer, 80);
    piece.Melody(flute, a3, 8, kBelow, 50);
    piece.Melody(box, outro, 4, kFarewell, 70);
    return piece;
}

} // namespace tovani::music
