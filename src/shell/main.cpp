// Program entry: the application title, the main window, the games, the message loop.
#include "play/BoardView.h"
#include "play/GameServices.h"
#include "play/HallKeeper.h"
#include "play/LayoutImporter.h"
#include "play/SavedGames.h"
#include "play/audio/AudioPlayer.h"
#include "play/clicks/ClicksController.h"
#include "play/slider/SliderController.h"
#include "play/memory/MemoryPlay.h"
#include "play/rivers/RiversPlay.h"
#include "play/hashira/HashiraPlay.h"
#include "play/solitaire/LayoutChoice.h"
#include "play/solitaire/LayoutEditor.h"
#include "play/solitaire/SolitaireGame.h"
#include "play/solitaire/SolverAssistant.h"
#include "play/view3d/View3D.h"
#include "shell/CommandLine.h"
#include "shell/MainForm.h"
#include "shell/SessionBus.h"

#include <QApplication>
#include <QTimer>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

int main(int argc, char** argv) {
    // "--help" and "--version" answer before a window (or a display) is needed.
    if (auto exitCode = tovani::AnswerCommandLine(argc, argv))
        return *exitCode;
    // Where there is no session bus, none is launched for us (it costs two forks at start-up).
    tovani::AvoidSessionBusAutolaunch();
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tovani 10.21");
    // No display name: Qt would append it to every window title, and the title is our own.
    tovani::MainFormOptions options;
    QStringList args = QApplication::arguments();
    args.removeFirst();
    options.arguments = args;
    tovani::TMainForm window(options);
    tovani::BoardView boardView(window);
    tovani::GameServices services(window, boardView);
    tovani::HallKeeper hall(services);
    // The games, each registered in the window for its game modes.
    tovani::SolitaireGame solitaire(services, hall);
    tovani::SolverAssistant solver(window, solitaire);
    // The layout editor, the layout chooser and the favourite layouts.
    tovani::LayoutEditor editor(services, hall, solitaire);
    tovani::LayoutChoice layoutChoice(services);
    tovani::ClicksController clicks(services, hall);
    tovani::SliderController slider(services, hall);
    tovani::RiversPlay rivers(services, hall);
    tovani::MemoryPlay memory(services, hall);
    tovani::HashiraPlay hashira(services, hall);
    // Saved games and the quick save, for the games that can be saved.
    tovani::SavedGames savedGames(services);
    tovani::LayoutImporter layoutImporter(services);
    tovani::AudioPlayer audio(window, services);
    tovani::View3D view3D(services); // OpenGL is loaded only when the 3D view is turned on
    window.show();
#if defined(__GLIBC__)
    // Start-up decodes and scales pictures and reads files through buffers it then frees; once
    // the window is up, the heap's free pages go back to the system instead of staying resident.
    QTimer::singleShot(250, [] { malloc_trim(0); });
#endif
    return app.exec();
}
