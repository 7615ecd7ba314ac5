// tovani-cli stats LAYOUT|--layouts all --deals K [--first-seed S] [--vertical] [--slowest N]
// Solves the plain deals of game numbers S..S+K-1 (dealt as "deal" deals them) of one layout, or
// of every shipped layout in turn, and prints for each how many are winnable, unwinnable and
// unknown, with the solve time per deal (processor time of the solving thread: median, 90th and
// 99th percentiles, maximum, mean), the game
// number of the slowest deal and the positions it took, and the N slowest games (5 by default).
// The search's budget is counted in positions, so the verdicts and the position counts are the
// same on every machine; only the times differ. The game numbers left unknown are listed on
// standard error, with a progress line every 500 deals so that a long run can be followed.
#include <algorithm>
#include <cstdio>
#include <ctime>

#include "Commands.h"
#include "LayoutArgument.h"
#include "core/Files.h"
#include "core/TextCodec.h"
#include "solitaire/Dealer.h"
#include "solitaire/LayoutCatalog.h"
#include "solitaire/Solver.h"

namespace tovani::cli {

namespace {

// The processor time this thread has used, in milliseconds: unlike the wall clock, it does not
// count the time the solver waited while other programs had the processor.
double ThreadCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) * 1e-6;
}

struct DealTime {
    double ms = 0;
    long long seed = 0;
    uint64_t nodes = 0;
};

// Solves the deals of one layout and prints its lines; false (with `error` set) when a deal fails.
bool StatsOfLayout(const Layout& layout, long long first, long long deals, FreeRule rule,
                   int slowest, std::string& error) {
    long long counts[3] = {0, 0, 0};
    std::vector<DealTime> times;
    times.reserve(static_cast<size_t>(deals));
    uint64_t totalNodes = 0;
    for (long long seed = first; seed < first + deals; ++seed) {
        Board board;
        if (!DealNumberedGame(layout, static_cast<int32_t>(seed), false, board, error))
            return false;
        double t0 = ThreadCpuMs();
        SolveResult res = SolvePosition(board, rule);
        times.push_back({ThreadCpuMs() - t0, seed, res.nodes});
        totalNodes += res.nodes;
        ++counts[static_cast<int>(res.verdict)];
        if (res.verdict == SolveVerdict::Unknown)
            std::fprintf(stderr, "tovani-cli: %s game %lld left unknown after %llu positions\n",
                         PrintableText(layout.name).c_str(), seed,
                         static_cast<unsigned long long>(res.nodes));
        long long done = seed - first + 1;
        if (done % 500 == 0 && done < deals) {
            double sum = 0, most = 0;
            for (const DealTime& d : times) {
                sum += d.ms;
                most = std::max(most, d.ms);
            }
            std::fprintf(stderr,
                         "tovani-cli: %s, %lld of %lld deals, winnable %lld (%.2f%%), unknown "
                         "%lld, mean %.3f ms, maximum %.3f ms\n",
                         PrintableText(layout.name).c_str(), done, deals, counts[0],
                         100.0 * static_cast<double>(counts[0]) / static_cast<double>(done),
                         counts[2], sum / static_cast<double>(done), most);
        }
    }
    double mean = 0;
    for (const DealTime& d : times)
        mean += d.ms;
    mean /= static_cast<double>(times.size());
    std::vector<double> ms;
    for (const DealTime& d : times)
        ms.push_back(d.ms);
    std::sort(ms.begin(), ms.end());
    auto at = [&](double q) {
        size_t k = static_cast<size_t>(q * static_cast<double>(ms.size() - 1) + 0.5);
        return ms[std::min(k, ms.size() - 1)];
    };
    std::stable_sort(times.begin(), times.end(),
                     [](const DealTime& a, const DealTime& b) { return a.ms > b.ms; });
    std::printf("layout %s, games %lld to %lld, %s rule\n", PrintableText(layout.name).c_str(),
                first, first + deals - 1, rule == FreeRule::Vertical ? "vertical" : "side");
    const char* names[3] = {"winnable", "unwinnable", "unknown"};
    for (int v = 0; v < 3; ++v)
        std::printf("%s %lld %.2f%%\n", names[v], counts[v],
                    100.0 * static_cast<double>(counts[v]) / static_cast<double>(deals));
    std::printf("time per deal: median %.3f ms, 90th percentile %.3f ms, 99th percentile %.3f "
                "ms, maximum %.3f ms, mean %.3f ms\n",
                at(0.5), at(0.9), at(0.99), ms.back(), mean);
    std::printf("positions: %llu in all, mean %.0f\n", static_cast<unsigned long long>(totalNodes),
                static_cast<double>(totalNodes) / static_cast<double>(deals));
    std::printf("slowest game %lld: %.3f ms, %llu positions\n", times.front().seed,
                times.front().ms, static_cast<unsigned long long>(times.front().nodes));
    if (slowest > 0) {
        std::printf("slowest games:");
        for (size_t k = 0; k < times.size() && k < static_cast<size_t>(slowest); ++k)
            std::printf(" %lld (%.1f ms, %llu)", times[k].seed, times[k].ms,
                        static_cast<unsigned long long>(times[k].nodes));
        std::printf("\n");
    }
    return true;
}

} // namespace

int RunStats(const std::vector<std::string>& args) {
    std::string layoutArg;
    bool haveDeals = false, vertical = false, allLayouts = false;
    long long deals = 0, first = 1, slowest = 5;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--deals" || a == "--first-seed" || a == "--slowest") {
            if (i + 1 >= args.size())
                return Fail(a + " needs a number");
            long long v = 0;
            long long low = a == "--slowest" ? 0 : 1;
            if (!ParseWholeNumber(args[++i], low, kMaxGameNumber, v))
                return Fail(a + " must be a whole number from " + std::to_string(low) + " to " +
                            std::to_string(kMaxGameNumber) + ", not \"" + args[i] + "\"");
            (a == "--deals" ? deals : a == "--first-seed" ? first : slowest) = v;
            haveDeals = haveDeals || a == "--deals";
        } else if (a == "--layouts") {
            if (i + 1 >= args.size() || args[i + 1] != "all")
                return Fail("--layouts takes \"all\" (every shipped layout)");
            ++i;
            allLayouts = true;
        } else if (a == "--vertical") {
            vertical = true;
        } else if (a.size() > 1 && a[0] == '-') {
            return Fail("unknown option \"" + a + "\"");
        } else if (layoutArg.empty()) {
            layoutArg = a;
        } else {
            return Fail("one layout only, not \"" + a + "\" as well");
        }
    }
    if (layoutArg.empty() && !allLayouts)
        return Fail("stats needs a layout, or --layouts all");
    if (!layoutArg.empty() && allLayouts)
        return Fail("a layout or --layouts all, not both");
    if (!haveDeals)
        return Fail("stats needs --deals K (how many deals)");
    if (first + deals - 1 > kMaxGameNumber)
        return Fail("the last game number would pass " + std::to_string(kMaxGameNumber));

    FreeRule rule = vertical ? FreeRule::Vertical : FreeRule::Side;
    std::string error;
    std::vector<Layout> layouts;
    if (allLayouts) {
        LayoutCatalog catalog = LayoutCatalog::Scan(JoinPath(ContentDirectory(), "Layouts"));
        if (catalog.Count() == 0)
            return Fail("no shipped layouts beside tovani-cli");
        for (int n = 1; n <= catalog.Count(); ++n) {
            LayoutLoad load = LoadLayoutArgument(catalog.PathOf(n), error);
            if (!load.ok)
                return Fail(catalog.Entry(n)->fileName + ": " + error);
            layouts.push_back(load.layout);
        }
    } else {
        LayoutLoad load = LoadLayoutArgument(layoutArg, error);
        if (!load.ok)
            return Fail(error);
        layouts.push_back(load.layout);
    }
    for (size_t k = 0; k < layouts.size(); ++k) {
        if (k > 0)
            std::printf("\n");
        if (!StatsOfLayout(layouts[k], first, deals, rule, static_cast<int>(slowest), error))
            return Fail(error);
        std::fflush(stdout);
    }
    return 0;
}

} // namespace tovani::cli
