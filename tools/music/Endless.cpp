// "Endless": the piece that plays when nothing else was chosen, so it must wear well. A slow
// koto song in D major pentatonic over piano and a warm pad; a shakuhachi takes the middle
// section; the last bars turn back to the opening chord so the loop never seems to end.
//
// Form (bars of 4/4 at 72 beats a minute, 48 bars, 2:40):
//   intro 4 | A 8 (koto) | A' 8 (koto, cadence) | B 8 (shakuhachi) | B' 8 (koto, shakuhachi
//   below) | A' 8 (piano takes the tune) | turn-around 4
#include "Pieces.h"

namespace tovani::music {

namespace {

constexpr const char* kIntro = "Dadd9:4 Gmaj7:4 Bm7:4 Asus4:2 A:2";
constexpr const char* kA = "D:4 Gmaj7:4 Bm7:4 Asus4:2 A:2 | D:4 Gmaj7:4 Em7:4 Asus4:2 A:2";
constexpr const char* kA2 = "D:4 Gmaj7:4 Bm7:4 F#m7:4 | G:4 D/F#:4 Em7:2 A:2 D:4";
constexpr const char* kB = "Bm7:4 Gmaj7:4 D:4 A:4 | Bm7:4 Gmaj7:4 Em7:4 Asus4:2 A:2";
constexpr const char* kB2 = "Bm7:4 Gmaj7:4 D:4 A/C#:4 | Bm7:4 Gmaj7:4 Em7:4 A7sus4:2 A:2";
constexpr const char* kOutro = "Gmaj7:4 D/F#:4 Em7:4 Asus4:2 A:2";

// The song: a question that rises and hangs on the dominant, and its answer.
constexpr const char* kTune = "F#5:1.5 E5:.5 D5:1 E5:1 | B4:2 A4:1 B4:1 | D5:1.5 F#5:.5 E5:1 D5:1 |"
                              "E5:3 r:1 | F#5:1.5 A5:.5 B5:1 A5:1 | F#5:1 E5:1 D5:1 B4:1 |"
                              "E5:1.5 D5:.5 B4:1 D5:1 | E5:2 r:1 A4:1";
constexpr const char* kTuneAnswer =
    "F#5:1.5 E5:.5 D5:1 E5:1 | B4:2 D5:1 E5:1 | F#5:1.5 A5:.5 B5:1 A5:1 | F#5:2 E5:2 |"
    "D5:1.5 E5:.5 F#5:1 A5:1 | B5:1 A5:1 F#5:2 | E5:1.5 F#5:.5 E5:1 D5:.5 B4:.5 | D5:4";
// The middle song, lower and longer-breathed, leaning on B minor.
constexpr const char* kSong = "B4:3 D5:1 | E5:2 D5:1 B4:1 | A4:3 F#4:1 | A4:2 B4:1 D5:1 |"
                              "E5:3 F#5:1 | D5:2 B4:1 A4:1 | B4:2 A4:1 F#4:1 | A4:4";
constexpr const char* kSongKoto = "D5:1 B4:1 D5:1 F#5:1 | E5:3 D5:1 | F#5:1 A5:1 F#5:1 E5:1 |"
                                  "E5:3 r:1 | F#5:1.5 E5:.5 D5:1 B4:1 | D5:2 E5:1 F#5:1 |"
                                  "E5:2 D5:1 B4:1 | A4:2 r:2";
constexpr const char* kSongBelow = "F#4:4 | B4:4 | A4:4 | C#5:4 | D5:4 | B4:4 | B4:2 G4:2 |"
                                   "E4:2 C#5:2";
constexpr const char* kFarewell = "B5:2 A5:2 | F#5:4 | E5:2 D5:1 B4:1 | A4:4";

} // namespace

Piece ComposeEndless() {
    Piece piece("Endless", 72, 4, 2, false);
    const int intro = 0, a = 4, a2 = 12, b = 20, b2 = 28, a3 = 36, outro = 44, end = 48;
    piece.SetLengthBars(end);

    Part& koto = piece.AddPart("Koto", 0, 107);
    koto.volume = 112, koto.pan = 44, koto.reverb = 80;
    koto.tuning = {2, 4, 6, 9, 11}; // D E F# A B
    Part& piano = piece.AddPart("Piano", 1, 0);
    piano.volume = 96, piano.pan = 80, piano.reverb = 72;
    Part& pad = piece.AddPart("Warm pad", 2, 89);
    pad.volume = 87, pad.pan = 64, pad.reverb = 100, pad.chorus = 48;
    Part& flute = piece.AddPart("Shakuhachi", 3, 77);
    flute.volume = 105, flute.pan = 56, flute.reverb = 92, flute.legato = 0.97;
    Part& bass = piece.AddPart("Bass", 4, 32);
    bass.volume = 99, bass.pan = 64, bass.reverb = 40;

    auto at = [&](int bar) { return piece.Bar(bar); };

    // Harmony, one section after another.
    const auto cIntro = piece.Chords(kIntro, intro, 4), cA = piece.Chords(kA, a, 8),
               cA2 = piece.Chords(kA2, a2, 8), cB = piece.Chords(kB, b, 8),
               cB2 = piece.Chords(kB2, b2, 8), cA3 = piece.Chords(kA2, a3, 8),
               cOutro = piece.Chords(kOutro, outro, 4);
    for (const auto* section : {&cIntro, &cA, &cA2, &cB, &cB2, &cA3, &cOutro})
        Pad(pad, *section, 57, 76, 4, 44);
    pad.Swell(at(intro), at(4), 84, 112);
    pad.Swell(at(outro), at(4), 112, 84);

    // Piano: flowing broken chords, lighter in the middle songs.
    const char* flow = "0 2 3 4 5 4 3 2";
    Arpeggio(piano, cIntro, 50, flow, 0.5, 42, 6);
    Arpeggio(piano, cA, 50, flow, 0.5, 44, 6);
    Arpeggio(piano, cA2, 50, flow, 0.5, 44, 6);
    Arpeggio(piano, cB, 50, "0 3 4 3", 1, 40, 4);
    Arpeggio(piano, cB2, 50, "0 3 4 5 4 3 2 3", 0.5, 40, 6);
    Arpeggio(piano, cA3, 50, "0 3 4 3", 1, 36, 4);
    Arpeggio(piano, cOutro, 50, flow, 0.5, 40, 6);

    // Bass: one soft note a chord at the ends (they meet at the loop), moving in between.
    BassLine(bass, cIntro, 38, "R:4", 52);
    BassLine(bass, cA, 38, "R:3 5:1", 58);
    BassLine(bass, cA2, 38, "R:3 5:1", 58);
    BassLine(bass, cB, 38, "R:2 5:2", 56);
    BassLine(bass, cB2, 38, "R:3 5:1", 58);
    BassLine(bass, cA3, 38, "R:3 5:1", 58);
    BassLine(bass, cOutro, 38, "R:4", 52);

    // The tunes.
    piece.Melody(koto, a, 8, kTune, 84);
    piece.Melody(koto, a2, 8, kTuneAnswer, 86);
    piece.Melody(flute, b, 8, kSong, 74);
    Arpeggio(koto, cB, 62, "- 2 3 - - 3 2 -", 0.5, 50, 2);
    piece.Melody(koto, b2, 8, kSongKoto, 82);
    piece.Melody(flute, b2, 8, kSongBelow, 56);
    piece.Melody(piano, a3, 8, kTuneAnswer, 66);
    Arpeggio(koto, cA3, 62, "0 - 2 - 3 - - -", 0.5, 50, 2);
    piece.Melody(koto, outro, 4, kFarewell, 74);
    return piece;
}

} // namespace tovani::music
