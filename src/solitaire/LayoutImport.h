// Layouts brought in from other mahjong solitaire games, turned into layouts of ours.
//
// Two public formats are read:
//   KMahjongg ".layout" (versions 1.0 and 1.1): a text file whose first line is
//     "kmahjongg-layout-v1.0" or "kmahjongg-layout-v1.1"; lines starting with "#" are comments;
//     version 1.1 may give the board's width, height and depth in half tiles on lines "w32",
//     "h16" and "d5" (those are the sizes version 1.0 always has). Then come the layers, bottom
//     first, each as `height` lines of `width` characters: a tile covers two characters on two
//     lines, marked "1" (its top-left quarter), "2" (top-right), "3" (bottom-right) and
//     "4" (bottom-left); "." is an empty quarter.
//   GNOME Mahjongg ".map": an XML file of one or more <map name="..."> elements, each made of
//     <layer z="N"> elements holding <tile x y/>, <row left right y/>, <column x top bottom/> and
//     <block left right top bottom/>; a <tile> outside a layer names its layer with z= (or
//     layer=). Coordinates count whole tiles and may fall on half tiles ("3.5"); a row, column
//     or block is a line or rectangle of tiles one tile apart.
//
// A layout that fits is moved to the middle of our board (34 half-tile columns, 20 half-tile
// rows, 5 layers, with its lowest layer on layer 1) and must pass the checks our own layouts
// pass. Readers take the bytes of a file, so every case can be tried in memory.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "solitaire/LayoutFile.h"

namespace tovani {

enum class ImportErrorCode {
    Empty,         // the file holds nothing
    TooLarge,      // far larger than any layout
    UnknownFormat, // neither format's opening
    WrongVersion,  // a ".layout" of a version we cannot read (detail: its first line)
    BadSize,       // a ".layout" size line we cannot read (line)
    LineTooLong,   // a ".layout" grid line longer than the board is wide (line)
    BadCharacter,  // a ".layout" grid character other than ".1234" (line, count: column)
    TooManyLines,  // more grid lines than the board's layers hold (line)
    BadXml,        // a ".map" that is not well-formed (line, detail: what is wrong)
    NoMaps,        // a ".map" with no <map> element
    BadCoordinate, // a ".map" coordinate that is not a number on a half tile (line, detail)
    TooManyTiles,  // more than a layout holds (count)
    NoTiles,       // nothing to play (count 0)
    OddTiles,      // an odd number of tiles (count)
    TooWide,       // wider than our board (count: half tiles)
    TooHigh,       // higher than our board (count: half tiles)
    TooDeep,       // more layers than our board (count)
    Overlap,       // two tiles of one layer overlap (column, row, layer of the second)
    NotDealable,   // our own layout checks refused it (layoutError)
    CannotWrite,   // the ".lay" could not be saved (detail: its path)
};

struct ImportError {
    ImportErrorCode code = ImportErrorCode::Empty;
    std::string map;    // the map concerned in a file of several, when known
    std::string detail; // see the code
    int count = 0;
    int line = 0;
    int column = 0, row = 0, layer = 0; // an overlapping tile, in the file's own half tiles
    std::optional<LayoutError> layoutError;
};

// The error in the program's own words, each sentence put into the player's language by
// `translate` when given (English otherwise). `file` names the file in the message when it is
// not empty.
std::string ImportErrorMessage(const ImportError& e, const std::string& file = {},
                               const TextTranslator& translate = nullptr);

// A tile of a layout being read: its top-left corner in half tiles, and its layer from 0.
struct ImportPlace {
    int x = 0;
    int y = 0;
    int z = 0;
};

// One layout found in a file, read but not yet checked against our board.
struct ImportMap {
    std::string name; // the map's name; a ".layout" file has none (the caller names it)
    std::vector<ImportPlace> places;
};

template <typename T> using ImportResult = std::variant<T, ImportError>;

template <typename T> bool ImportFailed(const ImportResult<T>& r) {
    return std::holds_alternative<ImportError>(r);
}

// The layouts of a file in either format, told apart by their opening: one for a ".layout",
// one or more for a ".map". The format's errors say what is wrong.
ImportResult<std::vector<ImportMap>> ReadImportFile(std::string_view bytes);
ImportResult<ImportMap> ParseKMahjonggLayout(std::string_view bytes);
ImportResult<std::vector<ImportMap>> ParseMahjonggMaps(std::string_view bytes);

// The layout of ours that a map becomes, named `name`: refused with its reason when it holds
// more than 144 tiles or an odd number, does not fit our board, has overlapping tiles, or fails
// our own layout checks.
ImportResult<Layout> ToLayout(const ImportMap& map, const std::string& name);

// The name a file gives to the layout it holds: the map's own name, else the file's name
// without folder and extension; characters a file name cannot hold are dropped and it is cut
// to the length the layout editor allows.
std::string ImportedLayoutName(const std::string& mapName, const std::string& fileName);
// A name that `taken` does not refuse: the name itself, else "name 2", "name 3"...
std::string UniqueLayoutName(const std::string& name,
                             const std::function<bool(const std::string&)>& taken);

// A map saved as a layout of ours.
struct SavedImport {
    std::string name; // the layout's name (and its file's, before ".lay")
    std::string path; // the ".lay" written
    Layout layout;
};

// Turns a map read from `fileName` into a layout and writes it as "<name>.lay" into the folder
// `dir` (made when missing), through a temporary file. The name is the map's or the file's,
// made unique against the ".lay" files of `dir` and `otherNames` (the layouts the menu already
// lists), so nothing is ever overwritten.
ImportResult<SavedImport> SaveImportedMap(const ImportMap& map, const std::string& fileName,
                                          const std::string& dir,
                                          const std::vector<std::string>& otherNames);

// How much of a file is read for an import: enough that a file too large to be a layout is
// refused as such (ReadImportFile), not as a file that cannot be read.
constexpr size_t kImportReadLimit = 16 * kMaxLayoutFileBytes;

// The longest layout name the layout editor allows.
constexpr size_t kMaxImportedNameChars = 50;

} // namespace tovani
