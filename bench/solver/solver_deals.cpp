// The solver deal by deal: for each plain deal of a layout, its verdict, the positions searched
// and the solve time, with the quick search and without it, and where the time goes (winnable or
// unwinnable deals, and among the slowest tenth). A tool for looking into slow deals and for
// checking that both ways give the same verdicts; bench_solver holds the targets.
//
// Usage: solver_deals LAYOUT FIRST COUNT [--list | --quick-alone CAP]
//        solver_deals LAYOUT - [--list] < GAMES (the game numbers to solve, one a line)
//   LAYOUT: a shipped layout's name (e.g. Traditional), all, or hard:K for the K-th generated
//   hard slab (0..). --list prints a line per deal: "game verdict positions ms | verdict
//   positions ms" (with the quick search | without). --quick-alone runs the quick search alone
//   for at most CAP positions a deal and prints how many deals it won and the positions it took.
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
#include "solitaire/SolverQuick.h"

using namespace tovani;

namespace {

using bench::ThreadCpuMs;

struct Run {
    SolveVerdict verdict;
    uint64_t nodes;
    double ms;
};

Run Solve(const Board& b, bool quick) {
    SolveLimits limits;
    limits.quick = quick;
    double t0 = ThreadCpuMs();
    SolveResult r = SolvePosition(b, FreeRule::Side, limits);
    double ms = ThreadCpuMs() - t0;
    if (r.verdict == SolveVerdict::Winnable && !ReplayClears(b, r.removal, FreeRule::Side))
        std::printf("the removal sequence does not clear the board\n");
    return Run{r.verdict, r.nodes, ms};
}

// The plain deal numbered `seed` on a layout.
Board PlainDeal(const Layout& layout, int seed) {
    Board b;
    RandomGenerator rng;
    ManualClock clock;
    BeginGame(b, layout, rng, clock, DealOptions{false, true, seed});
    return b;
}

const char* Name(SolveVerdict v) {
    return v == SolveVerdict::Winnable ? "winnable" : v == SolveVerdict::Unwinnable ? "unwinnable"
                                                                                   : "unknown";
}

// Where the time of one way of solving goes.
void Share(const char* what, std::vector<Run> runs) {
    double won = 0, lost = 0;
    for (const Run& r : runs)
        (r.verdict == SolveVerdict::Winnable ? won : lost) += r.ms;
    std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) { return a.ms > b.ms; });
    double tailWon = 0, tailLost = 0;
    size_t tail = std::max<size_t>(1, runs.size() / 10);
    for (size_t k = 0; k < tail && k < runs.size(); ++k)
        (runs[k].verdict == SolveVerdict::Winnable ? tailWon : tailLost) += runs[k].ms;
    std::printf("%s: total %.0f ms (winnable %.0f, unwinnable %.0f); slowest tenth %.0f ms "
                "(winnable %.0f, unwinnable %.0f); slowest %.1f ms\n",
                what, won + lost, won, lost, tailWon + tailLost, tailWon, tailLost,
                runs.empty() ? 0.0 : runs[0].ms);
}

} // namespace

int main(int argc, char** argv) {
    const bool fromInput = argc > 2 && std::string(argv[2]) == "-";
    if (argc < 4 && !fromInput) {
        std::fprintf(stderr, "usage: solver_deals LAYOUT|all|hard:K FIRST COUNT [--list]\n"
                             "       solver_deals LAYOUT|hard:K - [--list] < GAMES\n");
        return 2;
    }
    const std::string name = argv[1];
    const int opt = fromInput ? 3 : 4; // where the options start
    const bool list = argc > opt && std::string(argv[opt]) == "--list";
    LayoutCatalog cat = LayoutCatalog::Scan(std::string(TOVANI_BIN_DIR) + "/Layouts");
    if (name == "all") {
        if (fromInput) {
            std::fprintf(stderr, "all takes a range of games, not a list\n");
            return 2;
        }
        // Every shipped layout in turn, in processes of their own.
        int failed = 0;
        for (int k = 1; k <= cat.Count(); ++k) {
            std::string cmd = std::string("'") + argv[0] + "' '" + cat.Entry(k)->name + "' " +
                              argv[2] + " " + argv[3];
            for (int a = 4; a < argc; ++a)
                cmd += std::string(" ") + argv[a];
            std::printf("%s:\n", cat.Entry(k)->name.c_str());
            std::fflush(stdout);
            failed += std::system(cmd.c_str()) != 0;
        }
        std::printf("layouts whose verdicts differ: %d\n", failed);
        return failed == 0 ? 0 : 1;
    }
    std::vector<int> games;
    if (fromInput) {
        int g = 0;
        while (std::scanf("%d", &g) == 1)
            games.push_back(g);
    } else {
        const int first = std::atoi(argv[2]), count = std::atoi(argv[3]);
        for (int g = first; g < first + count; ++g)
            games.push_back(g);
    }
    if (games.empty())
        return 0;
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
        int n = cat.NumberOf(name);
        LayoutLoad load = n ? LoadLayoutFile(cat.PathOf(n), cat) : LayoutLoad{};
        if (!load.ok) {
            std::fprintf(stderr, "no layout named %s\n", name.c_str());
            return 2;
        }
        layout = load.layout;
    }
    const int count = static_cast<int>(games.size());
    if (argc > opt + 1 && std::string(argv[opt]) == "--quick-alone") {
        const uint64_t cap = static_cast<uint64_t>(std::atoll(argv[opt + 1]));
        std::vector<double> nodes;
        int won = 0;
        double ms = 0;
        for (int seed : games) {
            const Board b = PlainDeal(layout, seed);
            SolveLimits limits;
            double t0 = ThreadCpuMs();
            solver::QuickSearch q(b, FreeRule::Side, limits);
            bool w = q.Step(cap);
            ms += ThreadCpuMs() - t0;
            if (w && !ReplayClears(b, q.Removal(), FreeRule::Side))
                std::printf("game %d: the removal sequence does not clear the board\n", seed);
            won += w;
            nodes.push_back(static_cast<double>(q.Nodes()));
        }
        std::sort(nodes.begin(), nodes.end());
        auto at = [&](double f) { return nodes[static_cast<size_t>(f * (nodes.size() - 1))]; };
        double sum = 0;
        for (double x : nodes)
            sum += x;
        std::printf("quick alone: won %d of %d; positions median %.0f, 80%% %.0f, 90%% %.0f, "
                    "mean %.0f; %.3f ms a deal, %.2f us a position\n",
                    won, count, at(0.5), at(0.8), at(0.9), sum / count, ms / count,
                    1000.0 * ms / std::max(sum, 1.0));
        return 0;
    }
    std::vector<Run> with, without;
    int differ = 0;
    for (int seed : games) {
        const Board b = PlainDeal(layout, seed);
        Run a = Solve(b, true), c = Solve(b, false);
        with.push_back(a);
        without.push_back(c);
        if (a.verdict != c.verdict) {
            ++differ;
            std::printf("game %d: %s with the quick search, %s without\n", seed, Name(a.verdict),
                        Name(c.verdict));
        }
        if (list)
            std::printf("%d %s %llu %.3f | %s %llu %.3f\n", seed, Name(a.verdict),
                        static_cast<unsigned long long>(a.nodes), a.ms, Name(c.verdict),
                        static_cast<unsigned long long>(c.nodes), c.ms);
    }
    Share("with the quick search", with);
    Share("without", without);
    std::printf("verdicts that differ: %d of %d\n", differ, count);
    return differ == 0 ? 0 : 1;
}
