// Solve time per deal (processor time of the solving thread, so that other programs on the
// machine do not count), on three kinds of boards, one core:
//
// 1. Plain "Traditional" deals, 10,000 in a row from each first game number given (three ranges
//    by default): mean at most 2 ms, 99th percentile at most 30 ms, slowest at most 250 ms.
// 2. Every shipped layout, 1,000 plain deals each: slowest at most 500 ms.
// 3. Layouts made to be hard, 144 tiles in two layers of long rows (HardSlabs.h), 200 plain
//    deals each: slowest at most 1 s.
//
// Everywhere: no "unknown" within the solver's node budget, every winnable answer replays
// through the game's rules, peak memory at most 256 MB. Each figure is printed beside its target
// with "ok" or "OVER"; the exit code is 1 when a target is missed.
//
// Usage: bench_solver [--deals N] [--layout-deals N] [--hard-deals N] [--layout-first S]
//                     [--only traditional|layouts|hard] [FIRST ...]
//   FIRST: first game numbers of the Traditional ranges (20001 500001 1000001 by default).
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "HardSlabs.h"
#include "ThreadClock.h"
#include "core/Clock.h"
#include "core/Random.h"
#include "solitaire/Dealer.h"
#include "solitaire/LayoutCatalog.h"
#include "solitaire/Solver.h"

using namespace tovani;

namespace {

using bench::ThreadCpuMs;

struct Figures {
    std::vector<double> ms;
    int counts[3] = {0, 0, 0};
    int slowestSeed = 0;
    double slowestMs = 0;
    uint64_t slowestNodes = 0;
    uint64_t nodes = 0;
    bool replayOk = true;
};

// Solves the plain deals first..first+deals-1 of a layout.
Figures SolveDeals(const Layout& layout, int first, int deals) {
    Figures f;
    ManualClock clock;
    for (int seed = first; seed < first + deals; ++seed) {
        Board b;
        RandomGenerator rng;
        BeginGame(b, layout, rng, clock, DealOptions{false, true, seed});
        double t0 = ThreadCpuMs();
        SolveResult r = SolvePosition(b, FreeRule::Side);
        double ms = ThreadCpuMs() - t0;
        f.ms.push_back(ms);
        f.nodes += r.nodes;
        ++f.counts[static_cast<int>(r.verdict)];
        if (ms > f.slowestMs) {
            f.slowestMs = ms;
            f.slowestSeed = seed;
            f.slowestNodes = r.nodes;
        }
        if (r.verdict == SolveVerdict::Winnable && !ReplayClears(b, r.removal, FreeRule::Side)) {
            std::printf("  %s game %d: the removal sequence does not clear the board\n",
                        layout.name.c_str(), seed);
            f.replayOk = false;
        }
        if (r.verdict == SolveVerdict::Unknown)
            std::printf("  %s game %d: unknown after %llu positions\n", layout.name.c_str(), seed,
                        static_cast<unsigned long long>(r.nodes));
    }
    return f;
}

double Mean(const std::vector<double>& v) {
    double s = 0;
    for (double x : v)
        s += x;
    return v.empty() ? 0 : s / static_cast<double>(v.size());
}

double Percentile(std::vector<double> v, double q) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    size_t k = static_cast<size_t>(q * static_cast<double>(v.size() - 1) + 0.5);
    return v[std::min(k, v.size() - 1)];
}

bool g_ok = true;

void Line(const char* what, double v, double target, const char* unit) {
    bool met = v <= target;
    g_ok = g_ok && met;
    std::printf("  %-26s %10.3f %s  target at most %g %s  %s\n", what, v, unit, target, unit,
                met ? "ok" : "OVER");
}

void Common(const Figures& f) {
    Line("unknown", f.counts[2], 0, "deals");
    if (!f.replayOk) {
        g_ok = false;
        std::printf("  every winnable answer replays: no  OVER\n");
    }
}

} // namespace

int main(int argc, char** argv) {
    int deals = 10000, layoutDeals = 1000, hardDeals = 200, layoutFirst = 1;
    std::string only;
    std::vector<int> firsts;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto next = [&]() { return i + 1 < argc ? std::max(1, std::atoi(argv[++i])) : 1; };
        if (a == "--deals")
            deals = next();
        else if (a == "--layout-deals")
            layoutDeals = next();
        else if (a == "--hard-deals")
            hardDeals = next();
        else if (a == "--layout-first")
            layoutFirst = next();
        else if (a == "--only" && i + 1 < argc)
            only = argv[++i];
        else
            firsts.push_back(std::max(1, std::atoi(a.c_str())));
    }
    if (firsts.empty())
        firsts = {20001, 500001, 1000001};

    LayoutCatalog cat = LayoutCatalog::Scan(std::string(TOVANI_BIN_DIR) + "/Layouts");
    if (only.empty() || only == "traditional") {
        int n = cat.NumberOf("Traditional");
        LayoutLoad load = n ? LoadLayoutFile(cat.PathOf(n), cat) : LayoutLoad{};
        if (!load.ok) {
            std::fprintf(stderr, "no Traditional layout\n");
            return 2;
        }
        for (int first : firsts) {
            Figures f = SolveDeals(load.layout, first, deals);
            std::printf("Traditional, plain deals %d to %d: winnable %d, unwinnable %d\n", first,
                        first + deals - 1, f.counts[0], f.counts[1]);
            std::printf("  median %.3f ms, 90th percentile %.3f ms, positions %llu\n",
                        Percentile(f.ms, 0.5), Percentile(f.ms, 0.9),
                        static_cast<unsigned long long>(f.nodes));
            Line("mean", Mean(f.ms), 2.0, "ms");
            Line("99th percentile", Percentile(f.ms, 0.99), 30.0, "ms");
            char what[64];
            std::snprintf(what, sizeof what, "slowest (game %d)", f.slowestSeed);
            Line(what, f.slowestMs, 250.0, "ms");
            Common(f);
            std::fflush(stdout);
        }
    }
    if (only.empty() || only == "layouts") {
        std::printf("Every shipped layout, plain deals %d to %d\n", layoutFirst,
                    layoutFirst + layoutDeals - 1);
        for (int n = 1; n <= cat.Count(); ++n) {
            LayoutLoad load = LoadLayoutFile(cat.PathOf(n), cat);
            if (!load.ok) {
                std::printf("  %s: does not load  OVER\n", cat.Entry(n)->fileName.c_str());
                g_ok = false;
                continue;
            }
            Figures f = SolveDeals(load.layout, layoutFirst, layoutDeals);
            char what[96];
            std::snprintf(what, sizeof what, "%s slowest (game %d)", cat.Entry(n)->name.c_str(),
                          f.slowestSeed);
            Line(what, f.slowestMs, 500.0, "ms");
            Common(f);
            std::fflush(stdout);
        }
    }
    if (only.empty() || only == "hard") {
        std::printf("Layouts made to be hard (two layers of long rows, 144 tiles), plain deals "
                    "1 to %d\n",
                    hardDeals);
        for (const Layout& l : bench::HardLayouts()) {
            Figures f = SolveDeals(l, 1, hardDeals);
            std::printf("  %s: winnable %d, unwinnable %d, mean %.3f ms\n", l.name.c_str(),
                        f.counts[0], f.counts[1], Mean(f.ms));
            char what[64];
            std::snprintf(what, sizeof what, "slowest (game %d)", f.slowestSeed);
            Line(what, f.slowestMs, 1000.0, "ms");
            Common(f);
            std::fflush(stdout);
        }
    }
    struct rusage ru {};
    getrusage(RUSAGE_SELF, &ru);
    Line("peak memory", static_cast<double>(ru.ru_maxrss) / 1024.0, 256.0, "MB");
    std::printf("%s\n", g_ok ? "every target met" : "some target missed");
    return g_ok ? 0 : 1;
}
