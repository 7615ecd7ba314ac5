// The window's own pictures (splash, welcome pictures, toolbar icons and wallpaper, cursors),
// read from the Resources folder beside the program. A picture that is missing or cannot be
// decoded is replaced by a plain one drawn here, so the window always looks whole.
#pragma once

#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QString>

namespace tovani {

// The picture `name` (without extension) from <programDir>/Resources, or a null image.
QImage ShellPicture(const QString& programDir, const QString& name);
// The version of picture `name` at two pixels a point ("name@2x"), marked so (its device pixel
// ratio is 2), or a null image.
QImage ShellPicture2x(const QString& programDir, const QString& name);
// The score panel's picture (Slider), or a null image.
inline QImage ScorePanelPicture(const QString& programDir) {
    return ShellPicture(programDir, "ScorePanel");
}

// The splash picture with the version written on it (276 x 186).
QImage SplashPicture(const QString& programDir, const QString& version);
// Welcome picture 1..6 (150 x 100).
QImage WelcomePicture(const QString& programDir, int game);
// Welcome picture 1..6 as a 150 x 100 icon, sharp on screens of twice the density too.
QIcon WelcomeIcon(const QString& programDir, int game);
// The tile the welcome panel is papered with.
QImage WelcomeWallpaper(const QString& programDir);
// The toolbar's wallpaper ("Cool Toolbar").
QImage ToolbarWallpaper(const QString& programDir);
// The seamless logo that papers the window and its dialogs ("Cool Window Background").
QImage WindowLogoWallpaper(const QString& programDir);
// The picture behind the hall-of-fame strip.
QImage HallOfFameStrip(const QString& programDir);
// A toolbar icon by the button's name ("ExplorerButton1" ...).
QIcon ToolbarIcon(const QString& programDir, const QString& buttonName);
// The 43 finished tiles of a tileset file in rows of nine, as the board would draw them; a null
// image with the reason in `problem` when the file cannot be made into tiles.
QImage TilesetFacesPicture(const QString& path, QString* problem);
// Cursor 21 ("HAND", the open hand) or 22 ("HAND2", the closed hand).
QCursor HandCursor(const QString& programDir, int number);

} // namespace tovani
