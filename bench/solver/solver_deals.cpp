// One line per deal, for looking into the solver's slow deals and for checking that a change to
// the solver keeps every answer: "game verdict positions ms" (processor time of the solving
// thread), then a summary of where the time goes (the share of the total taken by each tenth of
// the deals, slowest last).
//
// Usage: solver_deals LAYOUT|hard:K FIRST COUNT
//        solver_deals LAYOUT|hard:K - < GAMES (the game numbers to solve, one a line)
//   LAYOUT: a shipped layout's name ("Traditional"); hard:K the K-th generated hard slab (0..).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "HardSlabs.h"
#include "core/Clock.h"
#include "core/Random.h"
#include "solitaire/Dealer.h"
#include "solitaire/LayoutCatalog.h"
#include "solitaire/Solver.h"

using namespace tovani;

namespace {

double ThreadCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) * 1e-6;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3 || (argc < 4 && std::string(argv[2]) != "-")) {
        std::fprintf(stderr, "usage: solver_deals LAYOUT|hard:K FIRST COUNT\n");
        return 2;
    }
    std::string name = argv[1];
    std::vector<int> games;
    if (std::string(argv[2]) == "-") {
        int g = 0;
        while (std::scanf("%d", &g) == 1)
            games.push_back(g);
    } else {
        int first = std::atoi(argv[2]), count = std::atoi(argv[3]);
        for (int g = first; g < first + count; ++g)
            games.push_back(g);
    }
    Layout layout;
    if (name.rfind("hard:", 0) == 0) {
        std::vector<Layout> hard = bench::HardLayouts();
        size_t k = static_cast<size_t>(std::atoi(name.c_str() + 5));
        if (k >= hard.size()) {
            std::fprintf(stderr, "there are %zu hard layouts\n", hard.size());
            return 2;
        }
        layout = hard[k];
    } else {
        LayoutCatalog cat = LayoutCatalog::Scan(std::string(TOVANI_BIN_DIR) + "/Layouts");
        int n = cat.NumberOf(name);
        LayoutLoad load = n ? LoadLayoutFile(cat.PathOf(n), cat) : LayoutLoad{};
        if (!load.ok) {
            std::fprintf(stderr, "no layout %s\n", name.c_str());
            return 2;
        }
        layout = load.layout;
    }
    const char* verdicts[] = {"winnable", "unwinnable", "unknown"};
    std::vector<double> ms;
    ManualClock clock;
    for (int seed : games) {
        Board b;
        RandomGenerator rng;
        BeginGame(b, layout, rng, clock, DealOptions{false, true, seed});
        double t0 = ThreadCpuMs();
        SolveResult r = SolvePosition(b, FreeRule::Side);
        double t = ThreadCpuMs() - t0;
        ms.push_back(t);
        bool replays = r.verdict != SolveVerdict::Winnable || ReplayClears(b, r.removal,
                                                                           FreeRule::Side);
        std::printf("%d %s %llu %.3f%s\n", seed, verdicts[static_cast<int>(r.verdict)],
                    static_cast<unsigned long long>(r.nodes), t, replays ? "" : " NO-REPLAY");
    }
    if (ms.empty())
        return 0;
    std::sort(ms.begin(), ms.end());
    double total = 0;
    for (double t : ms)
        total += t;
    std::printf("# total %.1f ms, mean %.3f ms; share of the time by tenth of the deals:", total,
                total / static_cast<double>(ms.size()));
    for (int d = 0; d < 10; ++d) {
        double part = 0;
        for (size_t k = ms.size() * static_cast<size_t>(d) / 10;
             k < ms.size() * static_cast<size_t>(d + 1) / 10; ++k)
            part += ms[k];
        std::printf(" %.1f%%", 100.0 * part / std::max(total, 1e-9));
    }
    std::printf("\n");
    return 0;
}
