// Speed of the 2D drawing, against its targets:
//  - a full redraw of a 144-tile "Traditional" deal with shadows at 1920 x 1080: at most 2 ms;
//  - a hover redraw (one tile's neighbourhood): at most 0.2 ms;
//  - rebuilding the face sheets after a resize, high-quality stretching: at most 40 ms;
//  - the resampler on a 2560 x 1600 picture to 2048 x 1280 and to 320 x 200 (Lanczos3, one
//    thread): at most a fifth of Pillow's time, measured in the same run, with the margin left;
//    the narrower vector loops are timed beside the widest this processor runs (another
//    processor may have only those), and ImageMagick for reference.
// Medians of repeated runs; the tileset and layout are the built ones when present. The
// resampler and Pillow are timed in processor time of the working thread, so that other
// programs sharing the machine change the ratio less than they change the wall-clock times.
#include "core/Clock.h"
#include "core/Files.h"
#include "core/Random.h"
#include "graphics/ImageIO.h"
#include "graphics/PlayArea.h"
#include "graphics/Resampler.h"
#include "solitaire/Dealer.h"
#include "solitaire/LayoutFile.h"

#include <QGuiApplication>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

using namespace tovani;

namespace {

double MedianMs(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The same in processor time of this thread.
double MedianCpuMs(int runs, const std::function<void()>& work) {
    auto now = [] {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return double(t.tv_sec) * 1e3 + double(t.tv_nsec) * 1e-6;
    };
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double start = now();
        work();
        times.push_back(now() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void Report(const char* what, double ms, double target) {
    std::printf("%-58s %9.3f ms   target %7.3f ms   %s\n", what, ms, target,
                ms <= target ? "ok" : "OVER");
}

// A tileset picture: the built "Ivory" when there is one, else painted cells.
PixelBuffer Tileset() {
    PictureResult r = LoadPictureFile(JoinPath(TOVANI_BIN_DIR, "Tilesets/Ivory.bmp"));
    if (r) {
        return *r.picture;
    }
    std::printf("(Tilesets/Ivory.bmp not built: painted cells instead)\n");
    PixelBuffer p(9 * 64, 5 * 80);
    for (int y = 0; y < p.Height(); ++y) {
        for (int x = 0; x < p.Width(); ++x) {
            p.Set(x, y, MakePixel((x * 7) & 255, (y * 5) & 255, ((x ^ y) * 3) & 255));
        }
    }
    return p;
}

// The "Traditional" layout, or the first 144 places of a full rectangle when it is not built.
Layout Traditional() {
    if (auto bytes = ReadWholeFile(JoinPath(TOVANI_BIN_DIR, "Layouts/Traditional.lay"))) {
        auto parsed = ParseLay(*bytes);
        if (!Failed(parsed)) {
            return std::get<LayFile>(parsed).layout;
        }
    }
    std::printf("(Layouts/Traditional.lay not built: a stacked rectangle instead)\n");
    Layout layout;
    int n = 0;
    for (int layer = 1; layer <= 5 && n < 144; ++layer) {
        for (int row = 2 * layer - 2; row < 20 - 2 * layer && n < 144; row += 2) {
            for (int column = 2 * layer; column < 34 - 2 * layer && n < 144; column += 2) {
                layout.Set(layer, row, column, true);
                ++n;
            }
        }
    }
    return layout;
}

// A 2560 x 1600 picture with smooth shapes and fine detail.
PixelBuffer TestPicture() {
    PixelBuffer p(2560, 1600);
    for (int y = 0; y < p.Height(); ++y) {
        for (int x = 0; x < p.Width(); ++x) {
            const double r = 127.5 + 127.5 * std::sin(x * 0.01) * std::cos(y * 0.013);
            const int g = (x * y) >> 8 & 255;
            const int b = ((x / 16 + y / 16) & 1) ? 220 : 30;
            p.Set(x, y, MakePixel(int(r), g, b));
        }
    }
    return p;
}

// Runs a shell command and answers its standard output.
std::string Capture(const std::string& command) {
    std::string out;
    if (FILE* f = popen(command.c_str(), "r")) {
        char buf[512];
        while (fgets(buf, sizeof buf, f)) {
            out += buf;
        }
        pclose(f);
    }
    return out;
}

// ImageMagick's -bench prints "Performance[n]: Ki ...ips ... 0:SS.mmm" per pass; the elapsed
// time of the fastest pass over its iterations.
double MagickMs(const std::string& args, int iterations) {
    const std::string out = Capture("MAGICK_THREAD_LIMIT=1 convert " + args + " -bench " +
                                    std::to_string(iterations) + " null: 2>&1");
    double best = -1;
    size_t at = 0;
    while ((at = out.find("Performance", at)) != std::string::npos) {
        const size_t end = out.find('\n', at);
        const std::string line = out.substr(at, end - at);
        const size_t colon = line.rfind(':');
        if (colon != std::string::npos && colon >= 1) {
            const double minutes = std::atof(line.substr(line.rfind(' ', colon) + 1).c_str());
            const double seconds = std::atof(line.substr(colon + 1).c_str());
            const double ms = (minutes * 60 + seconds) * 1000 / iterations;
            best = best < 0 ? ms : std::min(best, ms);
        }
        at = end;
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    // --- the board --------------------------------------------------------------------------
    const PixelBuffer tileset = Tileset();
    PlayArea area;
    area.tileOptions.stretchTileset = true;
    area.tileOptions.keepRatio = true;
    area.tileOptions.highQuality = true;
    area.tileOptions.gradientTiles = true;
    area.tileOptions.showRomanized = true;
    area.SetTilesetPicture(&tileset);
    area.Resize(1920, 1080, 1.0, kModeSolitaire);
    area.renderer.options.shadows = true;
    area.SetHighlightMode(kHighlightGreen);

    Board board;
    RandomGenerator rng;
    ManualClock clock;
    BeginGame(board, Traditional(), rng, clock, DealOptions{false, true, 12345});
    BoardScene scene;
    scene.board = &board;
    int tiles = 0;
    for (int t = 1; t <= 144; ++t) {
        tiles += board.Position(t).OnBoard() ? 1 : 0;
    }
    std::printf("board: %d tiles, faces %d x %d, sides %d, 1920 x 1080\n", tiles,
                area.sheets.TileWidth(), area.sheets.TileHeight(), area.sheets.EdgeSize());

    Report("full redraw, 144 tiles with shadows, 1920 x 1080",
           MedianMs(200, [&] { area.FullRedraw(scene); }), 2.0);
    const double copy = MedianMs(200, [&] {
        Blit(area.renderer.BoardBuffer, 0, 0, area.BackgroundBuffer, 0, 0, 1920, 1080);
    });
    std::printf("%-58s %9.3f ms\n", "  (one frame copy at this size, for comparison)", copy);
    int flip = 0;
    Report("hover redraw (the old and the new tile)",
           MedianMs(400, [&] { area.SetHover(flip++ % 2 ? 37 : 38, scene); }), 0.2);
    Report("one tile's hover area (HLRedrawTile)",
           MedianMs(400, [&] { area.HLRedrawTile(37, scene); }), 0.2);
    Report("face sheets rebuilt after a resize (high quality)",
           MedianMs(15, [&] { area.RebuildTiles(kModeSolitaire); }), 40.0);

    // --- the resampler against Pillow and ImageMagick ----------------------------------------
    const PixelBuffer picture = TestPicture();
    char dir[] = "/tmp/tovani-bench-XXXXXX";
    if (!mkdtemp(dir)) {
        return 1;
    }
    const std::string bmp = std::string(dir) + "/picture.bmp";
    WriteFileAtomic(bmp, EncodeBmp24(picture));
    const bool havePillow =
        Capture("/usr/bin/python3 -c 'import PIL; print(1)' 2>/dev/null").find('1') == 0;
    const bool haveMagick =
        Capture("convert -version 2>/dev/null").find("ImageMagick") != std::string::npos;
    const int sizes[][2] = {{2048, 1280}, {320, 200}};
    for (const auto& s : sizes) {
        PixelBuffer out(s[0], s[1]);
        std::printf("\nresample 2560 x 1600 -> %d x %d, Lanczos3, one thread (processor time)\n",
                    s[0], s[1]);
        struct Timed {
            const char* name;
            double ms;
        };
        std::vector<Timed> timed;
        const std::pair<ResamplerLoops, const char*> loops[] = {
            {ResamplerLoops::Widest, "Tovani"},
            {ResamplerLoops::Avx2, "Tovani, AVX2 loops"},
            {ResamplerLoops::Portable, "Tovani, portable"}};
        for (const auto& [limit, name] : loops) {
            if (limit != ResamplerLoops::Widest &&
                (!ResamplerLoopsAvailable(limit) ||
                 (limit == ResamplerLoops::Avx2 &&
                  !ResamplerLoopsAvailable(ResamplerLoops::Avx512)))) {
                continue; // not runnable here, or the same loops as the widest
            }
            LimitResamplerLoops(limit);
            Resample(picture, out, kFilterLanczos3); // weights worked out before timing starts
            const double ms = MedianCpuMs(15, [&] { Resample(picture, out, kFilterLanczos3); });
            std::printf("  %-20s %9.3f ms  (%6.1f megapixels a second)\n", name, ms,
                        2560.0 * 1600.0 / ms / 1000.0);
            timed.push_back({name, ms});
        }
        LimitResamplerLoops(ResamplerLoops::Widest);
        if (havePillow) {
            const std::string script =
                "from PIL import Image\nimport time\nim = Image.open('" + bmp +
                "'); im.load()\nts = []\nfor i in range(11):\n    t = time.thread_time(); "
                "im.resize((" +
                std::to_string(s[0]) + ", " + std::to_string(s[1]) +
                "), Image.LANCZOS); ts.append(time.thread_time() - t)\nts.sort()\n"
                "print(ts[5] * 1000)\n";
            const std::string path = std::string(dir) + "/pillow.py";
            WriteFileAtomic(path, script);
            const double pillow = std::atof(Capture("/usr/bin/python3 " + path).c_str());
            std::printf("  %-20s %9.3f ms  (%6.1f megapixels a second)\n", "Pillow", pillow,
                        2560.0 * 1600.0 / pillow / 1000.0);
            Report("  Tovani against a fifth of Pillow's time", timed[0].ms, pillow / 5);
            for (const Timed& t : timed) {
                std::printf("  %-20s %5.1f times faster than Pillow; margin %+5.0f%% of the "
                            "target\n",
                            t.name, pillow / t.ms, 100.0 * (pillow / 5 - t.ms) / (pillow / 5));
            }
        } else {
            std::printf("  Pillow (python3-pil) is not installed: no comparison\n");
        }
        if (haveMagick) {
            const double read = MagickMs(bmp, 3);
            const double total = MagickMs(bmp + " -filter Lanczos -resize " + std::to_string(s[0]) +
                                              "x" + std::to_string(s[1]) + "!",
                                          3);
            std::printf("  %-20s %9.3f ms  (the resize alone: the run less reading the file)\n",
                        "ImageMagick", total - read);
        }
    }
    Capture(std::string("rm -rf ") + dir);
    return 0;
}
