// Speed of one Hashira beat as the window runs it: the game's tick (DoColumns) and the drawing of
// the 198 x 369 well that follows (the dimmed, sliding background, the tiles with their 3D sides
// from the small tileset, the points banner from the digit strip), at most 0.3 ms together so
// the 12 ms beat never waits for it. Beats come from many seeded games played with random keys
// (seeds of their own, not those the tests use), each game to its end.
//
// The figures are the thread's own processor time for each beat, so that a machine shared with
// other work (where the thread may be put aside for milliseconds in the middle of a beat) still
// measures the beat's work; the wall-clock mean is printed beside them.
//
// Usage: bench_hashira_well [GAMES]
#include "games/hashira/HashiraGame.h"
#include "graphics/ImageIO.h"
#include "play/hashira/HashiraWell.h"

#include <QImage>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

using namespace tovani;

namespace {

using Steady = std::chrono::steady_clock;

// This thread's processor time in milliseconds.
double CpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

constexpr double kBeatTargetMs = 0.3;

double Percentile(std::vector<double>& v, double p) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size())))];
}

bool Report(const char* what, double value, double target) {
    const bool ok = value <= target;
    std::printf("%-52s %9.5f ms   target %6.3f ms   %s\n", what, value, target, ok ? "ok" : "OVER");
    return ok;
}

PixelBuffer Load(const std::string& path) {
    PictureHolder h;
    const std::string problem = h.Load(path);
    if (!problem.empty()) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), problem.c_str());
        std::exit(2);
    }
    return h.Picture();
}

PixelBuffer FromImage(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    PixelBuffer out(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x)
            out.Set(x, y, rgb.pixel(x, y) | 0xFF000000u);
    return out;
}

} // namespace

int main(int argc, char** argv) {
    const int games = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const std::string bin = TOVANI_BIN_DIR;
    const PixelBuffer small = Load(bin + "/Small/Kanji.bmp");
    const PixelBuffer background = Load(bin + "/Backgrounds/Garden.jpg");
    const QImage strip(QString::fromStdString(bin + "/Resources/Digits.png"));
    if (strip.isNull()) {
        std::fprintf(stderr, "no digit strip in %s/Resources\n", bin.c_str());
        return 2;
    }
    const PixelBuffer digits = FromImage(strip);
    HashiraPictures pictures{&small, &digits, &background, true};

    std::vector<double> all, busy;
    all.reserve(static_cast<size_t>(games) * 3000);
    RandomGenerator dice(0xbea7);
    PixelBuffer well;
    long long banners = 0;
    double wall = 0, tickMs = 0;
    for (int g = 0; g < games; ++g) {
        HashiraGame game;
        RandomGenerator rng;
        game.SetAnimateChain(true);
        game.SetBaseFallSpeed(HashiraGame::FallSpeedOption(g % 4));
        game.SetStartLevel(1 + g % 10);
        game.SetBackgroundWidth(background.Width());
        game.StartSeeded(rng, 4400017u + static_cast<uint32_t>(g) * 104729u);
        pictures.small3D = g % 3 != 0;
        for (int tick = 0; tick < 200000 && !game.GameOver(); ++tick) {
            const uint32_t r = dice.Random(100);
            if (r < 30)
                game.KeyDown(static_cast<HashiraKey>(dice.Random(5)));
            else if (r < 40)
                game.KeyUp();
            const auto t0 = Steady::now();
            const double c0 = CpuMs();
            game.DoColumns(rng);
            const double c1 = CpuMs();
            ComposeWell(well, game, pictures);
            const double c2 = CpuMs();
            const auto t1 = Steady::now();
            wall += std::chrono::duration<double, std::milli>(t1 - t0).count();
            const double ms = c2 - c0;
            tickMs += c1 - c0;
            all.push_back(ms);
            if (game.PointsBanner().shown) {
                busy.push_back(ms);
                ++banners;
            }
        }
    }
    double mean = 0;
    for (double t : all)
        mean += t;
    mean /= static_cast<double>(all.size());
    std::printf("%d games, %zu beats (%lld with the banner up)\n", games, all.size(), banners);
    const double n = static_cast<double>(all.size());
    std::printf("mean processor time: tick %.5f ms, drawing %.5f ms; wall-clock mean %.5f ms\n",
                tickMs / n, mean - tickMs / n, wall / n);
    bool ok = true;
    ok = Report("beat (tick + well drawn), mean", mean, kBeatTargetMs) && ok;
    ok =
        Report("beat (tick + well drawn), 99th percentile", Percentile(all, 0.99), kBeatTargetMs) &&
        ok;
    ok =
        Report("beat with the banner up, 99th percentile", Percentile(busy, 0.99), kBeatTargetMs) &&
        ok;
    std::printf("%-52s %9.5f ms   (once, on a shared machine)\n", "slowest beat",
                *std::max_element(all.begin(), all.end()));
    return ok ? 0 : 1;
}
