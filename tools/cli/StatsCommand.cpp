// tovani-cli stats LAYOUT --deals K [--first-seed S] [--vertical]
// Solves the plain deals of game numbers S..S+K-1 (dealt as "deal" deals them) and prints how
// many are winnable, unwinnable and unknown, with the solve time per deal: median, 99th
// percentile, maximum and mean. The game numbers left unknown are listed on standard error, with a
// progress line every 500 deals so that a long run can be followed.
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "Commands.h"
#include "LayoutArgument.h"
#include "solitaire/Dealer.h"
#include "solitaire/Solver.h"

namespace tovani::cli {

int RunStats(const std::vector<std::string>& args) {
    std::string layoutArg;
    bool haveDeals = false, vertical = false;
    long long deals = 0, first = 1;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--deals" || a == "--first-seed") {
            if (i + 1 >= args.size())
                return Fail(a + " needs a number");
            long long v = 0;
            if (!ParseWholeNumber(args[++i], 1, kMaxGameNumber, v))
                return Fail(a + " must be a whole number from 1 to " + std::to_string(kMaxGameNumber) +
                            ", not \"" + args[i] +
                            "\"");
            (a == "--deals" ? deals : first) = v;
            haveDeals = haveDeals || a == "--deals";
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
    if (layoutArg.empty())
        return Fail("stats needs a layout");
    if (!haveDeals)
        return Fail("stats needs --deals K (how many deals)");
    if (first + deals - 1 > kMaxGameNumber)
        return Fail("the last game number would pass " + std::to_string(kMaxGameNumber));

    std::string error;
    LayoutLoad load = LoadLayoutArgument(layoutArg, error);
    if (!load.ok)
        return Fail(error);

    FreeRule rule = vertical ? FreeRule::Vertical : FreeRule::Side;
    long long counts[3] = {0, 0, 0};
    std::vector<double> ms;
    ms.reserve(static_cast<size_t>(deals));
    for (long long seed = first; seed < first + deals; ++seed) {
        Board board;
        if (!DealNumberedGame(load.layout, static_cast<int32_t>(seed), false, board, error))
            return Fail(error);
        auto t0 = std::chrono::steady_clock::now();
        SolveResult res = SolvePosition(board, rule);
        auto t1 = std::chrono::steady_clock::now();
        ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
        ++counts[static_cast<int>(res.verdict)];
        if (res.verdict == SolveVerdict::Unknown)
            std::fprintf(stderr, "tovani-cli: game %lld left unknown after %llu positions\n", seed,
                         static_cast<unsigned long long>(res.nodes));
        long long done = seed - first + 1;
        if (done % 500 == 0 && done < deals) {
            double sum = 0, most = 0;
            for (double v : ms) {
                sum += v;
                most = std::max(most, v);
            }
            std::fprintf(stderr,
                         "tovani-cli: %lld of %lld deals, winnable %lld (%.2f%%), unknown %lld, "
                         "mean %.3f ms, maximum %.3f ms\n",
                         done, deals, counts[0],
                         100.0 * static_cast<double>(counts[0]) / static_cast<double>(done),
                         counts[2], sum / static_cast<double>(done), most);
        }
    }
    double mean = 0;
    for (double v : ms)
        mean += v;
    mean /= static_cast<double>(ms.size());
    std::sort(ms.begin(), ms.end());
    auto at = [&](double q) {
        size_t k = static_cast<size_t>(q * static_cast<double>(ms.size() - 1) + 0.5);
        return ms[std::min(k, ms.size() - 1)];
    };
    std::printf("layout %s, games %lld to %lld, %s rule\n", load.layout.name.c_str(), first,
                first + deals - 1, vertical ? "vertical" : "side");
    const char* names[3] = {"winnable", "unwinnable", "unknown"};
    for (int v = 0; v < 3; ++v)
        std::printf("%s %lld %.2f%%\n", names[v], counts[v],
                    100.0 * static_cast<double>(counts[v]) / static_cast<double>(deals));
    std::printf("time per deal: median %.3f ms, 99th percentile %.3f ms, maximum %.3f ms, mean "
                "%.3f ms\n",
                at(0.5), at(0.99), ms.back(), mean);
    return 0;
}

} // namespace tovani::cli
