// Click to pixels: the time from a mouse click sent through the X server (XTest) to the moment
// the clicked tile shows changed on that server's screen, read back from the server itself
// (XGetImage of the tile's square), in the window the program builds, in a Solitaire game.
// Clicks on one free tile select and unselect it in turn; the median and the 95th percentile
// over 60 clicks are printed beside the target.
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/bench_click_pixels
//
// Without an X display, or without the XTest library, it says so and measures nothing.
#include "core/Files.h"
#include "play/BoardView.h"
#include "play/GameServices.h"
#include "play/HallKeeper.h"
#include "play/SavedGames.h"
#include "play/audio/AudioPlayer.h"
#include "play/clicks/ClicksController.h"
#include "play/hashira/HashiraPlay.h"
#include "play/memory/MemoryPlay.h"
#include "play/rivers/RiversPlay.h"
#include "play/slider/SliderController.h"
#include "play/solitaire/SolitaireGame.h"
#include "play/solitaire/SolverAssistant.h"
#include "shell/MainForm.h"
#include "solitaire/FreeRules.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <dlfcn.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using namespace tovani;

namespace {

constexpr double kTargetMs = 4.0;
constexpr int kClicks = 60;
constexpr int kSquare = 12; // the watched square on the tile's face, in screen pixels

// The two XTest calls, found at run time so that no development package is needed.
using FakeButton = int (*)(Display*, unsigned int, int, unsigned long);
using FakeMotion = int (*)(Display*, int, int, int, unsigned long);

// Where the click goes, and the square watched above it: clear of the mouse cursor, which
// hangs below and right of the point.
struct Target {
    int x = 0, y = 0;           // the click
    int watchX = 0, watchY = 0; // the watched square's centre
};

// The watched square's bytes as the X server has them now.
std::vector<char> Grab(Display* d, const Target& t) {
    XImage* img = XGetImage(d, DefaultRootWindow(d), t.watchX - kSquare / 2, t.watchY - kSquare / 2,
                            kSquare, kSquare, AllPlanes, ZPixmap);
    std::vector<char> bytes;
    if (img) {
        bytes.assign(img->data, img->data + size_t(img->bytes_per_line) * size_t(img->height));
        XDestroyImage(img);
    }
    return bytes;
}

// When the program saw the click's button release and when it began to paint the board, in
// steady-clock nanoseconds (written on the interface thread, read by the clicking one).
std::atomic<int64_t> releaseSeen{0};
std::atomic<int64_t> paintBegun{0};

int64_t NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

class StageWatch : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonRelease)
            releaseSeen = NowNs();
        else if (e->type() == QEvent::Paint && paintBegun.load() < releaseSeen.load())
            paintBegun = NowNs(); // the first paint after the release
        return false;
    }
};

// Where each click's time went: to the program's hands, to its painting, to the screen.
struct Stages {
    std::vector<double> toEvent, toPaint, toScreen;
};
Stages stages;

double Percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size() - 1) + 0.5))];
}

// Clicks the target kClicks times on a connection of its own, each time waiting until the
// square changes; answers the times in milliseconds (empty when the square never changed).
std::vector<double> Measure(FakeButton button, FakeMotion motion, Target t) {
    std::vector<double> times;
    Display* d = XOpenDisplay(nullptr);
    if (!d)
        return times;
    using Clock = std::chrono::steady_clock;
    motion(d, -1, t.x, t.y, 0);
    XFlush(d);
    std::this_thread::sleep_for(std::chrono::milliseconds(500)); // the hover mark settles
    for (int i = 0; i < kClicks; ++i) {
        const std::vector<char> before = Grab(d, t);
        const auto start = Clock::now();
        button(d, 1, True, 0);
        button(d, 1, False, 0);
        XFlush(d);
        bool changed = false;
        while (Clock::now() - start < std::chrono::seconds(2)) {
            if (Grab(d, t) != before) {
                changed = true;
                break;
            }
        }
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        if (!changed) {
            std::printf("  click %d: the tile did not change within 2 s\n", i + 1);
            times.clear();
            break;
        }
        times.push_back(ms);
        const double startNs = double(
            std::chrono::duration_cast<std::chrono::nanoseconds>(start.time_since_epoch()).count());
        const double release = double(releaseSeen.load()), paint = double(paintBegun.load());
        if (release > startNs && paint > release) {
            stages.toEvent.push_back((release - startNs) / 1e6);
            stages.toPaint.push_back((paint - release) / 1e6);
            stages.toScreen.push_back(ms - (paint - startNs) / 1e6);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
    }
    XCloseDisplay(d);
    return times;
}

} // namespace

int main(int argc, char** argv) {
    std::printf("click on a free tile to its changed pixels, through the X server\n");
    if (!std::getenv("DISPLAY")) {
        std::printf("  skipped: no X display (run it under xvfb-run)\n");
        return 0;
    }
    void* xtst = dlopen("libXtst.so.6", RTLD_NOW);
    auto button =
        xtst ? reinterpret_cast<FakeButton>(dlsym(xtst, "XTestFakeButtonEvent")) : nullptr;
    auto motion =
        xtst ? reinterpret_cast<FakeMotion>(dlsym(xtst, "XTestFakeMotionEvent")) : nullptr;
    if (!button || !motion) {
        std::printf("  skipped: the XTest library (libXtst.so.6) is not installed\n");
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("Tovani 10.21");
    // A fresh program folder with the built content, as a new player has it.
    const fs::path bin = TOVANI_BIN_DIR;
    const fs::path dir = fs::temp_directory_path() / ("tovani_click_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const char* folder : {"Layouts", "Tilesets", "Small", "Backgrounds", "Musics", "Languages",
                               "Help", "Resources"})
        if (fs::exists(bin / folder))
            fs::copy(bin / folder, dir / folder, fs::copy_options::recursive);
    WriteFileAtomic((dir / "Tovani.ini").string(),
                    "[Tovani]\r\nLanguage=English\r\nMaximize=0\r\nAnimate=0\r\n");

    MainFormOptions options;
    options.programDir = QString::fromStdString(dir.string()) + "/";
    TMainForm window(options);
    BoardView boardView(window);
    GameServices services(window, boardView);
    HallKeeper hall(services);
    SolitaireGame solitaire(services, hall);
    SolverAssistant solver(window, solitaire);
    ClicksController clicks(services, hall);
    SliderController slider(services, hall);
    RiversPlay rivers(services, hall);
    MemoryPlay memory(services, hall);
    HashiraPlay hashira(services, hall);
    SavedGames savedGames(services);
    AudioPlayer audio(window, services);
    window.show();
    StageWatch watch;
    window.Game2()->installEventFilter(&watch);

    std::vector<double> times;
    std::thread worker;
    int exitCode = 0;
    QTimer::singleShot(1500, [&] {
        window.Item("RandomSolitaireGame1")->trigger();
        QTimer::singleShot(1500, [&] {
            const FreeScan scan = IsItFree(solitaire.GameBoard(), solitaire.Rule());
            if (scan.freeTiles.empty() || window.GameMode() != kModeSolitaire) {
                std::printf("  no Solitaire game in play: nothing measured\n");
                exitCode = 1;
                QCoreApplication::exit(1); // no closing of the window: it would ask first
                return;
            }
            const QPoint centre =
                window.Game2()->mapToGlobal(solitaire.TileCentre(scan.freeTiles.front()));
            const double dpr = window.Game2()->devicePixelRatioF();
            const int cx = int(centre.x() * dpr), cy = int(centre.y() * dpr);
            const int quarter = int(boardView.TileHeight() / 4);
            const Target t{cx, cy + quarter, cx, cy - quarter};
            worker = std::thread([&, t] {
                times = Measure(button, motion, t);
                QMetaObject::invokeMethod(
                    &app, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
            });
        });
    });
    app.exec();
    if (worker.joinable())
        worker.join();
    fs::remove_all(dir);
    if (times.empty())
        return exitCode ? exitCode : 1;
    const double median = Percentile(times, 0.5), p95 = Percentile(times, 0.95);
    std::printf("  %-44s %8.2f ms   target %5.2f ms   %s\n", "median over 60 clicks", median,
                kTargetMs, median <= kTargetMs ? "ok" : "OVER");
    std::printf("  %-44s %8.2f ms   (fastest %.2f ms, slowest %.2f ms)\n", "95th percentile", p95,
                Percentile(times, 0.0), Percentile(times, 1.0));
    if (!stages.toEvent.empty()) {
        std::printf("  where the median click's time goes:\n");
        std::printf("    %-42s %8.2f ms\n", "X server to the program's release event",
                    Percentile(stages.toEvent, 0.5));
        std::printf("    %-42s %8.2f ms\n", "release event to the board's paint",
                    Percentile(stages.toPaint, 0.5));
        std::printf("    %-42s %8.2f ms\n", "paint, copy to the X server, on screen",
                    Percentile(stages.toScreen, 0.5));
    }
    return 0;
}
