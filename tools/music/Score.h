// The composer's toolkit: pitches and chord symbols, a small melody notation, accompaniment
// patterns (pads, broken chords, bass lines, drum grids) and the piece that turns all of it
// into a General MIDI file.
//
// Melody notation: notes separated by blanks, "|" between bars for the reader's eye. A note is
// a pitch ("C4" is middle C, "F#5", "Bb3"), "r" for a rest, or pitches joined by "+" for a
// chord, then ":" and its length in beats ("1", ".5", "1.5", "2/3"; omitted, the previous
// length). A trailing "!" accents the note, "?" plays it softly, "~" holds it for its whole
// length (otherwise it sounds for the part's legato share of it).
//
// Chord symbols: a root ("D", "F#", "Bb"), a quality ("", "m", "7", "m7", "maj7", "sus2",
// "sus4", "add9", "madd9", "6", "m6", "69", "m9", "maj9") and an optional bass ("/F#"),
// then ":" and the length in beats, e.g. "Dadd9:4 Gmaj7:2 D/F#:2".
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tovani::music {

constexpr int kTicksPerBeat = 480;
constexpr int kDrumChannel = 9;

// MIDI note number of a pitch name; throws std::runtime_error on a bad name.
int ParsePitch(std::string_view name);

struct Chord {
    double start = 0; // in beats from the start of the piece
    double beats = 0;
    int root = 0;               // pitch class 0..11 (C = 0)
    int bass = 0;               // pitch class of the lowest note
    std::vector<int> intervals; // semitones above the root, ascending, the root (0) first
};

// Parses a chord progression that starts at beat `start`; throws on a bad symbol.
std::vector<Chord> ParseProgression(std::string_view text, double start);
// Total length in beats of a progression.
double ProgressionBeats(const std::vector<Chord>& chords);

struct Note {
    double start = 0;
    double beats = 0;
    int pitch = 0;
    int velocity = 0;
};

struct Control {
    double at = 0;
    int controller = 0;
    int value = 0;
};

// One instrument on one MIDI channel.
class Part {
public:
    Part(std::string name, int channel, int program)
        : name_(std::move(name)), channel_(channel), program_(program) {}

    const std::string& Name() const { return name_; }
    int Channel() const { return channel_; }
    int Program() const { return program_; }

    // Channel set-up sent at the start of the piece.
    int volume = 100;
    int pan = 64;
    int reverb = 64;
    int chorus = 0;
    // Share of a written length that sounds (below 1 leaves a breath between notes).
    double legato = 0.92;
    // Chords written with "+" are spread over this many beats, lowest note first.
    double roll = 0;
    // When not empty, broken chords on this part leave out tones of other pitch classes (a
    // koto tuned to a pentatonic scale has no other strings).
    std::vector<int> tuning;

    void Add(double at, double beats, int pitch, int velocity);
    // Plays melody notation from beat `at`, `transpose` semitones up; returns its length.
    double Play(double at, std::string_view melody, int velocity, int transpose = 0);
    // Ramps the expression controller from `from` to `to` over `beats`.
    void Swell(double at, double beats, int from, int to);

    const std::vector<Note>& Notes() const { return notes_; }
    const std::vector<Control>& Controls() const { return controls_; }

private:
    std::string name_;
    int channel_;
    int program_;
    std::vector<Note> notes_;
    std::vector<Control> controls_;
};

// Chord tones for a sustained voicing of `voices` notes in [low, high], chosen to move as
// little as possible from `previous` (empty for the first chord).
std::vector<int> VoiceChord(const Chord& chord, int low, int high, int voices,
                            const std::vector<int>& previous);

// Sustained chords; a tone shared with the next chord is held over rather than struck again.
void Pad(Part& part, const std::vector<Chord>& chords, int low, int high, int voices, int velocity);

// Broken chords: `pattern` lists indexes into the chord's tones counted upwards from its bass
// note at or above `low` ("-" is a rest), one every `step` beats, repeated through each chord.
// Each note rings for `ring` steps or until the chord ends.
void Arpeggio(Part& part, const std::vector<Chord>& chords, int low, std::string_view pattern,
              double step, int velocity, double ring);

// A bass line repeated through each chord: tokens "R" (the bass note), "3", "5", "8" (third,
// fifth, octave above it) or "-" (rest), each with ":" and a length in beats.
void BassLine(Part& part, const std::vector<Chord>& chords, int low, std::string_view pattern,
              int velocity);

// A drum grid: one row per instrument (note number and a string of steps: "X" loud, "x"
// normal, "o" soft, "." silent), repeated from `at` for `beats`, `step` beats per character.
struct DrumRow {
    int note;
    std::string_view steps;
};
void Drums(Part& part, double at, double beats, double step, const std::vector<DrumRow>& rows,
           int velocity);

class Piece {
public:
    // `keySharps`: the key signature as sharps (negative for flats); `minor` for a minor key.
    Piece(std::string title, double bpm, int beatsPerBar, int keySharps, bool minor);

    const std::string& Title() const { return title_; }
    double Bpm() const { return bpm_; }
    int BeatsPerBar() const { return beatsPerBar_; }
    // Beat at which bar `bar` (counted from 0) begins.
    double Bar(double bar) const { return bar * beatsPerBar_; }

    Part& AddPart(std::string name, int channel, int program);

    // A section's chords starting at bar `bar`; throws unless they fill exactly `bars` bars.
    std::vector<Chord> Chords(std::string_view text, int bar, int bars) const;
    // Plays a melody from bar `bar`; throws unless it fills exactly `bars` bars.
    void Melody(Part& part, int bar, int bars, std::string_view melody, int velocity,
                int transpose = 0) const;

    // The piece ends (and loops) after this many bars; notes still sounding are cut there.
    void SetLengthBars(int bars) { lengthBars_ = bars; }
    int LengthBars() const { return lengthBars_; }
    double Seconds() const { return Bar(lengthBars_) * 60.0 / bpm_; }

    const std::deque<Part>& Parts() const { return parts_; }

    // The piece as a standard MIDI file (format 1): one tempo track and one track per part.
    std::vector<uint8_t> ToMidi() const;

private:
    std::string title_;
    double bpm_;
    int beatsPerBar_;
    int keySharps_;
    bool minor_;
    int lengthBars_ = 0;
    std::deque<Part> parts_; // a deque keeps the references AddPart hands out valid
};

} // namespace tovani::music
