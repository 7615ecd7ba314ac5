// Median time per deal of the plain deal, the winnable deal (CreateBoard) and the winnable
// shuffle (ShuffleBoard) on every shipped layout. Targets: CreateBoard at most 1 ms on
// "Traditional" and at most 20 ms on every layout. Exit code 1 when a target is missed.
//
// Usage: bench_solitaire [LAYOUTS_FOLDER] [DEALS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/Clock.h"
#include "core/Random.h"
#include "solitaire/Dealer.h"
#include "solitaire/LayoutCatalog.h"
#include "solitaire/Shuffle.h"

using namespace tovani;
using WallClock = std::chrono::steady_clock;

namespace {

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

template <typename F> double MedianMicroseconds(int runs, F f) {
    std::vector<double> times;
    times.reserve(static_cast<size_t>(runs));
    for (int i = 0; i < runs; ++i) {
        auto t0 = WallClock::now();
        f(i);
        auto t1 = WallClock::now();
        times.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
    }
    return Median(times);
}

struct Row {
    std::string name;
    int places;
    double plain, winnable, shuffle;
    int restarts;
    int shuffled;
};

} // namespace

int main(int argc, char** argv) {
    std::string dir = argc > 1 ? argv[1] : std::string(TOVANI_BIN_DIR) + "/Layouts";
    int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 301;
    LayoutCatalog cat = LayoutCatalog::Scan(dir);
    if (cat.Count() == 0) {
        std::fprintf(stderr, "no layouts in %s\n", dir.c_str());
        return 2;
    }
    std::vector<Row> rows;
    for (int n = 1; n <= cat.Count(); ++n) {
        LayoutLoad load = LoadLayoutFile(cat.PathOf(n), cat);
        if (!load.ok) {
            std::fprintf(stderr, "%s\n", LayoutErrorMessage(load.error).c_str());
            return 2;
        }
        const Layout& lay = load.layout;
        ManualClock clock(1000);
        RandomGenerator rng;
        Board board;
        Row row{cat.Entry(n)->name, lay.PlaceCount(), 0, 0, 0, 0, 0};
        row.plain = MedianMicroseconds(runs, [&](int i) {
            board.FillFromLayout(lay);
            PlainDeal(board, rng, clock, DealOptions{false, true, 1000 + i});
        });
        row.winnable = MedianMicroseconds(runs, [&](int i) {
            Deal d = CreateBoard(board, lay, rng, clock, DealOptions{true, true, 1000 + i});
            row.restarts = std::max(row.restarts, d.restarts);
        });
        // A game half played, shuffled with the clock moving on between shuffles.
        Deal d = CreateBoard(board, lay, rng, clock, DealOptions{true, true, 77});
        for (size_t k = 0; k < d.removalOrder.size() / 4 * 2; ++k)
            board.Remove(board.TileAt(d.removalOrder[k]));
        const Board inProgress = board;
        row.shuffle = MedianMicroseconds(runs, [&](int) {
            board = inProgress;
            clock.Advance(37);
            row.shuffled += ShuffleBoard(board, rng, clock).shuffled ? 1 : 0;
        });
        rows.push_back(row);
    }

    std::printf("median time per deal over %d deals, microseconds\n", runs);
    std::printf("%-22s %6s %10s %12s %12s %9s %9s\n", "layout", "tiles", "plain", "CreateBoard",
                "ShuffleBoard", "restarts", "shuffled");
    for (const Row& r : rows)
        std::printf("%-22s %6d %10.1f %12.1f %12.1f %9d %5d/%-3d\n", r.name.c_str(), r.places,
                    r.plain, r.winnable, r.shuffle, r.restarts, r.shuffled, runs);

    auto slowest = std::max_element(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        return a.winnable < b.winnable;
    });
    auto trad = std::find_if(rows.begin(), rows.end(),
                             [](const Row& r) { return r.name == "Traditional"; });
    bool ok = true;
    if (trad != rows.end()) {
        bool pass = trad->winnable <= 1000.0;
        ok = ok && pass;
        std::printf("CreateBoard on Traditional: %.1f us (target 1000 us) %s\n", trad->winnable,
                    pass ? "ok" : "MISSED");
    }
    bool pass = slowest->winnable <= 20000.0;
    ok = ok && pass;
    std::printf("CreateBoard on the slowest layout (%s): %.1f us (target 20000 us) %s\n",
                slowest->name.c_str(), slowest->winnable, pass ? "ok" : "MISSED");
    return ok ? 0 : 1;
}
