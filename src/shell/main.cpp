// Program entry: sets the application title and opens the main window.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tovani 10.21");
    QMainWindow window;
    window.setWindowTitle("Tovani 10.21 ");
    window.resize(832, 630);
    window.show();
    return app.exec();
}
