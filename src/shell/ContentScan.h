// The content folders beside the program (music, backgrounds, tilesets, small tilesets,
// languages): which files each menu lists, in which order, and which item a stored index
// selects. File names and extensions are matched without regard to case.
#pragma once

#include <string>
#include <vector>

namespace tovani {

enum class ContentKind { Music, Background, Tileset, SmallTileset, Language };

struct ContentEntry {
    std::string caption;  // the menu caption: the name without its extension
    std::string fileName; // the file's name in its folder
};

// The sub-folder of the program directory that holds the kind ("Musics", "Backgrounds" ...).
const char* ContentFolder(ContentKind kind);

// Whether a file name belongs in the kind's menu. `modMusic`: MOD pieces are played too.
bool ContentFileMatches(ContentKind kind, const std::string& fileName, bool modMusic);

// The menu caption for a file: the name less its last four characters (".bmp"), or, for a
// language file, the name up to its first ".".
std::string ContentCaption(ContentKind kind, const std::string& fileName);

// Sorts entries by caption the way a player reads a list: without regard to case.
void SortEntries(std::vector<ContentEntry>& entries);

// The kind's entries from a list of file names (already listed from the folder).
std::vector<ContentEntry> ContentFromNames(ContentKind kind, const std::vector<std::string>& names,
                                           bool modMusic);

// Scans the kind's folder under `programDir`. `folderFound` tells whether it exists.
std::vector<ContentEntry> ScanContent(const std::string& programDir, ContentKind kind,
                                      bool modMusic, bool* folderFound = nullptr);

// The menu position to check, from the stored index (-1: the default caption). Menus hold
// `fixedItems` items before the files (Background 3, Tileset 4, others 0), and positions count
// from 0 over the whole menu. Answers -1 when nothing can be checked (no file at all).
//  - Background: below 0, 2 (the separator) or past the end: the last item.
//  - Tileset: below 0, 1 to 3 (fixed commands and the separator) or past the end: the last.
//  - Small tileset: below 0 or past the end: the last item.
// For music the answer is the piece number 1..count (clamped), not a menu position.
int ResolveContentIndex(ContentKind kind, int stored, const std::vector<ContentEntry>& entries,
                        const std::string& defaultCaption);

int FixedItemsBefore(ContentKind kind);

// The name a background, tileset or small-tileset choice is kept under in the settings, so
// that new files in the folder do not move it: a file's caption, or for the fixed items
// "(Load from disk)" and "(None)". Empty for a position that names nothing.
std::string ContentChoiceName(ContentKind kind, int position,
                              const std::vector<ContentEntry>& entries);
// The menu position a kept name stands for now, or -1 when nothing has that name any more.
int ContentChoicePosition(ContentKind kind, const std::string& name,
                          const std::vector<ContentEntry>& entries);

} // namespace tovani
