// The content the art tool makes, one entry point per folder of the program directory.
#pragma once

#include <QImage>
#include <QString>

namespace tovani::art {

bool MakeTilesets(const QString& binDir);      // Tilesets/
bool MakeSmallTilesets(const QString& binDir); // Small/
bool MakeBackgrounds(const QString& binDir);   // Backgrounds/
bool MakeResources(const QString& binDir);     // Resources/

// Pieces shared by the pictures: a small tileset strip ("Kanji" or "Shapes") and one face of
// the default tileset painted at a given size.
QImage SmallTilesetPicture(const QString& name);
QImage FaceImage(int face, int w, int h);

// Contact sheets for a person to look at (not shipped): every tileset laid out as a board.
bool MakePreviews(const QString& binDir, const QString& outDir);

} // namespace tovani::art
