// The program's own pictures, looked up by name in the Resources folder beside the executable.
// docs/RESOURCES.md lists every name with its size and purpose.
#pragma once

#include <QImage>
#include <QPoint>
#include <QString>

namespace tovani {

// <directory of the executable>/Resources
QString ResourceFolder();

// Loads the picture `name` ("Splash", "screen1", "HAND", "Digits.png"...). The extension may be
// left out, and the name is matched without regard to case. Answers a null image when there is
// no such picture or it cannot be decoded.
QImage ProgramPicture(const QString& name);
QImage ProgramPictureIn(const QString& folder, const QString& name);

// Where the click lands in the two hand cursors "HAND" and "HAND2" (the fingertip); (0, 0) for
// other names.
QPoint CursorHotSpot(const QString& name);

} // namespace tovani
