// The about box: the program's name and version, how many times it was started, and credits.
#pragma once

#include <QDialog>

#include <functional>

namespace tovani {

class AboutBox : public QDialog {
    Q_OBJECT
public:
    using Translate = std::function<QString(const QString&)>;
    AboutBox(QWidget* parent, const QString& version, int launches, Translate translate = {});
    // Shows the box modally.
    static void Show(QWidget* parent, const QString& version, int launches,
                     Translate translate = {});
    // The sentence about the launches ("You have started Tovani 3 times.").
    static QString LaunchesText(int launches, const Translate& translate = {});
};

} // namespace tovani
