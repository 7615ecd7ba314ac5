// What the music costs: the time from the command to a piece playing (its file read and, for
// MIDI, the SoundFont loaded), then the processor time and the memory the output takes while
// a piece plays in real time. SDL's dummy driver stands in for the sound card and keeps the
// real pace. Each piece is measured on its own; the figures are the worst piece's. Opening the
// output is what the program's start-up pays for its sound.
#include "audio/AudioOutput.h"
#include "audio/ModPlug.h"

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

constexpr double kStartTargetMs = 50;
// The sound's share of the program's 0.25 s start-up.
constexpr double kOpenTargetMs = 25;
constexpr double kCpuTargetPercent = 5;
constexpr double kMemoryTargetMb = 20;

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

void Report(const char* what, double value, double target, const char* unit) {
    std::printf("%-46s %8.1f %-3s (target %5.1f %s)  %s\n", what, value, unit, target, unit,
                value <= target ? "ok" : "OVER");
}

} // namespace

int main() {
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::vector<std::string> pieces;
    for (const auto& e : std::filesystem::directory_iterator(kBin + "/Musics"))
        pieces.push_back(e.path().string());
    std::sort(pieces.begin(), pieces.end());

    const double before = ResidentMb();
    AudioOutput out;
    // What start-up pays for the sound: the output opened and the effects read. The first
    // piece starts once the window is up.
    const auto open0 = Steady::now();
    const bool opened_ok = out.Open(kBin + "/Resources");
    const double openMs = std::chrono::duration<double, std::milli>(Steady::now() - open0).count();
    if (!opened_ok) {
        std::printf("no sound output: %s\n", out.Problem().c_str());
        return 1;
    }
    const double opened = ResidentMb();
    double worstStartMid = 0, worstStartMod = 0, worstCpu = 0, worstMemory = 0;
    constexpr double kListenSeconds = 3;
    for (const std::string& path : pieces) {
        const bool midi = path.size() > 4 && path.compare(path.size() - 4, 4, ".mid") == 0;
        // The start: three tries, the best of them (the first reads the files cold).
        double best = 1e9;
        for (int i = 0; i < 3; ++i) {
            const auto t0 = Steady::now();
            if (!out.PlayMusic(path, -1)) {
                std::printf("%s cannot be played\n", path.c_str());
                return 1;
            }
            best = std::min(best,
                            std::chrono::duration<double, std::milli>(Steady::now() - t0).count());
        }
        (midi ? worstStartMid : worstStartMod) =
            std::max(midi ? worstStartMid : worstStartMod, best);
        const double cpu0 = CpuSeconds();
        const auto t0 = Steady::now();
        double peakMemory = 0;
        while (Steady::now() - t0 < std::chrono::duration<double>(kListenSeconds)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            peakMemory = std::max(peakMemory, ResidentMb());
        }
        const double wall = std::chrono::duration<double>(Steady::now() - t0).count();
        const double cpu = 100 * (CpuSeconds() - cpu0) / wall;
        std::printf("  %-32s start %6.1f ms  processor %4.1f %%  memory %5.1f MB\n",
                    std::filesystem::path(path).filename().c_str(), best, cpu, peakMemory - before);
        worstCpu = std::max(worstCpu, cpu);
        worstMemory = std::max(worstMemory, peakMemory - before);
        out.StopMusic();
    }
    out.Close();
    Report("start-up: opening the sound output", openMs, kOpenTargetMs, "ms");
    Report("starting a MIDI piece (SoundFont read)", worstStartMid, kStartTargetMs, "ms");
    Report("starting a MOD piece", worstStartMod, kStartTargetMs, "ms");
    Report("music playing: processor of one core", worstCpu, kCpuTargetPercent, "%");
    std::printf("  (of the memory: %.1f MB the output opened with no piece, the SDL and mixer "
                "libraries)\n",
                opened - before);
    Report("music playing: memory, libraries and SoundFont", worstMemory, kMemoryTargetMb, "MB");
    return 0;
}
