// Speed of the layout chooser: opening it on a folder of 60 layouts (the list, the shares, the
// favourites and the first miniature, up to the dialog on the screen), and drawing one
// miniature. The layouts are made here at random, each a different shape, so the figures do
// not rest on the shipped ones.
#include "core/Files.h"
#include "core/Random.h"
#include "play/solitaire/LayoutChooser.h"
#include "solitaire/LayoutCatalog.h"
#include "solitaire/LayoutEditing.h"
#include "solitaire/LayoutFile.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>

using namespace tovani;

namespace {

using Steady = std::chrono::steady_clock;

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void Report(const char* what, double value, double target, const char* unit) {
    std::printf("%-62s %9.4f %s   target %7.3f %s   %s\n", what, value, unit, target, unit,
                value <= target ? "ok" : "OVER");
}

// A layout of up to 144 tiles put down at random where the editor allows them.
Layout RandomLayout(RandomGenerator& rng, int index) {
    LayoutEditing e;
    e.Start(Layout{});
    const int want = 40 + static_cast<int>(rng.Random(105));
    for (int tries = 0; tries < 20000 && e.Places() < want; ++tries) {
        const Cell c{1 + static_cast<int>(rng.Random(33)), 1 + static_cast<int>(rng.Random(19)),
                     1 + static_cast<int>(rng.Random(5))};
        e.Add(c);
    }
    e.name = "Random layout " + std::to_string(index);
    return e.Result();
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    namespace fs = std::filesystem;
    const fs::path dir =
        fs::temp_directory_path() /
        ("tovani_bench_chooser_" + std::to_string(QCoreApplication::applicationPid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    RandomGenerator rng(20261207);
    std::vector<Layout> layouts;
    for (int i = 0; i < 60; ++i) {
        layouts.push_back(RandomLayout(rng, i));
        char name[32];
        std::snprintf(name, sizeof name, "Layout %02d.lay", i);
        if (!WriteFileAtomic((dir / name).string(), WriteLay(layouts.back()))) {
            std::printf("bench_chooser: cannot write into %s\n", dir.string().c_str());
            return 1;
        }
    }
    const LayoutCatalog catalog = LayoutCatalog::Scan(dir.string());

    std::vector<double> opens;
    for (int run = 0; run < 15; ++run) {
        const auto t0 = Steady::now();
        TChooseLayout::Context ctx;
        ctx.catalog = &catalog;
        ctx.favourites = LayoutFavourites::Defaults();
        ctx.share = [](int n) -> std::optional<double> { return 50.0 + n % 50; };
        TChooseLayout chooser(ctx);
        chooser.show();
        QCoreApplication::processEvents();
        opens.push_back(std::chrono::duration<double, std::milli>(Steady::now() - t0).count());
    }

    QImage back(kMiniatureWidth, kMiniatureHeight, QImage::Format_ARGB32_Premultiplied);
    back.fill(QColor(0x80, 0, 0x80));
    std::vector<double> draws;
    QImage picture;
    for (int run = 0; run < 600; ++run) {
        const Layout& l = layouts[static_cast<size_t>(run) % layouts.size()];
        const auto t0 = Steady::now();
        TChooseLayout::DrawMiniature(picture, back, l);
        draws.push_back(std::chrono::duration<double, std::milli>(Steady::now() - t0).count());
    }
    fs::remove_all(dir);

    std::printf(
        "bench_chooser: 60 random layouts, %d to %d tiles\n",
        std::min_element(
            layouts.begin(), layouts.end(),
            [](const Layout& a, const Layout& b) { return a.PlaceCount() < b.PlaceCount(); })
            ->PlaceCount(),
        std::max_element(layouts.begin(), layouts.end(), [](const Layout& a, const Layout& b) {
            return a.PlaceCount() < b.PlaceCount();
        })->PlaceCount());
    Report("the chooser opens on 60 layouts (median of 15)", Median(opens), 150.0, "ms");
    Report("one miniature drawn (median of 600)", Median(draws), 2.0, "ms");
    return 0;
}
