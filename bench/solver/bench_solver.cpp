// Solve time per deal on the plain deals of "Traditional" (game numbers 1 to DEALS), one core.
// Targets: median at most 0.5 ms, mean at most 5 ms, no deal above 1 s, no "unknown", peak
// memory at most 256 MB. Every winnable answer is replayed through the game's rules. Prints
// the winnable fraction too (about 97 % is expected of random turtle deals). Exit code 1 when
// a target is missed or an answer does not replay.
//
// Usage: bench_solver [DEALS] [FIRST]   (10000 deals from game number 1 by default)
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/Clock.h"
#include "core/Random.h"
#include "solitaire/Dealer.h"
#include "solitaire/LayoutCatalog.h"
#include "solitaire/Solver.h"

using namespace tovani;

int main(int argc, char** argv) {
    int deals = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
    int first = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1;
    LayoutCatalog cat = LayoutCatalog::Scan(std::string(TOVANI_BIN_DIR) + "/Layouts");
    int n = cat.NumberOf("Traditional");
    if (n == 0) {
        std::fprintf(stderr, "no Traditional layout\n");
        return 2;
    }
    LayoutLoad load = LoadLayoutFile(cat.PathOf(n), cat);
    if (!load.ok) {
        std::fprintf(stderr, "%s\n", LayoutErrorMessage(load.error).c_str());
        return 2;
    }
    std::vector<double> ms;
    int counts[3] = {0, 0, 0};
    bool replayOk = true;
    ManualClock clock;
    for (int seed = first; seed < first + deals; ++seed) {
        Board b;
        RandomGenerator rng;
        BeginGame(b, load.layout, rng, clock, DealOptions{false, true, seed});
        auto t0 = std::chrono::steady_clock::now();
        SolveResult r = SolvePosition(b, FreeRule::Side);
        auto t1 = std::chrono::steady_clock::now();
        ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
        ++counts[static_cast<int>(r.verdict)];
        if (r.verdict == SolveVerdict::Winnable && !ReplayClears(b, r.removal, FreeRule::Side)) {
            std::printf("game %d: the removal sequence does not clear the board\n", seed);
            replayOk = false;
        }
        if (r.verdict == SolveVerdict::Unknown)
            std::printf("game %d: unknown after %llu positions\n", seed,
                        static_cast<unsigned long long>(r.nodes));
    }
    double mean = 0;
    for (double v : ms)
        mean += v;
    mean /= static_cast<double>(ms.size());
    std::sort(ms.begin(), ms.end());
    double median = ms[ms.size() / 2];
    double p99 = ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
    struct rusage ru {};
    getrusage(RUSAGE_SELF, &ru);
    double peakMb = static_cast<double>(ru.ru_maxrss) / 1024.0;

    std::printf("Traditional, plain deals %d to %d\n", first, first + deals - 1);
    std::printf("winnable %d (%.2f %%), unwinnable %d, unknown %d\n", counts[0],
                100.0 * counts[0] / deals, counts[1], counts[2]);
    bool ok = replayOk;
    auto line = [&](const char* what, double v, double target, const char* unit) {
        bool met = v <= target;
        ok = ok && met;
        std::printf("  %-22s %10.3f %s  (target at most %g %s)%s\n", what, v, unit, target, unit,
                    met ? "" : "  MISSED");
    };
    line("median", median, 0.5, "ms");
    line("mean", mean, 5.0, "ms");
    line("99th percentile", p99, 1000.0, "ms");
    line("maximum", ms.back(), 1000.0, "ms");
    line("unknown", counts[2], 0, "deals");
    line("peak memory", peakMb, 256.0, "MB");
    return ok ? 0 : 1;
}
