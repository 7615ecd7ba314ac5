// The language chooser of the first run ("Welcome to Tovani"): a small tool window papered with
// the main window's background, a list of the languages found with the current one selected,
// and OK.
#pragma once

#include <QDialog>
#include <QImage>
#include <QStringList>

class QListWidget;

namespace tovani {

class LanguageChooser : public QDialog {
    Q_OBJECT
public:
    LanguageChooser(QWidget* parent, const QStringList& languages, const QString& current,
                    const QImage& background = QImage());
    QString Selected() const;
    // Shows the chooser modally; answers the chosen language, or `current` when cancelled.
    static QString Choose(QWidget* parent, const QStringList& languages, const QString& current,
                          const QImage& background = QImage());

private:
    QListWidget* list_;
};

} // namespace tovani
