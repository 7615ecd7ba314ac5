#include "Score.h"

#include "Midi.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <map>
#include <stdexcept>

namespace tovani::music {

namespace {

std::vector<std::string_view> SplitBlanks(std::string_view text) {
    std::vector<std::string_view> out;
    // Bar lines separate like blanks: they are there for the reader.
    auto isGap = [](char c) { return c == ' ' || c == '\n' || c == '\t' || c == '|'; };
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isGap(text[i]))
            ++i;
        size_t j = i;
        while (j < text.size() && !isGap(text[j]))
            ++j;
        if (j > i)
            out.push_back(text.substr(i, j - i));
        i = j;
    }
    return out;
}

[[noreturn]] void Fail(std::string_view what, std::string_view text) {
    throw std::runtime_error(std::string(what) + ": \"" + std::string(text) + "\"");
}

double ParseBeats(std::string_view text) {
    size_t slash = text.find('/');
    std::string a(text.substr(0, slash));
    char* end = nullptr;
    double value = std::strtod(a.c_str(), &end);
    if (a.empty() || *end != '\0')
        Fail("bad length", text);
    if (slash != std::string_view::npos) {
        std::string b(text.substr(slash + 1));
        double d = std::strtod(b.c_str(), &end);
        if (b.empty() || *end != '\0' || d <= 0)
            Fail("bad length", text);
        value /= d;
    }
    if (value <= 0)
        Fail("bad length", text);
    return value;
}

// Pitch class of a note letter with its accidentals; `used` gets the characters read.
int ParsePitchClass(std::string_view text, size_t& used) {
    static const int kLetters[] = {9, 11, 0, 2, 4, 5, 7}; // A..G
    if (text.empty() || text[0] < 'A' || text[0] > 'G')
        Fail("bad note name", text);
    int pc = kLetters[text[0] - 'A'];
    used = 1;
    while (used < text.size() && (text[used] == '#' || text[used] == 'b')) {
        pc += text[used] == '#' ? 1 : -1;
        ++used;
    }
    return (pc + 12) % 12;
}

int64_t ToTicks(double beats) {
    return std::llround(beats * kTicksPerBeat);
}

// A small fixed generator, so the same piece gives the same file on every machine.
class Jitter {
public:
    explicit Jitter(uint32_t seed) : state_(seed) {}
    int Next(int spread) {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<int>((state_ >> 16) % static_cast<uint32_t>(2 * spread + 1)) - spread;
    }

private:
    uint32_t state_;
};

} // namespace

int ParsePitch(std::string_view name) {
    size_t used = 0;
    int pc = ParsePitchClass(name, used);
    std::string_view rest = name.substr(used);
    if (rest.empty())
        Fail("note without octave", name);
    bool negative = rest[0] == '-';
    if (negative)
        rest.remove_prefix(1);
    if (rest.size() != 1 || rest[0] < '0' || rest[0] > '9')
        Fail("bad octave", name);
    int octave = (negative ? -1 : 1) * (rest[0] - '0');
    // The letter's own octave: Cb belongs below C of its octave, B# above B.
    int letterPc = ParsePitchClass(name.substr(0, 1), used);
    int shift = 0;
    if (letterPc == 0 && pc == 11)
        shift = -12;
    if (letterPc == 11 && pc == 0)
        shift = 12;
    int pitch = (octave + 1) * 12 + pc + shift;
    if (pitch < 0 || pitch > 127)
        Fail("note out of range", name);
    return pitch;
}

std::vector<Chord> ParseProgression(std::string_view text, double start) {
    static const std::map<std::string, std::vector<int>, std::less<>> kQualities = {
        {"", {0, 4, 7}},           {"m", {0, 3, 7}},
        {"7", {0, 4, 7, 10}},      {"m7", {0, 3, 7, 10}},
        {"maj7", {0, 4, 7, 11}},   {"sus2", {0, 2, 7}},
        {"sus4", {0, 5, 7}},       {"add9", {0, 4, 7, 14}},
        {"madd9", {0, 3, 7, 14}},  {"6", {0, 4, 7, 9}},
        {"m6", {0, 3, 7, 9}},      {"69", {0, 4, 7, 9, 14}},
        {"m9", {0, 3, 7, 10, 14}}, {"maj9", {0, 4, 7, 11, 14}},
        {"7sus4", {0, 5, 7, 10}},
    };
    std::vector<Chord> chords;
    double at = start;
    for (std::string_view token : SplitBlanks(text)) {
        size_t colon = token.find(':');
        if (colon == std::string_view::npos)
            Fail("chord without length", token);
        std::string_view symbol = token.substr(0, colon);
        Chord c;
        c.start = at;
        c.beats = ParseBeats(token.substr(colon + 1));
        size_t used = 0;
        c.root = ParsePitchClass(symbol, used);
        c.bass = c.root;
        std::string_view quality = symbol.substr(used);
        size_t slash = quality.find('/');
        if (slash != std::string_view::npos) {
            size_t bassUsed = 0;
            std::string_view bass = quality.substr(slash + 1);
            c.bass = ParsePitchClass(bass, bassUsed);
            if (bassUsed != bass.size())
                Fail("bad bass note", token);
            quality = quality.substr(0, slash);
        }
        auto q = kQualities.find(quality);
        if (q == kQualities.end())
            Fail("unknown chord quality", token);
        c.intervals = q->second;
        at += c.beats;
        chords.push_back(std::move(c));
    }
    return chords;
}

double ProgressionBeats(const std::vector<Chord>& chords) {
    double beats = 0;
    for (const Chord& c : chords)
        beats += c.beats;
    return beats;
}

void Part::Add(double at, double beats, int pitch, int velocity) {
    if (pitch < 0 || pitch > 127)
        throw std::runtime_error("note out of range in " + name_);
    notes_.push_back(Note{at, beats, pitch, std::clamp(velocity, 1, 127)});
}

double Part::Play(double at, std::string_view melody, int velocity, int transpose) {
    double start = at;
    double length = 1;
    for (std::string_view token : SplitBlanks(melody)) {
        int accent = 0;
        bool hold = false;
        while (!token.empty() &&
               (token.back() == '!' || token.back() == '?' || token.back() == '~')) {
            if (token.back() == '!')
                accent += 14;
            else if (token.back() == '?')
                accent -= 16;
            else
                hold = true;
            token.remove_suffix(1);
        }
        size_t colon = token.find(':');
        std::string_view pitches = token.substr(0, colon);
        if (colon != std::string_view::npos)
            length = ParseBeats(token.substr(colon + 1));
        if (pitches != "r") {
            std::vector<int> chord;
            size_t i = 0;
            while (i <= pitches.size()) {
                size_t plus = pitches.find('+', i);
                if (plus == std::string_view::npos)
                    plus = pitches.size();
                chord.push_back(ParsePitch(pitches.substr(i, plus - i)) + transpose);
                i = plus + 1;
            }
            std::sort(chord.begin(), chord.end());
            double sounding = hold ? length : length * legato;
            for (size_t k = 0; k < chord.size(); ++k) {
                double offset = chord.size() > 1 ? roll * k / (chord.size() - 1) : 0;
                Add(at + offset, sounding - offset, chord[k], velocity + accent);
            }
        }
        at += length;
    }
    return at - start;
}

void Part::Swell(double at, double beats, int from, int to) {
    const int steps = std::max(1, static_cast<int>(beats * 4));
    for (int i = 0; i <= steps; ++i) {
        int value = static_cast<int>(std::lround(from + (to - from) * double(i) / steps));
        controls_.push_back(Control{at + beats * i / steps, 11, std::clamp(value, 0, 127)});
    }
}

std::vector<int> VoiceChord(const Chord& chord, int low, int high, int voices,
                            const std::vector<int>& previous) {
    // Candidate voicings: close position stacks of the chord's tones (root left out when the
    // chord has enough colour tones), each starting on one of its tones in each octave.
    std::vector<int> tones;
    for (int iv : chord.intervals)
        tones.push_back((chord.root + iv) % 12);
    std::sort(tones.begin(), tones.end());
    tones.erase(std::unique(tones.begin(), tones.end()), tones.end());
    // A major seventh folds into a second against its root in any close voicing: leave the
    // root to the bass.
    if (std::find(chord.intervals.begin(), chord.intervals.end(), 11) != chord.intervals.end())
        std::erase(tones, chord.root);
    if (static_cast<int>(tones.size()) > voices && voices >= 3) {
        // Leave out the fifth first: the other tones carry the chord's colour.
        int fifth = (chord.root + 7) % 12;
        auto f = std::find(tones.begin(), tones.end(), fifth);
        if (f != tones.end())
            tones.erase(f);
    }
    std::vector<int> best;
    double bestCost = std::numeric_limits<double>::max();
    for (int first = low; first <= high; ++first) {
        if (std::find(tones.begin(), tones.end(), first % 12) == tones.end())
            continue;
        std::vector<int> v{first};
        size_t index = std::find(tones.begin(), tones.end(), first % 12) - tones.begin();
        while (static_cast<int>(v.size()) < voices) {
            index = (index + 1) % tones.size();
            int next = v.back() + 1;
            while (next % 12 != tones[index])
                ++next;
            v.push_back(next);
        }
        if (v.back() > high)
            continue;
        double cost = 0;
        // Neighbouring voices a semitone apart grind in a sustained chord: a major seventh
        // sounds sweet spread out and harsh folded into a second.
        for (size_t i = 1; i < v.size(); ++i)
            if (v[i] - v[i - 1] == 1)
                cost += 24;
        if (previous.size() == v.size()) {
            for (size_t i = 0; i < v.size(); ++i)
                cost += std::abs(v[i] - previous[i]);
        } else {
            // Without a previous chord, sit in the middle of the range.
            cost = std::abs((v.front() + v.back()) / 2.0 - (low + high) / 2.0);
        }
        if (cost < bestCost) {
            bestCost = cost;
            best = v;
        }
    }
    if (best.empty())
        throw std::runtime_error("no voicing fits the range");
    return best;
}

void Pad(Part& part, const std::vector<Chord>& chords, int low, int high, int voices,
         int velocity) {
    std::vector<int> previous;
    std::vector<std::vector<int>> voicings;
    for (const Chord& c : chords) {
        voicings.push_back(VoiceChord(c, low, high, voices, previous));
        previous = voicings.back();
    }
    for (size_t i = 0; i < chords.size(); ++i) {
        for (int pitch : voicings[i]) {
            bool heldOver = i > 0 && std::find(voicings[i - 1].begin(), voicings[i - 1].end(),
                                               pitch) != voicings[i - 1].end();
            if (heldOver)
                continue;
            double end = chords[i].start + chords[i].beats;
            for (size_t j = i + 1; j < chords.size(); ++j) {
                if (std::find(voicings[j].begin(), voicings[j].end(), pitch) == voicings[j].end())
                    break;
                end = chords[j].start + chords[j].beats;
            }
            part.Add(chords[i].start, end - chords[i].start, pitch, velocity);
        }
    }
}

namespace {

// The chord's tones counted upwards from its bass note at or above `low`, over three octaves.
std::vector<int> ChordLadder(const Chord& c, int low) {
    int bass = low + ((c.bass - low) % 12 + 12) % 12;
    std::vector<int> ladder{bass};
    for (int octave = 0; octave < 4; ++octave)
        for (int iv : c.intervals) {
            int p = low - 12 + ((c.root - low) % 12 + 12) % 12 + iv + 12 * octave;
            if (p > ladder.front())
                ladder.push_back(p);
        }
    std::sort(ladder.begin(), ladder.end());
    ladder.erase(std::unique(ladder.begin(), ladder.end()), ladder.end());
    // Broken chords ring on: a tone a semitone above the one below it (the root above a major
    // seventh) would grind against it, so it is left out.
    std::vector<int> kept{ladder.front()};
    for (size_t i = 1; i < ladder.size(); ++i)
        if (ladder[i] - kept.back() != 1)
            kept.push_back(ladder[i]);
    return kept;
}

} // namespace

void Arpeggio(Part& part, const std::vector<Chord>& chords, int low, std::string_view pattern,
              double step, int velocity, double ring) {
    std::vector<std::string_view> steps = SplitBlanks(pattern);
    for (const Chord& c : chords) {
        std::vector<int> ladder = ChordLadder(c, low);
        if (!part.tuning.empty())
            std::erase_if(ladder, [&](int p) {
                return std::find(part.tuning.begin(), part.tuning.end(), p % 12) ==
                       part.tuning.end();
            });
        if (ladder.empty())
            continue;
        double end = c.start + c.beats;
        size_t k = 0;
        for (double at = c.start; at < end - 1e-9; at += step, ++k) {
            std::string_view s = steps[k % steps.size()];
            if (s == "-")
                continue;
            size_t index = static_cast<size_t>(std::atoi(std::string(s).c_str()));
            int pitch = ladder[std::min(index, ladder.size() - 1)];
            // The first note of each bar of the pattern leans a little.
            int accent = k % steps.size() == 0 ? 8 : 0;
            part.Add(at, std::min(step * ring, end - at), pitch, velocity + accent);
        }
    }
}

void BassLine(Part& part, const std::vector<Chord>& chords, int low, std::string_view pattern,
              int velocity) {
    std::vector<std::string_view> tokens = SplitBlanks(pattern);
    for (const Chord& c : chords) {
        int bass = low + ((c.bass - low) % 12 + 12) % 12;
        double end = c.start + c.beats;
        double at = c.start;
        size_t k = 0;
        while (at < end - 1e-9) {
            std::string_view token = tokens[k++ % tokens.size()];
            size_t colon = token.find(':');
            if (colon == std::string_view::npos)
                Fail("bass step without length", token);
            double beats = ParseBeats(token.substr(colon + 1));
            std::string_view degree = token.substr(0, colon);
            int pitch = -1;
            if (degree == "R")
                pitch = bass;
            else if (degree == "8")
                pitch = bass + 12;
            else if (degree == "5")
                pitch = bass + ((c.root + 7 - c.bass) % 12 + 12) % 12;
            else if (degree == "3")
                pitch = bass + ((c.root + c.intervals[1] - c.bass) % 12 + 12) % 12;
            else if (degree != "-")
                Fail("bad bass step", token);
            if (pitch >= 0)
                part.Add(at, std::min(beats, end - at) * 0.95, pitch, velocity);
            at += beats;
        }
    }
}

void Drums(Part& part, double at, double beats, double step, const std::vector<DrumRow>& rows,
           int velocity) {
    for (const DrumRow& row : rows) {
        size_t k = 0;
        for (double t = at; t < at + beats - 1e-9; t += step, ++k) {
            char c = row.steps[k % row.steps.size()];
            int v = c == 'X' ? velocity + 18 : c == 'x' ? velocity : c == 'o' ? velocity - 16 : 0;
            if (v > 0)
                part.Add(t, step * 0.5, row.note, v);
        }
    }
}

Piece::Piece(std::string title, double bpm, int beatsPerBar, int keySharps, bool minor)
    : title_(std::move(title)), bpm_(bpm), beatsPerBar_(beatsPerBar), keySharps_(keySharps),
      minor_(minor) {}

Part& Piece::AddPart(std::string name, int channel, int program) {
    for (const Part& p : parts_)
        if (p.Channel() == channel)
            throw std::runtime_error("two parts on channel " + std::to_string(channel));
    return parts_.emplace_back(std::move(name), channel, program);
}

std::vector<Chord> Piece::Chords(std::string_view text, int bar, int bars) const {
    std::vector<Chord> chords = ParseProgression(text, Bar(bar));
    if (std::abs(ProgressionBeats(chords) - Bar(bars)) > 1e-6)
        Fail("chords do not fill " + std::to_string(bars) + " bars", text);
    return chords;
}

void Piece::Melody(Part& part, int bar, int bars, std::string_view melody, int velocity,
                   int transpose) const {
    if (std::abs(part.Play(Bar(bar), melody, velocity, transpose) - Bar(bars)) > 1e-6)
        Fail("melody does not fill " + std::to_string(bars) + " bars", melody);
}

std::vector<uint8_t> Piece::ToMidi() const {
    const int64_t endTick = ToTicks(Bar(lengthBars_));
    std::vector<MidiTrack> tracks;

    MidiTrack& tempo = tracks.emplace_back();
    tempo.Text(0, 0x03, title_);
    tempo.Meta(0, 0x58, {static_cast<uint8_t>(beatsPerBar_), 2, 24, 8});
    tempo.Meta(0, 0x59,
               {static_cast<uint8_t>(static_cast<int8_t>(keySharps_)),
                static_cast<uint8_t>(minor_ ? 1 : 0)});
    const uint32_t usPerBeat = static_cast<uint32_t>(std::lround(60'000'000.0 / bpm_));
    tempo.Meta(0, 0x51,
               {static_cast<uint8_t>(usPerBeat >> 16), static_cast<uint8_t>(usPerBeat >> 8),
                static_cast<uint8_t>(usPerBeat)});

    uint32_t seed = 7;
    for (char ch : title_)
        seed = seed * 31 + static_cast<uint8_t>(ch);
    for (const Part& part : parts_) {
        MidiTrack& t = tracks.emplace_back();
        const uint8_t ch = static_cast<uint8_t>(part.Channel());
        const uint8_t cc = 0xB0 | ch;
        t.Text(0, 0x03, part.Name());
        t.Channel(0, MidiTrack::kOrderSetup, cc, 121, 0); // reset controllers
        t.Channel(0, MidiTrack::kOrderSetup, cc, 0, 0);   // bank select
        t.Channel(0, MidiTrack::kOrderSetup, cc, 32, 0);
        t.Channel(0, MidiTrack::kOrderSetup, 0xC0 | ch, static_cast<uint8_t>(part.Program()));
        t.Channel(0, MidiTrack::kOrderSetup, cc, 7, static_cast<uint8_t>(part.volume));
        t.Channel(0, MidiTrack::kOrderSetup, cc, 10, static_cast<uint8_t>(part.pan));
        t.Channel(0, MidiTrack::kOrderSetup, cc, 91, static_cast<uint8_t>(part.reverb));
        t.Channel(0, MidiTrack::kOrderSetup, cc, 93, static_cast<uint8_t>(part.chorus));
        t.Channel(0, MidiTrack::kOrderSetup, cc, 11, 127);
        for (const Control& c : part.Controls()) {
            int64_t tick = ToTicks(c.at);
            if (tick < endTick)
                t.Channel(tick, MidiTrack::kOrderControl, cc, static_cast<uint8_t>(c.controller),
                          static_cast<uint8_t>(c.value));
        }

        // Notes in time order; a note cut short by the same pitch starting again ends there,
        // and nothing sounds past the end, so the piece loops without hanging notes.
        std::vector<Note> notes = part.Notes();
        std::stable_sort(notes.begin(), notes.end(),
                         [](const Note& a, const Note& b) { return a.start < b.start; });
        std::map<int, size_t> lastOfPitch;
        std::vector<std::pair<int64_t, int64_t>> spans(notes.size());
        for (size_t i = 0; i < notes.size(); ++i) {
            int64_t on = ToTicks(notes[i].start);
            int64_t off = std::min(ToTicks(notes[i].start + notes[i].beats), endTick);
            spans[i] = {on, off};
            auto last = lastOfPitch.find(notes[i].pitch);
            if (last != lastOfPitch.end() && spans[last->second].second > on)
                spans[last->second].second = on;
            lastOfPitch[notes[i].pitch] = i;
        }
        Jitter jitter(seed++);
        for (size_t i = 0; i < notes.size(); ++i) {
            auto [on, off] = spans[i];
            if (on >= endTick || off - on < kTicksPerBeat / 32)
                continue;
            int velocity = std::clamp(notes[i].velocity + jitter.Next(3), 1, 127);
            uint8_t pitch = static_cast<uint8_t>(notes[i].pitch);
            t.Channel(on, MidiTrack::kOrderNoteOn, 0x90 | ch, pitch,
                      static_cast<uint8_t>(velocity));
            t.Channel(off, MidiTrack::kOrderNoteOff, 0x90 | ch, pitch, 0);
        }
        t.Channel(endTick, MidiTrack::kOrderControl, cc, 123, 0); // all notes off
    }
    return SerializeMidiFile(tracks, kTicksPerBeat, endTick);
}

} // namespace tovani::music
