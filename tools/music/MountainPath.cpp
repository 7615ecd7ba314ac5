// "Mountain Path": a broad walking tune for long Solitaire sessions. A shamisen keeps the pace
// in E minor pentatonic, a flute sings, a horn takes the middle, taiko marks the steps. The
// closing bars lean on D so the path climbs back to E minor.
//
// Form (bars of 4/4 at 84 beats a minute, 48 bars, 2:17):
//   intro 4 | A 8 (flute) | A' 8 (flute, cadence on G) | B 8 (horn) | B' 8 (horn, flute
//   echoes) | A 8 (strings and flute) | turn-around 4
#include "Pieces.h"

namespace tovani::music {

namespace {

constexpr const char* kIntro = "Em:4 D:4 Cadd9:4 Dsus4:2 D:2";
constexpr const char* kA = "Em:4 G:4 D:4 Am7:4 | Em:4 G:4 Cadd9:2 D:2 Em:4";
constexpr const char* kA2 = "Em:4 G:4 D:4 Am7:4 | Cadd9:4 G/B:4 Am7:2 D:2 G:4";
constexpr const char* kB = "Cadd9:4 D:4 Bm7:4 Em:4 | Cadd9:4 D:4 Am7:4 Bm7:4";
constexpr const char* kB2 = "Cadd9:4 D:4 Bm7:4 Em:4 | Am7:4 Cadd9:4 Dsus4:4 D:4";
constexpr const char* kOutro = "Cadd9:4 D:4 Am7:4 Dsus4:2 D:2";

constexpr const char* kTune = "E5:1 G5:1 A5:1.5 B5:.5 | D6:2 B5:2 | A5:1 B5:.5 A5:.5 F#5:1 E5:1 |"
                              "A5:3 r:1 | E5:1 G5:1 A5:1.5 B5:.5 | D6:1 E6:1 D6:1 B5:1 |"
                              "A5:1.5 G5:.5 E5:1 D5:1 | E5:3 r:1";
constexpr const char* kTuneAnswer =
    "E5:1 G5:1 A5:1.5 B5:.5 | D6:2 B5:2 | A5:1 B5:.5 A5:.5 F#5:1 D5:1 | E5:3 r:1 |"
    "G5:1.5 A5:.5 B5:1 G5:1 | D6:2 B5:2 | A5:1 G5:1 A5:1 F#5:1 | G5:3 r:1";
constexpr const char* kHorn = "G4:3 E4:1 | F#4:2 A4:2 | B4:3 A4:1 | G4:2 E4:2 |"
                              "G4:3 A4:1 | B4:2 D5:2 | C5:2 B4:1 A4:1 | B4:4";
constexpr const char* kHornHome = "G4:3 E4:1 | F#4:2 A4:2 | B4:3 A4:1 | G4:2 E4:2 |"
                                  "E4:2 A4:2 | G4:2 E4:2 | D4:2 A4:2 | F#4:4";
constexpr const char* kEcho = "r:2 B5:1 C6:1 | D6:4 | r:2 F#5:1 A5:1 | B5:4 |"
                              "r:2 C6:1 B5:1 | G5:2 E5:2 | r:2 D5:1 E5:1 | F#5:4";
constexpr const char* kFarewell = "E5:2 G5:2 | A5:4 | C6:2 B5:1 A5:1 | A5:2 F#5:2";

} // namespace

Piece ComposeMountainPath() {
    Piece piece("Mountain Path", 84, 4, 1, true);
    const int intro = 0, a = 4, a2 = 12, b = 20, b2 = 28, a3 = 36, outro = 44, end = 48;
    piece.SetLengthBars(end);

    Part& flute = piece.AddPart("Flute", 0, 73);
    flute.volume = 74, flute.pan = 58, flute.reverb = 84, flute.legato = 0.94;
    Part& shamisen = piece.AddPart("Shamisen", 1, 106);
    shamisen.volume = 67, shamisen.pan = 36, shamisen.reverb = 56;
    Part& strings = piece.AddPart("Strings", 2, 48);
    strings.volume = 62, strings.pan = 72, strings.reverb = 92;
    Part& horn = piece.AddPart("Horn", 3, 60);
    horn.volume = 72, horn.pan = 70, horn.reverb = 88, horn.legato = 0.96;
    Part& bass = piece.AddPart("Contrabass", 4, 43);
    bass.volume = 69, bass.pan = 64, bass.reverb = 50;
    Part& taiko = piece.AddPart("Taiko", 5, 116);
    taiko.volume = 72, taiko.pan = 64, taiko.reverb = 70;
    Part& lead = piece.AddPart("Strings lead", 6, 48);
    lead.volume = 67, lead.pan = 54, lead.reverb = 90, lead.legato = 0.98;

    const auto cIntro = piece.Chords(kIntro, intro, 4), cA = piece.Chords(kA, a, 8),
               cA2 = piece.Chords(kA2, a2, 8), cB = piece.Chords(kB, b, 8),
               cB2 = piece.Chords(kB2, b2, 8), cA3 = piece.Chords(kA, a3, 8),
               cOutro = piece.Chords(kOutro, outro, 4);
    const auto all = {&cIntro, &cA, &cA2, &cB, &cB2, &cA3, &cOutro};

    for (const auto* section : all)
        Pad(strings, *section, 52, 71, 4, 42);
    strings.Swell(piece.Bar(intro), piece.Bar(4), 88, 112);
    strings.Swell(piece.Bar(outro), piece.Bar(4), 112, 88);

    // The shamisen walks in quavers all the way; the bass and taiko mark the steps.
    for (const auto* section : all)
        Arpeggio(shamisen, *section, 52, "0 2 3 2 4 2 3 2", 0.5, 52, 1.5);
    for (const auto* section : {&cA, &cA2, &cB, &cB2, &cA3})
        BassLine(bass, *section, 40, "R:2 R:1 5:1", 60);
    for (const auto* section : {&cIntro, &cOutro})
        BassLine(bass, *section, 40, "R:4", 54);
    const std::vector<DrumRow> steps = {{45, "X.......x.x....."}};
    const std::vector<DrumRow> soft = {{45, "x..............."}};
    Drums(taiko, piece.Bar(intro), piece.Bar(4), 0.25, soft, 52);
    Drums(taiko, piece.Bar(a), piece.Bar(outro - a), 0.25, steps, 56);
    Drums(taiko, piece.Bar(outro), piece.Bar(4), 0.25, soft, 52);

    piece.Melody(flute, a, 8, kTune, 76);
    piece.Melody(flute, a2, 8, kTuneAnswer, 78);
    piece.Melody(horn, b, 8, kHorn, 72);
    piece.Melody(horn, b2, 8, kHornHome, 74);
    piece.Melody(flute, b2, 8, kEcho, 60);
    piece.Melody(lead, a3, 8, kTune, 66, -12);
    piece.Melody(flute, a3, 8, kTune, 64);
    piece.Melody(flute, outro, 4, kFarewell, 62);
    return piece;
}

} // namespace tovani::music
