// The 3D view's speed in the program's real window (run on an X display; run-benchmarks.sh
// starts Xvfb when there is none): frames a second for a full Solitaire board at 1280 x 720
// with textures, lighting and the background picture, the board turning so nothing is
// cached; a pick at points over the board; switching between 2D and 3D.
// Targets: at least 60 frames a second as the window shows them (the headline figure; the
// frames drawn alone are reported beside it), a pick within 2 ms, a switch within 300 ms.
//
// "--shots DIR" measures nothing: it saves the frames of a numbered deal, seen from the same
// place with each kind of background and effect, as PNG pictures in DIR, to compare the
// pictures before and after a change to the drawing.
#include "core/Files.h"
#include "dialogs/RandomWindow.h"
#include "play/BoardView.h"
#include "play/GameServices.h"
#include "play/HallKeeper.h"
#include "play/slider/SliderController.h"
#include "play/solitaire/SolitaireGame.h"
#include "play/view3d/View3D.h"
#include "shell/MainForm.h"

#include "../../tests/view3d/ProgramFolder.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace tovani;

namespace {

void Wait(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
}

void Report(const char* what, double value, const char* unit, double target, bool atMost) {
    const bool ok = atMost ? value <= target : value >= target;
    std::printf("%-44s %8.2f %-4s target %s %6.1f  %s\n", what, value, unit,
                atMost ? "<=" : ">=", target, ok ? "ok" : "OVER");
}

// The frames of the board as it stands, with each background and effect in turn.
void SaveShots(TMainForm& form, View3D& view3D, const QString& dir) {
    QDir().mkpath(dir);
    Scene3D* scene = view3D.Scene();
    auto shot = [&](const char* name) {
        view3D.Redraw();
        Wait(300);
        const QImage frame = scene->Grab();
        const QString file = dir + "/" + name + ".png";
        std::printf("%s %s\n", frame.save(file) ? "saved" : "could not save", qPrintable(file));
    };
    shot("normal");
    form.Item("GiveHint")->trigger();
    shot("hint");
    form.Item("Emphasize3D")->trigger();
    shot("emphasis");
    form.Item("Emphasize3D")->trigger();
    form.Item("Cube3D")->trigger();
    shot("cube");
    form.Item("NoBack3D")->trigger();
    shot("no-back");
    form.Item("MarbleBorders")->trigger();
    form.Item("Progressive")->trigger();
    shot("marble-plain");
    form.Item("Lighting")->trigger();
    form.Item("TopTexture")->trigger();
    shot("unlit-untextured");
    form.Item("Fastest")->trigger();
    shot("fastest");
    form.Item("MahJonggSlider1")->trigger();
    Wait(800);
    shot("slider");
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // A random deal of the default layout: not the boards the tests pick on.
    const fs::path dir = MakeProgramFolder(TOVANI_BIN_DIR, "tovani_bench3d_",
                                           "Language=English\r\nMaximize=0\r\nShowHallFame=0\r\n"
                                           "EnableOpenGL=1\r\nContemplation=0\r\n");
    MainFormOptions options;
    options.programDir = QString::fromStdString(dir.string()) + "/";
    TMainForm form(options);
    BoardView view(form);
    GameServices services(form, view);
    HallKeeper hall(services);
    SolitaireGame solitaire(services, hall);
    SliderController slider(services, hall);
    View3D view3D(services);
    services.SetQuestionRunner([](const QString&, const QString&) { return true; });
    const QStringList args = QApplication::arguments();
    const int shotsAt = int(args.indexOf("--shots"));
    const QString shots = shotsAt > 0 && shotsAt + 1 < args.size() ? args[shotsAt + 1] : "";
    // The numbered deal's dialog answers by itself.
    services.SetDialogRunner([](QDialog& d) {
        if (auto* seed = qobject_cast<TRandomWindow*>(&d))
            seed->Field()->setText("4242");
        return int(QDialog::Accepted);
    });
    form.show();
    int status = 0;
    QTimer::singleShot(0, [&] {
        QElapsedTimer up;
        up.start();
        while (form.GameMode() != kModeWelcome && up.elapsed() < 20000)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        form.Item(shots.isEmpty() ? "RandomSolitaireGame1" : "NewSpecificGame1")->trigger();
        Wait(500);
        form.Item("N3D")->trigger();
        Wait(500);
        Scene3D* scene = view3D.Scene();
        if (!view3D.Active() || !scene) {
            std::printf("the 3D view did not start: %s\n", qPrintable(view3D.Problem()));
            status = 1;
            app.exit(1);
            return;
        }
        // "--fastest": every effect off, to see what the effects cost.
        if (QApplication::arguments().contains("--fastest"))
            form.Item("Fastest")->trigger();
        // "--no-back": the same board without the background picture behind it.
        if (QApplication::arguments().contains("--no-back"))
            form.Item("NoBack3D")->trigger();
        // "--cube": the board inside the background cube.
        if (QApplication::arguments().contains("--cube"))
            form.Item("Cube3D")->trigger();
        // The play area at 1280 x 720 exactly.
        QWidget* w = scene->Widget();
        form.resize(form.width() + 1280 - w->width(), form.height() + 720 - w->height());
        Wait(800);
        std::printf("scene %d x %d, %zu tiles\n", w->width(), w->height(),
                    view3D.Content().tiles.size());
        if (!shots.isEmpty()) {
            SaveShots(form, view3D, shots);
            app.exit(0);
            return;
        }
        // Frames: the board turns a step each frame.
        for (int i = 0; i < 10; ++i)
            scene->RenderNow();
        const int frames = 200;
        timespec cpu0{}, cpu1{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu0);
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < frames; ++i) {
            view3D.TypeKey(i % 40 < 20 ? '4' : '6');
            scene->RenderNow();
        }
        const double frameMs = double(t.nsecsElapsed()) / 1e6 / frames;
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu1);
        // The processor time of a frame (all the renderer's threads): on a busy machine the
        // wall-clock rate above also counts the time others had the cores.
        const double cpuMs =
            (double(cpu1.tv_sec - cpu0.tv_sec) * 1e3 + double(cpu1.tv_nsec - cpu0.tv_nsec) / 1e6) /
            frames;
        double load = 0;
        if (FILE* f = std::fopen("/proc/loadavg", "r")) {
            if (std::fscanf(f, "%lf", &load) != 1)
                load = 0;
            std::fclose(f);
        }
        std::printf(
            "a frame: %.2f ms on the clock, %.2f ms of processor time (load average %.1f)\n",
            frameMs, cpuMs, load);
        // The same frames as the player sees them: asked for, drawn when the event loop comes
        // round and put on the screen with the rest of the window.
        double shownMs = 0;
        {
            const int swapped0 = scene->FramesShown();
            auto swapped = [&] { return scene->FramesShown() - swapped0; };
            const int shown = 80; // the board turns back to where it was
            clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu0);
            t.restart();
            for (int i = 0; i < shown; ++i) {
                view3D.TypeKey(i % 40 < 20 ? '4' : '6');
                // Each frame waits for a swap of its own: counting swaps from the start would let
                // swaps of other repaints stand in for later frames.
                const int before = swapped();
                scene->Update();
                QElapsedTimer wait;
                wait.start();
                while (swapped() == before && wait.elapsed() < 2000)
                    QApplication::processEvents(QEventLoop::AllEvents);
            }
            shownMs = double(t.nsecsElapsed()) / 1e6 / shown;
            clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu1);
            std::printf("a frame shown in the window: %.2f ms on the clock, %.2f ms of processor "
                        "time\n",
                        shownMs,
                        (double(cpu1.tv_sec - cpu0.tv_sec) * 1e3 +
                         double(cpu1.tv_nsec - cpu0.tv_nsec) / 1e6) /
                            shown);
        }
        // Picks over the board.
        QRandomGenerator rng(99);
        const int picks = 300;
        int hits = 0;
        t.restart();
        for (int i = 0; i < picks; ++i)
            hits += scene->Pick(w->width() / 6 + int(rng.bounded(w->width() * 2 / 3)),
                                w->height() / 6 + int(rng.bounded(w->height() * 2 / 3))) != 0;
        const double pickMs = double(t.nsecsElapsed()) / 1e6 / picks;
        // Switches, each to its first frame on the screen.
        double worstSwitch = 0;
        for (int i = 0; i < 10; ++i) {
            t.restart();
            view3D.Set3DClick();
            if (view3D.Active())
                scene->RenderNow();
            else
                form.Game2()->repaint();
            QApplication::processEvents();
            worstSwitch = std::max(worstSwitch, double(t.nsecsElapsed()) / 1e6);
        }
        std::printf("%d of %d picks found a tile; OpenGL errors: %d\n", hits, picks,
                    scene->GLErrors());
        Report("3D frames a second shown, full board 1280x720", shownMs > 0 ? 1000.0 / shownMs : 0,
               "fps", 60, false);
        Report("3D frames a second drawn (not shown)", 1000.0 / frameMs, "fps", 60, false);
        Report("3D pick", pickMs, "ms", 2, true);
        Report("switch between 2D and 3D (worst of 10)", worstSwitch, "ms", 300, true);
        std::fflush(stdout);
        // exit, not quit: quitting closes the window, which asks whether to leave the game.
        app.exit(0);
    });
    const int rc = app.exec();
    fs::remove_all(dir);
    return rc == 0 ? status : rc;
}
