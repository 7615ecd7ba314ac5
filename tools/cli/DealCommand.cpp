// tovani-cli deal LAYOUT --seed N [--winnable] [--vertical]
// tovani-cli deal --game NAME --seed N
// Prints the deal that "Solitaire (Specific)" with game number N makes on the layout: the
// first line "tiles T", then one line "tile column row layer" per tile in tile-number order, in
// board cells (columns 1..34, rows 1..20, layers 1..5). With --game, the deal that another game
// makes when the generator is seeded with N (see GameDeals.h).
#include "Commands.h"
#include "GameDeals.h"
#include "solitaire/Dealer.h"

namespace tovani::cli {

int RunDeal(const std::vector<std::string>& args) {
    std::string layoutArg, gameArg;
    bool haveSeed = false, winnable = false;
    int32_t seed = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--seed") {
            if (i + 1 >= args.size())
                return Fail("--seed needs a game number");
            if (!ParseGameNumber(args[++i], seed))
                return Fail(GameNumberProblem(args[i]));
            haveSeed = true;
        } else if (a == "--game") {
            if (i + 1 >= args.size())
                return Fail("--game needs a game's name");
            gameArg = args[++i];
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
    if (!gameArg.empty()) {
        if (!layoutArg.empty())
            return Fail("a game or a layout, not both");
        if (!haveSeed)
            return Fail("deal needs --seed N (the game number)");
        std::string names;
        for (const GameDeal& g : GameDeals()) {
            if (gameArg == g.name)
                return g.print(seed);
            names += names.empty() ? "" : ", ";
            names += g.name;
        }
        return Fail("no game \"" + gameArg + "\"" +
                    (names.empty() ? "" : " (games: " + names + ")"));
    }
    if (layoutArg.empty())
        return Fail("deal needs a layout");
    if (!haveSeed)
        return Fail("deal needs --seed N (the game number)");

    std::string error;
    Board board;
    if (!DealLayoutArgument(layoutArg, seed, winnable, board, error))
        return Fail(error);

    return PrintTileDeal(board);
}

} // namespace tovani::cli
