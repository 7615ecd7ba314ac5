// What the music costs: the time from the command to a piece playing, then the processor time
// and the memory the output takes while a piece plays in real time. SDL's dummy driver stands
// in for the sound card and keeps the real pace.
//
// Besides the shipped pieces the benchmark writes one of its own that nothing was tuned on: all
// sixteen channels busy, each with another instrument, drums included, so that many more
// samples are read in than any shipped piece needs.
//
// Figures: opening the output (what the program's start-up pays for its sound; the SoundFont
// is read on a thread of its own meanwhile), starting a MIDI piece (median and worst of many
// starts of every piece), the synthesiser's first block of a new piece on the sound card's
// thread (its instruments read in; it must fit well inside one buffer of 46 ms), starting a
// module, and processor and memory while a piece plays (the worst piece's).
#include "audio/AudioOutput.h"

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

using namespace tovani;

namespace {

using Steady = std::chrono::steady_clock;

const std::string kBin = TOVANI_BIN_DIR;

constexpr double kOpenTargetMs = 25; // the sound's share of the program's 0.25 s start-up
constexpr double kStartMedianTargetMs = 25;
constexpr double kStartWorstTargetMs = 50;
constexpr double kFirstBlockTargetMs = 20;
constexpr double kCpuTargetPercent = 5;
constexpr double kMemoryTargetMb = 16;
constexpr int kStarts = 24; // starts of each piece

double CpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double ResidentMb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atof(line.c_str() + 6) / 1024.0;
    return 0;
}

double Ms(Steady::time_point since) {
    return std::chrono::duration<double, std::milli>(Steady::now() - since).count();
}

void Report(const char* what, double value, double target, const char* unit) {
    std::printf("%-50s %8.1f %-3s (target %5.1f %s)  %s\n", what, value, unit, target, unit,
                value <= target ? "ok" : "OVER");
}

// Twenty-four seconds at 120 beats a minute: every channel plays its own instrument in busy
// chords, the drums a kit of many pieces.
std::string BusyPiece() {
    std::string track;
    auto event = [&track](int delta, std::initializer_list<int> bytes) {
        std::string d;
        for (int v = delta, first = 1; first || v > 0; v >>= 7, first = 0)
            d.insert(d.begin(), char((v & 0x7F) | (first ? 0 : 0x80)));
        track += d;
        for (int b : bytes)
            track += char(b);
    };
    for (int c = 0; c < 16; ++c)
        if (c != 9)
            event(0, {0xC0 | c, (c * 37 + 5) % 128});
    for (int step = 0; step < 96; ++step) {
        for (int c = 0; c < 16; ++c) {
            const int note = c == 9 ? 35 + (step * 7 + c) % 47 : 36 + (c * 5 + step * 3) % 48;
            event(0, {0x90 | c, note, 70 + step % 30});
        }
        for (int c = 0; c < 16; ++c) {
            const int note = c == 9 ? 35 + (step * 7 + c) % 47 : 36 + (c * 5 + step * 3) % 48;
            event(c == 0 ? 240 : 0, {0x80 | c, note, 0});
        }
    }
    event(0, {0xFF, 0x2F, 0});
    std::string file = std::string("MThd\0\0\0\6\0\0\0\1\x01\xE0", 14) + "MTrk";
    const auto n = static_cast<uint32_t>(track.size());
    file += {char(n >> 24), char(n >> 16), char(n >> 8), char(n)};
    return file + track;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

int main() {
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::vector<std::string> pieces;
    for (const auto& e : std::filesystem::directory_iterator(kBin + "/Musics"))
        pieces.push_back(e.path().string());
    std::sort(pieces.begin(), pieces.end());
    const std::string busy = (std::filesystem::temp_directory_path() /
                              ("tovani_bench_busy_" + std::to_string(::getpid()) + ".mid"))
                                 .string();
    std::ofstream(busy, std::ios::binary) << BusyPiece();
    pieces.push_back(busy);

    const double before = ResidentMb();
    AudioOutput out;
    const auto open0 = Steady::now();
    const bool opened = out.Open(kBin + "/Resources");
    const double openMs = Ms(open0);
    if (!opened) {
        std::printf("no sound output: %s\n", out.Problem().c_str());
        return 1;
    }
    out.WaitForSynth();
    const double soundFontMs = Ms(open0);
    std::vector<double> midiStarts, firstBlocks;
    double worstStartMod = 0, worstCpu = 0, busyCpu = 0, worstMemory = 0;
    constexpr double kListenSeconds = 3;
    for (const std::string& path : pieces) {
        const bool midi = path.size() > 4 && path.compare(path.size() - 4, 4, ".mid") == 0;
        std::vector<double> starts;
        for (int i = 0; i < kStarts; ++i) {
            const auto t0 = Steady::now();
            if (!out.PlayMusic(path, -1)) {
                std::printf("%s cannot be played\n", path.c_str());
                return 1;
            }
            starts.push_back(Ms(t0));
            if (midi) {
                // The first block on the sound card's thread: within a few buffers.
                for (int w = 0; w < 200 && out.MidiFirstBlockMs() < 0; ++w)
                    std::this_thread::sleep_for(std::chrono::milliseconds(2));
                firstBlocks.push_back(out.MidiFirstBlockMs());
            }
        }
        if (midi)
            midiStarts.insert(midiStarts.end(), starts.begin(), starts.end());
        else
            worstStartMod =
                std::max(worstStartMod, *std::max_element(starts.begin(), starts.end()));
        const double cpu0 = CpuSeconds();
        const auto t0 = Steady::now();
        double peakMemory = 0;
        while (Steady::now() - t0 < std::chrono::duration<double>(kListenSeconds)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            peakMemory = std::max(peakMemory, ResidentMb());
        }
        const double wall = std::chrono::duration<double>(Steady::now() - t0).count();
        const double cpu = 100 * (CpuSeconds() - cpu0) / wall;
        std::printf("  %-32s start median %5.2f ms, worst %5.2f ms  processor %4.1f %%  "
                    "memory %5.1f MB\n",
                    path == busy ? "(busy piece, all instruments)"
                                 : std::filesystem::path(path).filename().c_str(),
                    Median(starts), *std::max_element(starts.begin(), starts.end()), cpu,
                    peakMemory - before);
        (path == busy ? busyCpu : worstCpu) = std::max(path == busy ? busyCpu : worstCpu, cpu);
        worstMemory = std::max(worstMemory, peakMemory - before);
        out.StopMusic();
    }
    out.Close();
    std::filesystem::remove(busy);
    std::printf("  (the SoundFont was read on its own thread in %.0f ms from the output's "
                "opening)\n",
                soundFontMs);
    Report("start-up: opening the sound output", openMs, kOpenTargetMs, "ms");
    std::printf("  (%zu starts of MIDI pieces)\n", midiStarts.size());
    Report("starting a MIDI piece, median", Median(midiStarts), kStartMedianTargetMs, "ms");
    Report("starting a MIDI piece, worst", *std::max_element(midiStarts.begin(), midiStarts.end()),
           kStartWorstTargetMs, "ms");
    Report("its first block on the sound thread, worst",
           *std::max_element(firstBlocks.begin(), firstBlocks.end()), kFirstBlockTargetMs, "ms");
    Report("starting a MOD piece, worst", worstStartMod, kStartWorstTargetMs, "ms");
    Report("music playing: processor of one core, our pieces", worstCpu, kCpuTargetPercent, "%");
    Report("the same, the busy piece (all sixteen channels)", busyCpu, kCpuTargetPercent, "%");
    Report("music playing: memory, libraries and SoundFont", worstMemory, kMemoryTargetMb, "MB");
    return 0;
}
