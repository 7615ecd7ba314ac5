// A ".lay" file named on the command line, brought among the player's layouts so that it can be
// listed and played: checked first, never written over a shipped layout or another layout of
// the player's, copied under a free name when its own is taken.
#pragma once

#include <string>

#include "solitaire/LayoutFile.h"

namespace tovani {

struct LayoutAdoption {
    bool ok = false;
    // The layout to play: the file itself when it already lies in one of the two folders, an
    // identical layout found there, or the new copy.
    std::string path;
    bool copied = false;
    // Why it cannot be played, when not ok and the file was refused.
    LayoutError error;
    // The file is good but the copy could not be written (the folder is full or read-only).
    bool writeFailed = false;
};

// Checks `file` as a layout to play and copies it into `playerDir` unless a layout with the
// same bytes is already in `shippedDir` or `playerDir`. The copy keeps the file's name when no
// layout in either folder holds it (ignoring case), else takes "Name (2).lay", "Name (3).lay"...
LayoutAdoption AdoptLayoutFile(const std::string& file, const std::string& shippedDir,
                              const std::string& playerDir);

} // namespace tovani
