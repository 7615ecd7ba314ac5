// tovani-cli solve LAYOUT --seed N [--winnable] [--vertical]
// Deals game number N as "deal" does and solves it: prints "winnable" and then one removal a
// line ("tileA tileB", tile numbers), or "unwinnable", or "unknown" when the search gave up.
#include <cstdio>

#include "Commands.h"
#include "solitaire/Dealer.h"
#include "solitaire/Solver.h"

namespace tovani::cli {

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
    int32_t seed = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--seed") {
            if (i + 1 >= args.size())
                return Fail("--seed needs a game number");
            if (!ParseGameNumber(args[++i], seed))
                return Fail(GameNumberProblem(args[i]));
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
    Board board;
    if (!DealLayoutArgument(layoutArg, seed, winnable, board, error))
        return Fail(error);

    FreeRule rule = vertical ? FreeRule::Vertical : FreeRule::Side;
    SolveResult res = SolvePosition(board, rule);
    std::printf("%s\n", VerdictName(static_cast<int>(res.verdict)));
    for (size_t k = 0; k + 1 < res.removal.size(); k += 2)
        std::printf("%d %d\n", res.removal[k], res.removal[k + 1]);
    return 0;
}

} // namespace tovani::cli
