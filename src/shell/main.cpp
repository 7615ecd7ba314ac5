// Program entry: the application title, the main window, the message loop.
#include "shell/BoardView.h"
#include "shell/MainForm.h"

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
    window.show();
    return app.exec();
}
