// Saved games (".tvg"): a few text lines ending in CR LF, the last one the game's data, its
// characters scrambled. Solitaire and Rivers store their board cells and move history, Slider
// its grid, score and next tiles.
//
//   Tovani 8.0
//   Solitaire | Rivers | Slider
//   <Solitaire: the layout path, relative with backslashes> | <Slider: "1" or "0", jokers>
//   <the scrambled data line>
//
// Numbers keep their field widths, so a larger value keeps its low digits in its field; a Slider
// score of 10000 or more adds its high digits (3) after the line's fields, where only this
// reader looks, so the score survives whole.
//
// Reading checks the shape of the file and that every number fits its field and range; whether
// the position is one a game can be in is each game's own check (CheckSolitaireState,
// CheckRiversState, SliderGame::Check), made before anything of the game in play changes.
#pragma once

#include "games/slider/SliderGrid.h"
#include "solitaire/Board.h"
#include "solitaire/Play.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tovani {

constexpr std::string_view kSavedGameVersion = "Tovani 8.0";
constexpr std::string_view kSavedGameExtension = ".tvg";
constexpr std::string_view kQuickSaveName = "Quicksave.tvg";
constexpr std::string_view kSavedGameFolder = "Savegame";

enum class SavedGameKind { Solitaire, Rivers, Slider };
const char* SavedGameKindName(SavedGameKind kind);

// What Solitaire and Rivers keep: the counters, the clock, the cells of the playing area with
// the tile positions they give, and the history entries written (tiles total - tiles left + 1:
// the pairs removed, and one more that no game reads).
struct TileGameData {
    int tilesLeft = 0;
    int tilesTotal = 0;
    int elapsedSeconds = 0;
    int penaltySeconds = 0;
    Board board; // cells, positions and both tile counters
    std::array<HistoryEntry, kHistorySize> history{};
};

struct SliderData {
    int tilesLeft = 0;
    int score = 0;
    SliderGrid grid;
    std::array<uint8_t, 3> next{}; // 0-based pictures
};

struct SavedGame {
    SavedGameKind kind = SavedGameKind::Solitaire;
    std::string layoutPath;     // Solitaire: as stored in the file (backslashes)
    std::optional<bool> jokers; // Slider: the jokers line; none in files that lack it
    TileGameData tiles;         // Solitaire, Rivers
    SliderData slider;          // Slider
};

// Why a file was refused.
enum class SavedGameError {
    None,
    Empty,             // no lines at all
    WrongVersion,      // line 1 is not "Tovani 8.0" (the line is in `version`)
    UnknownKind,       // line 2 names no game that can be saved
    MissingLine,       // the file ends before its data line
    ShortData,         // the data line is shorter than its fields
    BadNumber,         // a field holds something other than digits
    CountsOutOfRange,  // tiles left above tiles total, or a total a board cannot hold
    CellOutOfRange,    // a cell holds no tile number (or a Slider cell no picture)
    DuplicateTile,     // a tile stands in two cells
    HistoryOutOfRange, // a history entry names no tile or a cell off the board
    NextOutOfRange,    // a Slider next tile that is no picture
};

struct SavedGameRead {
    SavedGameError error = SavedGameError::None;
    std::string version; // line 1 as read, for the wrong-version message
    SavedGame game;
    bool ok() const { return error == SavedGameError::None; }
};

// Every character c becomes (47 - c) mod 256; the same replacement gives the text back.
std::string ScrambleLine(std::string_view line);

// A number in a field of `width` digits: the low digits of value + 10^width, so 0..10^w - 1
// with leading zeros and larger values by their low digits. Negative values are written as 0.
std::string FormatField(int value, int width);

// The whole file, bytes as written.
std::string WriteSavedGame(const SavedGame& game);
// Reads a file's bytes; lines may end in CR LF or LF alone.
SavedGameRead ReadSavedGame(std::string_view bytes);
// The reason for a refusal in the program's words (untranslated).
std::string SavedGameErrorText(SavedGameError error);

// The layout path as a saved game stores it: relative to the first of `bases` it lies under,
// with backslashes ("Layouts\Ming.lay"); otherwise the absolute path as it stands.
std::string StoredLayoutPath(const std::string& layoutPath, const std::vector<std::string>& bases);
// The file a stored layout path names: an absolute path as it stands, else the path under each
// of `bases` in turn (either slash, names matched without regard to case); none when no such
// file exists.
std::optional<std::string> FindStoredLayout(std::string_view stored,
                                            const std::vector<std::string>& bases);

} // namespace tovani
