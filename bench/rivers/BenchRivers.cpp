// Speed of Rivers: the count of moves available (every pair of every group of four, a river
// search each) that the window runs on every 50 ms tick, on full 144-tile Hard boards and on
// boards part-way through a game; and the river search of one click on a matching pair, with
// the places the carried tile visits. Many seeded deals; each figure is the time of one call.
#include "core/Random.h"
#include "games/rivers/RiverSearch.h"
#include "games/rivers/RiversGame.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace tovani;

namespace {

using Steady = std::chrono::steady_clock;

struct Figures {
    double median = 0, p99 = 0, worst = 0;
};

Figures Summarise(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    Figures f;
    if (v.empty())
        return f;
    f.median = v[v.size() / 2];
    f.p99 = v[std::min(v.size() - 1, v.size() * 99 / 100)];
    f.worst = v.back();
    return f;
}

void Report(const char* what, const Figures& f, double target) {
    std::printf("%-58s median %8.4f  p99 %8.4f  worst %8.4f ms   target %6.3f ms   %s\n", what,
                f.median, f.p99, f.worst, target, f.p99 <= target ? "ok" : "OVER");
}

void Note(const char* what, const Figures& f) {
    std::printf("%-58s median %8.4f  p99 %8.4f  worst %8.4f ms\n", what, f.median, f.p99, f.worst);
}

// Milliseconds per call of `f`, the best of five rounds of `reps` calls (the best round is the
// one the machine's other work did not interrupt).
template <typename F> double TimeCall(F&& f, int reps) {
    double best = 1e9;
    for (int round = 0; round < 5; ++round) {
        auto t0 = Steady::now();
        for (int i = 0; i < reps; ++i)
            f();
        double ms = std::chrono::duration<double, std::milli>(Steady::now() - t0).count() / reps;
        best = std::min(best, ms);
    }
    return best;
}

volatile int sink = 0;

// The moves count by the full search of every pair (what the snapshot saves).
int CountBySearch(const Board& b) {
    int n = 0;
    RiverSearch search(b);
    for (int g = 1; g < b.tilesTotal; g += 4)
        for (int i = 0; i < 4; ++i)
            for (int j = i + 1; j < 4; ++j)
                n += search.CanBeReached(g + i, g + j);
    return n;
}

} // namespace

int main(int argc, char** argv) {
    const int deals = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
    const int games = std::min(deals, 300); // games played through, Easy and Hard each
    std::printf("bench_rivers: %d full Hard deals, %d games of each variant played through\n",
                deals, games);

    // 1. The moves count on a full Hard board, as dealt.
    std::vector<double> fullHard, fullHardSearch;
    for (int seed = 1; seed <= deals; ++seed) {
        RandomGenerator rng(static_cast<uint32_t>(seed));
        RiversGame g;
        g.NewGame(RiversVariant::Hard, rng);
        fullHard.push_back(
            TimeCall([&] { sink = RiversIsItFree(g.GameBoard()).movesAvailable; }, 20));
        if (seed <= 200)
            fullHardSearch.push_back(TimeCall([&] { sink = CountBySearch(g.GameBoard()); }, 5));
    }
    Report("moves available, full 144-tile Hard board", Summarise(fullHard), 0.2);

    // 2. Boards part-way through: pairs taken off by following the hints, with a shuffle when
    // no move is left; the count and every click on a matching pair are timed on the way.
    std::vector<double> midCount[2], clicks[2], clickFound[2], clickRefused[2], midSearch;
    for (int seed = 1; seed <= games; ++seed) {
        for (int k = 0; k < 2; ++k) {
            const RiversVariant v = k ? RiversVariant::Hard : RiversVariant::Easy;
            RandomGenerator rng(static_cast<uint32_t>(seed * 2 + k));
            RiversGame g;
            g.NewGame(v, rng);
            int shuffles = 0;
            while (g.TilesLeft() > 0 && shuffles < 20) {
                const Board& b = g.GameBoard();
                midCount[k].push_back(
                    TimeCall([&] { sink = RiversIsItFree(b).movesAvailable; }, 5));
                if (k == 1 && seed <= 50)
                    midSearch.push_back(TimeCall([&] { sink = CountBySearch(b); }, 2));
                // Every matching pair of one layer that a player could click now.
                if (g.TilesLeft() % 8 == 0) {
                    for (int a = 1; a <= b.tilesTotal; ++a)
                        for (int c = a + 1; c <= (a - 1) / 4 * 4 + 4; ++c) {
                            if (!b.Position(a).OnBoard() || !b.Position(c).OnBoard() ||
                                g.Covered(a) || g.Covered(c))
                                continue;
                            RiverSearch search(b);
                            bool found = false;
                            const double ms = TimeCall(
                                [&] {
                                    found = search.CanBeReached(c, a);
                                    sink = found;
                                },
                                10);
                            clicks[k].push_back(ms);
                            (found ? clickFound[k] : clickRefused[k]).push_back(ms);
                        }
                }
                if (g.Hint().penaltySeconds == 0) {
                    ManualClock clock(static_cast<uint32_t>(seed));
                    g.Shuffle(rng, clock);
                    ++shuffles;
                    continue;
                }
                g.ChoisitPai(g.HintA());
                g.ChoisitPai(g.HintB());
            }
        }
    }
    Report("moves available, Hard boards through the game", Summarise(midCount[1]), 0.2);
    Report("moves available, Easy boards through the game", Summarise(midCount[0]), 0.2);
    Report("one click's river search, Hard (any matching pair)", Summarise(clicks[1]), 0.05);
    Report("one click's river search, Easy (any matching pair)", Summarise(clicks[0]), 0.05);
    Note("  of which rivers found, Hard", Summarise(clickFound[1]));
    Note("  of which no river (every path tried), Hard", Summarise(clickRefused[1]));
    Note("  of which rivers found, Easy", Summarise(clickFound[0]));
    Note("  of which no river (every path tried), Easy", Summarise(clickRefused[0]));
    Note("(compare) the count by full search, full Hard board", Summarise(fullHardSearch));
    Note("(compare) the count by full search, Hard through the game", Summarise(midSearch));
    return 0;
}
