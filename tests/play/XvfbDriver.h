// What the real-window test programs share: checks that count failures, screenshots of the
// whole X screen with ImageMagick, clicks and keys through xdotool, and waiting while the
// window's event loop runs.
#pragma once

#include "core/Files.h"
#include "dialogs/GameOverForm.h"
#include "dialogs/HallWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPoint>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <string>

namespace tovani::xvfb {

// The folder the screenshots go to, and the failures counted so far.
inline QString shots;
inline int shotNumber = 0;
inline int failures = 0;

// The settings of a new player who reads English, the window not maximised.
inline const std::string kEnglishSettings = "[Tovani]\r\nLanguage=English\r\nMaximize=0\r\n";

// The screenshots go to the folder named first on the command line, or else to
// <temp>/<fallback>.
inline void MakeShotsFolder(int argc, char** argv, const char* fallback) {
    shots = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath() + "/" + fallback;
    QDir().mkpath(shots);
}

inline void Check(bool ok, const char* what) {
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what);
    std::fflush(stdout);
    if (!ok)
        ++failures;
}

inline void Run(const QString& program, const QStringList& args) {
    QProcess::execute(program, args);
}

// A picture of the whole screen, numbered in the order taken: <shots>/NN-name.png.
inline void Shot(const QString& name) {
    QApplication::processEvents();
    QString file =
        QString("%1/%2-%3.png").arg(shots).arg(++shotNumber, 2, 10, QChar('0')).arg(name);
    Run("import", {"-window", "root", file});
}

inline void ClickGlobal(const QPoint& p) {
    Run("xdotool", {"mousemove", QString::number(p.x()), QString::number(p.y()), "click", "1"});
}

inline void ClickWidget(QWidget* w) {
    if (w)
        ClickGlobal(w->mapToGlobal(w->rect().center()));
}

// Keys typed one after the other, `delayMs` apart.
inline void Keys(const QStringList& keys, int delayMs = 40) {
    if (!keys.isEmpty())
        Run("xdotool", QStringList{"key", "--delay", QString::number(delayMs)} + keys);
}

// Brings the window to the front, so that the keys typed reach it.
inline void Activate(const QWidget& window) {
    Run("xdotool", {"windowactivate", "--sync", QString::number(window.winId())});
}

inline void Wait(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
}

inline bool WaitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

// The program folder of this run: <temp>/<prefix><process id>.
inline std::filesystem::path RunFolder(const std::string& prefix) {
    return std::filesystem::temp_directory_path() / (prefix + std::to_string(::getpid()));
}

// A fresh program folder with the built content of `bin` (the test program's folder), as a
// new player has it, and the settings file `ini` at `iniFile` inside it.
inline void MakeProgramFolder(const std::filesystem::path& dir,
                              std::initializer_list<const char*> folders, const std::string& ini,
                              const std::string& iniFile = "Tovani.ini",
                              const std::filesystem::path& bin = ExecutableDirectory()) {
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories((dir / iniFile).parent_path());
    for (const char* folder : folders)
        if (std::filesystem::exists(bin / folder))
            std::filesystem::copy(bin / folder, dir / folder,
                                  std::filesystem::copy_options::recursive);
    WriteFileAtomic((dir / iniFile).string(), ini);
}

// The modal dialog up now, once: null when there is none or it was answered already.
inline QWidget* NewModal() {
    static QPointer<QWidget> handled;
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible() || (handled && modal == handled))
        return nullptr;
    handled = modal;
    return modal;
}

// What a test saw of the end of a game: the final time or score the game-over dialog told,
// whether it offered the hall of fame, and the hall's highlighted row.
struct SeenEnd {
    QString finalText;
    bool enterFame = false;
    int highlight = 0;
};

// The game-over dialog: photographed once it has settled, noted, and closed with OK.
inline void CloseGameOver(GameOverForm* d, const QString& shot, SeenEnd& seen) {
    Wait(300);
    Shot(shot);
    seen.finalText = d->FinalTime()->text();
    seen.enterFame = !d->EnterFame()->isHidden();
    ClickWidget(d->findChild<QPushButton*>("BitBtn1"));
}

// The hall of fame: its highlighted row noted, photographed, and closed with `button`
// ("BitBtn1" closes it, "BitBtn2" launches a new game).
inline void CloseHall(HallWindow* d, const QString& shot, SeenEnd& seen,
                      const char* button = "BitBtn1") {
    Wait(300);
    for (int rank = 1; rank <= 10; ++rank)
        if (d->RowText(rank).highlighted)
            seen.highlight = rank;
    Shot(shot);
    ClickWidget(d->findChild<QPushButton*>(button));
}

// A message box: photographed and answered with OK, or Yes where it has no OK.
inline void AnswerMessage(QMessageBox* box) {
    Shot("message");
    ClickWidget(box->button(QMessageBox::Ok) ? box->button(QMessageBox::Ok)
                                             : box->button(QMessageBox::Yes));
}

} // namespace tovani::xvfb
