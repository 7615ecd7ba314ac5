// Program entry: the application title, the main window, the message loop.
#include "shell/BoardView.h"
#include "shell/MainForm.h"
#include "shell/SolitaireController.h"
#include "shell/SolverAssistant.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tovani 10.21");
    QApplication::setApplicationDisplayName("Tovani");
    tovani::MainFormOptions options;
    QStringList args = QApplication::arguments();
    args.removeFirst();
    options.arguments = args;
    tovani::TMainForm window(options);
    tovani::BoardView boardView(window);
    tovani::SolitaireController solitaire(window, boardView);
    tovani::SolverAssistant solver(window, solitaire);
    window.show();
    return app.exec();
}
