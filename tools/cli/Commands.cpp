#include "Commands.h"
#include "LayoutArgument.h"

#include "core/Clock.h"
#include "core/Random.h"
#include "core/TextCodec.h"
#include "solitaire/Dealer.h"

#include <cstdio>

namespace tovani::cli {

const std::vector<Command>& Commands() {
    static const std::vector<Command> table = {
        {"deal", "LAYOUT --seed N [--winnable] [--vertical] | --game NAME --seed N",
         "print the deal of game number N: \"tiles T\", then \"tile column row layer\" per tile; "
         "with --game, another game's deal from seed N",
         RunDeal},
        {"layout-info", "LAYOUT", "print a layout's name, places and free places", RunLayoutInfo},
        {"resample", "IN OUT --size WxH --filter NAME [--bench N]",
         "resize a BMP or JPEG picture with the game's resampler into a 24-bit BMP", RunResample},
        {"render",
         "LAYOUT --seed N [--winnable] --size WxH [--tileset NAME] [--background NAME] "
         "[--shadows] [--highlight N] --out FILE.png",
         "draw the board of game number N as the game draws it, into a PNG picture", RunRender},
        {"solve", "LAYOUT --seed N [--winnable] [--vertical]",
         "solve game number N: \"winnable\" and one \"tileA tileB\" removal a line, or "
         "\"unwinnable\", or \"unknown\"",
         RunSolve},
        {"stats", "LAYOUT|--layouts all --deals K [--first-seed S] [--vertical] [--slowest N]",
         "solve the plain deals of game numbers S (1) to S+K-1 of a layout or of every shipped "
         "layout; print how many are winnable, the solve times and the slowest games",
         RunStats},
        {"import", "FILE [--map NAME|N|all] [--out DIR]",
         "turn a KMahjongg \".layout\" (1.0, 1.1) or a GNOME Mahjongg \".map\" into a \".lay\" "
         "in the player's layouts (or DIR); a file of several maps lists them unless --map picks",
         RunImport},
    };
    return table;
}

int Fail(const std::string& message) {
    // Messages may quote a file's text: its control characters are shown, not obeyed.
    std::fprintf(stderr, "tovani-cli: %s\n", PrintableText(message).c_str());
    return 2;
}

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

bool ParseGameNumber(const std::string& s, int32_t& out) {
    long long v = 0;
    if (!ParseWholeNumber(s, 1, kMaxGameNumber, v))
        return false;
    out = static_cast<int32_t>(v);
    return true;
}

std::string GameNumberProblem(const std::string& s) {
    return "the game number must be a whole number from 1 to " + std::to_string(kMaxGameNumber) +
           ", not \"" + s + "\"";
}

bool DealNumberedGame(const Layout& layout, int32_t seed, bool winnable, Board& board,
                      std::string& error) {
    RandomGenerator rng;
    SystemClock clock; // a numbered game never reads it
    Deal deal = BeginGame(board, layout, rng, clock, DealOptions{winnable, true, seed});
    if (deal.outcome == DealOutcome::Refused) {
        error = LayoutErrorMessage(*deal.problem);
        return false;
    }
    if (deal.outcome == DealOutcome::WinnableGaveUp && deal.problem)
        std::fprintf(stderr, "tovani-cli: %s\n", LayoutErrorMessage(*deal.problem).c_str());
    return true;
}

bool DealLayoutArgument(const std::string& layoutArg, int32_t seed, bool winnable, Board& board,
                        std::string& error) {
    LayoutLoad load = LoadLayoutArgument(layoutArg, error);
    return load.ok && DealNumberedGame(load.layout, seed, winnable, board, error);
}

} // namespace tovani::cli
