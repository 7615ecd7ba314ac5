// tovani-cli solve LAYOUT --seed N [--winnable] [--vertical]
// Deals game number N as "deal" does and solves it: prints "winnable" and then one removal a
// line ("tileA tileB", tile numbers), or "unwinnable", or "unknown" when the search gave up.
#include <cstdio>

#include "Commands.h"
#include "LayoutArgument.h"
#include "core/Clock.h"
#include "core/Random.h"
#include "solitaire/Dealer.h"
#include "solitaire/Solver.h"

namespace tovani::cli {

bool ParseWholeNumber(const std::string& s, long long min, long long max, long long& out) {
    if (s.empty() || s.size() > 18)
        return false;
    long long v = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
    }
    if (v < min || v > max)
        return false;
    out = v;
    return true;
}

bool DealForSolving(const Layout& layout, int32_t seed, bool winnable, Board& board,
                    std::string& error) {
    RandomGenerator rng;
    SystemClock clock; // a numbered game never reads it
    Deal deal = BeginGame(board, layout, rng, clock, DealOptions{winnable, true, seed});
    if (deal.outcome == DealOutcome::Refused) {
        error = LayoutErrorMessage(*deal.problem);
        return false;
    }
    return true;
}

const char* VerdictName(int verdict) {
    switch (static_cast<SolveVerdict>(verdict)) {
    case SolveVerdict::Winnable:
        return "winnable";
    case SolveVerdict::Unwinnable:
        return "unwinnable";
    case SolveVerdict::Unknown:
        break;
    }
    return "unknown";
}

int RunSolve(const std::vector<std::string>& args) {
    std::string layoutArg;
    bool haveSeed = false, winnable = false, vertical = false;
    long long seed = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--seed") {
            if (i + 1 >= args.size())
                return Fail("--seed needs a game number");
            if (!ParseWholeNumber(args[++i], 1, 2147483647LL, seed))
                return Fail("the game number must be a whole number from 1 to 2147483647, not \"" +
                            args[i] + "\"");
            haveSeed = true;
        } else if (a == "--winnable") {
            winnable = true;
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
        return Fail("solve needs a layout");
    if (!haveSeed)
        return Fail("solve needs --seed N (the game number)");

    std::string error;
    LayoutLoad load = LoadLayoutArgument(layoutArg, error);
    if (!load.ok)
        return Fail(error);
    Board board;
    if (!DealForSolving(load.layout, static_cast<int32_t>(seed), winnable, board, error))
        return Fail(error);

    FreeRule rule = vertical ? FreeRule::Vertical : FreeRule::Side;
    SolveResult res = SolvePosition(board, rule);
    std::printf("%s\n", VerdictName(static_cast<int>(res.verdict)));
    for (size_t k = 0; k + 1 < res.removal.size(); k += 2)
        std::printf("%d %d\n", res.removal[k], res.removal[k + 1]);
    return 0;
}

} // namespace tovani::cli
