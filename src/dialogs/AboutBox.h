// The about box: the program's name and version, how many times it was started, and credits.
#pragma once

#include <QDialog>

namespace tovani {

class AboutBox : public QDialog {
    Q_OBJECT
public:
    AboutBox(QWidget* parent, const QString& version, int launches);
    // Shows the box modally.
    static void Show(QWidget* parent, const QString& version, int launches);
    // The sentence about the launches ("You have started Tovani 3 times.").
    static QString LaunchesText(int launches);
};

} // namespace tovani
