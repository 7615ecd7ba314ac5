// tovani_sounds: synthesises the three sound effects of the games into a folder.
//
//   select.wav  a soft wooden tick with a little body: a tile is picked up
//   done.wav    two tiles knock together, then a small two-note chime: a pair is removed
//   noway.wav   two low, muted wooden notes falling a third: the move is refused
//
// 16-bit mono PCM at 44100 Hz. Every sound starts from silence and fades back into it, so it
// never clicks. Each is scaled to a fixed peak no higher than -6.5 dB below full scale: the
// music peaks at about -8 dB, so an effect over the loudest music never clips, while its
// loudness stands a few decibels above the music's so that it is heard without startling. The
// noise comes from a fixed generator: the files are the same on every build.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr double kTwoPi = 2 * std::numbers::pi;

using Signal = std::vector<double>;

size_t At(double seconds) {
    return static_cast<size_t>(std::lround(seconds * kRate));
}

// A fixed white-noise generator in [-1, 1].
class Noise {
public:
    double Next() {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<double>(state_ >> 8) / double(1u << 23) - 1.0;
    }

private:
    uint32_t state_ = 0x2545F491u;
};

// A sine that starts at `start`, swells in over `attack` and dies away with time constant `tau`.
void AddPartial(Signal& s, double start, double freq, double amp, double tau,
                double attack = 0.0005) {
    for (size_t i = At(start); i < s.size(); ++i) {
        double t = double(i) / kRate - start;
        double env = amp * std::exp(-t / tau) * std::min(1.0, t / attack);
        s[i] += env * std::sin(kTwoPi * freq * t);
    }
}

// A bell: a handful of partials, the high ones fading faster.
void AddBell(Signal& s, double start, double freq, double amp) {
    static const double kRatios[] = {1.0, 2.0, 3.0, 4.16, 5.43};
    static const double kAmps[] = {1.0, 0.32, 0.14, 0.07, 0.03};
    static const double kTaus[] = {0.16, 0.11, 0.07, 0.045, 0.03};
    for (int k = 0; k < 5; ++k)
        AddPartial(s, start, freq * kRatios[k], amp * kAmps[k], kTaus[k], 0.002);
}

// A burst of band-limited noise: the knock of one hard surface on another.
void AddKnock(Signal& s, Noise& noise, double start, double length, double centre, double amp) {
    // Two one-pole filters make a soft band around `centre`.
    const double a = std::exp(-kTwoPi * centre * 1.6 / kRate);
    const double b = std::exp(-kTwoPi * centre / 1.6 / kRate);
    double low1 = 0, low2 = 0;
    for (size_t i = At(start); i < std::min(s.size(), At(start + length * 4)); ++i) {
        double t = double(i) / kRate - start;
        double x = noise.Next();
        low1 = (1 - a) * x + a * low1;    // cuts above the band
        low2 = (1 - b) * low1 + b * low2; // what lies below the band
        double band = low1 - low2;
        s[i] += amp * band * std::exp(-t / length) * std::min(1.0, t / 0.0003);
    }
}

// Raised-cosine fades at both ends: the sound starts and ends in silence.
void Fade(Signal& s, double in, double out) {
    const size_t nIn = std::max<size_t>(1, At(in));
    const size_t nOut = std::max<size_t>(1, At(out));
    for (size_t i = 0; i < nIn && i < s.size(); ++i)
        s[i] *= 0.5 - 0.5 * std::cos(std::numbers::pi * double(i) / nIn);
    for (size_t i = 0; i < nOut && i < s.size(); ++i)
        s[s.size() - 1 - i] *= 0.5 - 0.5 * std::cos(std::numbers::pi * double(i) / nOut);
}

// Removes any slow offset so the waveform is centred on zero.
void RemoveOffset(Signal& s) {
    double mean = 0;
    for (double v : s)
        mean += v;
    mean /= double(s.size());
    for (double& v : s)
        v -= mean;
}

void ScaleToPeak(Signal& s, double dbfs) {
    double peak = 0;
    for (double v : s)
        peak = std::max(peak, std::abs(v));
    const double gain = std::pow(10.0, dbfs / 20.0) / peak;
    for (double& v : s)
        v *= gain;
}

Signal Finish(Signal s, double fadeIn, double fadeOut, double peakDbfs) {
    RemoveOffset(s);
    Fade(s, fadeIn, fadeOut);
    ScaleToPeak(s, peakDbfs);
    return s;
}

Signal MakeSelect() {
    Signal s(At(0.085), 0.0);
    Noise noise;
    AddKnock(s, noise, 0, 0.0015, 3800, 0.3);
    AddPartial(s, 0, 1650, 0.5, 0.009);
    AddPartial(s, 0, 2870, 0.2, 0.0045);
    AddPartial(s, 0, 820, 0.35, 0.016);
    // The body of the tile: a low, short resonance that makes the tick round, not sharp.
    AddPartial(s, 0, 560, 0.3, 0.022, 0.001);
    return Finish(std::move(s), 0.0012, 0.025, -8.0);
}

Signal MakeDone() {
    Signal s(At(0.46), 0.0);
    Noise noise;
    // The pair knocks together twice in quick succession...
    AddKnock(s, noise, 0, 0.003, 2200, 0.6);
    AddPartial(s, 0, 1250, 0.45, 0.012);
    AddPartial(s, 0, 2330, 0.25, 0.007);
    AddKnock(s, noise, 0.016, 0.0025, 2400, 0.35);
    AddPartial(s, 0.016, 1310, 0.25, 0.01);
    // ...and a small chime rises a fifth: A then E.
    AddBell(s, 0.03, 880.0, 0.42);
    AddBell(s, 0.11, 1318.51, 0.36);
    return Finish(std::move(s), 0.001, 0.12, -6.5);
}

// A muted wooden bar: its fundamental and the faint, quickly gone overtone near four times it.
void AddWoodNote(Signal& s, double start, double freq, double amp) {
    AddPartial(s, start, freq, amp, 0.06, 0.003);
    AddPartial(s, start, freq * 3.93, amp * 0.12, 0.012, 0.002);
}

Signal MakeNoway() {
    Signal s(At(0.3), 0.0);
    // A soft thud whose pitch drops, like a hand laid on a table...
    double phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        double t = double(i) / kRate;
        double freq = 80 + 60 * std::exp(-t / 0.025);
        phase += kTwoPi * freq / kRate;
        s[i] += 0.45 * std::exp(-t / 0.05) * std::min(1.0, t / 0.003) * std::sin(phase);
    }
    // ...and two low wooden notes falling a minor third, B flat then G: "no".
    AddWoodNote(s, 0.0, 233.08, 0.6);
    AddWoodNote(s, 0.1, 196.0, 0.7);
    return Finish(std::move(s), 0.002, 0.05, -7.0);
}

void Put16(std::string& out, uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

void Put32(std::string& out, uint32_t v) {
    Put16(out, static_cast<uint16_t>(v & 0xFFFF));
    Put16(out, static_cast<uint16_t>(v >> 16));
}

std::string ToWav(const Signal& s) {
    const uint32_t dataBytes = static_cast<uint32_t>(s.size() * 2);
    std::string out = "RIFF";
    Put32(out, 36 + dataBytes);
    out += "WAVEfmt ";
    Put32(out, 16);
    Put16(out, 1); // PCM
    Put16(out, 1); // mono
    Put32(out, kRate);
    Put32(out, kRate * 2);
    Put16(out, 2);
    Put16(out, 16);
    out += "data";
    Put32(out, dataBytes);
    for (double v : s) {
        long q = std::lround(std::clamp(v, -1.0, 1.0) * 32767.0);
        Put16(out, static_cast<uint16_t>(static_cast<int16_t>(q)));
    }
    return out;
}

bool WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::path temp = path;
    temp += ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out)
            return false;
    }
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    return !ec;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder(argv[1]);
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const std::pair<const char*, Signal> sounds[] = {
        {"select.wav", MakeSelect()}, {"done.wav", MakeDone()}, {"noway.wav", MakeNoway()}};
    for (const auto& [name, signal] : sounds) {
        if (!WriteFile(folder / name, ToWav(signal))) {
            std::fprintf(stderr, "Unable to write to %s\n", (folder / name).string().c_str());
            return 1;
        }
    }
    return 0;
}
