// tovani-cli deal LAYOUT --seed N [--winnable] [--vertical]
// Prints the deal that "Solitaire (Specific)" with game number N makes on the layout: the
// first line "tiles T", then one line "tile column row layer" per tile in tile-number order, in
// board cells (columns 1..34, rows 1..20, layers 1..5).
#include <cstdio>
#include <cstdlib>

#include "Commands.h"
#include "LayoutArgument.h"
#include "core/Clock.h"
#include "core/Random.h"
#include "solitaire/Dealer.h"

namespace tovani::cli {

namespace {

// A game number as the seed entry takes it: 1 up to 2147483647.
bool ParseSeed(const std::string& s, int32_t& out) {
    if (s.empty() || s.size() > 10)
        return false;
    long long v = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
    }
    if (v < 1 || v > 2147483647LL)
        return false;
    out = static_cast<int32_t>(v);
    return true;
}

} // namespace

int RunDeal(const std::vector<std::string>& args) {
    std::string layoutArg;
    bool haveSeed = false, winnable = false;
    int32_t seed = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--seed") {
            if (i + 1 >= args.size())
                return Fail("--seed needs a game number");
            if (!ParseSeed(args[++i], seed))
                return Fail("the game number must be a whole number from 1 to 2147483647, not \"" +
                            args[i] + "\"");
            haveSeed = true;
        } else if (a == "--winnable") {
            winnable = true;
        } else if (a == "--vertical") {
            // The vertical variation changes which tiles are free, not where they are dealt:
            // the game deals the same board either way.
        } else if (a.size() > 1 && a[0] == '-') {
            return Fail("unknown option \"" + a + "\"");
        } else if (layoutArg.empty()) {
            layoutArg = a;
        } else {
            return Fail("one layout only, not \"" + a + "\" as well");
        }
    }
    if (layoutArg.empty())
        return Fail("deal needs a layout");
    if (!haveSeed)
        return Fail("deal needs --seed N (the game number)");

    std::string error;
    LayoutLoad load = LoadLayoutArgument(layoutArg, error);
    if (!load.ok)
        return Fail(error);

    Board board;
    RandomGenerator rng;
    SystemClock clock; // only a game without a number reads the clock
    DealOptions options{winnable, true, seed};
    Deal deal = BeginGame(board, load.layout, rng, clock, options);
    if (deal.outcome == DealOutcome::Refused)
        return Fail(LayoutErrorMessage(*deal.problem));
    if (deal.outcome == DealOutcome::WinnableGaveUp && deal.problem)
        std::fprintf(stderr, "tovani-cli: %s\n", LayoutErrorMessage(*deal.problem).c_str());

    std::printf("tiles %d\n", board.tilesTotal);
    for (int t = 1; t <= board.tilesTotal; ++t) {
        Cell c = board.Position(t);
        std::printf("%d %d %d %d\n", t, c.column, c.row, c.layer);
    }
    return 0;
}

} // namespace tovani::cli
