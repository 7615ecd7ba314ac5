// Measures the winnable share of every layout in a Layouts folder and writes the table
// "Winnable.ini" that ships beside them (see solitaire/WinnableShare.h). Slow by design (a
// thousand solved deals a layout), so it runs on demand ("make layout-stats"), and its output is
// kept in the repository.
//
// Usage: tovani-layout-stats LAYOUTS_FOLDER OUTPUT [--deals N] [--first-game G] [--jobs J]
//                            [--only NAME]...
// With --only, the other layouts keep the counts already in OUTPUT.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include "core/Files.h"
#include "core/TextCodec.h"
#include "solitaire/LayoutCatalog.h"
#include "solitaire/WinnableShare.h"

using namespace tovani;

namespace {

struct Job {
    std::string name;
    std::string path;
    WinnableShare share;
    std::vector<int32_t> unknown;
    double seconds = 0;
    bool ok = false;
};

void NoteUnknown(int32_t game, void* context) {
    static_cast<Job*>(context)->unknown.push_back(game);
}

bool ParseNumber(const char* text, long long min, long long max, long long& out) {
    char* end = nullptr;
    out = std::strtoll(text, &end, 10);
    return end && *end == '\0' && end != text && out >= min && out <= max;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: %s LAYOUTS_FOLDER OUTPUT [--deals N] [--first-game G] "
                     "[--jobs J] [--only NAME]...\n",
                     argv[0]);
        return 2;
    }
    const std::string folder = argv[1], output = argv[2];
    long long deals = 1000, first = 1, jobs = 2;
    std::vector<std::string> only;
    for (int i = 3; i < argc; ++i) {
        std::string a = argv[i];
        long long* target = a == "--deals"        ? &deals
                            : a == "--first-game" ? &first
                            : a == "--jobs"       ? &jobs
                                                  : nullptr;
        if ((target || a == "--only") && i + 1 >= argc) {
            std::fprintf(stderr, "tovani-layout-stats: %s needs a value\n", a.c_str());
            return 2;
        }
        if (a == "--only") {
            only.push_back(argv[++i]);
        } else if (!target || !ParseNumber(argv[++i], 1, 1000000, *target)) {
            std::fprintf(stderr,
                         "tovani-layout-stats: \"%s\" is not an option with a number "
                         "from 1 to 1000000\n",
                         a.c_str());
            return 2;
        }
    }

    WinnableTable table;
    if (!only.empty()) {
        auto bytes = ReadWholeFile(output);
        std::string error;
        auto old = bytes ? WinnableTable::Parse(*bytes, error) : std::nullopt;
        if (!old || old->FirstGame() != first || old->DealCount() != deals) {
            std::fprintf(stderr, "tovani-layout-stats: %s cannot be updated (%s); measure all\n",
                         output.c_str(), bytes ? error.c_str() : "no such file");
            return 1;
        }
        table = *old;
    }
    table.SetDeals(static_cast<int32_t>(first), static_cast<int>(deals));

    LayoutCatalog catalog = LayoutCatalog::Scan(folder);
    if (catalog.Count() == 0) {
        std::fprintf(stderr, "tovani-layout-stats: no layout in %s\n", folder.c_str());
        return 1;
    }
    std::vector<Job> work;
    for (int n = 1; n <= catalog.Count(); ++n) {
        const std::string& name = catalog.Entry(n)->name;
        if (!only.empty() && std::none_of(only.begin(), only.end(), [&](const std::string& o) {
                return EqualsNoCase(o, name);
            }))
            continue;
        work.push_back(Job{name, catalog.PathOf(n)});
    }

    // Layouts are shared out to the workers one at a time; each measures whole layouts, so the
    // counts do not depend on the number of workers.
    std::atomic<size_t> next{0};
    std::mutex print;
    auto worker = [&]() {
        for (size_t k = next++; k < work.size(); k = next++) {
            Job& job = work[k];
            LayoutLoad load = LoadLayoutFile(job.path, catalog);
            if (!load.ok) {
                std::lock_guard<std::mutex> lock(print);
                std::fprintf(stderr, "tovani-layout-stats: %s: %s\n", job.path.c_str(),
                             LayoutErrorMessage(load.error).c_str());
                continue;
            }
            auto t0 = std::chrono::steady_clock::now();
            job.share =
                MeasureWinnableShare(load.layout, static_cast<int32_t>(first),
                                     static_cast<int>(deals), SolveLimits{}, NoteUnknown, &job);
            job.seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
            job.ok = true;
            std::lock_guard<std::mutex> lock(print);
            std::printf("%-20s %3d tiles  winnable %5.1f%%  unknown %d  (%.1f s)\n",
                        job.name.c_str(), load.layout.PlaceCount(), job.share.Percent(),
                        job.share.unknown, job.seconds);
            for (int32_t g : job.unknown)
                std::printf("    game %d left unknown by the solver's budget\n", g);
            std::fflush(stdout);
        }
    };
    std::vector<std::thread> threads;
    for (long long t = 0; t < std::min<long long>(jobs, static_cast<long long>(work.size())); ++t)
        threads.emplace_back(worker);
    for (auto& t : threads)
        t.join();

    bool ok = true;
    for (const Job& job : work) {
        ok = ok && job.ok;
        if (job.ok)
            table.Set(job.name, job.share);
    }
    if (!ok)
        return 1;
    if (!WriteFileAtomic(output, table.Serialize())) {
        std::fprintf(stderr, "Unable to write to %s\n", output.c_str());
        return 1;
    }
    std::printf("%d layouts written to %s\n", table.Size(), output.c_str());
    return 0;
}
