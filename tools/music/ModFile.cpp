#include "ModFile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <numbers>
#include <stdexcept>

namespace tovani::music {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr int kRowsPerBeat = 4;
constexpr int kRowsPerPattern = 64;

// Amiga periods of the three octaves C-1..B-3.
constexpr int kPeriods[36] = {856, 808, 762, 720, 678, 640, 604, 570, 538, 508, 480, 453,
                              428, 404, 381, 360, 339, 320, 302, 285, 269, 254, 240, 226,
                              214, 202, 190, 180, 170, 160, 151, 143, 135, 127, 120, 113};

double MidiHz(int pitch) {
    return 440.0 * std::pow(2.0, (pitch - 69) / 12.0);
}

// A fixed noise generator in [-1, 1]: the samples are the same on every build.
class Noise {
public:
    double Next() {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<double>(state_ >> 8) / double(1u << 23) - 1.0;
    }

private:
    uint32_t state_ = 0x6D2B79F5u;
};

// Scales to a peak of 0.95 of full scale, fades the last `fade` seconds to silence and turns
// the signal into signed bytes, starting on a zero pair as the format likes.
std::vector<int8_t> ToBytes(std::vector<double> s, double fade = 0.01) {
    double peak = 1e-9;
    for (double v : s)
        peak = std::max(peak, std::abs(v));
    const size_t fadeLen = std::min(s.size(), size_t(fade * kSampleRate));
    for (size_t i = 0; i < fadeLen; ++i)
        s[s.size() - 1 - i] *= double(i) / double(fadeLen);
    std::vector<int8_t> out(2, 0);
    for (double v : s)
        out.push_back(
            static_cast<int8_t>(std::lround(std::clamp(v / peak * 0.95, -1.0, 1.0) * 127.0)));
    if (out.size() % 2)
        out.push_back(0);
    return out;
}

std::vector<double> Partials(double seconds, double f0,
                             std::initializer_list<std::array<double, 3>> partials, double attack) {
    std::vector<double> s(size_t(seconds * kSampleRate));
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / kSampleRate;
        const double rise = std::min(1.0, t / attack);
        double v = 0;
        for (const auto& [ratio, amp, tau] : partials)
            if (f0 * ratio < kSampleRate / 2.0)
                v += amp * std::exp(-t / tau) * std::sin(kTwoPi * f0 * ratio * t);
        s[i] = rise * v;
    }
    return s;
}

ModSample Sample(std::string name, std::vector<int8_t> data, int volume, int basePitch) {
    ModSample m;
    m.name = std::move(name);
    m.data = std::move(data);
    m.volume = volume;
    m.basePitch = basePitch;
    return m;
}

// A drum: a sine whose pitch falls from `high` to `low`, with a touch of noise on the strike.
std::vector<double> Drum(double seconds, double high, double low, double tau, double noise) {
    Noise n;
    std::vector<double> s(size_t(seconds * kSampleRate));
    double phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / kSampleRate;
        const double f = low + (high - low) * std::exp(-t / 0.03);
        phase += kTwoPi * f / kSampleRate;
        const double rise = std::min(1.0, t / 0.002);
        s[i] =
            rise * (std::exp(-t / tau) * std::sin(phase) + noise * std::exp(-t / 0.012) * n.Next());
    }
    return s;
}

} // namespace

ModSample MakeMarimba() {
    auto s =
        Partials(0.9, MidiHz(72), {{1.0, 1.0, 0.32}, {3.93, 0.35, 0.06}, {9.2, 0.08, 0.02}}, 0.002);
    return Sample("Marimba", ToBytes(s, 0.05), 64, 72);
}

ModSample MakeKalimba(int basePitch) {
    auto s = Partials(1.3, MidiHz(basePitch),
                      {{1.0, 1.0, 0.5}, {5.4, 0.22, 0.05}, {2.0, 0.12, 0.2}}, 0.001);
    return Sample("Kalimba", ToBytes(s, 0.08), 64, basePitch);
}

ModSample MakeBell() {
    auto s =
        Partials(2.0, MidiHz(84),
                 {{1.0, 1.0, 0.9}, {2.76, 0.3, 0.35}, {5.4, 0.12, 0.12}, {0.5, 0.2, 0.8}}, 0.002);
    return Sample("Bell", ToBytes(s, 0.15), 64, 84);
}

ModSample MakePluckBass() {
    // A plucked string: a delay line of one period, averaged as it goes round, so the high
    // partials die first.
    const double f0 = MidiHz(48);
    const size_t period = static_cast<size_t>(std::lround(kSampleRate / f0));
    Noise n;
    std::vector<double> line(period);
    for (size_t i = 0; i < period; ++i) // a soft pluck: smoothed noise
        line[i] = 0.5 * n.Next() + 0.5 * std::sin(kTwoPi * double(i) / double(period));
    std::vector<double> s(size_t(1.2 * kSampleRate));
    for (size_t i = 0; i < s.size(); ++i) {
        const size_t k = i % period;
        const double next = line[(k + 1) % period];
        s[i] = line[k];
        line[k] = 0.996 * 0.5 * (line[k] + next);
    }
    for (size_t i = 0; i < std::min<size_t>(s.size(), 40); ++i)
        s[i] *= double(i) / 40.0;
    return Sample("Plucked bass", ToBytes(s, 0.1), 64, 48);
}

ModSample MakeFlute() {
    // The loop holds exactly 100 cycles, so it joins itself without a seam.
    const int loopFrames = 3168;
    const double f0 = 100.0 * kSampleRate / loopFrames;
    const int attackFrames = loopFrames; // one loop's length of breathy onset
    Noise n;
    std::vector<double> s(size_t(attackFrames + loopFrames));
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / kSampleRate;
        const double tone = std::sin(kTwoPi * f0 * t) + 0.22 * std::sin(2 * kTwoPi * f0 * t) +
                            0.06 * std::sin(3 * kTwoPi * f0 * t);
        const double rise = std::min(1.0, t / 0.06);
        const double breath = i < size_t(attackFrames) ? 0.08 * n.Next() * (1 - rise) : 0;
        s[i] = rise * tone + breath;
    }
    ModSample m = Sample("Flute", ToBytes(s, 0), 52, 72);
    m.loopStart = 2 + attackFrames; // after the leading zero pair; both even
    m.loopLength = loopFrames;
    return m;
}

ModSample MakeLowDrum() {
    return Sample("Low drum", ToBytes(Drum(0.45, 150, 70, 0.16, 0.15), 0.05), 64, 72);
}

ModSample MakeHighDrum() {
    return Sample("High drum", ToBytes(Drum(0.3, 420, 300, 0.09, 0.25), 0.04), 56, 72);
}

ModSample MakeShaker() {
    Noise n;
    std::vector<double> s(size_t(0.12 * kSampleRate));
    double last = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / kSampleRate;
        const double white = n.Next();
        const double high = white - last; // only the hiss
        last = white;
        s[i] = high * std::min(1.0, t / 0.006) * std::exp(-t / 0.03);
    }
    return Sample("Shaker", ToBytes(s, 0.02), 40, 72);
}

std::vector<uint8_t> WriteMod(const Piece& piece, const ModSong& song) {
    if (song.voices.size() != 4 || song.samples.empty() || song.samples.size() > 31)
        throw std::runtime_error(song.title + ": a module needs 4 voices and 1 to 31 samples");
    const int rows = static_cast<int>(std::lround(piece.Bar(piece.LengthBars()) * kRowsPerBeat));
    if (rows <= 0 || rows % kRowsPerPattern != 0 || rows / kRowsPerPattern > 128)
        throw std::runtime_error(song.title + ": the piece must fill whole patterns");
    const int patterns = rows / kRowsPerPattern;

    struct Cell {
        int sample = 0, period = 0, effect = 0, param = 0;
        int pitch = -1;
    };
    std::vector<std::array<Cell, 4>> grid(static_cast<size_t>(rows));
    for (size_t ch = 0; ch < 4; ++ch) {
        const ModVoice& voice = song.voices[ch];
        const Part* part = nullptr;
        for (const Part& p : piece.Parts())
            if (p.Name() == voice.part)
                part = &p;
        if (!part)
            throw std::runtime_error(song.title + ": no part named " + voice.part);
        std::vector<int> ends(size_t(rows), 0);
        for (const Note& note : part->Notes()) {
            const int row = static_cast<int>(std::lround(note.start * kRowsPerBeat));
            if (row < 0 || row >= rows)
                continue;
            Cell& cell = grid[size_t(row)][ch];
            // One note a channel: of notes struck together the highest sings, and of drums
            // the lowest beats.
            if (cell.pitch >= 0 &&
                (voice.drums.empty() ? cell.pitch >= note.pitch : cell.pitch <= note.pitch))
                continue;
            int sample = voice.sample;
            int index = 24;
            if (!voice.drums.empty()) {
                auto found = std::find_if(voice.drums.begin(), voice.drums.end(),
                                          [&](auto& d) { return d.first == note.pitch; });
                if (found == voice.drums.end())
                    continue;
                sample = found->second;
            } else {
                index = 24 + note.pitch - song.samples[size_t(sample - 1)].basePitch;
                while (index < 0)
                    index += 12;
                while (index > 35)
                    index -= 12;
            }
            cell.pitch = note.pitch;
            cell.sample = sample;
            cell.period = kPeriods[index];
            cell.effect = 0xC;
            cell.param = std::clamp(static_cast<int>(std::lround(note.velocity / 127.0 * 64.0 *
                                                                 voice.gain * song.gain)),
                                    1, 64);
            const int end = static_cast<int>(std::lround((note.start + note.beats) * kRowsPerBeat));
            if (end > row && end < rows)
                ends[size_t(end)] = 1;
        }
        // A held sample (one with a loop) is silenced where its note ends, unless the next
        // note takes over there.
        const ModSample& own = song.samples[size_t(voice.sample - 1)];
        if (voice.drums.empty() && own.loopLength > 2) {
            for (int r = 0; r < rows; ++r) {
                Cell& cell = grid[size_t(r)][ch];
                if (ends[size_t(r)] && cell.sample == 0 && cell.effect == 0) {
                    cell.effect = 0xC;
                    cell.param = 0;
                }
            }
        }
    }
    // The tempo, on the first row: on a channel without a note there if there is one.
    {
        auto& first = grid[0];
        size_t ch = 3;
        for (size_t c = 0; c < 4; ++c)
            if (first[c].sample == 0 && first[c].effect == 0)
                ch = c;
        first[ch].effect = 0xF;
        first[ch].param = std::clamp(static_cast<int>(std::lround(piece.Bpm())), 32, 255);
    }

    // The last row jumps back to the first pattern: the player goes round inside the song,
    // without stopping at its end and starting again (which leaves a gap).
    {
        auto& last = grid[static_cast<size_t>(rows - 1)];
        size_t ch = 0;
        for (size_t c = 4; c-- > 0;)
            if (last[c].effect == 0)
                ch = c;
        if (last[ch].effect == 0xC && last[ch].param == 0)
            last[ch].sample = last[ch].period = 0; // a held note's end is lost with its row
        last[ch].effect = 0xB;
        last[ch].param = 0;
    }

    std::vector<uint8_t> out;
    auto text = [&](const std::string& s, size_t size) {
        for (size_t i = 0; i < size; ++i)
            out.push_back(i < s.size() ? static_cast<uint8_t>(s[i]) : 0);
    };
    auto word = [&](int v) {
        out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
        out.push_back(static_cast<uint8_t>(v & 0xFF));
    };
    text(song.title, 20);
    for (size_t i = 0; i < 31; ++i) {
        if (i < song.samples.size()) {
            const ModSample& s = song.samples[i];
            if (s.data.size() % 2 || s.data.size() > 2 * 65535)
                throw std::runtime_error(s.name + ": a sample of the wrong size");
            text(s.name, 22);
            word(static_cast<int>(s.data.size() / 2));
            out.push_back(0); // finetune
            out.push_back(static_cast<uint8_t>(s.volume));
            if (s.loopLength > 2) {
                word(s.loopStart / 2);
                word(s.loopLength / 2);
            } else {
                word(0);
                word(1);
            }
        } else {
            text("", 22);
            word(0);
            out.push_back(0);
            out.push_back(0);
            word(0);
            word(1);
        }
    }
    out.push_back(static_cast<uint8_t>(patterns));
    out.push_back(0); // start again from the first pattern
    for (int i = 0; i < 128; ++i)
        out.push_back(static_cast<uint8_t>(i < patterns ? i : 0));
    text("M.K.", 4);
    for (const auto& row : grid)
        for (const Cell& c : row) {
            out.push_back(static_cast<uint8_t>((c.sample & 0xF0) | ((c.period >> 8) & 0x0F)));
            out.push_back(static_cast<uint8_t>(c.period & 0xFF));
            out.push_back(static_cast<uint8_t>(((c.sample & 0x0F) << 4) | c.effect));
            out.push_back(static_cast<uint8_t>(c.param));
        }
    for (const ModSample& s : song.samples)
        for (int8_t b : s.data)
            out.push_back(static_cast<uint8_t>(b));
    return out;
}

} // namespace tovani::music
