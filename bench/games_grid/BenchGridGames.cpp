// Speed of the grid games' rules: a Clicks click (the group's removal and every settling pass,
// with the grids kept for the animation) and a Slider slide's path search with the line check
// that follows it. Each is timed over whole games on seeds that no test uses; the figures are
// the median and the slowest 1% of the calls.
#include "games/clicks/Clicks.h"
#include "games/slider/Slider.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace tovani;

namespace {

using Steady = std::chrono::steady_clock;

double Percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size())))];
}

void Report(const char* what, double value, double target, const char* unit) {
    std::printf("%-58s %9.3f %s   target %7.1f %s   %s\n", what, value, unit, target, unit,
                value <= target ? "ok" : "OVER");
}

// Clicks played to the end by a player who clicks a random tile of some group.
std::vector<double> TimeClicks(uint32_t firstSeed, int games, int& failures) {
    std::vector<double> times;
    for (int g = 0; g < games; ++g) {
        const uint32_t seed = firstSeed + static_cast<uint32_t>(g);
        RandomGenerator deal(seed), player(seed ^ 0x5bd1e995u);
        ClicksGame game;
        game.NewGame(static_cast<ClicksLevel>(g % 3), deal, 0);
        for (;;) {
            std::vector<FieldCell> inGroups;
            for (int c = 1; c <= kClicksColumns; ++c)
                for (int r = 1; r <= kClicksRows; ++r)
                    if (HasLikeNeighbour(game.State().grid, c, r))
                        inGroups.push_back({c, r});
            if (inGroups.empty())
                break;
            FieldCell cell = inGroups[player.Random(static_cast<uint32_t>(inGroups.size()))];
            auto t0 = Steady::now();
            ClicksEffects fx = game.Click(cell, 0);
            auto t1 = Steady::now();
            times.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
            if (fx.removed.size() < 2)
                ++failures;
        }
    }
    return times;
}

// Slider played to the end by a player who picks a random tile and a random empty cell; each
// attempt is timed as the path search and, when the tile can go, the line check after it.
std::vector<double> TimeSlider(uint32_t firstSeed, int games, int& failures) {
    std::vector<double> times;
    for (int g = 0; g < games; ++g) {
        const uint32_t seed = firstSeed + static_cast<uint32_t>(g);
        RandomGenerator rng(seed), player(seed ^ 0x9e3779b9u);
        SliderGame game;
        game.NewGame(g % 2 ? SliderLevel::Easy : SliderLevel::Hard, rng, 0);
        for (int attempt = 0; attempt < 5000 && !game.GameOver(); ++attempt) {
            const SliderGrid& grid = game.Grid();
            FieldCell from, to;
            do
                from = {static_cast<int>(player.Random(9)) + 1,
                        static_cast<int>(player.Random(9)) + 1};
            while (grid(from) == 0);
            do
                to = {static_cast<int>(player.Random(9)) + 1,
                      static_cast<int>(player.Random(9)) + 1};
            while (grid(to) != 0);

            auto t0 = Steady::now();
            std::vector<FieldCell> path = FindPath(grid, from, to);
            size_t lines = 0;
            if (!path.empty()) {
                SliderGrid after = grid;
                after(to) = after(from);
                after(from) = 0;
                lines = FindLines(after).size();
            }
            auto t1 = Steady::now();
            times.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());

            game.Click(from, rng, 0);
            SliderEffects fx = game.Click(to, rng, 0);
            if (fx.moved != !path.empty() || (fx.moved && fx.removed.size() != lines))
                ++failures;
        }
        if (!game.GameOver())
            ++failures;
    }
    return times;
}

} // namespace

int main() {
    int failures = 0;
    std::vector<double> clicks = TimeClicks(900001, 600, failures);
    std::vector<double> slides = TimeSlider(700001, 600, failures);
    std::printf("bench_games_grid: %zu Clicks clicks over 600 games, %zu Slider slides tried "
                "over 600 games\n",
                clicks.size(), slides.size());
    Report("Clicks click with all its settling passes (median)", Percentile(clicks, 0.5), 1000.0,
           "us");
    Report("Clicks click with all its settling passes (slowest 1%)", Percentile(clicks, 0.99),
           1000.0, "us");
    Report("Slider path search and line check (median)", Percentile(slides, 0.5), 100.0, "us");
    Report("Slider path search and line check (slowest 1%)", Percentile(slides, 0.99), 100.0, "us");
    if (failures)
        std::printf("bench_games_grid: %d moves did not play as expected\n", failures);
    return failures ? 1 : 0;
}
