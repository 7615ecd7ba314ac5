// The language chooser of the first run: a list of the languages found, the current one
// selected.
#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;

namespace tovani {

class LanguageChooser : public QDialog {
    Q_OBJECT
public:
    LanguageChooser(QWidget* parent, const QStringList& languages, const QString& current);
    QString Selected() const;
    // Shows the chooser modally; answers the chosen language, or `current` when cancelled.
    static QString Choose(QWidget* parent, const QStringList& languages, const QString& current);

private:
    QListWidget* list_;
};

} // namespace tovani
