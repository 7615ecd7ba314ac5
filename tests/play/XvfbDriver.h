// What the real-window test programs share: checks that count failures, screenshots of the
// whole X screen with ImageMagick, clicks and keys through xdotool, and waiting while the
// window's event loop runs.
#pragma once

#include "core/Files.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPoint>
#include <QPointer>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QWidget>

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

// A fresh program folder with the built content beside the test program, as a new player has
// it, and the settings file `ini`.
inline void MakeProgramFolder(const std::filesystem::path& dir,
                              std::initializer_list<const char*> folders, const std::string& ini) {
    const std::filesystem::path bin = ExecutableDirectory();
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    for (const char* folder : folders)
        if (std::filesystem::exists(bin / folder))
            std::filesystem::copy(bin / folder, dir / folder,
                                  std::filesystem::copy_options::recursive);
    WriteFileAtomic((dir / "Tovani.ini").string(), ini);
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

} // namespace tovani::xvfb
