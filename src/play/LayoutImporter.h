// "Import Layout...": a layout from another mahjong solitaire game (a KMahjongg ".layout" or a
// GNOME Mahjongg ".map") is read, checked, saved among the player's layouts as a ".lay" of
// ours, added to the Layout menu and played. A file of several maps lets the player pick one.
#pragma once

#include <QString>
#include <QStringList>

class QObject;

namespace tovani {

class GameServices;
class TMainForm;

class LayoutImporter {
public:
    explicit LayoutImporter(GameServices& services);
    ~LayoutImporter();
    LayoutImporter(const LayoutImporter&) = delete;
    LayoutImporter& operator=(const LayoutImporter&) = delete;

    // Asks for the file, then imports it. Answers the name it was saved under, or empty.
    QString ImportLayoutClick();
    // Imports a file named already (no file dialog).
    QString ImportFile(const QString& path);

private:
    // The map chosen among several (their captions), -1 when the player cancels.
    int ChooseMap(const QString& file, const QStringList& captions);

    GameServices& services_;
    TMainForm& form_;
};

} // namespace tovani
